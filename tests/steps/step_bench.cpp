#include "step_bench.h"

#include "emulator/faults.h"

#include <gtest/gtest.h>

namespace tavrin::test {

namespace {
std::string socketName(const QString& device, const std::string& socketPart) {
    return socketPart.empty() ? device.toStdString() : socketPart;
}
} // namespace

StepBench::StepBench(const QString& device, const std::string& socketPart,
                     emu::BoardOptions options)
    : emu(socketName(device, socketPart), std::move(options)), link(s, ui, emu.port, emu.clock) {
    loadPartRecord(s.device, device);
    identifyBoard();
}

StepBench::StepBench(const DeviceRecord& device, const std::string& socketPart,
                     emu::BoardOptions options)
    : emu(socketPart, std::move(options)), link(s, ui, emu.port, emu.clock) {
    s.device = device;
    identifyBoard();
}

void StepBench::identifyBoard() {
    s.link.ComPortName = QStringLiteral("emulated");
    QString result;
    link.CheckProgrammer(result);
    EXPECT_EQ(result, result::OK) << "the emulated board did not answer";
    ui.statusHistory.clear();
    ui.messages.clear();
}

void StepBench::addFault(const std::string& spec) {
    std::string error;
    const auto fault = emu::parseFault(spec, &error);
    ASSERT_TRUE(fault) << error;
    emu.board.options().faults.add(*fault);
}

void StepBench::recordFromHere() {
    emu.board.transcript().clear();
    emu.board.transcript().keep(true);
    markUs_ = emu.clock.nowUs();
}

QByteArray StepBench::sentSinceRecord() {
    const auto sent = emu.board.transcript().all(emu::Direction::ToBoard);
    return QByteArray(reinterpret_cast<const char*>(sent.data()), qsizetype(sent.size()));
}

double StepBench::msSinceRecord() const {
    return double(emu.clock.nowUs() - markUs_) / 1000.0;
}

QByteArray bytesOf(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

} // namespace tavrin::test
