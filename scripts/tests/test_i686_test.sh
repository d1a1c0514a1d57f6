#!/usr/bin/env bash
# test-i686.sh's answers when the root cannot be made: one line, its own exit
# status, and nothing left behind. Fake apt (scripts/tests/fake-apt) and a
# fake debootstrap first on the PATH; the cache is a scratch folder. Needs root,
# as the script does; skipped otherwise.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
[ "$(id -u)" -eq 0 ] || { echo "skipped: not root"; exit 0; }
failures=0
check() {  # description condition...
  local what=$1; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/bin"
cat >"$scratch/bin/debootstrap" <<'EOS'
#!/bin/sh
echo "debootstrap $*" >>"$FAKE_APT/calls"
mkdir -p "$4/var"   # a half-made root
echo "E: Couldn't download packages: libwine"
exit 1
EOS
chmod 755 "$scratch/bin/debootstrap"

run() {  # scenario installed-packages -- test-i686 arguments
  local world=$scratch/world-$RANDOM
  mkdir -p "$world" && echo "$1" >"$world/scenario" && printf '%s\n' $2 >"$world/installed" && : >"$world/calls"
  shift 3
  out=$(PATH="$scratch/bin:$here/fake-apt:$PATH" FAKE_APT=$world TESSEL_I686_CACHE=$world/cache \
        TESSEL_I686_OUT=$world/out TESSEL_I686_BACKOFF=0 timeout 60 bash "$here/../test-i686.sh" "$@" 2>&1)
  rc=$?
  cache=$world/cache
}

run none debootstrap -- --root-only --chroot
check "a root that debootstrap cannot make: exit 4" [ $rc -eq 4 ]
check "  with one line that says why" grep -qx 'test-i686 failed: debootstrap of the i386 root failed (E: .*libwine)' <<<"$out"
check "  and no half-made root left in the cache" [ -z "$(ls "$cache" | grep -v '^\.lock$')" ]

run "install-fails debootstrap" "" -- --root-only --chroot
check "debootstrap that cannot be installed: exit 3" [ $rc -eq 3 ]
check "  with one line that names it" grep -qx 'test-i686 failed: cannot install debootstrap on the host.*' <<<"$out"

run none "" -- --bogus
check "an unknown option: exit 2" [ $rc -eq 2 ]

[ $failures -eq 0 ]
