// The whole operations behind the main window's buttons (Blank, Program, Verify, Read), pressed on
// the real window (offscreen) as the window tests press them: the board emulator on a pty paced
// like a 57600 baud line, reached through QSerialPort, the part chosen from the shipped device
// file, a full image in the buffer (program, EEPROM, IDs, configuration) and every message box
// answered with OK. One line per operation on stdout, the best of --runs runs (3 by default, each
// on a fresh emulator):
//   part=… op=… wall_s=… wire_s=… wire_ratio=… cpu_share=… rss_mb=… emu_late_s=… host_ratio=…
//   load=…
// wire_s is the bytes on the wire both ways at 8N1 plus every pause the host makes through the
// Clock seam. emu_late_s is how long the emulator held the host up during that operation (how
// late the bytes the host answered reached it), and host_ratio the wire ratio without it: a
// loaded machine shows there, not as a slow host. load is the one-minute load average when the
// operation ended. rss_mb is the process's peak resident size so far. On stderr: every run's lines,
// the slowest step of each operation (the status line shown longest), the turns of the line and
// the host's reaction in each, the ratio a host that reacted at once would reach on this
// machine (each turn a trip over the pty). First and last on stdout, what this machine costs any
// program: how late a plain 1 ms sleep wakes (on average and at the latest) and the CPU it is
// charged, and a byte's trip over a pty and back. Exits non-zero when an operation does not
// succeed. Options: --part NAME (repeatable) runs only those parts; --runs N.
#include "machine_floor.h"
#include "process_memory.h"
#include "wire_counters.h"

#include "operations/window_bench.h"

#include "core/buffer_fills.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>

using namespace tavrin;
using namespace tavrin::bench;

namespace {

using SteadyTime = std::chrono::steady_clock;

// The status line shown longest, looked at whenever the host uses the port (a status shown
// between two port calls is dated by the next one: to a wait's slice at the worst).
class StepTimer {
  public:
    explicit StepTimer(const QLabel& label) : label_(label) {}
    void start() {
        slowest.clear();
        slowestS = 0;
        step_ = label_.text();
        stepStart_ = SteadyTime::now();
    }
    void look() {
        const QString text = label_.text();
        if (text == step_) return;
        close();
        step_ = text;
        stepStart_ = SteadyTime::now();
    }
    void close() {
        const double s = std::chrono::duration<double>(SteadyTime::now() - stepStart_).count();
        if (s > slowestS) {
            slowestS = s;
            slowest = step_;
        }
    }

    QString slowest;
    double slowestS = 0;

