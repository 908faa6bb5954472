; Toggles GP0 with a delay loop; EEPROM bytes, ID words and the configuration word set, so that
; every area of the part is written.
        include <p12f683.inc>
        errorlevel -302
        __config _INTOSCIO & _WDT_OFF & _PWRTE_ON & _MCLRE_OFF & _CP_OFF & _CPD_OFF & _BOD_OFF & _IESO_OFF & _FCMEN_OFF
        __idlocs 0x1A2C

count   equ     0x20

        org     0x000
        goto    start
        org     0x004
        retfie
start   bsf     STATUS, RP0
        bcf     TRISIO, 0
        bcf     STATUS, RP0
loop    movlw   0x01
        xorwf   GPIO, f
wait    decfsz  count, f
        goto    wait
        goto    loop

        org     0x7F0
        dw      0x3FFE, 0x0123, 0x2ABC, 0x1555

        org     0x2100
        de      "TAVRIN", 0x00, 0x5A, 0xA5
        end
