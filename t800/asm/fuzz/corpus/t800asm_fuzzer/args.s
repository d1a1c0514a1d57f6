; args: writes the program's command line (its arguments only) and a new line.
        .include "boot.s"

        .equ    ROOM, 512

main:
        ldc     ROOM
        ldc     line
        ldc     0                       ; the arguments only
        call    sp_commandline
        stl     0                       ; W[0] = length
        ldl     0
        eqc     -1
        cj      .ok
        ldc     FAILURE
        call    sp_exit
.ok:
        ldl     0
        ldc     line
        call    print
        ldc     1
        ldc     newline
        call    print
        ldc     SUCCESS
        call    sp_exit

line:
        .space  ROOM

        .include "sp.s"
