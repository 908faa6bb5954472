// Files that are not HEX at all, opened through the main window's File > Open (offscreen, the
// window fixture of the window tests, a PIC16F877A selected): a file of N lines of text that are
// no records (1,000,000 by default) and a binary file of random bytes (200 MB by default). For
// each one line on stdout:
//   file=… size_mb=… open_s=… shown_s=… frozen_s=… rss_mb=… result=… status_chars=… status="…"
// open_s is the open command alone, shown_s the same up to the window drawn again with the
// result; frozen_s the longest time in that span in which the window's events did not run (a
// 1 ms timer's longest gap); rss_mb the process's peak resident size during that file (the peak
// is reset before each file). Options: --lines N (e.g. 1e7, 1e8), --binary-mb M (0 leaves the
// binary file out), --part NAME, --device-from-file (the setting that has the open command look
// for a part named in the file first: that reads the file too).
#include "process_memory.h"

#include "operations/window_bench.h"

#include <QApplication>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

using namespace tavrin;

namespace {

using SteadyTime = std::chrono::steady_clock;

bool writeLines(const QString& path, qint64 lines) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    const QByteArray line = "bad\n";
    QByteArray chunk;
    for (int i = 0; i < 65536; ++i)
        chunk += line;
    const qint64 perChunk = 65536;
    for (qint64 done = 0; done < lines; done += perChunk) {
        const qint64 n = std::min(perChunk, lines - done);
        if (f.write(chunk.constData(), n * line.size()) != n * line.size()) return false;
    }
    return true;
}

// Random bytes from a fixed seed: line ends fall where they fall, as in any binary file.
bool writeBinary(const QString& path, qint64 bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    QByteArray chunk(1 << 20, '\0');
    for (qint64 done = 0; done < bytes; done += chunk.size()) {
        for (auto& c : chunk) {
            state = state * 6364136223846793005ull + 1442695040888963407ull;
            c = char(state >> 56);
        }
        const qint64 n = std::min<qint64>(chunk.size(), bytes - done);
        if (f.write(chunk.constData(), n) != n) return false;
    }
    return true;
}

void openAndReport(test::Bench& bench, const char* name, const QString& path) {
    bench.hex = path;
    QApplication::processEvents();
    bench::resetPeakResident();
    const auto start = SteadyTime::now();
    auto lastTick = start;
    double frozen = 0;
    const auto tick = [&] {
        const auto now = SteadyTime::now();
        frozen = std::max(frozen, std::chrono::duration<double>(now - lastTick).count());
        lastTick = now;
    };
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, tick);
    ticker.start(1);
    bench.window->mnuFileOpen_Click();
    const double open = std::chrono::duration<double>(SteadyTime::now() - start).count();
    QApplication::processEvents();
    bench.window->grab(); // the window drawn with the new status line
    const double shown = std::chrono::duration<double>(SteadyTime::now() - start).count();
    ticker.stop();
    tick();
    const QString status = bench.status();
    std::printf("file=%s size_mb=%.1f open_s=%.3f shown_s=%.3f frozen_s=%.3f rss_mb=%.1f "
                "result=%s status_chars=%lld status=\"%s\"\n",
                name, double(QFileInfo(path).size()) / (1 << 20), open, shown, frozen,
                bench::peakResidentMb(), qPrintable(bench.session.run.HexLoadResult),
                (long long)status.size(), qPrintable(status.left(160)));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qint64 lines = 1000000;
    qint64 binaryMb = 200;
    QString part = QStringLiteral("PIC16F877A");
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--lines")) lines = qint64(args.at(i + 1).toDouble());
        if (args.at(i) == QLatin1String("--binary-mb")) binaryMb = args.at(i + 1).toLongLong();
        if (args.at(i) == QLatin1String("--part")) part = args.at(i + 1);
    }
    const bool deviceFromFile = args.contains(QStringLiteral("--device-from-file"));

    test::Bench bench({"--part", part.toStdString()});
    if (!bench.session.device.DeviceNames.contains(part)) {
        std::fprintf(stderr, "%s is not in the device file\n", qPrintable(part));
        return 1;
    }
    bench.select(part);
    if (deviceFromFile)
        bench.settings->setValue(QStringLiteral("CCSC_option"), QStringLiteral("1"));
    QTemporaryDir files;
    const QString text = files.filePath(QStringLiteral("lines.hex"));
    const QString binary = files.filePath(QStringLiteral("binary.hex"));
    if (lines > 0) {
        if (!writeLines(text, lines)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(text));
            return 1;
        }
        openAndReport(bench, ("lines_" + std::to_string(lines)).c_str(), text);
        QFile::remove(text);
    }
    if (binaryMb > 0) {
        if (!writeBinary(binary, binaryMb << 20)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(binary));
            return 1;
        }
        openAndReport(bench, ("binary_" + std::to_string(binaryMb) + "mb").c_str(), binary);
    }
    return 0;
}
