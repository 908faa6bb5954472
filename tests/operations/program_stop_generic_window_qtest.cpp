// A program run of the generic sequence that ends before its verdict, one part of every
// programming type it serves, pressed in the real main window on the emulator over a pty
// (program_stop_checks.h): a failed program-memory write is told in its box and logged as this
// run's line, and a lost board ends the run at once with the loss logged.
#include "program_stop_checks.h"

using namespace tavrin;
using namespace tavrin::test;

namespace {

#define BLINK_12BIT TAVRIN_SOURCE_DIR "/tests/devices/pic12/data/blink508a.hex"
#define COUNTER_14BIT TAVRIN_SOURCE_DIR "/tests/operations/data/counter84a.hex"
#define WRITE_FAILED "プログラムメモリのプログラミングに失敗しました。"

const ProgramStopPart kGenericParts[] = {
    {"PIC16C54", BLINK_12BIT, "wps", 4, WRITE_FAILED, true},     // 5X18
    {"PIC16C55", BLINK_12BIT, "wpl", 4, WRITE_FAILED, true},     // 5X28
    {"PIC12C672", COUNTER_14BIT, "wsp", 4, WRITE_FAILED, true},  // 12C6
    {"PIC12F675", COUNTER_14BIT, "we8", 4, WRITE_FAILED, true},  // 12F6
    {"PIC16C622A", COUNTER_14BIT, "wsp", 4, WRITE_FAILED, true}, // EPROM
    {"PIC16C715", COUNTER_14BIT, "wSp", 4, WRITE_FAILED, true},  // EPROM2
    {"PIC16F84A", COUNTER_14BIT, "wef", 4, WRITE_FAILED, true},  // FLASH0
    {"PIC16F628A", COUNTER_14BIT, "we8", 4, WRITE_FAILED, true}, // FLASH1
    {"PIC16F77", COUNTER_14BIT, "wEe", 4, WRITE_FAILED, true},   // FLASH2
    {"PIC16F819", COUNTER_14BIT, "wHe", 4, WRITE_FAILED, true},  // FLASH4
    {"PIC16F88", COUNTER_14BIT, "wHe", 4, WRITE_FAILED, true},   // FLASH4.9
    {"PIC16F876A", COUNTER_14BIT, "wGe", 4, WRITE_FAILED, true}, // FLASH8
    {"PIC18F242", COUNTER_14BIT, "Xwep", 0, WRITE_FAILED, true}, // 18F_00
};

} // namespace

class ProgramStopGenericWindow : public QObject {
    Q_OBJECT
  private slots:
    void aFailedWriteIsLogged_data() {
        addFailedWriteRows(kGenericParts, std::size(kGenericParts));
    }
    void aFailedWriteIsLogged() { checkFailedWriteIsLogged(); }
    void aLostBoardEndsTheRunAtOnce_data() {
        addLostBoardRows(kGenericParts, std::size(kGenericParts));
    }
    void aLostBoardEndsTheRunAtOnce() { checkLostBoardEndsTheRunAtOnce(); }
};

QTEST_MAIN(ProgramStopGenericWindow)
#include "program_stop_generic_window_qtest.moc"
