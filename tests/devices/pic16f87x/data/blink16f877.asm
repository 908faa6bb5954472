; Blinks PORTB with code in two pages, a table at the end of program memory, ID words, the
; configuration word and data EEPROM, so that every area of the part is written.
        list    p=16f877
        errorlevel -302
        include "p16f877.inc"
        __config _HS_OSC & _WDT_OFF & _PWRTE_ON & _LVP_OFF & _CP_OFF
        __idlocs 0x1234

        org     0x0000
        goto    start
        org     0x0004
        retfie
start:  bsf     STATUS, RP0
        clrf    TRISB
        bcf     STATUS, RP0
        movlw   0x5A
        movwf   PORTB
loop:   incf    PORTB, F
        goto    loop

        org     0x0800
        dw      0x1234, 0x2345, 0x3456, 0x0001

        org     0x1FF8
        dw      0x3FFE, 0x0000, 0x2805

        org     0x2100
        de      "TAVRIN", 0x00, 0x5A, 0xA5
        org     0x21F0
        de      0x01, 0x02, 0x03
        end
