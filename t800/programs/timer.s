; timer: waits on the low-priority timer, on the high-priority timer (in a
; high-priority process), and in an ALT with a timer guard; checks after each
; wait that the time has come, and says so.
        .include "boot.s"

        .equ    LOW_TICKS, 100                  ; 6.4 ms at 64 us a tick
        .equ    HIGH_TICKS, 1000                ; 1 ms at 1 us a tick
        .equ    HIGH_WS, MAIN_WS + 256

; Locals: W[0] belongs to the ALT; W[1] start time; W[2] elapsed or deadline.
main:
        ldtimer
        stl     1
        ldl     1
        ldc     LOW_TICKS
        sum                                     ; timer arithmetic wraps
        tin
        ldtimer
        ldl     1
        diff
        ldc     LOW_TICKS - 1
        gt
        cj      too_early
        ldc     low_ok_length
        ldc     low_ok
        call    print

        ldc     high                            ; a high-priority process
        ldc     HIGH_WS                         ; starts at `high`
        stnl    -1
        ldc     HIGH_WS                         ; Wdesc: priority bit 0 = high
        runp
        ldlp    2                               ; the ticks it waited
        ldc     from_high
        ldc     4
        in
        ldl     2
        mint
        diff
        cj      not_high
        ldl     2
        ldc     HIGH_TICKS - 1
        gt
        cj      too_early
        ldc     high_ok_length
        ldc     high_ok
        call    print

        ldtimer
        ldc     LOW_TICKS
        sum
        stl     2                               ; deadline
        talt
        ldl     2
        ldc     1
        enbt
        taltwt
        ldl     2                               ; time
        ldc     1                               ; guard
        ldc     0                               ; branch offset: straight on
        dist
        altend
        ldtimer
        ldl     2
        diff
        ldc     -1
        gt
        cj      too_early
        ldc     guard_ok_length
        ldc     guard_ok
        call    print
        ldc     SUCCESS
        call    sp_exit

not_high:
        ldc     low_length
        ldc     low
        j       fail
too_early:
        ldc     early_length
        ldc     early
; fail(A = message, B = its length): writes it, exits with failure.
fail:
        call    print
        ldc     FAILURE
        call    sp_exit

; The high-priority process: waits, then sends main the ticks that passed
; (MinInt if it finds itself at low priority).
high:
        ldpri
        cj      .high
        mint
        stl     1
        j       .send
.high:
        ldtimer
        stl     0
        ldl     0
        ldc     HIGH_TICKS
        sum
        tin
        ldtimer
        ldl     0
        diff
        stl     1
.send:
        ldlp    1
        ldc     from_high
        ldc     4
        out
        stopp

low_ok:
        .byte   "low priority timer: ok", 10
        .equ    low_ok_length, $ - low_ok
high_ok:
        .byte   "high priority timer: ok", 10
        .equ    high_ok_length, $ - high_ok
guard_ok:
        .byte   "timer guard: ok", 10
        .equ    guard_ok_length, $ - guard_ok
low:
        .byte   "timer: the high-priority process ran at low priority", 10
        .equ    low_length, $ - low
early:
        .byte   "timer: woke too early", 10
        .equ    early_length, $ - early

        .align  4
from_high:
        .word   NOT_PROCESS

        .include "sp.s"