  private:
    const QLabel& label_;
    QString step_;
    SteadyTime::time_point stepStart_;
};

QString oneLine(QString text) {
    return text.replace(QLatin1String("\r\n"), QLatin1String(" ")).trimmed();
}

double loadAverage() {
    std::ifstream in("/proc/loadavg");
    double load = 0;
    in >> load;
    return load;
}

// What held the host up, from the emulator's --lateness line.
double hostHeldUpSeconds(const std::optional<std::string>& line) {
    static const std::string key = "host_held_up_s=";
    const auto at = line ? line->find(key) : std::string::npos;
    return at == std::string::npos ? 0 : std::stod(line->substr(at + key.size()));
}

// A full image: every program word within the part's cell width, every EEPROM location, IDs that
// are not erased and the configuration words as the erased chip holds them (no protection, so
// that Verify and Read see what was written).
void fillFullImage(Session& s) {
    FillIdConfigErased(s);
    const QString& type = s.device.ProgramType;
    const bool pic18 = type.startsWith(QLatin1String("18"));
    const std::uint16_t mask = pic18                                    ? 0xFFFF
                               : type.startsWith(QLatin1String("12C5")) ? 0x0FFF
                                                                        : 0x3FFF;
    const std::int32_t words = std::min<std::int32_t>(
        s.device.ProgramWordCount, std::int32_t(s.buffer.ProgramImage.size() / 2));
    for (std::int32_t w = 0; w < words; ++w) {
        const auto value = std::uint16_t((w * 0x2F1 + 0x123) & mask);
        s.buffer.ProgramImage[2 * w] = std::uint8_t(value >> 8);
        s.buffer.ProgramImage[2 * w + 1] = std::uint8_t(value);
    }
    // A PIC18 location is one byte of the image, any other the second of two.
    const std::int32_t perLocation = pic18 ? 1 : 2;
    const std::int32_t eeprom = std::min<std::int32_t>(
        s.device.EepromByteCount, std::int32_t(s.buffer.EepromImage.size()) / perLocation);
    for (std::int32_t k = 0; k < eeprom; ++k)
        s.buffer.EepromImage[std::size_t(perLocation * k + perLocation - 1)] =
            std::uint8_t(k * 7 + 1);
    // As a HEX load leaves the PIC18 configuration: each word within its implemented and fixed
    // bits.
    if (pic18)
        for (int k = 1; k < limits::ConfigArrayEntries; ++k)
            s.device.ConfigValue[k] = (s.device.ConfigMask[k] & 0xFFFF) | s.device.ConfigFixed[k];
    // Four ID words with a value in their low nibble (all a 14-bit ID keeps), or eight ID bytes.
    for (std::size_t k = 0; k < 8; ++k) {
        if (pic18)
            s.buffer.Id18Image[k] = std::uint8_t(0x11 * (k + 1));
        else if (k % 2 == 1)
            s.buffer.ConfigIdImage[k] = std::uint8_t(0xF0 | (k + 1));
    }
}

struct Operation {
    const char* name;
    const char* button;
    // What the status line says when the operation succeeded (any of them).
    std::vector<const char*> success;
};

const Operation kOperations[] = {
    {"blank", "Command_blank", {"消去されています"}},
    {"program", "Command_pogram", {}}, // judged by the pass count
    {"verify", "Command_Vrify", {"正常終了"}},
    {"read", "Command_read", {"読み出し完了", "リード終了"}},
};

struct Figures {
    double wall = 0, wire = 0, cpu = 0, rss = 0, late = 0, load = 0;
    bool ok = false;
    double ratio() const { return wire > 0 ? wall / wire : 0; }
    double hostRatio() const { return wire > 0 ? (wall - late) / wire : 0; }
    double cpuShare() const { return wall > 0 ? cpu / wall : 0; }
};

void printFigures(std::FILE* out, const std::string& part, const char* op, const Figures& f,
                  const char* tail) {
    std::fprintf(out,
                 "part=%s op=%s wall_s=%.3f wire_s=%.3f wire_ratio=%.3f cpu_share=%.4f "
                 "rss_mb=%.1f emu_late_s=%.3f host_ratio=%.3f load=%.2f%s%s\n",
                 part.c_str(), op, f.wall, f.wire, f.ratio(), f.cpuShare(), f.rss, f.late,
                 f.hostRatio(), f.load, f.ok ? "" : " FAILED", tail);
    std::fflush(out);
}

// The wire ratio of a host that reacts at once and pauses exactly as long as asked, on this
// machine: every turn of the line still costs a trip over the pty and back.
double floorRatio(double wireS, std::int64_t turns, const MachineFloor& m) {
    if (wireS <= 0) return 0;
    return (wireS + double(turns) * std::max(0.0, m.ptyEchoUs) / 1e6) / wireS;
}

// One run of the four operations on a fresh emulator; the figures by operation name.
std::map<std::string, Figures> runPart(const std::string& part, int run,
                                       const MachineFloor& machine) {
    std::map<std::string, Figures> figures;
    const std::string latenessFile = test::EmulatorProcess::uniquePath("bench-lateness");
    QtSerialPort serial;
    CountingClock clock;
    CountingPort port(serial, &clock);
    test::BenchOptions options;
    options.strictness = test::EmulatorProcess::Strictness::Lenient;
    options.port = &port;
    options.clock = &clock;
    test::Bench bench({"--part", part, "--baud", "57600", "--lateness", latenessFile}, options);
    const QString device = QString::fromStdString(part);
    if (!bench.started || !bench.session.device.DeviceNames.contains(device)) {
        std::fprintf(stderr, "%s: no emulator, or not in the device file\n", part.c_str());
        return figures;
    }
    bench.select(device);
    fillFullImage(bench.session);
    // As a HEX load leaves the window before any operation: the views show the image, drawn.
    bench.window->refreshViews(ViewAll);
    QCoreApplication::processEvents();
    StepTimer steps(*bench.find<QLabel>("LabelCmt"));
    port.observe = [&steps] { steps.look(); };

    double lateBefore = hostHeldUpSeconds(bench.emu->latenessSoFar());
    for (const Operation& op : kOperations) {
        port.sent = port.received = port.reactions = port.reactionUs = port.longestReactionUs = 0;
        clock.sleptMs = clock.oversleptUs = 0;
        const int passesBefore = bench.session.run.PassCount;
        steps.start();
        const auto wallStart = SteadyTime::now();
        const double cpuStart = cpuSeconds();
        bench.click(op.button);
        Figures f;
        f.cpu = cpuSeconds() - cpuStart;
        f.wall = std::chrono::duration<double>(SteadyTime::now() - wallStart).count();
        steps.close();
        f.load = loadAverage();
        f.rss = bench::peakResidentMb();
        f.wire = wireSeconds(port.sent + port.received, clock.sleptMs);
        const double lateAfter = hostHeldUpSeconds(bench.emu->latenessSoFar());
        f.late = lateAfter - lateBefore;
        lateBefore = lateAfter;
        const QString status = bench.status();
        f.ok = op.success.empty() ? bench.session.run.PassCount == passesBefore + 1 : false;
        for (const char* text : op.success)
            f.ok = f.ok || status.contains(QString::fromUtf8(text));
        figures[op.name] = f;
        // What a failed operation said in its message boxes.
        if (!f.ok)
            for (const auto& box : bench.boxes)
                std::fprintf(stderr, "  box \"%s\": %s\n", qPrintable(box.title),
                             qPrintable(oneLine(box.text)));
        bench.boxes.clear();
        printFigures(stderr, part, op.name, f, (" run=" + std::to_string(run)).c_str());
        std::fprintf(stderr,
                     "  slowest step \"%s\" %.3f s; %lld turns of the line, host reaction %.1f us "
                     "each (longest %.1f ms); bytes out %lld, in %lld, pauses %lld ms (%.1f ms "
                     "more than asked); this "
                     "machine's floor %.3f; status \"%s\"\n",
                     qPrintable(oneLine(steps.slowest)), steps.slowestS, (long long)port.reactions,
                     port.reactions ? double(port.reactionUs) / double(port.reactions) : 0.0,
                     double(port.longestReactionUs) / 1000.0, (long long)port.sent,
                     (long long)port.received, (long long)clock.sleptMs,
                     double(clock.oversleptUs) / 1000.0,
                     floorRatio(f.wire, port.reactions, machine), qPrintable(oneLine(status)));
    }
    port.observe = nullptr;
    bench.emu->stop();
    std::remove(latenessFile.c_str());
    return figures;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<std::string> parts;
    int runs = 3;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--part")) parts.push_back(args.at(i + 1).toStdString());
        if (args.at(i) == QLatin1String("--runs")) runs = std::max(1, args.at(i + 1).toInt());
    }
    if (parts.empty()) parts = {"PIC12C509A", "PIC16F877A", "PIC18F452", "PIC18F8720"};
    const MachineFloor machine = measureMachineFloor();
    printMachineFloor(stdout, machine);
    bool allOk = true;
    for (const std::string& part : parts) {
        std::map<std::string, Figures> best;
        for (int run = 1; run <= runs; ++run) {
            const auto figures = runPart(part, run, machine);
            for (const Operation& op : kOperations) {
                const auto it = figures.find(op.name);
                if (it == figures.end() || !it->second.ok) {
                    allOk = false;
                    continue;
                }
                auto& kept = best[op.name];
                if (!kept.ok || it->second.wall < kept.wall) kept = it->second;
            }
        }
        for (const Operation& op : kOperations)
            printFigures(stdout, part, op.name, best[op.name],
                         (" best_of=" + std::to_string(runs)).c_str());
    }
    // The machine may have changed meanwhile.
    printMachineFloor(stdout, measureMachineFloor());
    return allOk ? 0 : 1;
}
