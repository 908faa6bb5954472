// The firmware update window's logic against the board emulator in process, on virtual time:
// the window's own port beside the main link's, the file checked before the board is touched,
// the records and their gap fill as the boot loader stores them, each failure with its own text,
// and the main link finding the updated board afterwards.
#include "core/session.h"
#include "core/settings_store.h"
#include "emulator/faults.h"
#include "emulator/intel_hex.h"
#include "emusupport/emulated_board.h"
#include "link/board_link.h"
#include "support/intel_hex.h"
#include "support/recording_ui.h"
#include "tools/logic/firmware_update.h"
#include "tools/logic/firmware_update_view.h"
#include "tools/logic/update_records.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

using Words = std::map<std::uint32_t, std::uint16_t>;

class RecordingView final : public FirmwareUpdateView {
  public:
    QString portText() const override { return port; }
    QString speedText() const override { return speed; }
    void showStatus(const QString& text) override { status = text; }
    void showIdentification(const QString& text) override { identification = text; }
    void showFileName(const QString& path) override { file = path; }
    void showGuidance(const QString& text, bool failure) override {
        guidance = text;
        red = failure;
    }
    void setProgressRange(int minimum, int maximum) override {
        progressMin = minimum;
        progressMax = maximum;
    }
    void setProgressValue(int value) override {
        progress = value;
        ++progressSets;
    }
    void setUpdateEnabled(bool enabled) override { updateEnabled = enabled; }
    void setVersionEnabled(bool enabled) override { versionEnabled = enabled; }
    void setChoicesEnabled(bool enabled) override {
        choicesEnabled = enabled;
        if (!enabled) ++choicesDisabled;
    }
    QString chooseFile(const QString& title, const QString& folder, const QString&,
                       const QString&) override {
        dialogTitle = title;
        dialogFolder = folder;
        return answer;
    }
    void closeWindow() override { closed = true; }

    QString port = QStringLiteral("/dev/ttyUSB0");
    QString speed = QStringLiteral("57600");
    QString answer;
    QString status, identification, file, guidance, dialogTitle, dialogFolder;
    bool red = false;
    int progressMin = -1, progressMax = -1, progress = -1, progressSets = 0;
    bool updateEnabled = false, versionEnabled = true, closed = false, choicesEnabled = true;
    int choicesDisabled = 0;
};

// The program's words of a small firmware, the board's own range and the words that are never
// sent among them.
Words sampleFirmware() {
    Words w;
    for (std::uint32_t a = 0; a < 0x30; ++a)
        w[a] = std::uint16_t(0x3000 | a);
    for (std::uint32_t a = 0x200; a < 0x212; ++a)
        w[a] = std::uint16_t(0x2800 + a);
    w[0x1F00] = 0x0001; // the boot loader's own range: never sent
    w[0x1FDF] = 0x0002;
    for (std::uint32_t a = 0x1FE0; a < 0x1FE4; ++a)
        w[a] = std::uint16_t(0x0100 + a - 0x1FE0);
    w[0x1FFF] = 0x0003; // the last word: never sent
    w[0x2007] = 0x3F72; // configuration word
    w[0x2100] = 0x00AB; // data EEPROM
    return w;
}

// Runs a click of the person while the transfer lets window events run.
class ClickingUi final : public RecordingUi {
  public:
    void pumpEvents() override {
        RecordingUi::pumpEvents();
        if (onPump) onPump();
    }
    std::function<void()> onPump;
};

class FirmwareUpdateTest : public ::testing::Test {
  protected:
    FirmwareUpdateTest() {
        s.link.ComPortName = QStringLiteral("/dev/ttyUSB0");
        bench.board.options().updatedIdentification = "QZ-WRT400  V6.60";
        update.attach(view);
    }

    QString writeFile(const QByteArray& text, const QString& name = QStringLiteral("fw.hex")) {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(text);
        return path;
    }
    // The person takes a moment to pick the file: the rest of the identification arrives.
    void choose(const QString& path) {
        bench.clock.sleepMs(500);
        view.answer = path;
        update.CmdOpen_Click();
    }
    void addFault(const char* spec) { bench.board.options().faults.add(*emu::parseFault(spec)); }
    const emu::FirmwareImage& image() const { return bench.board.bootLoader().image(); }

