// Loads and saves of full images through our HEX loaders and writers, beside srecord reading
// and writing the same files. srec_info reads a file and reports its ranges (a read); srec_cat
// reads it and writes it back as Intel HEX (a read and a write). Each figure is the median of
// several runs; the srecord figures include starting the process, so that cost is shown too.
#include "core/buffer_fills.h"
#include "core/hex_export.h"
#include "core/hex_import.h"
#include "core/operator_ui.h"
#include "core/session.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using namespace tavrin;

namespace {

constexpr int kRuns = 7;

double medianMs(const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

bool runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

struct Image {
    const char* label;
    const char* programType;
    std::int32_t words;
    std::int32_t eepromLocations;
};

std::unique_ptr<Session> randomImage(const Image& image) {
    auto s = std::make_unique<Session>();
    auto& d = s->device;
    d.SelectedDevice = QStringLiteral("BENCH");
    d.ProgramType = QString::fromLatin1(image.programType);
    d.ProgramWordCount = image.words;
    d.EepromByteCount = image.eepromLocations;
    for (int k = 1; k <= limits::ConfigWords; ++k)
        d.ConfigMask[std::size_t(k)] = 0xFFFF;
    d.ConfigMask[1] = d.ProgramType.startsWith(QLatin1String("18F")) ? 0xFFFF : 0x3FFF;
    FillProgramErased(*s);
    FillEepromErased(*s);
    FillIdConfigErased(*s);
    QRandomGenerator random(1234);
    const bool pic18 = d.ProgramType.startsWith(QLatin1String("18F"));
    for (std::int32_t i = 0; i < 2 * image.words; ++i)
        s->buffer.ProgramImage[std::size_t(i)] =
            std::uint8_t(random.bounded(256) & (!pic18 && i % 2 == 0 ? 0x3F : 0xFF));
    return s;
}

} // namespace

int main() {
    const QString srecCat = QStandardPaths::findExecutable(QStringLiteral("srec_cat"));
    const QString srecInfo = QStandardPaths::findExecutable(QStringLiteral("srec_info"));
    QTemporaryDir dir;
    if (!dir.isValid()) return 1;
    const Image images[] = {
        {"PIC18, 2 MiB program", "18F_01", 1048576, 1024},
        {"14-bit, 8K words", "FLASH4", 8192, 256},
    };

    double startup = 0;
    if (!srecInfo.isEmpty()) {
        const QString tiny = dir.filePath(QStringLiteral("tiny.hex"));
        QFile file(tiny);
        if (file.open(QIODevice::WriteOnly)) file.write(":00000001FF\r\n");
        file.close();
        startup = medianMs([&] { runTool(srecInfo, {tiny, QStringLiteral("-intel")}); });
    }

    std::printf("HEX load and save, median of %d runs, milliseconds\n\n", kRuns);
    std::printf("%-22s %9s %9s %9s %11s %13s %12s\n", "image", "file MB", "our load", "our save",
                "srec_info", "srec_cat r+w", "load ratio");
    for (const Image& image : images) {
        auto source = randomImage(image);
        const bool pic18 = QString::fromLatin1(image.programType).startsWith(QLatin1String("18F"));
        NullOperatorUi ui;
        const QString ours = dir.filePath(QStringLiteral("ours.hex"));
        const double save = medianMs(
            [&] { pic18 ? SaveHexFile18(*source, ui, ours) : SaveHexFile(*source, ui, ours); });
        auto target = randomImage(image);
        const double load = medianMs(
            [&] { pic18 ? LoadHexFile18(*target, ui, ours) : LoadHexFile(*target, ui, ours); });
        if (target->run.HexLoadResult != QLatin1String("OK") ||
            target->buffer.ProgramImage != source->buffer.ProgramImage) {
            std::printf("%s: the loaded image differs from the saved one\n", image.label);
            return 1;
        }
        double info = -1, cat = -1;
        if (!srecInfo.isEmpty() && !srecCat.isEmpty()) {
            const QString copy = dir.filePath(QStringLiteral("srec.hex"));
            info = medianMs([&] { runTool(srecInfo, {ours, QStringLiteral("-intel")}); });
            cat = medianMs([&] {
                runTool(srecCat,
                        {ours, QStringLiteral("-intel"), QStringLiteral("-o"), copy,
                         QStringLiteral("-intel"), QStringLiteral("-output_block_size=16")});
            });
        }
        std::printf("%-22s %9.2f %9.2f %9.2f %11.2f %13.2f %11.2fx\n", image.label,
                    double(QFileInfo(ours).size()) / 1e6, load, save, info, cat,
                    info > 0 ? load / info : 0.0);
    }
    if (srecInfo.isEmpty() || srecCat.isEmpty())
        std::printf("\nsrecord is not installed: no comparison (Debian package srecord)\n");
    else
        std::printf("\nsrec start-up alone (srec_info on a one-line file): %.2f ms\n"
                    "load ratio = our load / srec_info; below 1 means our load is faster\n",
                    startup);
    return 0;
}
