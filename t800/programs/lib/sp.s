; Host requests over link 0: each builds its request in sp_frame, sends it
; as one frame (INT16 length, payload) and reads the reply into the same
; buffer. Procedures are entered with `call`: arguments in A, B, C (pushed
; last-first), results in A (and B). They use every register.

        .equ    LINK0_OUT, 0x80000000
        .equ    LINK0_IN, 0x80000010
        .equ    SP_MAX, 512                     ; largest payload we take
        .equ    SP_CHUNK, 500                   ; most data bytes in one request
        .equ    SP_TAG, sp_frame + 2
        .equ    SP_RESULT, sp_frame + 2
        .equ    SP_ARG, sp_frame + 3            ; first field after tag or result
        .equ    STDOUT, 1
        .equ    MODE_INPUT, 1
        .equ    MODE_OUTPUT, 2

; sp_transact(A = payload length) -> A = the reply's result byte.
; The payload is padded to even and at least 6 bytes, as hosts expect.
sp_transact:
        ldl     1
        adc     1
        ldc     -2
        and
        stl     1
        ldl     1
        ldc     6
        gt
        cj      .short
        j       .send
.short:
        ldc     6
        stl     1
.send:
        ldc     sp_frame
        ldl     1
        call    sp_put16
        ldc     sp_frame                        ; source
        ldc     LINK0_OUT
        ldl     1
        adc     2
        out
        ldc     sp_frame                        ; the reply's length
        ldc     LINK0_IN
        ldc     2
        in
        ldc     sp_frame
        call    sp_get16
        stl     1
        ldl     1                               ; a reply larger than the buffer
        ldc     SP_MAX                          ; is a broken host: stop here
        gt
        cj      .fits
        seterr
        stopp
.fits:
        ldc     SP_RESULT
        ldc     LINK0_IN
        ldl     1
        in
        ldc     SP_RESULT
        lb
        ret

; sp_put16(A = value, B = address): two bytes, little-endian.
sp_put16:
        ldl     1
        ldl     2
        sb
        ldl     1
        ldc     8
        shr
        ldl     2
        adc     1
        sb
        ret

; sp_put32(A = value, B = address)
sp_put32:
        ldl     2
        ldl     1
        call    sp_put16
        ldl     2
        adc     2
        ldl     1
        ldc     16
        shr
        call    sp_put16
        ret

; sp_get16(A = address) -> A = the unsigned 16-bit value there.
sp_get16:
        ldl     1
        lb
        ldl     1
        adc     1
        lb
        ldc     8
        shl
        or
        ret

; sp_get32(A = address) -> A
sp_get32:
        ajw     -1                              ; W[0] = high half; A at W[2]
        ldl     2
        adc     2
        call    sp_get16
        ldc     16
        shl
        stl     0
        ldl     2
        call    sp_get16
        ldl     0
        or
        ajw     1
        ret

; sp_take_slice(A = destination, B = room) -> A = bytes copied from the
; reply's SLICE (INT16 length at SP_ARG, then the bytes), at most `room`.
sp_take_slice:
        ajw     -1                              ; W[0] = count; arguments at W[2], W[3]
        ldc     SP_ARG
        call    sp_get16
        stl     0
        ldl     0
        ldl     3
        gt
        cj      .fits
        ldl     3
        stl     0
.fits:
        ldc     SP_ARG + 2                      ; source
        ldl     2                               ; destination
        ldl     0
        move
        ldl     0
        ajw     1
        ret

; sp_write(A = stream, B = address, C = length) -> A = result: 0 once every
; piece (at most SP_CHUNK bytes each) is written, else the first failure.
sp_write:
        ajw     -2                              ; W[0] piece, W[1] result; arguments at W[3..5]
        ldc     0
        stl     1
.next:
        ldl     5
        cj      .done
        ldl     5
        stl     0
        ldl     0
        ldc     SP_CHUNK
        gt
        cj      .sized
        ldc     SP_CHUNK
        stl     0
.sized:
        ldc     13
        ldc     SP_TAG
        sb
        ldc     SP_ARG
        ldl     3
        call    sp_put32
        ldc     SP_ARG + 4
        ldl     0
        call    sp_put16
        ldl     4                               ; source
        ldc     SP_ARG + 6                      ; destination
        ldl     0
        move
        ldl     0
        adc     7
        call    sp_transact
        stl     1
        ldl     1
        eqc     0
        cj      .done
        ldl     4
        ldl     0
        bsub
        stl     4                               ; address += piece
        ldl     5
        ldl     0
        diff
        stl     5                               ; length -= piece
        j       .next
