; echo: says what it does, then echoes each key until 'q' (a carriage return
; as a new line), ends the line and exits with success; fails if no key can
; be read.
        .include "boot.s"

main:
        ldc     banner_length
        ldc     banner
        call    print
.next:
        call    sp_getkey
        stl     0                       ; W[0] = the key
        ldl     0
        eqc     -1
        cj      .key
        ldc     FAILURE
        call    sp_exit
.key:
        ldl     0
        eqc     'q'
        cj      .echo
        ldc     1
        ldc     newline
        call    print
        ldc     SUCCESS
        call    sp_exit
.echo:
        ldl     0
        eqc     13
        cj      .show
        ldc     10
        stl     0
.show:
        ldl     0
        ldc     key
        sb
        ldc     1
        ldc     key
        call    print
        j       .next

key:
        .byte   0
banner:
        .byte   "Echo on the transputer: type keys, q ends.", 10
        .equ    banner_length, $ - banner

        .include "sp.s"
