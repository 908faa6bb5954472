; A small 18F452 program with code in low and high memory, ID bytes, configuration and data
; EEPROM, assembled by gpasm as INHX32 for the HEX round-trip test.
        errorlevel -220, -302, -1301
        include "p18f452.inc"

        CONFIG  OSC = HS, WDT = OFF, LVP = OFF, PWRT = ON

        org     0x0000
        goto    start
        org     0x0008
        retfie
start:  clrf    TRISB
        movlw   0x5A
        movwf   LATB
loop:   incf    LATB, F
        bra     loop

        org     0x7FF0
        db      0x01, 0x02, 0x03, 0x04, 0x05

        org     0x200000
        db      0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08

        org     0xF00000
        de      "TAVRIN", 0x00, 0xFF, 0x12
        org     0xF000FC
        de      0xA1, 0xA2, 0xA3, 0xA4

        end
