#!/usr/bin/env bash
# Setup's decisions without a network: fake apt-get, dpkg and dpkg-query first
# on the PATH play a broken mirror, a missing package and a held dpkg lock.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
failures=0
checks=0
check() {  # description condition...
  local what=$1; shift
  checks=$((checks + 1))
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

# new_world scenario: a fresh fake machine; setup_in kernel-arch runs setup
# there and leaves $rc and $out; $world is the fake's state folder.
worlds=()
trap 'rm -rf "${worlds[@]}"' EXIT
new_world() {
  world=$(mktemp -d)
  worlds+=("$world")
  echo "$1" >"$world/scenario"
  : >"$world/installed"; : >"$world/calls"
}
setup_in() {
  # TESSEL_WINE32 emptied: the caller's choice must not decide these cases.
  out=$(PATH="$here/fake-apt:$PATH" FAKE_APT=$world TESSEL_SETUP_STATE=$world \
        TESSEL_SETUP_ANY_USER=1 TESSEL_SETUP_BACKOFF=0 TESSEL_HOST_ARCH=$1 TESSEL_WINE32= \
        timeout 60 bash "$here/../setup.sh" 2>&1)
  rc=$?
}
run_setup() { new_world "$1"; setup_in "$2"; }
calls() { grep -c "$1" "$world/calls"; }
has() { grep -qE "$1" <<<"$out"; }

run_setup update-fails-twice win64
check "index mismatch twice, then a good update: setup succeeds" [ $rc -eq 0 ]
check "  after three updates" [ "$(calls '^apt-get.* update')" -eq 3 ]
check "  and installs the packages" grep -qx xvfb "$world/installed"

run_setup update-fails win64
check "index broken on every try: setup goes on and succeeds" [ $rc -eq 0 ]
check "  saying it goes on with the indexes it has" has 'going on with the indexes'
check "  after a bounded number of tries" [ "$(calls '^apt-get.* update')" -eq 4 ]

run_setup "install-fails xvfb" win64
check "a needed package that cannot be installed fails the setup" [ $rc -eq 3 ]
check "  in one line that names the package" has '^setup failed: cannot install xvfb$'

new_world locked
touch "$world/lock"; (sleep 2; rm -f "$world/lock") &
setup_in win64
check "a held dpkg lock is waited for: setup succeeds" [ $rc -eq 0 ]
check "  within one install call" [ "$(calls '^apt-get.* install')" -eq 1 ]
wait

run_setup update-fails-twice win64
check "no i386 architecture where 32-bit code cannot run" [ "$(calls 'add-architecture')" -eq 0 ]
check "  and no 32-bit Wine asked for" [ "$(calls 'wine32')" -eq 0 ]

run_setup "install-fails wine32:i386" win32
check "32-bit Wine that cannot be installed is not a failure" [ $rc -eq 0 ]
check "  i386 was tried" [ "$(calls 'add-architecture i386')" -eq 1 ]
check "  and removed again" [ ! -s "$world/archs" ]
check "  and the try is remembered" [ -f "$world/.setup-wine32-unavailable" ]

kernel=$(TESSEL_HOST_ARCH= bash "$here/../host-arch.sh" --kernel)
check "the kernel probe answers win32 or win64 (here: $kernel)" grep -qxE 'win32|win64' <<<"$kernel"
check "without a 32-bit Wine the tests use the x86_64 build" \
  [ "$(TESSEL_HOST_ARCH=win32 TESSEL_WINE32_LOADER=/nonexistent bash "$here/../host-arch.sh")" = win64 ]

echo "$((checks - failures)) passed, $failures failed"
[ $failures -eq 0 ]
