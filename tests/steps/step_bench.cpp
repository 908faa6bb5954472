#include "step_bench.h"

#include <gtest/gtest.h>

namespace tavrin::test {

StepBench::StepBench(const QString& device, const std::string& socketPart,
                     emu::BoardOptions options)
    : EmulatedBench(device, socketPart, std::move(options)), link(s, ui, emu.port, emu.clock) {
    loadPartRecord(s.device, device);
    identifyBoard();
}

StepBench::StepBench(const DeviceRecord& device, const std::string& socketPart,
                     emu::BoardOptions options)
    : EmulatedBench(device.SelectedDevice, socketPart, std::move(options)),
      link(s, ui, emu.port, emu.clock) {
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

QByteArray bytesOf(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

} // namespace tavrin::test
