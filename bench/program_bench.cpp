// Program and verify over the real serial path: the board emulator on a pty, paced like a 57600
// baud line, reached through QSerialPort on the steady clock. For each part it prints how long
// the operation took against the time the wire itself needs for the bytes exchanged and the
// pauses the protocol prescribes, and how much of that time the host spent on the CPU.
// On stderr: each step's wall and CPU time, and the host's reaction time per turn of the line
// (from the wait seeing data to the next write: a word, an acknowledgement, a command).
// Options: --baud N paces the emulator at N (0: unpaced, the host's and the pty's own latency
// alone); BENCH_TIGHT_TIMERS=1 (or =host) sets a 1 ns timer slack for this process and the
// emulator it starts (or for this process only), to tell timer precision from the rest.
#include "core/buffer_fills.h"
#include "core/clock.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "emusupport/emulator_process.h"
#include "link/board_link.h"
#include "link/qt_serial_port.h"
#include "steps/eeprom_write.h"
#include "steps/memory_verify.h"
#include "steps/program_write.h"
#include "steps/read.h"

#include "counting_port.h"

#include <QCoreApplication>

#include <sys/prctl.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

using namespace tavrin;
using tavrin::bench::CountingClock;
using tavrin::bench::CountingPort;

namespace {

constexpr double Baud = 57600;
constexpr double BitsPerByte = 10; // 8N1

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct BenchPart {
    const char* name;
    const char* type;
    std::int32_t words;
    std::int32_t eepromBytes;
    std::uint16_t wordMask;
    const char* calibration;
    std::int32_t codeProtectMask;
};

// A program that uses every word, within the cell width, and EEPROM data.
void fillBuffer(Session& s, const BenchPart& part) {
    for (std::int32_t w = 0; w < part.words; ++w) {
        const std::uint16_t value = std::uint16_t((w * 0x2F1 + 0x123) & part.wordMask);
        s.buffer.ProgramImage[2 * w] = std::uint8_t(value >> 8);
        s.buffer.ProgramImage[2 * w + 1] = std::uint8_t(value);
    }
    for (std::int32_t k = 0; k < part.eepromBytes; ++k) {
        s.buffer.EepromImage[2 * k] = 0x3F;
        s.buffer.EepromImage[2 * k + 1] = std::uint8_t(k * 7 + 1);
    }
}

// The line rate the emulator paces at; another rate (0: unpaced) isolates the host's own share.
std::string g_baud = "57600";

bool runPart(const BenchPart& part) {
    test::EmulatorProcess emulator({"--part", part.name, "--baud", g_baud});
    std::string error;
    const bool started = emulator.start(&error);
    // Diagnosis: the host's own timers tight, the emulator's left as they are.
    if (qEnvironmentVariable("BENCH_TIGHT_TIMERS") == QLatin1String("host"))
        prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
    if (!started) {
        std::fprintf(stderr, "emulator for %s did not start: %s\n", part.name, error.c_str());
        return false;
    }
    Session s;
    s.link.ComPortName = QString::fromStdString(emulator.portPath());
    s.device.SelectedDevice = QLatin1String(part.name);
    s.device.ProgramType = QLatin1String(part.type);
    s.device.PowerMode = QStringLiteral("VDD");
    s.device.ProgramWordCount = part.words;
    s.device.EepromByteCount = part.eepromBytes;
    s.device.CalibrationInstruction = QLatin1String(part.calibration);
    s.device.CodeProtectMask = part.codeProtectMask;

    QtSerialPort serial;
    CountingClock clock;
    CountingPort port(serial, &clock);
    NullOperatorUi ui;
    BoardLink link(s, ui, port, clock);

    // As the program sequence does, a calibrated part keeps the calibration word it came with:
    // one read before the measured operation learns it.
    QString before;
    link.CheckProgrammer(before);
    if (!s.device.CalibrationInstruction.isEmpty()) ReadProgramMemory(link.channel(), before);
    link.ClosePort();
    FillIdConfigErased(s);
    fillBuffer(s, part);
    if (!s.device.CalibrationInstruction.isEmpty()) {
        s.buffer.ProgramImage[2 * part.words - 2] = s.run.CalibWordHigh;
        s.buffer.ProgramImage[2 * part.words - 1] = s.run.CalibWordLow;
    }
    port.sent = port.received = 0;
    clock.sleptMs = 0;

    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = cpuSeconds();
    QString check, program, eeprom, verifyProgram, verifyEeprom;
    BoardChannel& ch = link.channel();
    // Each step's own share, for finding where the time goes.
    auto step = [&](const char* name, const std::function<void()>& run) {
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = cpuSeconds();
        run();
        std::fprintf(stderr, "  %-16s wall %.3f s, cpu %.3f s\n", name,
                     std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(),
                     cpuSeconds() - c0);
    };
    step("check", [&] { link.CheckProgrammer(check); });
    step("program write", [&] { WriteProgramMemory(ch, program); });
    step("EEPROM write", [&] { WriteEepromMemory(ch, eeprom); });
    step("program verify", [&] { VerifyProgramMemory(ch, verifyProgram); });
    step("EEPROM verify", [&] { VerifyEepromMemory(ch, verifyEeprom); });
    step("close", [&] { link.ClosePort(); });
    const double cpu = cpuSeconds() - cpuStart;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    emulator.stop();

    const double wire =
        double(port.sent + port.received) * BitsPerByte / Baud + double(clock.sleptMs) / 1000.0;
    std::printf("part=%s wall_s=%.3f wire_s=%.3f wire_ratio=%.3f cpu_share=%.4f\n", part.name, wall,
                wire, wall / wire, cpu / wall);
    std::fprintf(stderr, "  host reaction: %lld turns of the line, %.1f us each\n",
                 (long long)port.reactions,
                 port.reactions ? double(port.reactionUs) / double(port.reactions) : 0.0);
    std::fprintf(stderr,
                 "  %s: check %s, program %s, EEPROM %s, verify %s/%s; bytes out %lld, in "
                 "%lld, pauses %lld ms\n",
                 part.name, qPrintable(check), qPrintable(program), qPrintable(eeprom),
                 qPrintable(verifyProgram), qPrintable(verifyEeprom), (long long)port.sent,
                 (long long)port.received, (long long)clock.sleptMs);
    return check == result::OK && program == result::OK && verifyProgram == result::OK &&
           (verifyEeprom == result::OK || verifyEeprom == result::Skipped);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // Diagnosis: BENCH_TIGHT_TIMERS=1 gives this process and the emulator it starts a timer
    // slack of 1 ns instead of the system's 50 us; BENCH_TIGHT_TIMERS=host only this process.
    if (qEnvironmentVariable("BENCH_TIGHT_TIMERS") == QLatin1String("1"))
        prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
    const QStringList args = app.arguments();
    if (const qsizetype i = args.indexOf(QStringLiteral("--baud")); i > 0 && i + 1 < args.size())
        g_baud = args.at(i + 1).toStdString();
    const BenchPart parts[] = {
        {"PIC16F876A", "FLASH8", 8192, 256, 0x3FFF, "", 0x2000},
        {"PIC12C509A", "12C5", 1024, 0, 0x0FFF, "movlw 0xFF", 0x0008},
    };
    bool allOk = true;
    for (const BenchPart& part : parts)
        allOk = runPart(part) && allOk;
    return allOk ? 0 : 1;
}