    QTemporaryDir dir;
    Session s;
    ClickingUi ui;
    MemorySettingsStore settings;
    EmulatedBoard bench{"PIC16F877A"};
    EmulatedPort ownPort{bench.clock, bench.board};
    BoardLink link{s, ui, bench.port, bench.clock};
    RecordingView view;
    FirmwareUpdate update{s, ui, settings, link, ownPort, bench.clock, dir.path()};
};

} // namespace

TEST(UpdateRecords, GapFillAndTheWordsNeverSent) {
    auto sent = [](const Words& words) {
        std::vector<std::pair<std::uint32_t, std::uint16_t>> out;
        for (const UpdateStep& s : updateSteps(words))
            if (s.send) out.emplace_back(s.address, s.value);
        return out;
    };
    using Sent = std::vector<std::pair<std::uint32_t, std::uint16_t>>;
    // A file whose first word is at 5 fills words 0 to 4 first.
    EXPECT_EQ(sent({{5, 0x2805}}),
              (Sent{{0, 0x3FFF}, {1, 0x3FFF}, {2, 0x3FFF}, {3, 0x3FFF}, {4, 0x3FFF}, {5, 0x2805}}));
    // A configuration word is never sent but fills every missing word below the boot loader.
    const Sent withConfig = sent({{0, 0x0001}, {0x2007, 0x3F72}});
    ASSERT_EQ(withConfig.size(), 0x1F00u);
    EXPECT_EQ(withConfig.back(), (std::pair<std::uint32_t, std::uint16_t>{0x1EFF, 0x3FFF}));
    // Without anything further up, the words behind the last one stay unsent.
    EXPECT_EQ(sent({{0, 1}, {1, 2}}).size(), 2u);
    // The boot loader's range and the last word are skipped; 0x1FE0-0x1FFE are sent.
    const Sent top = sent({{0x1F00, 1}, {0x1FDF, 2}, {0x1FE0, 3}, {0x1FFE, 4}, {0x1FFF, 5}});
    EXPECT_EQ(top.size(), 0x1F00u + 2);
    EXPECT_EQ(top[0x1F00], (std::pair<std::uint32_t, std::uint16_t>{0x1FE0, 3}));
    EXPECT_EQ(top[0x1F01], (std::pair<std::uint32_t, std::uint16_t>{0x1FFE, 4}));
    // The window's example record.
    EXPECT_EQ(wordRecord(0x0123, 0x2F05), QByteArray::fromHex("01232F05"));
    EXPECT_EQ(recordSum(wordRecord(0x0123, 0x2F05)), 0x58);
}

TEST(UpdateRecords, ProgressBarMovesEvery79WordsAndDropsAtTheTop) {
    struct Case {
        const char* mode;
        int position;
        std::optional<int> value;
        bool range;
    };
    const Case cases[] = {{"on", 0, 0, true},       {"on", 79, 79, true},   {"on", 80, {}, false},
                          {"ON", 7900, 7900, true}, {"on", 7936, 0, false}, {"on", 8000, 0, false},
                          {"off", 79, 0, false},    {"x", 79, {}, false}};
    for (const Case& c : cases) {
        const auto state = progressBarFor(QString::fromLatin1(c.mode), 0, 7936, c.position);
        ASSERT_EQ(state.has_value(), c.value.has_value()) << c.mode << " " << c.position;
        if (!state) continue;
        EXPECT_EQ(state->value, *c.value) << c.position;
        EXPECT_EQ(state->setRange, c.range) << c.position;
    }
}

