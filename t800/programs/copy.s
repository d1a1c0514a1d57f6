; copy FROM TO: copies the file FROM into a new file TO, block by block.
        .include "boot.s"

        .equ    ROOM, 256
        .equ    BLOCK, 256

; Locals: W[0] line length, W[1] end of the first name, W[2] start of the
; second, W[3] input stream, W[4] output stream, W[5] bytes in the block,
; W[6] and W[7] the second name's address and length.
main:
        ldc     ROOM
        ldc     line
        ldc     0
        call    sp_commandline
        stl     0
        ldl     0
        eqc     -1
        cj      .split
        j       usage

.split:                                 ; the first name ends at a blank
        ldc     0
        stl     1
.scan:
        ldl     0
        ldl     1
        gt
        cj      .scanned
        ldl     1
        ldc     line
        bsub
        lb
        eqc     ' '
        eqc     0
        cj      .scanned
        ldl     1
        adc     1
        stl     1
        j       .scan
.scanned:                               ; the second starts after the blanks
        ldl     1
        stl     2
.skip:
        ldl     0
        ldl     2
        gt
        cj      .skipped
        ldl     2
        ldc     line
        bsub
        lb
        eqc     ' '
        cj      .skipped
        ldl     2
        adc     1
        stl     2
        j       .skip
.skipped:
        ldl     2
        ldc     line
        bsub
        stl     6
        ldl     0
        ldl     2
        diff
        stl     7
        ldl     1
        cj      usage
        ldl     7
        cj      usage

        ldc     MODE_INPUT
        ldl     1
        ldc     line
        call    sp_open
        stl     3
        cj      .open_output
        ldc     no_input_length
        ldc     no_input
        j       fail
.open_output:
        ldc     MODE_OUTPUT
        ldl     7
        ldl     6
        call    sp_open
        stl     4
        cj      .copy
        ldc     no_output_length
        ldc     no_output
        j       fail

.copy:
        ldc     BLOCK
        ldc     block
        ldl     3
        call    sp_read
        stl     5
        ldl     5
        eqc     -1
        cj      .got
        ldc     read_failed_length
        ldc     read_failed
        j       fail
.got:
        ldl     5
        cj      .done
        ldl     5
        ldc     block
        ldl     4
        call    sp_write
        cj      .copy
        ldc     write_failed_length
        ldc     write_failed
        j       fail

.done:
        ldl     3
        call    sp_close
        ldl     4
        call    sp_close
        cj      .closed
        ldc     write_failed_length
        ldc     write_failed
        j       fail
.closed:
        ldc     SUCCESS
        call    sp_exit

usage:
        ldc     usage_text_length
        ldc     usage_text
; fail(A = message, B = its length): writes it, exits with failure.
fail:
        call    print
        ldc     FAILURE
        call    sp_exit

usage_text:
        .byte   "usage: copy FROM TO", 10
        .equ    usage_text_length, $ - usage_text
no_input:
        .byte   "copy: cannot open the input file", 10
        .equ    no_input_length, $ - no_input
no_output:
        .byte   "copy: cannot create the output file", 10
        .equ    no_output_length, $ - no_output
read_failed:
        .byte   "copy: read failed", 10
        .equ    read_failed_length, $ - read_failed
write_failed:
        .byte   "copy: write failed", 10
        .equ    write_failed_length, $ - write_failed

        .align  4
line:
        .space  ROOM
block:
        .space  BLOCK

        .include "sp.s"
