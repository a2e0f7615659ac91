# Sourced helpers for end-to-end scripts on an X display: click Tresk's tray icon, take screenshots.
# Wine shows tray icons in its "Wine System Tray" window when no desktop tray exists; the first icon is
# the 16-pixel square at (3, 3) inside it. X key events do not reach Tresk's menus (their owner is hidden):
# drive menus with tresk-driver.exe or a test program instead (tests/e2e/driver.h).

# Clicks the first tray icon once the tray window is there (up to 20 s): button 1 (bookmark menu) or 3.
tresk_click_tray() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(timeout 20 xdotool search --sync --onlyvisible --name "Wine System Tray" getwindowgeometry --shell ||
    echo 'echo "no tray window" >&2; return 1')"
  xdotool mousemove $((X + 8)) $((Y + 8)) click "${1:-1}"
}

# Writes the screen to a PNG file.
tresk_screenshot() {
  xwd -root -silent -display "$DISPLAY" | convert xwd:- "$1"
}