TEST_F(FirmwareUpdateTest, UpdateWritesTheFileAndTheMainLinkFindsTheNewVersion) {
    const Words words = sampleFirmware();
    const QByteArray text = intelHexWordsText(words);
    const QString path = writeFile(text);
    QFile log(dir.filePath(QStringLiteral("LOG_NEW0.txt")));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write("earlier result\r\n");
    log.close();

    const auto start = update.load();
    EXPECT_EQ(start.port, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(start.speed, QStringLiteral("57600"));
    update.CmdVersion_Click();
    EXPECT_EQ(view.identification, QStringLiteral("QZ-WRT400  V6.50"));
    EXPECT_EQ(view.status, QStringLiteral("ファームウエアバージョンをリードしました。"));

    settings.setValue(QStringLiteral("OPEN_DIR0"), QStringLiteral("/srv/firmware"));
    choose(path);
    EXPECT_EQ(view.dialogTitle, QStringLiteral("アップデータを開く"));
    EXPECT_EQ(view.dialogFolder, QStringLiteral("/srv/firmware"));
    EXPECT_EQ(view.status, QStringLiteral("ファイル名：fw.hexを指定しました。"));
    EXPECT_EQ(settings.value(QStringLiteral("OPEN_DIR0"), QString()), dir.path());
    EXPECT_TRUE(view.updateEnabled);

    const std::int64_t before = bench.clock.nowUs();
    update.CmdUpdate_Click();
    ASSERT_EQ(update.lastOutcome(), FirmwareUpdate::Outcome::Completed)
        << view.status.toStdString();
    EXPECT_TRUE(view.closed);
    // 7936 records below the boot loader and four above it, each paced by 10 ms.
    const std::int64_t seconds = (bench.clock.nowUs() - before) / 1000000;
    EXPECT_GE(seconds, 79);
    EXPECT_EQ(view.status, QStringLiteral("アップデート完了。  %1sec").arg(seconds));
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().title, QStringLiteral("ファームウエアアップデート"));
    EXPECT_EQ(ui.messages.back().text,
              QStringLiteral(
                  "　　　 ファームウエアアップデートが完了しました。    　　　　　　　\r\n　"));
    EXPECT_EQ(view.progressMax, 7936);

    // Every word the file gives below the boot loader and from 0x1FE0 to 0x1FFE, the erased word
    // in every gap below the boot loader, nothing else.
    for (std::uint32_t a = 0; a < emu::FirmwareImage::kWords; ++a) {
        const bool reserved = (a >= 0x1F00 && a <= 0x1FDF) || a == 0x1FFF;
        const bool fromFile = words.count(a) != 0;
        SCOPED_TRACE(a);
        if (reserved) {
            EXPECT_FALSE(image().written(a));
        } else if (fromFile) {
            ASSERT_TRUE(image().written(a));
            EXPECT_EQ(image().word(a), words.at(a));
        } else if (a < 0x1F00) {
            ASSERT_TRUE(image().written(a));
            EXPECT_EQ(image().word(a), 0x3FFF);
        } else {
            EXPECT_FALSE(image().written(a));
        }
    }
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("debug_update.txt"))).isFile());
    EXPECT_EQ(QFileInfo(dir.filePath(QStringLiteral("debug_update.txt"))).size(), 0);

    update.Form_Unload();
    EXPECT_FALSE(bench.board.bootLoader().active());
    EXPECT_FALSE(ownPort.isOpen());
    EXPECT_FALSE(bench.port.isOpen());
    EXPECT_TRUE(s.link.ProgrammerDetected);
    EXPECT_EQ(s.link.FirmwareId, QStringLiteral("QZ-WRT400  V6.60"));
    EXPECT_EQ(ui.texts[Control::Label_FirmwareVersion],
              QStringLiteral("/dev/ttyUSB0 : QZ-WRT400  V6.60"));

    QFile after(path);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), text);
    QFile logAfter(dir.filePath(QStringLiteral("LOG_NEW0.txt")));
    ASSERT_TRUE(logAfter.open(QIODevice::ReadOnly));
    EXPECT_EQ(logAfter.readAll(), QByteArray("earlier result\r\n"));
}

