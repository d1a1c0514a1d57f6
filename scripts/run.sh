#!/usr/bin/env bash
# Sets up and builds the deliverables, then lists them. (Once the server
# program exists, this starts it under Wine.)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/trees.sh
bash scripts/setup.sh
configure win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
cmake --build build/win32 -j"$jobs"
echo "Deliverables (i686 Windows binaries) in build/win32/bin:"
for f in tessel.exe link.dll kestrel.dll mantle.dll; do
  if [ -f "build/win32/bin/$f" ]; then
    python3 scripts/pe_exports.py "build/win32/bin/$f"
  else
    echo "  $f: not built yet"
  fi
done
