#!/usr/bin/env bash
# Builds the release from the i686 tree: the folder tessera-<version>/ with
# exactly the files release/files.txt lists, zipped into
# dist/tessera-<version>-win32.zip, and the setup program
# dist/tessera-<version>-setup.exe (NSIS, release/tessera.nsi) with the same files.
#   scripts/package.sh [--no-build] [--tree DIR] [--out DIR] [--setup-target T]
# Without --no-build it sets up the machine and builds the target `release`
# of build/win32 first (what the release packs, not the tests).
# --tree packs another i686 tree (with --no-build); --out writes elsewhere.
# --setup-target amd64-unicode builds the setup program itself for x86_64 (the
# same files: the install test uses it where Wine runs only 64-bit programs).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

tree=build/win32
out=dist
build=1
setup_target=x86-unicode
while [ $# -gt 0 ]; do
  case $1 in
    --no-build) build=0 ;;
    --tree) tree=$2; shift ;;
    --out) out=$2; shift ;;
    --setup-target) setup_target=$2; shift ;;
    *) echo "usage: scripts/package.sh [--no-build] [--tree DIR] [--out DIR] [--setup-target T]" >&2; exit 2 ;;
  esac
  shift
done
fail() { echo "package failed: $*" >&2; exit 1; }

if [ $build = 1 ]; then
  [ "$tree" = build/win32 ] || fail "--tree needs --no-build (only build/win32 is built here)"
  source scripts/trees.sh
  run_setup || exit $?
  mkdir -p build
  configure win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release ||
    fail "cannot configure build/win32"
  echo "== building the release files of build/win32"
  cmake --build build/win32 -j"$jobs" --target release >build/win32-release-build.log 2>&1 ||
    { tail -40 build/win32-release-build.log; fail "build/win32 does not build"; }
fi
for tool in zip makensis; do
  command -v $tool >/dev/null || fail "$tool is missing (scripts/setup.sh installs it)"
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$tree/CMakeCache.txt" 2>/dev/null)
[ -n "$version" ] || fail "$tree is not a configured build tree"
grep -q '^CMAKE_LINKER:FILEPATH=.*i686-w64-mingw32' "$tree/CMakeCache.txt" || fail "$tree is not an i686 tree"

name=tessera-$version
stage_root=$(cd "$tree" && pwd)/package-$setup_target
stage=$stage_root/$name
rm -rf "$stage_root"
mkdir -p "$stage" "$out"
out=$(cd "$out" && pwd)

# Every listed file, or a clear list of what is missing.
release_paths=()
missing=()
while read -r from path dest; do
  case $from in
    build) src=$tree/$path ;;
    source) src=$root/$path ;;
    *) fail "release/files.txt: unknown source '$from' for $dest" ;;
  esac
  if [ ! -f "$src" ]; then missing+=("$src"); continue; fi
  mkdir -p "$stage/$(dirname "$dest")"
  case $dest in
    *.txt | *.cmd) sed 's/\r*$/\r/' "$src" >"$stage/$dest" ;;   # Windows line ends for Notepad and cmd
    *) cp "$src" "$stage/$dest" ;;
  esac
  case $dest in *.sh) chmod 755 "$stage/$dest" ;; *) chmod 644 "$stage/$dest" ;; esac
  release_paths+=("$dest")
done < <(grep -vE '^[[:space:]]*(#|$)' release/files.txt)
[ ${#missing[@]} -eq 0 ] || fail "files listed in release/files.txt are missing: ${missing[*]}"

# The same dates on every build of one commit, so packages compare.
stamp=$(git log -1 --format=%cI 2>/dev/null || date -u +%FT%TZ)
find "$stage" -exec touch -d "$stamp" {} +

zip_file=$out/$name-win32.zip
rm -f "$zip_file"
(cd "$stage_root" && find "$name" -type f | LC_ALL=C sort | zip -X -D -q "$zip_file" -@)

# The installer's file list: one File per release file, one Delete per file
# and RMDir per folder (deepest first) for the uninstaller.
nsh=$stage_root/files.nsh
{
  echo '!macro TESSERA_INSTALL_FILES'
  for dest in "${release_paths[@]}"; do
    dir=$(dirname "$dest")
    [ "$dir" = . ] && target='$INSTDIR' || target="\$INSTDIR\\${dir//\//\\}"
    echo "  SetOutPath \"$target\""
    echo "  File \"$stage/$dest\""
  done
  echo '!macroend'
  echo '!macro TESSERA_UNINSTALL_FILES'
  for dest in "${release_paths[@]}"; do echo "  Delete \"\$INSTDIR\\${dest//\//\\}\""; done
  for dest in "${release_paths[@]}"; do
    dir=$(dirname "$dest")
    while [ "$dir" != . ]; do echo "$dir"; dir=$(dirname "$dir"); done
  done | sort -u -r | while read -r dir; do echo "  RMDir \"\$INSTDIR\\${dir//\//\\}\""; done
  echo '!macroend'
} >"$nsh"

setup_file=$out/$name-setup.exe
icon=$tree/server/resources/pictures/tessel.ico
defines=(-DVERSION="$version" -DSTAGE="$stage" -DFILES="$nsh" -DOUTFILE="$setup_file")
[ -f "$icon" ] && defines+=(-DICON="$icon")
makensis -V2 -NOCD "-XTarget $setup_target" "${defines[@]}" release/tessera.nsi >"$stage_root/makensis.log" 2>&1 ||
  { tail -20 "$stage_root/makensis.log" >&2; fail "makensis failed"; }

echo "$zip_file"
echo "$setup_file"
