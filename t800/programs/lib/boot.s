; The primary bootstrap every program starts with. It resets what the
; processor leaves undefined, reads the rest of the boot file (an INT32
; length, then the bytes) from the link it was booted on, places it right
; after itself and jumps to the program's `main`.
;
; main runs at low priority with Wptr = MAIN_WS: its locals are W[0], W[1], ...
; above it, and call frames grow down from it into the free memory after the
; image (STACK_BYTES of it).

        .equ    STACK_BYTES, 4096
        .equ    MAIN_WS, (__end + STACK_BYTES + 3) & ~3
        .equ    NOT_PROCESS, 0x80000000
        .equ    SUCCESS, 999999999
        .equ    FAILURE, -999999999

; At entry: A = Iptr before reset, B = Wdesc before reset, C = the boot
; link's input channel; Wptr is just above this code, where the rest goes.
boot:
        stl     0               ; drop A and B; the words above us are free
        stl     0               ; until the rest arrives: A = the channel
        ldc     MAIN_WS
        gajw                    ; move the workspace out of the way
        rev
        stl     1               ; W[1] = the boot link's input channel

        ; Links, event channel and timer queues empty; run queues empty.
        mint
        mint
        stnl    0
        mint
        mint
        stnl    1
        mint
        mint
        stnl    2
        mint
        mint
        stnl    3
        mint
        mint
        stnl    4
        mint
        mint
        stnl    5
        mint
        mint
        stnl    6
        mint
        mint
        stnl    7
        mint
        mint
        stnl    8
        mint
        mint
        stnl    9
        mint
        mint
        stnl    10
        mint
        sthf
        mint
        stlf
        testerr                 ; clear Error
        stl     0
        clrhalterr
        ldc     0
        sttimer                 ; the clocks only run once started

        ldlp    0               ; the length of the rest, into W[0]
        ldl     1
        ldc     4
        in
        ldc     boot_rest       ; the rest, right after this code
        ldl     1
        ldl     0
        in
        j       main

        .secondary
boot_rest:
