; Toggles GP0 with a delay loop, using the factory calibration value at start-up; ID words and
; the configuration word set, so that every location of the 12-bit stream is written.
        include <p12c508a.inc>
        __config _IntRC_OSC & _WDT_OFF & _MCLRE_OFF & _CP_OFF
        __idlocs 0x5A3C

count   equ     0x10

        org     0x000
        movwf   OSCCAL
        movlw   b'11111110'
        tris    GPIO
loop    movlw   0x01
        xorwf   GPIO, f
        clrf    count
wait    decfsz  count, f
        goto    wait
        goto    loop
        end
