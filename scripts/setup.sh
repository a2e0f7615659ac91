#!/usr/bin/env bash
# Installs what building and testing Tresk needs on Debian 12, skipping what is already there, and fetches
# the SQLite amalgamation into build/third_party (never into the sources).
set -euo pipefail
cd "$(dirname "$0")/.."
# libssl-dev: https checks on the host; libgnutls30: Wine's Schannel (wine64 only recommends it); openssl: the
# link-check tests make their certificates with it; nsis and zip: the release; rapidjson-dev: the Chromium
# reader.
packages=(cmake make g++ clang libclang-rt-14-dev googletest mingw-w64 wine64 libgnutls30 xvfb xdotool x11-apps
  imagemagick python3 libssl-dev openssl nsis zip rapidjson-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
# npm fetches the SQLite amalgamation below; a machine with Node.js from elsewhere has it already.
command -v npm >/dev/null || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The Firefox reader builds SQLite into both programs from the stock amalgamation (SQLite 3.53.2), which the
# npm package better-sqlite3 carries in deps/sqlite3/. Pinned, and checked against the registry's checksum.
sqlite_package=better-sqlite3@12.11.1
sqlite_integrity=sha512-dq9AtApgg5PGFtBzPFSBl3HZQjHok5gaQCM6zh2Yk0aSmDCs1CbnVI8/HgASQkNKsWFpseIO9beg5xxpYhbIfA==
sqlite_dir=build/third_party/sqlite
if [ ! -f "$sqlite_dir/sqlite3.c" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  (cd "$work" && npm pack --silent "$sqlite_package" >/dev/null)
  tarball=$(ls "$work"/*.tgz)
  actual="sha512-$(openssl dgst -sha512 -binary "$tarball" | base64 -w0)"
  if [ "$actual" != "$sqlite_integrity" ]; then
    echo "checksum mismatch for $sqlite_package: $actual" >&2
    exit 1
  fi
  tar -xzf "$tarball" -C "$work" package/deps/sqlite3
  mkdir -p "$sqlite_dir"
  cp "$work"/package/deps/sqlite3/sqlite3.c "$work"/package/deps/sqlite3/sqlite3.h "$sqlite_dir"/
  echo "SQLite amalgamation from $sqlite_package in $sqlite_dir"
fi
