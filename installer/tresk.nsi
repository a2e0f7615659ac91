; Tresk's installer and uninstaller: per user, without administrator rights. scripts/release.sh compiles it:
;   makensis -DVERSION=1.22 -DEXE64=... -DEXE32=... -DICON=tresk.ico -DTARGET=x86-unicode -DOUTFILE=... tresk.nsi
; TARGET is NSIS's stub: x86-unicode runs on every Windows and picks the program that fits the system.
Target ${TARGET}

!include LogicLib.nsh
!include MUI2.nsh
!include x64.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tresk"
!define SETTINGS_KEY "Software\Olvane\Tresk"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SYNCHRONIZE 0x00100000
!define CLOSE_TIMEOUT_MS 15000

Name "Tresk"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Tresk"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
BrandingText "Tresk ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\tresk.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Tresk now"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Tresk"
VIAddVersionKey "CompanyName" "Olvane"
VIAddVersionKey "LegalCopyright" "Copyright (C) Olvane"
VIAddVersionKey "FileDescription" "Tresk Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"

; Ends a running Tresk the way its own Exit command does: WM_CLOSE to its main window, found by its class
; "Tresk", then a wait for the process, whose program file stays in use until it has ended. Tresk is never
; ended by force; when it does not end, the user is asked to end it (a silent run gives up).
!macro DEFINE_CLOSE_TRESK PREFIX
Function ${PREFIX}CloseTresk
  ${Do}
    FindWindow $0 "Tresk"
    ${If} $0 = 0
      Return
    ${EndIf}
    System::Call "user32::GetWindowThreadProcessId(p r0, *i 0 r1)"
    System::Call "kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p.r2"
    System::Call "user32::PostMessage(p r0, i ${WM_CLOSE}, p 0, p 0)"
    System::Call "kernel32::WaitForSingleObject(p r2, i ${CLOSE_TIMEOUT_MS}) i.r3"
    System::Call "kernel32::CloseHandle(p r2)"
    ${If} $3 <> 0
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Tresk is still running. Choose Exit from the menu of its tray icon, then Retry." /SD IDCANCEL IDRETRY +2
      Abort "Tresk is still running."
    ${EndIf}
  ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_TRESK ""
!insertmacro DEFINE_CLOSE_TRESK "un."

; The program comes in two sections, one chosen at start, so that the space asked for is what it takes.
Section "-Close Tresk"
  Call CloseTresk
SectionEnd

Section "-Tresk 64-bit" SEC_PROGRAM64
  SetOutPath "$INSTDIR"
  File "/oname=tresk.exe" "${EXE64}"
SectionEnd

Section "-Tresk 32-bit" SEC_PROGRAM32
  SetOutPath "$INSTDIR"
  File "/oname=tresk.exe" "${EXE32}"
SectionEnd

Function .onInit
  ; NSIS's 64-bit stub knows at compile time that it runs on 64-bit Windows and leaves a label unused
  !pragma warning disable 6012
  ${If} ${RunningX64}
    !insertmacro UnselectSection ${SEC_PROGRAM32}
  ${Else}
    !insertmacro UnselectSection ${SEC_PROGRAM64}
  ${EndIf}
FunctionEnd

Section "-Shortcut and uninstaller"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Tresk.lnk" "$INSTDIR\tresk.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tresk"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Olvane"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tresk.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes what the installer made, file by file, and the folder only when that leaves it empty: whatever
; the user keeps there, a bookmark file say, stays. Bookmarks and browsers' files are never touched.
Section "Uninstall"
  Call un.CloseTresk
  MessageBox MB_YESNO|MB_ICONQUESTION "Remove Tresk's settings as well?$\n$\nYour bookmarks are not touched either way." /SD IDYES IDNO keepSettings
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Olvane"
  keepSettings:
  DeleteRegValue HKCU "${RUN_KEY}" "Tresk"
  Delete "$SMPROGRAMS\Tresk.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$INSTDIR\tresk.exe"
  Delete "$INSTDIR\uninstall.exe"
  ; last, so that a folder gone means everything else is gone too
  RMDir "$INSTDIR"
SectionEnd