.done:
        ldl     1
        ajw     2
        ret

; sp_read(A = stream, B = destination, C = room) -> A = bytes read (at most
; SP_CHUNK), or -1
sp_read:
        ldl     3
        ldc     SP_CHUNK
        gt
        cj      .asked
        ldc     SP_CHUNK
        stl     3
.asked:
        ldc     12
        ldc     SP_TAG
        sb
        ldc     SP_ARG
        ldl     1
        call    sp_put32
        ldc     SP_ARG + 4
        ldl     3
        call    sp_put16
        ldc     7
        call    sp_transact
        cj      .ok
        ldc     -1
        ret
.ok:
        ldl     3
        ldl     2
        call    sp_take_slice
        ret

; sp_open(A = name, B = name length, C = mode), binary -> A = stream, B = result
; (a name too long for one request fails without asking)
sp_open:
        ldl     2
        ldc     SP_CHUNK
        gt
        cj      .named
        ldc     129
        ldc     0
        ret
.named:
        ldc     10
        ldc     SP_TAG
        sb
        ldc     SP_ARG
        ldl     2
        call    sp_put16
        ldl     1                               ; source
        ldc     SP_ARG + 2                      ; destination
        ldl     2
        move
        ldc     1                               ; type: binary
        ldl     2
        adc     SP_ARG + 2
        sb
        ldl     3                               ; mode
        ldl     2
        adc     SP_ARG + 3
        sb
        ldl     2
        adc     5
        call    sp_transact
        ldc     SP_ARG
        call    sp_get32
        ldc     SP_RESULT
        lb
        rev
        ret

; sp_close(A = stream) -> A = result
sp_close:
        ldc     11
        ldc     SP_TAG
        sb
        ldc     SP_ARG
        ldl     1
        call    sp_put32
        ldc     5
        call    sp_transact
        ret

; sp_getkey() -> A = the key, or -1
sp_getkey:
        ldc     30
        ldc     SP_TAG
        sb
        ldc     1
        call    sp_transact
        cj      .ok
        ldc     -1
        ret
.ok:
        ldc     SP_ARG
        lb
        ret

; sp_commandline(A = all (0: the program's arguments only), B = destination,
; C = room) -> A = its length, or -1
sp_commandline:
        ldc     40
        ldc     SP_TAG
        sb
        ldl     1
        ldc     SP_ARG
        sb
        ldc     2
        call    sp_transact
        cj      .ok
        ldc     -1
        ret
.ok:
        ldl     3
        ldl     2
        call    sp_take_slice
        ret

; sp_exit(A = status): tells the host to stop; does not return.
sp_exit:
        ldc     35
        ldc     SP_TAG
        sb
        ldc     SP_ARG
        ldl     1
        call    sp_put32
        ldc     5
        call    sp_transact
        stopp

; print(A = address, B = length): to stdout.
print:
        ldl     2
        ldl     1
        ldc     STDOUT
        call    sp_write
        ret

; print_dec(A = value): in decimal, with a '-' if negative.
print_dec:
        ajw     -3                              ; W[0] value, W[1] cursor, W[2] negative; A at W[4]
        ldl     4
        stl     0
        ldc     digits_end
        stl     1
        ldc     0
        ldl     0
        gt
        stl     2
        ldl     2
        cj      .loop
        ldc     0                               ; unchecked: MinInt stays MinInt,
        ldl     0                               ; printed right as unsigned below
        diff
        stl     0
.loop:
        ldl     1
        adc     -1
        stl     1
        ldc     0                               ; unsigned 64-bit divide by 10
        ldl     0
        ldc     10
        ldiv
        stl     0                               ; quotient; A = remainder
        adc     '0'
        ldl     1
        sb
        ldl     0
        eqc     0
        cj      .loop
        ldl     2
        cj      .print
        ldl     1
        adc     -1
        stl     1
        ldc     '-'
        ldl     1
        sb
.print:
        ldc     digits_end
        ldl     1
        diff                                    ; length
        ldl     1
        call    print
        ajw     3
        ret

newline:
        .byte   10
digits:
        .space  12
digits_end:
        .align  4
sp_frame:
        .space  SP_MAX + 4
