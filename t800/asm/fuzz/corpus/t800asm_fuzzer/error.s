; error: says what it is about to do, then sets the error flag with
; HaltOnError set, so the processor halts and the board's error line rises.
        .include "boot.s"

main:
        ldc     message_length
        ldc     message
        call    print
        sethalterr
        seterr
        ldc     FAILURE                         ; not reached: the processor has halted
        call    sp_exit

message:
        .byte   "setting the error flag", 10
        .equ    message_length, $ - message

        .include "sp.s"
