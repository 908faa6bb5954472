; Counts on PORTB with a delay loop; a few EEPROM bytes, ID words and the
; configuration word set, so that every area of the part is written.
        include <p16f84a.inc>
        errorlevel -302
        __config _XT_OSC & _WDT_OFF & _PWRTE_ON
        __idlocs 0x1234

count   equ     0x0C
inner   equ     0x0D

        org     0x000
        goto    start
        org     0x004
        retfie
start   bsf     STATUS, RP0
        clrf    TRISB
        bcf     STATUS, RP0
        clrf    PORTB
loop    incf    PORTB, f
        movlw   0xFF
        movwf   inner
wait    decfsz  inner, f
        goto    wait
        goto    loop

        org     0x3F0
        dw      0x3FFE, 0x0123, 0x2ABC, 0x1555

        org     0x2100
        de      "TAVRIN", 0x00, 0x5A, 0xA5
        end
