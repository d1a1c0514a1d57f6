; comstime: the time a channel communication takes, measured as in P. H.
; Welch's COMSTIME: prefix, delta and succ pass a number round a ring of
; soft channels; delta also sends each number to the consumer (main), which
; takes it through an ALT and times CYCLES rounds of four communications.
        .include "boot.s"

        .equ    CYCLES, 10000
        .equ    WS_PREFIX, MAIN_WS + 256
        .equ    WS_DELTA, MAIN_WS + 512
        .equ    WS_SUCC, MAIN_WS + 768

;            a          c
;   prefix ----> delta ----> succ
;     ^            | d         |
;     |            v           |
;     |         consume        |
;     +------------------------+ b

; Locals: W[0] belongs to the ALT; W[1] rounds left; W[2] start time;
; W[3] the number; W[4] ticks; W[5], W[6] scratch.
main:
        ldc     prefix - .started_prefix        ; startp: offset from the next instruction
        ldc     WS_PREFIX
        startp
.started_prefix:
        ldc     delta - .started_delta
        ldc     WS_DELTA
        startp
.started_delta:
        ldc     succ - .started_succ
        ldc     WS_SUCC
        startp
.started_succ:
        ldc     CYCLES
        stl     1
        ldtimer
        stl     2
.round:
        alt
        ldc     chan_d                          ; channel
        ldc     1                               ; guard
        enbc
        altwt
        ldc     chan_d
        ldc     1
        ldc     0                               ; branch offset: straight on
        disc
        altend
        ldlp    3
        ldc     chan_d
        ldc     4
        in
        ldl     1
        adc     -1
        stl     1
        ldl     1
        eqc     0
        cj      .round
        ldtimer
        ldl     2
        diff
        stl     4

        ; ns per communication = ticks * 64000 / (4 * CYCLES), in 64 bits
        ldc     0
        ldl     4
        ldc     16000
        lmul
        stl     5                               ; low word
        stl     6                               ; high word
        ldl     6
        ldl     5
        ldc     CYCLES
        ldiv
        stl     5

        ldc     head_length
        ldc     head
        call    print
        ldc     CYCLES
        call    print_dec
        ldc     middle_length
        ldc     middle
        call    print
        ldl     5
        call    print_dec
        ldc     tail_length
        ldc     tail
        call    print
        ldc     SUCCESS
        call    sp_exit

prefix:
        ldc     0
        stl     0
        ldlp    0
        ldc     chan_a
        ldc     4
        out
.loop:
        ldlp    0
        ldc     chan_b
        ldc     4
        in
        ldlp    0
        ldc     chan_a
        ldc     4
        out
        j       .loop

delta:
        ldlp    0
        ldc     chan_a
        ldc     4
        in
        ldlp    0
        ldc     chan_c
        ldc     4
        out
        ldlp    0
        ldc     chan_d
        ldc     4
        out
        j       delta

succ:
        ldlp    0
        ldc     chan_c
        ldc     4
        in
        ldl     0
        adc     1
        stl     0
        ldlp    0
        ldc     chan_b
        ldc     4
        out
        j       succ

head:
        .byte   "comstime: "
        .equ    head_length, $ - head
middle:
        .byte   " rounds of 4 communications, "
        .equ    middle_length, $ - middle
tail:
        .byte   " ns per communication", 10
        .equ    tail_length, $ - tail

        .align  4
chan_a: .word   NOT_PROCESS
chan_b: .word   NOT_PROCESS
chan_c: .word   NOT_PROCESS
chan_d: .word   NOT_PROCESS

        .include "sp.s"
