#include "operation_bench.h"

#include "core/device_file.h"
#include "devices/common/result_log.h"
#include "mainwindow/logic/device_selection.h"
#include "mainwindow/logic/hex_file_commands.h"
#include "mainwindow/logic/real_core_services.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace tavrin::test {

namespace {

AppPaths benchPaths(const QTemporaryDir& dataDir) {
    AppPaths p;
    p.deviceFile = QStringLiteral(TAVRIN_SOURCE_DIR "/data/device6.ini");
    p.dataDir = dataDir.path();
    return p;
}

OperationEnvironment benchEnvironment(Session& s, OperatorUi& ui, BoardLink& link, Clock& clock,
                                      const QString& dataDir, const OperationSettings& settings) {
    OperationEnvironment env(s, ui, link, clock, dataDir);
    env.settings = [&settings] { return settings; };
    env.now = [] { return kBenchNow; };
    return env;
}

} // namespace

OperationBench::OperationBench(const QString& device, const std::string& socketPart,
                               emu::BoardOptions options)
    : EmulatedBench(device, socketPart, std::move(options)),
      paths(benchPaths(dataDir)), ctx{s,  ui, view, settingsStore, realCoreServices(paths), {},
                                      {}, -1, {}},
      link(s, ui, emu.port, emu.clock),
      ops(benchEnvironment(s, ui, link, emu.clock, dataDir.path(), settings)) {
    s.link.ComPortName = QStringLiteral("emulated");
    ctx.partSelectionHook = [this](const QString& deviceName) {
        return ops.environment().modules.partSelectionHookFor(deviceName);
    };
    EXPECT_TRUE(LoadDeviceList(s, ui, paths));
    const int index = int(s.device.DeviceNames.indexOf(device));
    EXPECT_GE(index, 0) << device.toStdString() << " is not in the device file";
    SelectDevice(ctx, device, index);
    EXPECT_EQ(s.device.SelectedDevice, device);
}

void OperationBench::openHex(const QString& path) {
    view.fileAnswers.push_back(path);
    OpenHexFile(ctx);
    ASSERT_EQ(s.run.HexLoadResult, result::OK) << path.toStdString();
}

void OperationBench::answer(std::initializer_list<MessageAnswer> answers) {
    for (MessageAnswer a : answers)
        ui.answers.push_back(a);
}

QString OperationBench::logPath() const {
    return QDir(dataDir.path()).filePath(QStringLiteral("LOG_NEW0.txt"));
}

QString OperationBench::logText() const {
    QFile f(logPath());
    if (!f.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(f.readAll());
}

std::uint16_t OperationBench::bufferWord(std::int32_t w) const {
    const auto& image = s.buffer.ProgramImage;
    return std::uint16_t(image[2 * w] * 256 + image[2 * w + 1]);
}

void OperationBench::setBufferWord(std::int32_t w, std::uint16_t value) {
    s.buffer.ProgramImage[2 * w] = std::uint8_t(value >> 8);
    s.buffer.ProgramImage[2 * w + 1] = std::uint8_t(value);
}

} // namespace tavrin::test
