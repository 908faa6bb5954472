; A small program for the PIC16F877A: blinks RB0 and keeps a greeting in a table, so the
; program memory view shows code, text and the configuration word. Assemble with
;   gpasm -p p16f877a -o blink877a.hex blink877a.asm
        list    p=16f877a
        #include <p16f877a.inc>
        __config _HS_OSC & _WDT_OFF & _PWRTE_ON & _LVP_OFF & _CP_OFF
        __idlocs 0x1234

        org     0
        goto    start
        org     4
        retfie
start:
        bsf     STATUS, RP0
        clrf    TRISB
        bcf     STATUS, RP0
loop:
        movlw   0x01
        xorwf   PORTB, f
        call    wait
        goto    loop
wait:
        decfsz  0x20, f
        goto    wait
        return
greeting:
        addwf   PCL, f
        dt      "Tavrin Writer: hello, PIC16F877A!", 0

        org     0x2100
        de      "EEPROM data", 0
        end
