; Does not assemble: an unknown instruction and an undefined label.
        list    p=16f877a
        include <p16f877a.inc>
        org     0x000
start   movlw   0x12
        jump    nowhere
        goto    start
        end
