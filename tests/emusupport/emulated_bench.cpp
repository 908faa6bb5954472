#include "emulated_bench.h"

#include "emulator/faults.h"

#include <gtest/gtest.h>

namespace tavrin::test {

namespace {
std::string socketName(const QString& device, const std::string& socketPart) {
    return socketPart.empty() ? device.toStdString() : socketPart;
}
} // namespace

EmulatedBench::EmulatedBench(const QString& device, const std::string& socketPart,
                             emu::BoardOptions options)
    : emu(socketName(device, socketPart), std::move(options)) {}

void EmulatedBench::addFault(const std::string& spec) {
    std::string error;
    const auto fault = emu::parseFault(spec, &error);
    ASSERT_TRUE(fault) << error;
    emu.board.options().faults.add(*fault);
}

void EmulatedBench::recordFromHere() {
    emu.board.transcript().clear();
    emu.board.transcript().keep(true);
    markUs_ = emu.clock.nowUs();
}

QByteArray EmulatedBench::sentSinceRecord() {
    const auto sent = emu.board.transcript().all(emu::Direction::ToBoard);
    return QByteArray(reinterpret_cast<const char*>(sent.data()), qsizetype(sent.size()));
}

double EmulatedBench::msSinceRecord() const {
    return double(emu.clock.nowUs() - markUs_) / 1000.0;
}

} // namespace tavrin::test
