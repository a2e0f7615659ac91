#!/usr/bin/env bash
# Installs what building and testing Tresk needs on Debian 12, skipping what is already there.
set -euo pipefail
# libssl-dev: https checks on the host; libgnutls30: Wine's Schannel (wine64 only recommends it); openssl: the
# link-check tests make their certificates with it; nsis and zip: the release.
packages=(cmake make g++ clang libclang-rt-14-dev googletest mingw-w64 wine64 libgnutls30 xvfb xdotool x11-apps
  imagemagick python3 libssl-dev openssl nsis zip)
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
