// A board that answers late (the delay fault: each command's first reply byte leaves later, a
// board-paced write's first request too). The board's idle reset counts from when its own byte
// has left, so a delay at or above it costs nothing until the host's own limit runs out.
#include "core/session.h"
#include "step_bench.h"
#include "steps/program_write.h"

#include <gtest/gtest.h>

namespace tavrin::test {
namespace {

constexpr std::int32_t kWords = 1024; // PIC16F84A

void fillProgram(Session& s) {
    for (std::int32_t w = 0; w < kWords; ++w) {
        const std::uint16_t word = std::uint16_t((w * 7 + 3) & 0x3FFF);
        s.buffer.ProgramImage[2 * w] = std::uint8_t(word >> 8);
        s.buffer.ProgramImage[2 * w + 1] = std::uint8_t(word);
    }
}

TEST(DelayedBoard, PacedWriteWaitsForTheLateFirstRequest) {
    // 2900 ms is past the board's 2 s idle reset; 9900 ms is just inside the host's 10 s limit
    // for a request.
    for (int delayMs : {2900, 9900}) {
        SCOPED_TRACE(delayMs);
        StepBench bench(QStringLiteral("PIC16F84A"));
        fillProgram(bench.s);
        bench.addFault("delay=" + std::to_string(delayMs));
        QString result;
        WriteProgramMemory(bench.channel(), result);
        EXPECT_EQ(result, result::OK) << bench.ui.statusText.toStdString();
        for (std::int32_t w = 0; w < kWords; ++w)
            ASSERT_EQ(bench.chip().program[std::size_t(w)], (w * 7 + 3) & 0x3FFF) << "word " << w;
    }
}

TEST(DelayedBoard, PastTheHostsLimitTheWriteFails) {
    StepBench bench(QStringLiteral("PIC16F84A"));
    fillProgram(bench.s);
    bench.addFault("delay=10100");
    QString result;
    WriteProgramMemory(bench.channel(), result);
    EXPECT_EQ(result, result::NG);
}

} // namespace
} // namespace tavrin::test
