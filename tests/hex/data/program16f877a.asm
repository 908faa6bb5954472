; A small 16F877A program with code in two pages, ID words, the configuration word and data
; EEPROM, assembled by gpasm as INHX8M for the HEX round-trip test.
        errorlevel -220, -302
        include "p16f877a.inc"

        __CONFIG _HS_OSC & _WDT_OFF & _PWRTE_ON & _LVP_OFF & _CP_OFF

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

        org     0x2000
        dw      0x3FF1, 0x3FF2, 0x3FF3, 0x3FF4

        org     0x2100
        de      "TAVRIN", 0x00, 0xFF, 0x12
        org     0x21F0
        de      0x01, 0x02, 0x03

        end
