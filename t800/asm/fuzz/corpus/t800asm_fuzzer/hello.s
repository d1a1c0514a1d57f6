; hello: writes a greeting to stdout and exits with success.
        .include "boot.s"

main:
        ldc     greeting_length
        ldc     greeting
        call    print
        ldc     SUCCESS
        call    sp_exit

greeting:
        .byte   "Hello, world!", 10
        .equ    greeting_length, $ - greeting

        .include "sp.s"
