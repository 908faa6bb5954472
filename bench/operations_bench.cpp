// The whole operations behind the main window's buttons (Blank, Program, Verify, Read) over the
// real serial path: the board emulator on a pty paced like a 57600 baud line, reached through
// QSerialPort, the part chosen from the shipped device file as a person chooses it, a full image
// in the buffer and a recording operator interface that answers every question with its first
// button. One line per operation on stdout:
//   part=… op=… wall_s=… wire_s=… wire_ratio=… cpu_share=… rss_mb=… emu_late_s=…
// wire_s is the bytes on the wire both ways at 8N1 plus every pause the host makes through the
// Clock seam; emu_late_s is how late the emulator acted on what its line model had due (a
// loaded machine shows there, not as a slow host). On stderr: the slowest step of each
// operation (the status line shown longest) and the host's reaction per round trip.
// Exits non-zero when an operation does not succeed.
// Options: --part NAME (repeatable) runs only those parts.
#include "wire_counters.h"

#include "emusupport/emulator_process.h"
#include "mainwindow/fake_main_window_view.h"
#include "support/recording_ui.h"

#include "core/app_paths.h"
#include "core/buffer_fills.h"
#include "core/device_file.h"
#include "core/session.h"
#include "core/settings_store.h"
#include "link/board_link.h"
#include "link/qt_serial_port.h"
#include "mainwindow/logic/device_selection.h"
#include "mainwindow/logic/main_context.h"
#include "mainwindow/logic/real_core_services.h"
#include "mainwindow/operations/operation_frame.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

using namespace tavrin;
using namespace tavrin::bench;

namespace {

using SteadyTime = std::chrono::steady_clock;

// The recording interface, timing how long each status line stays: the steps of an operation.
class StepTimingUi final : public test::RecordingUi {
  public:
    void showStatusLine(const QString& text, StatusColor color) override {
        RecordingUi::showStatusLine(text, color);
        closeStep();
        step_ = text;
        stepStart_ = SteadyTime::now();
    }
    void startOperation() {
        slowest.clear();
        slowestS = 0;
        step_ = QStringLiteral("(before the first status line)");
        stepStart_ = SteadyTime::now();
    }
    void endOperation() { closeStep(); }

    QString slowest;
    double slowestS = 0;