TEST_F(FirmwareUpdateTest, EachBoardFailureKeepsTheWindowWithItsOwnText) {
    struct Case {
        const char* fault;
        FirmwareUpdate::Outcome outcome;
        QString status;
        bool red;
        QString errorData; // "" when the red text has no error data line
        bool box;
    };
    const QString failed = QStringLiteral("***　アップデート失敗　***");
    const Case cases[] = {
        {"boot-no-entry",
         FirmwareUpdate::Outcome::NoEntry,
         QStringLiteral("***　アップデートエントリー失敗　***"),
         false,
         {},
         true},
        {"boot-entry-byte=0x41", FirmwareUpdate::Outcome::WrongEntry, failed, true,
         QStringLiteral("41"), false},
        {"boot-bad-ack=3", FirmwareUpdate::Outcome::AckMismatch, failed, true, QStringLiteral("C9"),
         false}, // ~(0x00 + 0x03 + 0x30 + 0x03)
        {"boot-silent-at=6",
         FirmwareUpdate::Outcome::AckTimeout,
         failed + QStringLiteral(" Address=0x6 Data=0x306"),
         true,
         {},
         true},
    };
    Words words;
    for (std::uint32_t a = 3; a < 20; ++a)
        words[a] = std::uint16_t(0x3000 + a);
    const QString path = writeFile(intelHexWordsText(words));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        bench.board.options().faults = {};
        addFault(c.fault);
        ui.messages.clear();
        view = RecordingView{};
        choose(path);
        const std::int64_t before = bench.clock.nowUs();
        update.CmdUpdate_Click();
        EXPECT_EQ(update.lastOutcome(), c.outcome);
        EXPECT_EQ(view.status, c.status);
        EXPECT_FALSE(view.closed);
        EXPECT_FALSE(update.busy());
        EXPECT_TRUE(view.updateEnabled);
        EXPECT_TRUE(view.versionEnabled);
        EXPECT_TRUE(view.choicesEnabled);
        EXPECT_EQ(view.choicesDisabled, 1);
        EXPECT_EQ(view.red, c.red);
        if (c.red) {
            EXPECT_TRUE(view.guidance.startsWith(
                QStringLiteral("途中でファームウエアアップデートが失敗しました。\n")));
            EXPECT_TRUE(view.guidance.endsWith(
                QStringLiteral("ライターはブートローダーのまま停止しています。"
                               "もう一度アップデートを実行してください。")));
            EXPECT_EQ(view.guidance.contains(QStringLiteral("error data = 0x") + c.errorData),
                      !c.errorData.isEmpty());
            EXPECT_EQ(view.guidance.contains(QStringLiteral("error data")), !c.errorData.isEmpty());
        }
        EXPECT_EQ(ui.messages.size(), c.box ? 1u : 0u);
        // Bounded by the Part's own limits: 5 s for the entry, 2 s for an acknowledgement.
        EXPECT_LT(bench.clock.nowUs() - before, 6'000'000);
    }

    // The board waits in its boot loader: the same update, run again, completes.
    bench.board.options().faults = {};
    view = RecordingView{};
    choose(path);
    update.CmdUpdate_Click();
    EXPECT_EQ(update.lastOutcome(), FirmwareUpdate::Outcome::Completed);
    for (std::uint32_t a = 0; a < 20; ++a)
        EXPECT_EQ(image().word(a), words.count(a) ? words.at(a) : 0x3FFF) << a;
}

TEST_F(FirmwareUpdateTest, ClicksDuringTheTransferDoNothing) {
    Words words;
    for (std::uint32_t a = 0; a < 40; ++a)
        words[a] = std::uint16_t(0x2000 + a);
    const QString path = writeFile(intelHexWordsText(words));
    const QString other = writeFile(intelHexWordsText({{0, 0x0001}}), QStringLiteral("other.hex"));
    choose(path);
    int clicks = 0;
    ui.onPump = [&] {
        if (!update.busy() || clicks++ > 3) return;
        EXPECT_FALSE(view.choicesEnabled);
        EXPECT_FALSE(view.updateEnabled);
        EXPECT_FALSE(view.versionEnabled);
        view.answer = other;
        update.CmdOpen_Click();
        update.CmdVersion_Click();
        update.CmdUpdate_Click();
    };
    update.CmdUpdate_Click();
    ui.onPump = nullptr;
    EXPECT_GT(clicks, 0);
    ASSERT_EQ(update.lastOutcome(), FirmwareUpdate::Outcome::Completed);
    EXPECT_EQ(update.fileName(), path);
    for (std::uint32_t a = 0; a < 40; ++a)
        EXPECT_EQ(image().word(a), words.at(a)) << a;
}

