// The 12C5 program blank check asks the board three times with the same letters; only a scripted
// board can answer one of them differently.
#include "core/clock.h"
#include "core/session.h"
#include "link/board_channel.h"
#include "part_records.h"
#include "scripted_port.h"
#include "steps/blank_check.h"
#include "support/recording_ui.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavrin::test {
namespace {

class TwelveC5Scan : public ::testing::Test {
  protected:
    TwelveC5Scan() {
        loadPartRecord(session.device, QStringLiteral("PIC12C509A"));
        port.open();
        // Each summary request ends with its two count bytes after "b", "s".
        port.onWrite = [this](const QByteArray& bytes) {
            sent += bytes;
            if (sent.size() >= 4 && sent.at(sent.size() - 4) == 'b' &&
                sent.at(sent.size() - 3) == 's' && next < replies.size())
                port.arrive(replies[next++], 1);
        };
    }
    QString run() {
        QString result = result::Skipped;
        BlankCheckProgramMemory(channel, result);
        return result;
    }

    Session session;
    RecordingUi ui;
    VirtualClock clock;
    ScriptedPort port{clock};
    BoardChannel channel{session, ui, port, clock};
    QByteArray sent;
    std::vector<QByteArray> replies;
    std::size_t next = 0;
};

const QByteArray Erased = QByteArrayLiteral("\x0F\xFF@");
const QByteArray Calibration = QByteArrayLiteral("\x0C\x5A@");

TEST_F(TwelveC5Scan, ErasedChipWithItsCalibrationWordIsBlank) {
    replies = {Erased, Calibration, Calibration};
    EXPECT_EQ(run(), result::OK);
    EXPECT_EQ(session.run.CalibWordHigh, 0x0C);
    EXPECT_EQ(session.run.CalibWordLow, 0x5A);
    EXPECT_TRUE(session.run.CalibWordRead);
    // One power letter to each request: program words, with the calibration word, with the IDs.
    EXPECT_EQ(sent, QByteArray("Nbs\x04\x00"
                               "Nbs\x04\x01"
                               "Nbs\x04\x05",
                               15));
}

TEST_F(TwelveC5Scan, IdWordsThatChangeTheSummaryAreNotBlank) {
    replies = {Erased, Calibration, QByteArrayLiteral("\x0C\x58@")};
    EXPECT_EQ(run(), result::NG);
}

TEST_F(TwelveC5Scan, CalibrationScanWithoutItsEndCodeIsACommunicationFailure) {
    session.run.CalibWordLow = 0x77;
    replies = {Erased, QByteArrayLiteral("\x0C\x5A!"), Calibration};
    EXPECT_EQ(run(), result::ER);
    EXPECT_FALSE(session.run.CalibWordRead);
    EXPECT_EQ(session.run.CalibWordLow, 0x77);
    EXPECT_EQ(ui.statusText,
              QStringLiteral(
                  "プログラムメモリブランクチェック失敗。　　終了コードを受信できませんでした。 "));
}

TEST_F(TwelveC5Scan, IdScanWithoutItsEndCodeIsACommunicationFailure) {
    replies = {Erased, Calibration, QByteArrayLiteral("\x0C\x5A!")};
    EXPECT_EQ(run(), result::ER);
}

} // namespace
} // namespace tavrin::test
