#!/usr/bin/env bash
# Installs what building and testing Tresk needs on Debian 12, skipping what is already there.
set -euo pipefail
packages=(cmake make g++ clang libclang-rt-14-dev googletest mingw-w64 wine64 xvfb xdotool x11-apps imagemagick python3 nsis zip)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