// The version read waits with window events running, as the window does when it opens: a second
// read, a file choice, the update or the close box must not take the line from under it.
TEST_F(FirmwareUpdateTest, ClicksDuringTheVersionReadDoNothing) {
    struct Case {
        const char* fault;
        const char* identification;
        std::size_t boxes;
    };
    for (const Case& c : {Case{nullptr, "QZ-WRT400  V6.50", 0}, Case{"silent", "", 1}}) {
        if (c.fault) addFault(c.fault);
        view = RecordingView{};
        ui.messages.clear();
        int pumps = 0;
        ui.onPump = [&] {
            if (pumps++ > 3) return;
            EXPECT_TRUE(update.busy());
            EXPECT_FALSE(view.versionEnabled);
            EXPECT_FALSE(view.choicesEnabled);
            EXPECT_FALSE(view.updateEnabled);
            view.answer = writeFile(intelHexWordsText({{0, 0x0001}}), QStringLiteral("other.hex"));
            update.CmdOpen_Click();
            update.CmdVersion_Click();
            update.CmdUpdate_Click();
        };
        update.CmdVersion_Click();
        ui.onPump = nullptr;
        EXPECT_GT(pumps, 0) << c.identification;
        EXPECT_FALSE(update.busy());
        EXPECT_TRUE(view.dialogTitle.isEmpty());
        EXPECT_EQ(update.lastOutcome(), FirmwareUpdate::Outcome::None);
        EXPECT_EQ(view.identification, QString::fromLatin1(c.identification));
        EXPECT_EQ(ui.messages.size(), c.boxes);
        // Usable again; the update still waits for a file.
        EXPECT_TRUE(view.versionEnabled);
        EXPECT_TRUE(view.choicesEnabled);
        EXPECT_FALSE(view.updateEnabled);
    }
}

TEST_F(FirmwareUpdateTest, ABadFileIsRefusedBeforeTheBoardIsTouched) {
    const QByteArray good = intelHexWordsText({{0, 0x2805}, {1, 0x0000}, {2, 0x3FFF}});
    struct Case {
        const char* name;
        QByteArray text;
        QString expected;
    };
    auto line2 = [&](const QByteArray& replacement) {
        QList<QByteArray> lines = good.split('\n');
        lines[1] = replacement;
        return lines.join('\n');
    };
    const QString head = QStringLiteral("アップデートファイルが正しくありません。");
    const QString tail = QStringLiteral("アップデートは行いませんでした。");
    const Case cases[] = {
        {"checksum", line2(":0600000005280000FF3FCE\r"),
         QStringLiteral("2行目：チェックサムが一致しません。")},
        {"not hex", line2(":0600000005280000FF3FG0\r"),
         QStringLiteral("2行目：Intel HEX のレコードではありません。")},
        {"short record", line2(":06000000052800\r"),
         QStringLiteral("2行目：Intel HEX のレコードではありません。")},
        {"record type", line2(intelHexRecord(0, 3, QByteArray(4, '\0')).trimmed() + "\r"),
         QStringLiteral("2行目：使用できないレコードタイプです。")},
        {"odd count", line2(intelHexRecord(0, 0, QByteArray::fromHex("052800")).trimmed() + "\r"),
         QStringLiteral(
             "2行目：データがワード単位になっていません（奇数のバイト数またはアドレス）。")},
        {"odd address", line2(intelHexRecord(1, 0, QByteArray::fromHex("0528")).trimmed() + "\r"),
         QStringLiteral(
             "2行目：データがワード単位になっていません（奇数のバイト数またはアドレス）。")},
        {"extended address",
         intelHexRecord(0, 4, QByteArray::fromHex("0001")) +
             intelHexRecord(0, 0, QByteArray::fromHex("0528")) + ":00000001FF\r\n",
         QStringLiteral("2行目：ライターのプログラムメモリの範囲外のアドレスです。")},
        {"beyond eeprom",
         intelHexRecord(0x4400, 0, QByteArray::fromHex("0000")) + ":00000001FF\r\n",
         QStringLiteral("1行目：ライターのプログラムメモリの範囲外のアドレスです。")},
        {"out of order",
         intelHexRecord(0x10, 0, QByteArray::fromHex("0528")) +
             intelHexRecord(0x0E, 0, QByteArray::fromHex("0528")) + ":00000001FF\r\n",
         QStringLiteral("2行目：アドレスが昇順になっていません。")},
        {"overlap",
         intelHexRecord(0x10, 0, QByteArray::fromHex("05280000")) +
             intelHexRecord(0x12, 0, QByteArray::fromHex("0528")) + ":00000001FF\r\n",
         QStringLiteral("2行目：アドレスが昇順になっていません。")},
        {"after end", good + intelHexRecord(0x10, 0, QByteArray::fromHex("0528")),
         QStringLiteral("4行目：エンドレコードの後にレコードがあります。")},
        {"truncated", good.left(good.indexOf(":00000001FF")),
         QStringLiteral("エンドレコードがありません（ファイルが途中で切れています）。")},
        {"only configuration",
         intelHexRecord(0x400E, 0, QByteArray::fromHex("723F")) + ":00000001FF\r\n",
         QStringLiteral("プログラムデータがありません。")},
        {"empty", QByteArray(),
         QStringLiteral("エンドレコードがありません（ファイルが途中で切れています）。")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = writeFile(c.text, QStringLiteral("bad.hex"));
        ui.messages.clear();
        choose(path);
        const auto toBoard = bench.board.stats().bytesToBoard;
        update.CmdUpdate_Click();
        EXPECT_EQ(update.lastOutcome(), FirmwareUpdate::Outcome::FileRefused);
        EXPECT_EQ(view.status, head + c.expected + tail);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, view.status);
        EXPECT_EQ(bench.board.stats().bytesToBoard, toBoard);
        EXPECT_FALSE(bench.board.bootLoader().active());
        EXPECT_FALSE(view.closed);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), c.text);
    }
    // A file that cannot be read at all.
    choose(dir.filePath(QStringLiteral("missing.hex")));
    update.CmdUpdate_Click();
    EXPECT_EQ(view.status, head + QStringLiteral("ファイルを読み込めませんでした。") + tail);
}

