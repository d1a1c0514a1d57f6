#!/usr/bin/env bash
# Which Windows tree the tests and the run command use:
#   host-arch.sh          win32 when this host runs 32-bit x86 code and a 32-bit
#                         Wine is installed (the shipped i686 files run as they
#                         are), win64 otherwise (the x86_64 build under 64-bit Wine)
#   host-arch.sh --kernel win32 when the kernel runs 32-bit x86 code at all, else
#                         win64 (setup asks this before deciding on wine32)
# Some kernels are built or booted without 32-bit support, and a 32-bit Wine may
# not be installable (its i386 indexes broken on the mirror): then only the
# 64-bit Wine is there.
#
# Pure bash, so setup can ask before python3 is installed. The probe is a tiny
# 32-bit ELF that exits 0; a 64-bit twin tells a folder mounted noexec (neither
# runs, try the next folder) from a kernel without 32-bit support (only the
# twin runs). TESSEL_HOST_ARCH=win32|win64 overrides the kernel probe (tests).
set -u
kernel_only=0
[ "${1:-}" = --kernel ] && kernel_only=1
wine32_loader=${TESSEL_WINE32_LOADER:-/usr/lib/wine/wine}

answer() {  # kernel-arch: prints the answer for the question asked
  if [ "$1" = win32 ] && [ $kernel_only = 0 ] && [ ! -x "$wine32_loader" ]; then
    echo win64
  else
    echo "$1"
  fi
}
if [ -n "${TESSEL_HOST_ARCH:-}" ]; then answer "$TESSEL_HOST_ARCH"; exit 0; fi

write_hex() {  # file hexbytes: writes the bytes and makes the file executable
  printf '%b' "$(sed 's/../\\x&/g' <<<"$2")" >"$1" && chmod 755 "$1"
}
# exit(0) through int 0x80, loaded at 0x08048000.
elf32=7f454c460101010000000000000000000200030001000000548004083400000000000000000000003400200001000000000000000100000000000000008004080080040860000000600000000500000000100000
elf32+=b801000000bb00000000cd80
# exit(0) through syscall 60, loaded at 0x400000.
elf64=7f454c4602010100000000000000000002003e0001000000780040000000000040000000000000000000000000000000000000004000380001000000000000000100000005000000000000000000000000004000000000000000400000000000810000000000000081000000000000000010000000000000
elf64+=b83c00000031ff0f05

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
for dir in "$here/../build" "${HOME:-/root}" /dev/shm "${TMPDIR:-/tmp}" /var/tmp; do
  mkdir -p "$dir" 2>/dev/null || continue
  probe=$(mktemp "$dir/.host-arch.XXXXXX" 2>/dev/null) || continue
  if write_hex "$probe" "$elf64" && "$probe" 2>/dev/null; then
    write_hex "$probe" "$elf32"
    if "$probe" 2>/dev/null; then answer win32; else answer win64; fi
    rm -f "$probe"
    exit 0
  fi
  rm -f "$probe"
done
# No folder lets us run anything: assume the common case of a 64-bit-only host.
answer win64
