; fptable: a table of REAL64 and REAL32 arithmetic on the FPU, printed as
; scaled integers (each value times a power of ten, rounded to nearest):
;   n, SQRT(n) REAL64 x 10^6, 1/n REAL32 x 10^6, n/7 REAL64 made REAL32 x 10^4
; for n = 1 .. 12, then whether FP error was ever set. Exits with success.
        .include "boot.s"

main:
        ldc     header_length
        ldc     header
        call    print
        ldc     1
        stl     1                               ; W[1] n; W[2] the scaled value
.row:
        ldl     1
        call    print_dec
        ; SQRT(n) in REAL64, as compilers sequence it
        ldlp    1
        fpi32tor64
        fpusqrtfirst
        fpusqrtstep
        fpusqrtstep
        fpusqrtlast
        ldc     d_million
        fpldnlmuldb
        call    print_scaled
        ; 1/n in REAL32
        ldc     f_one
        fpldnlsn
        ldlp    1
        fpi32tor32
        fpdiv
        ldc     f_million
        fpldnlmulsn
        call    print_scaled
        ; n/7 in REAL64, converted to REAL32
        ldlp    1
        fpi32tor64
        ldc     d_seven
        fpldnldb
        fpdiv
        fpur64tor32
        ldc     f_ten_thousand
        fpldnlmulsn
        call    print_scaled
        ldc     1
        ldc     newline
        call    print
        ldl     1
        adc     1
        stl     1
        ldl     1
        eqc     13
        cj      .row
        fptesterr
        cj      .fp_error
        ldc     clean_length
        ldc     clean
        call    print
        ldc     SUCCESS
        call    sp_exit
.fp_error:
        ldc     dirty_length
        ldc     dirty
        call    print
        ldc     FAILURE
        call    sp_exit

; print_scaled(FA): rounds FA to an INT32 and prints it after a space.
print_scaled:
        ajw     -1
        fprtoi32
        ldlp    0
        fpstnli32
        ldc     1
        ldc     space
        call    print
        ldl     0
        call    print_dec
        ajw     1
        ret

header:
        .byte   "n sqrt(n)*1e6 (REAL64) 1/n*1e6 (REAL32) n/7*1e4 (REAL64 to REAL32)", 10
        .equ    header_length, $ - header
clean:
        .byte   "no FP error", 10
        .equ    clean_length, $ - clean
dirty:
        .byte   "FP error", 10
        .equ    dirty_length, $ - dirty
space:
        .byte   " "

        .align  4
d_million:      .word   0x00000000, 0x412E8480  ; 1e6, low word first
d_seven:        .word   0x00000000, 0x401C0000  ; 7.0
f_one:          .word   0x3F800000              ; 1.0
f_million:      .word   0x49742400              ; 1e6
f_ten_thousand: .word   0x461C4000              ; 1e4

        .include "sp.s"
