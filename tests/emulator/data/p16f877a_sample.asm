; Fixture for the emulator's HEX load/dump tests. Rebuild with:
;   gpasm -p p16f877a -a inhx32 -o p16f877a_sample.hex p16f877a_sample.asm
        #include <p16f877a.inc>
        __CONFIG _HS_OSC & _WDT_OFF & _PWRTE_ON & _LVP_OFF & _CP_OFF
        __IDLOCS 0x1234
        org     0x0000
        goto    start
        org     0x0004
        retfie
start   movlw   0x55
        movwf   PORTB
loop    goto    loop
        org     0x1FFE
        nop
        retlw   0x42
        org     0x2100
        de      0x01, 0x02, 0xA5, 0xFF, 0x00
        end