  private:
    void closeStep() {
        const double s = std::chrono::duration<double>(SteadyTime::now() - stepStart_).count();
        if (s > slowestS) {
            slowestS = s;
            slowest = step_;
        }
    }
    QString step_;
    SteadyTime::time_point stepStart_;
};

double residentMb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

// A full image: every program word within the part's cell width, every EEPROM byte, the IDs
// and the configuration words as the erased chip has them.
void fillFullImage(Session& s) {
    FillIdConfigErased(s);
    const QString& type = s.device.ProgramType;
    const std::uint16_t mask = type.startsWith(QLatin1String("18"))   ? 0xFFFF
                               : type.startsWith(QLatin1String("12")) ? 0x0FFF
                                                                      : 0x3FFF;
    const std::int32_t words = std::min<std::int32_t>(
        s.device.ProgramWordCount, std::int32_t(s.buffer.ProgramImage.size() / 2));
    for (std::int32_t w = 0; w < words; ++w) {
        const auto value = std::uint16_t((w * 0x2F1 + 0x123) & mask);
        s.buffer.ProgramImage[2 * w] = std::uint8_t(value >> 8);
        s.buffer.ProgramImage[2 * w + 1] = std::uint8_t(value);
    }
    const std::int32_t eeprom = std::min<std::int32_t>(
        s.device.EepromByteCount, std::int32_t(s.buffer.EepromImage.size() / 2));
    for (std::int32_t k = 0; k < eeprom; ++k)
        s.buffer.EepromImage[2 * k + 1] = std::uint8_t(k * 7 + 1);
}

struct Operation {
    const char* name;
    void (MainOperations::*click)();
    // What the status line says when the operation succeeded.
    const char* success;
};

const Operation kOperations[] = {
    {"blank", &MainOperations::Command_blank_Click, "消去されています"},
    {"program", &MainOperations::Command_pogram_Click, nullptr}, // judged by the pass count
    {"verify", &MainOperations::Command_Vrify_Click, "正常終了"},
    {"read", &MainOperations::Command_read_Click, "読み出し完了"},
};

bool runPart(const std::string& part) {
    const std::string latenessFile = test::EmulatorProcess::uniquePath("bench-lateness");
    test::EmulatorProcess emulator({"--part", part, "--baud", "57600", "--lateness", latenessFile},
                                   test::EmulatorProcess::Strictness::Lenient);
    std::string error;
    if (!emulator.start(&error)) {
        std::fprintf(stderr, "emulator for %s did not start: %s\n", part.c_str(), error.c_str());
        return false;
    }

    QTemporaryDir dataDir;
    AppPaths paths;
    paths.deviceFile = QStringLiteral(TAVRIN_SOURCE_DIR "/data/device6.ini");
    paths.dataDir = dataDir.path();
    Session s;
    StepTimingUi ui;
    test::FakeMainWindowView view;
    MemorySettingsStore settingsStore;
    MainContext ctx{s, ui, view, settingsStore, realCoreServices(paths), {}, {}, -1, {}};
    const QString device = QString::fromStdString(part);
    if (!LoadDeviceList(s, ui, paths) || !s.device.DeviceNames.contains(device)) {
        std::fprintf(stderr, "%s is not in the device file\n", part.c_str());
        return false;
    }
    SelectDevice(ctx, device, int(s.device.DeviceNames.indexOf(device)));
    s.link.ComPortName = QString::fromStdString(emulator.portPath());
    fillFullImage(s);

    QtSerialPort serial;
    CountingPort port(serial);
    CountingClock clock;
    BoardLink link(s, ui, port, clock);
    OperationSettings settings;
    OperationEnvironment env(s, ui, link, clock, dataDir.path());
    env.settings = [&settings] { return settings; };
    MainOperations ops(std::move(env));

    bool allOk = true;
    for (const Operation& op : kOperations) {
        port.sent = port.received = port.reactions = port.reactionUs = 0;
        clock.sleptMs = 0;
        const int passesBefore = s.run.PassCount;
        ui.startOperation();
        const auto wallStart = SteadyTime::now();
        const double cpuStart = cpuSeconds();
        (ops.*op.click)();
        const double cpu = cpuSeconds() - cpuStart;
        const double wall = std::chrono::duration<double>(SteadyTime::now() - wallStart).count();
        ui.endOperation();
        const bool ok = op.success ? ui.statusText.contains(QString::fromUtf8(op.success))
                                   : s.run.PassCount == passesBefore + 1;
        const double wire = wireSeconds(port.sent + port.received, clock.sleptMs);
        std::printf("part=%s op=%s wall_s=%.3f wire_s=%.3f wire_ratio=%.3f cpu_share=%.4f "
                    "rss_mb=%.1f%s\n",
                    part.c_str(), op.name, wall, wire, wire > 0 ? wall / wire : 0.0,
                    wall > 0 ? cpu / wall : 0.0, residentMb(), ok ? "" : " FAILED");
        std::fflush(stdout);
        std::fprintf(stderr,
                     "  %s %s: slowest step \"%s\" %.3f s; %lld round trips, host reaction "
                     "%.1f us each; bytes out %lld, in %lld, pauses %lld ms; status \"%s\"\n",
                     part.c_str(), op.name, qPrintable(ui.slowest.trimmed()), ui.slowestS,
                     (long long)port.reactions,
                     port.reactions ? double(port.reactionUs) / double(port.reactions) : 0.0,
                     (long long)port.sent, (long long)port.received, (long long)clock.sleptMs,
                     qPrintable(ui.statusText.trimmed()));
        allOk = allOk && ok;
    }
    emulator.stop();
    // The emulator writes its lateness when it ends: one figure for the part's four operations.
    if (const auto late = test::EmulatorProcess::readFile(latenessFile))
        std::printf("part=%s emulator %s", part.c_str(), late->c_str());
    std::remove(latenessFile.c_str());
    return allOk;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<std::string> parts;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); ++i)
        if (args.at(i) == QLatin1String("--part")) parts.push_back(args.at(i + 1).toStdString());
    if (parts.empty()) parts = {"PIC12C509A", "PIC16F877A", "PIC18F452", "PIC18F8720"};
    bool allOk = true;
    for (const std::string& part : parts)
        allOk = runPart(part) && allOk;
    return allOk ? 0 : 1;
}