TEST_F(FirmwareUpdateTest, PortAndSpeedAsTheWindowSetsThemUp) {
    view.port = QStringLiteral(" ");
    update.CmdVersion_Click();
    update.CmdOpen_Click();
    update.CmdUpdate_Click();
    ASSERT_EQ(ui.messages.size(), 3u);
    for (const auto& m : ui.messages) {
        EXPECT_EQ(m.text, QStringLiteral("ポート番号を設定してください。"));
        EXPECT_EQ(m.title, QStringLiteral("Tavrin Writer v4"));
    }
    EXPECT_EQ(update.lastOutcome(), FirmwareUpdate::Outcome::PortNotSet);
    EXPECT_TRUE(view.dialogTitle.isEmpty());

    view.port = QStringLiteral("/dev/ttyUSB0");
    for (auto [speed, baud] : {std::pair{" 9600", 9600},
                               {"9600", 9600},
                               {"19200", 19200},
                               {"57600", 57600},
                               {"115200", 57600}}) {
        view.speed = QString::fromLatin1(speed);
        update.CmdVersion_Click();
        EXPECT_EQ(update.baudRate(), baud) << speed;
    }
    update.Combo_ComPort_Click(QStringLiteral("/dev/ttyUSB3"));
    update.Combo_speed_Click(QStringLiteral("19200"));
    EXPECT_EQ(settings.value(QStringLiteral("Com"), QString()), QStringLiteral("/dev/ttyUSB3"));
    EXPECT_EQ(settings.value(QStringLiteral("Speed"), QString()), QStringLiteral("19200"));

    // No file chosen: said so, nothing sent.
    update.CmdUpdate_Click();
    EXPECT_EQ(view.status, QStringLiteral("アップデートファイルがロードされていません。"));
    EXPECT_EQ(update.lastOutcome(), FirmwareUpdate::Outcome::NoFile);

    // The window's port does not open.
    choose(writeFile(intelHexWordsText({{0, 1}})));
    ownPort.refuseOpen(PortError::InUse);
    update.CmdUpdate_Click();
    EXPECT_EQ(update.lastOutcome(), FirmwareUpdate::Outcome::PortNotOpened);
    EXPECT_EQ(view.status, QStringLiteral("通信ポートをオープンできませんでした。"));
    EXPECT_TRUE(view.updateEnabled);
}

TEST_F(FirmwareUpdateTest, AnUnansweredVersionQueryIsReportedAfterOneSecond) {
    addFault("silent");
    const std::int64_t before = bench.clock.nowUs();
    update.CmdVersion_Click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              QStringLiteral("　　***　ファームウエアアップデート　コミュニケーション失敗。　***"
                             "　　　　　　\r\n　"));
    EXPECT_LT(bench.clock.nowUs() - before, 1'200'000);
    EXPECT_TRUE(view.identification.isEmpty());
}
