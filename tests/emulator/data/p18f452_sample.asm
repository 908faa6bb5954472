; Fixture for the emulator's HEX load/dump tests. Rebuild with:
;   gpasm -p p18f452 -a inhx32 -o p18f452_sample.hex p18f452_sample.asm
        #include <p18f452.inc>
        CONFIG  OSC = HS, WDT = OFF, LVP = OFF, PWRT = ON
        org     0x0000
        goto    start
        org     0x0100
start   movlw   0x55
        movwf   PORTB
loop    bra     loop
        org     0x7FFE
        retlw   0x42
        org     0x200000
        db      0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08
        org     0xF00000
        de      0x11, 0x22, 0x33
        end
