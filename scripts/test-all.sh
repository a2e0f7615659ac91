#!/usr/bin/env bash
# Sets up what is missing, builds every preset and runs every test: host (sanitizers), fuzzers (bounded
# time), and the Windows build under Wine. The 32-bit Windows build is built, not run (no 32-bit Wine here).
# The release (both architectures, the installer and the zips in dist/) is made too, and its sizes printed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
status=0
for preset in host fuzz windows windows-x86; do
  echo "=== build: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
echo "=== release"
scripts/release.sh
for preset in host fuzz windows; do
  echo "=== test: $preset"
  ctest --preset "$preset" || status=1
done
exit $status
