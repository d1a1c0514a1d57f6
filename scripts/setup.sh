#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine.
# Safe to run again: with everything present it returns at once.
#
# The package mirror can serve a broken index for days, so a failed index
# update is retried with back-off and then set aside: the install goes on with
# the indexes apt has, and only a package that cannot be installed fails the
# setup. The 32-bit Wine is wanted only where the kernel runs 32-bit code, and
# even there it is optional: without it the tests use the x86_64 build.
#
# Exit status: 0 ready; 3 setup failed, with one line "setup failed: <reason>"
# on standard output; apt's own output is in build/setup.log.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
state=${TESSEL_SETUP_STATE:-$here/../build}   # the log and the wine32 stamp
log=$state/setup.log
backoff=${TESSEL_SETUP_BACKOFF:-5}   # seconds before the first retry; doubles
tries=4
mkdir -p "$state" && : >"$log"

need=(cmake ninja-build g++ clang llvm libclang-rt-14-dev libgtest-dev libgmock-dev googletest
      g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
      g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
      wine wine64 xvfb x11-utils imagemagick python3 procps
      nsis p7zip-full zip)
wine32=wine32:i386
# A failed try at the 32-bit Wine is remembered for a day, so every test run
# does not pay for another round of i386 index updates.
wine32_stamp=$state/.setup-wine32-unavailable

apt_opts=(-q -y -o DPkg::Lock::Timeout=600 -o Acquire::Retries=3)
# apt's messages for a fault that may pass: a mirror mid-sync, the network, a lock.
transient='unexpected size|Hash Sum mismatch|Mirror sync in progress|Failed to fetch|Could not resolve|Temporary failure|Could not connect|Unable to connect|Connection failed|Connection timed out|Could not get lock|Unable to acquire the dpkg frontend lock|Unable to lock'

fail() { echo "setup failed: $*"; exit 3; }
note() { echo "setup: $*"; }

missing() {  # package...: prints those not installed
  local p
  for p; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

pause() {  # try-number: back-off before the next try
  sleep $((backoff << ($1 - 1)))
}

update_indexes() {  # retried; failed indexes are set aside, not fatal
  local try
  for try in $(seq $tries); do
    echo "== apt-get update (try $try)" >>"$log"
    apt-get "${apt_opts[@]}" update >>"$log" 2>&1 && return 0
    [ "$try" -lt $tries ] && pause "$try"
  done
  note "some package indexes failed to update; going on with the indexes apt has"
  return 0
}

# Installs the packages, retrying faults that may pass. On a lasting failure
# sets $reason (naming the packages apt could not get) and returns 1.
reason=
install_packages() {  # package...
  local try out names
  for try in $(seq $tries); do
    echo "== apt-get install $* (try $try)" >>"$log"
    out=$(apt-get "${apt_opts[@]}" install --no-install-recommends "$@" 2>&1)
    local rc=$?
    echo "$out" >>"$log"
    [ $rc -eq 0 ] && return 0
    if ! grep -qE "$transient" <<<"$out"; then break; fi
    if [ "$try" -lt $tries ]; then
      pause "$try"
      # A .deb that failed to fetch may be gone from a re-synced mirror.
      grep -q 'Failed to fetch' <<<"$out" && update_indexes
    fi
  done
  names=$(grep -oE "Unable to locate package [^ ]+|Package '?[^ ']+'? has no installation candidate|^ [^ ]+ : Depends" <<<"$out" |
          sed -E "s/Unable to locate package //; s/Package '?([^ ']+)'? has.*/\1/; s/^ ([^ ]+) : Depends/\1/" |
          sort -u | head -5 | tr '\n' ' ')
  if [ -n "$names" ]; then
    reason="cannot install ${names% }"
  else
    reason="apt-get install failed: $(grep -E '^E: ' <<<"$out" | tail -1)"
  fi
  return 1
}

try_wine32() {  # the 32-bit Wine where the kernel runs 32-bit code; never fatal
  [ "${TESSEL_WINE32:-yes}" = no ] && return 0
  [ "$("$here/host-arch.sh" --kernel)" = win32 ] || return 0
  [ -z "$(missing "$wine32")" ] && return 0
  if [ -f "$wine32_stamp" ] && [ -z "$(find "$wine32_stamp" -mmin +1440 2>/dev/null)" ]; then
    return 0
  fi
  local added=0
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386 && added=1
    update_indexes
  fi
  if install_packages "$wine32"; then
    rm -f "$wine32_stamp"
    return 0
  fi
  note "the 32-bit Wine could not be installed ($reason); the Windows tests use the x86_64 build"
  # Leave apt as it was, so later updates do not fetch the i386 indexes for nothing.
  [ $added = 1 ] && { dpkg --remove-architecture i386 2>>"$log"; update_indexes; }
  touch "$wine32_stamp"
  return 0
}

todo=($(missing "${need[@]}"))
if [ ${#todo[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ] && [ -z "${TESSEL_SETUP_ANY_USER:-}" ]; then
    fail "missing packages (${todo[*]}); run as root to install them"
  fi
  export DEBIAN_FRONTEND=noninteractive
  update_indexes
  install_packages "${todo[@]}" || fail "$reason"
  left=($(missing "${need[@]}"))
  [ ${#left[@]} -eq 0 ] || fail "still missing after the install: ${left[*]}"
fi
if [ "$(id -u)" -eq 0 ] || [ -n "${TESSEL_SETUP_ANY_USER:-}" ]; then
  DEBIAN_FRONTEND=noninteractive try_wine32
fi
exit 0
