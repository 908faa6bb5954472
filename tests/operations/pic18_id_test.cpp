// PIC18 ID bytes through the buttons, with the buffer states that loads and reads make: a HEX
// file's ID bytes are whole bytes, a read takes whole bytes back, and the chip keeps whole bytes.
// Only the digit each ID byte carries is compared, on both sides.
#include "operation_bench.h"

#include "core/hex_record.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

// A few program words, ID bytes F1..F8 and the erased configuration but for the watchdog.
QString writeProgramWithIds(const QString& folder) {
    QByteArray text;
    const auto record = [&text](int type, const QByteArray& data) {
        hex::appendRecord(text, std::uint8_t(type), 0,
                          reinterpret_cast<const std::uint8_t*>(data.constData()),
                          std::size_t(data.size()));
    };
    record(4, QByteArray::fromHex("0000"));
    record(0, QByteArray::fromHex("0EAA6E811200D7EF"));
    record(4, QByteArray::fromHex("0020"));
    record(0, QByteArray::fromHex("F1F2F3F4F5F6F7F8"));
    record(4, QByteArray::fromHex("0030"));
    record(0, QByteArray::fromHex("00270F0E00018500"));
    record(1, {});
    const QString path = folder + QStringLiteral("/ids.hex");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
}

bool passed(const OperationBench& bench, int pass) {
    return QRegularExpression(
               QStringLiteral("^プログラミング成功。.*Pass = %1    Fail = 0 $").arg(pass))
        .match(bench.ui.statusText)
        .hasMatch();
}

const QString kVerifyPassed = QStringLiteral("ベリファイは正常終了しました。 ");

TEST(Pic18Ids, AFileWithWholeIdBytesIsProgrammedReadVerifiedAndCopied) {
    OperationBench bench(QStringLiteral("PIC18F452"));
    bench.openHex(writeProgramWithIds(bench.dataDir.path()));
    ASSERT_EQ(bench.s.buffer.Id18Image[0], 0xF1);

    bench.ops.Command_pogram_Click();
    EXPECT_TRUE(passed(bench, 1)) << bench.ui.statusText.toStdString();
    EXPECT_EQ(bench.s.run.ConfigVerifyResult, result::OK);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(bench.chip().id18[i], 0xF1 + i) << "ID " << i;

    bench.ops.Command_Vrify_Click();
    EXPECT_EQ(bench.ui.statusText, kVerifyPassed);

    // The chip read into the buffer verifies against itself and copies onto the chip again.
    bench.ops.Command_read_Click();
    ASSERT_EQ(bench.s.buffer.Id18Image[7], 0xF8);
    bench.ops.Command_Vrify_Click();
    EXPECT_EQ(bench.ui.statusText, kVerifyPassed);
    bench.answer({MessageAnswer::Yes});
    bench.ops.Command_pogram_Click();
    EXPECT_TRUE(passed(bench, 2)) << bench.ui.statusText.toStdString();
}

// On a part the generic sequence serves (the PIC18F452 has a module of its own).
TEST(Pic18Ids, ADifferentDigitStillFailsTheVerify) {
    OperationBench bench(QStringLiteral("PIC18F442"));
    bench.openHex(writeProgramWithIds(bench.dataDir.path()));
    bench.ops.Command_pogram_Click();
    ASSERT_TRUE(passed(bench, 1)) << bench.ui.statusText.toStdString();
    bench.s.buffer.Id18Image[3] = 0xF0; // the chip holds F4
    bench.ops.Command_Vrify_Click();
    EXPECT_EQ(bench.ui.statusText, QStringLiteral("ベリファイエラーを検出しました。 "));
    EXPECT_EQ(bench.s.run.IdVerifyText, result::NG);
}

} // namespace
