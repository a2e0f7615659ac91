#!/usr/bin/env bash
# Makes a release of the version in VERSION: the 64-bit and 32-bit tresk.exe built in Release and stripped,
# the installer dist/tresk-<version>-setup.exe (NSIS) and the portable dist/tresk-<version>-win64.zip and
# -win32.zip (the program and a short readme); prints the size of each. The Release builds live in
# build/release-x64 and build/release-x86.
#   scripts/release.sh [DIST_DIR]
# TRESK_SETUP_TARGET names NSIS's stub for the installer: x86-unicode (the default) runs on every Windows;
# the end-to-end test takes amd64-unicode, since only 64-bit programs run under Wine here.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist=$(mkdir -p "${1:-$root/dist}" && cd "${1:-$root/dist}" && pwd)
cd "$root"
scripts/setup.sh
version=$(head -n 1 VERSION)
stage=$root/build/release
setup_target=${TRESK_SETUP_TARGET:-x86-unicode}

# arch, toolchain, binutils prefix, zip suffix
builds=("x64 mingw-x86_64 x86_64-w64-mingw32 win64" "x86 mingw-i686 i686-w64-mingw32 win32")
made=()
for b in "${builds[@]}"; do
  read -r arch toolchain tools zipname <<<"$b"
  tree=$root/build/release-$arch
  echo "=== release build: $arch"
  cmake -S . -B "$tree" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DTRESK_TESTS=OFF >/dev/null
  cmake --build "$tree" --target tresk -j2
  mkdir -p "$stage/$arch"
  "$tools-strip" -o "$stage/$arch/tresk.exe" "$tree/tresk.exe"
  # the portable copy: the program and its readme, with Windows line ends
  sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' installer/readme.txt >"$stage/$arch/readme.txt"
  zip_file=$dist/tresk-$version-$zipname.zip
  rm -f "$zip_file"
  (cd "$stage/$arch" && zip -q -X -9 "$zip_file" tresk.exe readme.txt)
  made+=("$stage/$arch/tresk.exe" "$zip_file")
done

setup=$dist/tresk-$version-setup.exe
makensis -V2 -DVERSION="$version" -DTARGET="$setup_target" -DOUTFILE="$setup" \
  -DEXE64="$stage/x64/tresk.exe" -DEXE32="$stage/x86/tresk.exe" \
  -DICON="$root/build/release-x64/res/icons/tresk.ico" installer/tresk.nsi
made+=("$setup")

echo "=== release $version ($setup_target installer)"
for f in "${made[@]}"; do
  printf '%10d bytes  %s\n' "$(stat -c %s "$f")" "${f#"$root"/}"
done
