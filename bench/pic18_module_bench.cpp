// The PIC18 modules' Program (blank check on) and Verify buttons over the real serial path: the
// board emulator on a pty, paced like a 57600 baud line, reached through QSerialPort on the
// steady clock, run through the main window's operations as a click runs them. For the
// PIC18F452 and the PIC18F8720 it prints each operation's time against the time the wire needs
// for the bytes exchanged plus the pauses the protocol prescribes.
// Options: --baud N paces the emulator at N (0: unpaced, the host's and the pty's own share).
#include "core/app_paths.h"
#include "core/buffer_fills.h"
#include "core/clock.h"
#include "core/device_file.h"
#include "core/operator_ui.h"
#include "core/session.h"
#include "emusupport/emulator_process.h"
#include "link/board_link.h"
#include "link/qt_serial_port.h"
#include "mainwindow/operations/operation_frame.h"

#include "counting_port.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>

using namespace tavrin;
using tavrin::bench::CountingClock;
using tavrin::bench::CountingPort;

namespace {

std::string g_baud = "57600";

bool runPart(const char* name) {
    test::EmulatorProcess emulator({"--part", name, "--baud", g_baud});
    std::string error;
    if (!emulator.start(&error)) {
        std::fprintf(stderr, "emulator for %s did not start: %s\n", name, error.c_str());
        return false;
    }
    QTemporaryDir dir;
    const AppPaths paths{QStringLiteral(TAVRIN_DEVICE_FILE), dir.path()};
    Session s;
    NullOperatorUi ui;
    s.link.ComPortName = QString::fromStdString(emulator.portPath());
    s.device.SelectedDevice = QLatin1String(name);
    if (!LoadDeviceList(s, ui, paths) || !LoadDeviceDefinition(s, ui, paths)) return false;
    FillProgramErased(s);
    FillEepromErased(s);
    FillIdConfigErased(s);
    // As a HEX load leaves them: each word within its implemented and fixed bits.
    for (int k = 1; k < limits::ConfigArrayEntries; ++k)
        s.device.ConfigValue[k] = (s.device.ConfigMask[k] & 0xFFFF) | s.device.ConfigFixed[k];
    std::mt19937 rng(18);
    for (std::int32_t i = 0; i < 2 * s.device.ProgramWordCount; ++i)
        s.buffer.ProgramImage[std::size_t(i)] = std::uint8_t(rng());
    for (std::int32_t i = 0; i < s.device.EepromByteCount; ++i)
        s.buffer.EepromImage[std::size_t(i)] = std::uint8_t(rng());

    QtSerialPort serial;
    CountingClock clock;
    CountingPort port(serial, &clock);
    BoardLink link(s, ui, port, clock);
    MainOperations ops(OperationEnvironment(s, ui, link, clock, dir.path()));

    auto measure = [&](const char* what, void (MainOperations::*click)()) {
        port.sent = port.received = 0;
        clock.sleptMs = 0;
        const auto t0 = std::chrono::steady_clock::now();
        (ops.*click)();
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        const double baud = std::stod(g_baud);
        // The exchange is lock-step: the bytes each way follow one another on the line.
        const double wire = baud > 0 ? double(port.sent + port.received) * 10.0 / baud : 0.0;
        const double floor = wire + double(clock.sleptMs) / 1000.0;
        std::printf("%-11s %-8s %8.2f s  (wire %.2f s + pauses %.2f s = %.2f s; %.2fx)  "
                    "H>B %lld B<H %lld  [%s]\n",
                    name, what, wall, wire, double(clock.sleptMs) / 1000.0, floor,
                    floor > 0 ? wall / floor : 0.0, static_cast<long long>(port.sent),
                    static_cast<long long>(port.received), qPrintable(s.run.LastResultText));
        std::fflush(stdout);
    };
    measure("program", &MainOperations::Command_pogram_Click);
    if (s.run.PassCount != 1) {
        std::fprintf(stderr, "%s: the program run failed\n", name);
        return false;
    }
    measure("verify", &MainOperations::Command_Vrify_Click);
    return s.run.VerifySummary == QLatin1String("OKOKOK");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--baud") g_baud = argv[i + 1];
    bool ok = true;
    for (const char* part : {"PIC18F452", "PIC18F8720"})
        ok = runPart(part) && ok;
    return ok ? 0 : 1;
}
