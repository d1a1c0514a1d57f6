#!/usr/bin/env bash
# Installs the setup program silently into a fresh Wine prefix, per user (with
# the .btl association) and per machine, checks the files, the Start-menu
# folder and the Add/Remove Programs entry, uninstalls silently and checks that
# all of it is gone.
#   package_install_test.sh SETUP ZIP TREE
# Where Wine runs only 64-bit programs (scripts/host-arch.sh prints win64), the
# shipped 32-bit setup program cannot run: it says so and tries the same setup
# script and files built as an x86_64 setup program (package.sh --setup-target)
# instead; without Wine at all it exits 77 (skipped).
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
setup=$1 zip=$2 tree=$3
arch=$("$root/scripts/host-arch.sh")
wine=/usr/lib/wine/wine
[ "$arch" = win64 ] && wine=/usr/lib/wine/wine64
if [ ! -x "$wine" ]; then
  echo "skipped: no Wine to run the setup program"
  exit 77
fi

work=$(mktemp -d "$root/build/package-install.XXXXXX")
export WINEPREFIX=$work/prefix WINEARCH=$arch WINEDEBUG=-all
# No menu entries or file types of the test installs on the host's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT
if [ "$arch" = win64 ]; then
  echo "this host cannot run the 32-bit setup program under Wine: trying its x86_64 build"
  setup=$(bash "$root/scripts/package.sh" --no-build --tree "$tree" --out "$work" --setup-target amd64-unicode |
          grep -- '-setup.exe$') || { echo "FAILED: cannot build the x86_64 setup program"; exit 1; }
fi
"$root/scripts/wine-prefix.sh" "$arch"
run() { timeout 180 "$wine" "$@" </dev/null >/dev/null 2>&1; wineserver -w; }
has_key() { "$wine" reg query "$1" </dev/null 2>/dev/null | tr -d '\r' | grep -qF "${2:-}"; }
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessera'
expected=$(unzip -Z1 "$zip" | sed 's|^[^/]*/||' | LC_ALL=C sort)

failures=0
fail() { echo "FAILED ($mode): $*"; failures=$((failures + 1)); }
for row in "CurrentUser HKCU user /ASSOCIATE" "AllUsers HKLM machine"; do
  read -r mode hive name associate <<<"$row"
  folder="C:\\tessera-$name" unix=$WINEPREFIX/drive_c/tessera-$name
  run "$setup" /S "/$mode" ${associate:+"$associate"} "/D=$folder"

  installed=$(cd "$unix" 2>/dev/null && find . -type f ! -name uninstall.exe | sed 's|^\./||' | LC_ALL=C sort)
  [ "$installed" = "$expected" ] || fail "installed files differ from the zip: $(diff <(echo "$expected") <(echo "$installed") | tr '\n' ' ')"
  [ -f "$unix/uninstall.exe" ] || fail "no uninstall.exe"
  "$wine" reg query "$hive\\$uninstall_key" /v UninstallString </dev/null 2>/dev/null | tr -d '\r' |
    grep -qiF "$folder\\uninstall.exe" || fail "no Add/Remove Programs entry in $hive"
  menu=$(find "$WINEPREFIX/drive_c" -path '*/Programs/Tessera/*.lnk' | wc -l)
  [ "$menu" -eq 4 ] || fail "$menu Start-menu entries, expected 4"
  if [ -n "$associate" ]; then
    has_key "$hive\\Software\\Classes\\.btl" Tessera.BootFile || fail ".btl not associated"
  else
    has_key "$hive\\Software\\Classes\\.btl" && fail ".btl associated without /ASSOCIATE"
  fi

  run "$folder\\uninstall.exe" /S
  [ ! -e "$unix" ] || fail "left behind: $(cd "$unix" && find . | tr '\n' ' ')"
  has_key "$hive\\$uninstall_key" && fail "Add/Remove Programs entry left in $hive"
  has_key "$hive\\Software\\Classes\\.btl" && fail ".btl association left"
  [ -z "$(find "$WINEPREFIX/drive_c" -path '*/Programs/Tessera*')" ] || fail "Start-menu folder left"
  echo "$mode: install and uninstall checked"
done
[ $failures -eq 0 ]
