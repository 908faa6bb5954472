; Counts on PORTB; code in two pages, EEPROM bytes, ID words and the configuration word, so that
; every area of the part is written from what the assembler produced.
        list    p=16f877a
        include <p16f877a.inc>
        errorlevel -302
        __config _HS_OSC & _WDT_OFF & _PWRTE_ON & _LVP_OFF & _CP_OFF
        __idlocs 0x4321

count   equ     0x20

        org     0x000
        goto    start
        org     0x004
        retfie
start   bsf     STATUS, RP0
        clrf    TRISB
        bcf     STATUS, RP0
        clrf    PORTB
loop    incf    PORTB, f
        decfsz  count, f
        goto    loop
        pagesel far
        call    far
        pagesel loop
        goto    loop

        org     0x0800
far     movlw   0x5A
        return

        org     0x1FF0
        dw      0x3FFE, 0x0123, 0x2ABC, 0x1555

        org     0x2100
        de      "TAVRIN", 0x00, 0x5A, 0xA5
        end
