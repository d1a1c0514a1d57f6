#!/usr/bin/env bash
# Prints win32 when this host can execute 32-bit x86 code (and so run the
# shipped i686 binaries under Wine), win64 otherwise. Some kernels are built
# or booted without 32-bit support; there only a 64-bit Wine works.
tmp=$(mktemp)
python3 - "$tmp" <<'PY'
import struct, sys, os
code = bytes([0xb8,1,0,0,0, 0xbb,0,0,0,0, 0xcd,0x80])   # exit(0) via int 0x80
ehdr = struct.pack('<16sHHIIIIIHHHHHH', b'\x7fELF\x01\x01\x01' + b'\0'*9,
                   2, 3, 1, 0x08048054, 52, 0, 0, 52, 32, 1, 0, 0, 0)
phdr = struct.pack('<IIIIIIII', 1, 0, 0x08048000, 0x08048000, 84+len(code), 84+len(code), 5, 0x1000)
open(sys.argv[1], 'wb').write(ehdr + phdr + code)
os.chmod(sys.argv[1], 0o755)
PY
if "$tmp" 2>/dev/null; then echo win32; else echo win64; fi
rm -f "$tmp"
