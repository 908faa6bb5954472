; A small program that touches every kind of operand the listing writes: bank switching,
; STATUS bits, literals, calls and gotos, table reads, tris and option, and erased words left.
        list    p=PROCESSOR_NAME
        include PROCESSOR_INCLUDE
        errorlevel -302,-306
counter equ     0x20
delay   equ     0x21
        org     0
        goto    start
        org     4
isr     bcf     INTCON,2
        retfie
start   clrf    PORTA
        bsf     STATUS,RP0
        movlw   0x07
        movwf   OPTION_REG
        clrf    TRISA
        bcf     STATUS,RP0
        clrw
        movlw   0x10
        movwf   counter
loop    call    wait
        incf    counter,F
        decfsz  counter,W
        goto    loop
        btfss   STATUS,Z
        goto    start
        swapf   counter,F
        rlf     delay,W
        rrf     delay,F
        comf    counter,W
        iorwf   delay,F
        andwf   delay,W
        xorwf   delay,F
        subwf   delay,W
        addwf   delay,F
        movf    counter,F
        iorlw   0x55
        andlw   0x0F
        xorlw   0xAA
        sublw   0x01
        addlw   0xFE
        clrwdt
        nop
        option
        tris    PORTB
        sleep
        goto    $
wait    movlw   0xFF
        movwf   delay
w1      decfsz  delay,F
        goto    w1
        return
table   addwf   PCL,F
        retlw   'T'
        retlw   'W'
        end
