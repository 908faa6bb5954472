#include "logic_fixture.h"

#include "core/hex_scan.h"
#include "core/operation_guard.h"
#include "mainwindow/logic/buffer_commands.h"
#include "mainwindow/logic/device_selection.h"
#include "mainwindow/logic/hex_file_commands.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavrin;
using tavrin::test::LogicFixture;

namespace {

QString writeFile(const QTemporaryDir& dir, const QString& relative, const QByteArray& bytes) {
    const QString path = dir.filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

struct OpenFixture : LogicFixture {
    QTemporaryDir dir;
    OpenFixture() {
        s.app.MainTitle = QStringLiteral("Tavrin Writer - ");
        SelectDevice(ctx, QStringLiteral("PIC16F84A"), indexOf(QStringLiteral("PIC16F84A")));
    }
};

TEST(HexOpen, OpensTheChosenFileAndRemembersItsFolderWithCaseAndBlanks) {
    OpenFixture f;
    const QString path = writeFile(f.dir, QStringLiteral("My Projects/Blink.HEX"), ":00000001FF\n");
    f.settings.setValue("OPEN_DIR0", "/start");
    f.view.fileAnswers = {path};
    OpenHexFile(f.ctx);
    ASSERT_EQ(f.view.dialogs.size(), 1u);
    EXPECT_EQ(f.view.dialogs[0].initialDir, QStringLiteral("/start"));
    EXPECT_EQ(f.loaded, QStringList{QStringLiteral("14:") + path});
    EXPECT_EQ(f.s.app.HexFilePath, path);
    EXPECT_EQ(f.s.app.LastHexFilePath, path);
    EXPECT_EQ(f.view.caption, QStringLiteral("Tavrin Writer - ") + path);
    const QString folder = f.dir.filePath(QStringLiteral("My Projects"));
    EXPECT_EQ(f.settings.value("OPEN_DIR0", ""), folder);
    EXPECT_EQ(f.view.history.first(), folder + QStringLiteral("    PIC16F84A"));
    EXPECT_EQ(f.settings.value("OPEN_DIR1", ""), folder + QStringLiteral("    PIC16F84A"));
    EXPECT_EQ(f.settings.value("OPEN_Device1", ""), QString::number(f.indexOf("PIC16F84A")));
    EXPECT_EQ(f.settings.value("OPEN_DIR2", "x"), QString());
}

TEST(HexOpen, CancelMissingFileAndNoDevice) {
    OpenFixture f;
    f.view.fileAnswers = {QString()};
    OpenHexFile(f.ctx);
    EXPECT_TRUE(f.loaded.isEmpty());
    EXPECT_FALSE(f.settings.contains("OPEN_DIR0"));

    f.view.fileAnswers = {f.dir.filePath("absent.hex")};
    f.s.buffer.ProgramImage[0] = 0x12;
    OpenHexFile(f.ctx);
    EXPECT_TRUE(f.loaded.isEmpty());
    EXPECT_EQ(f.ui.statusText, QStringLiteral("ファイルをオープンできませんでした。 "));
    EXPECT_EQ(f.s.buffer.ProgramImage[0], 0x12); // the buffer is left as it was

    LogicFixture none;
    OpenHexFile(none.ctx);
    EXPECT_TRUE(none.view.dialogs.empty());
    EXPECT_EQ(none.ui.messages.size(), 1u);
}

TEST(HexOpen, HistoryKeepsOrderDropsTheSixthAndTellsDevicesApart) {
    OpenFixture f;
    QStringList paths;
    for (int i = 0; i < 6; ++i)
        paths << writeFile(f.dir, QStringLiteral("d%1/a.hex").arg(i), ":00000001FF\n");
    for (const QString& p : paths) {
        f.view.fileAnswers = {p};
        OpenHexFile(f.ctx);
    }
    ASSERT_EQ(f.view.history.size(), 5);
    EXPECT_TRUE(f.view.history[0].startsWith(f.dir.filePath("d5")));
    EXPECT_TRUE(f.view.history[4].startsWith(f.dir.filePath("d1")));
    const QStringList before = f.view.history;
    f.view.fileAnswers = {paths[3]}; // already listed: nothing moves
    OpenHexFile(f.ctx);
    EXPECT_EQ(f.view.history, before);

    SelectDevice(f.ctx, QStringLiteral("PIC16F877A"), f.indexOf("PIC16F877A"));
    f.view.fileAnswers = {paths[3]}; // same folder, another part: a new entry
    OpenHexFile(f.ctx);
    EXPECT_EQ(f.view.history[0], f.dir.filePath("d3") + QStringLiteral("    PIC16F877A"));

    // A reload neither moves the folder setting nor the history.
    f.settings.setValue("OPEN_DIR0", "/elsewhere");
    const QStringList history = f.view.history;
    f.s.app.ReopenWithoutDialog = true;
    OpenHexFile(f.ctx);
    f.s.app.ReopenWithoutDialog = false;
    EXPECT_EQ(f.loaded.last(), QStringLiteral("14:") + paths[3]);
    EXPECT_EQ(f.settings.value("OPEN_DIR0", ""), QStringLiteral("/elsewhere"));
    EXPECT_EQ(f.view.history, history);

    ClearFolderHistory(f.ctx);
    EXPECT_EQ(f.view.history, QStringList(5, QString()));
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(f.settings.value(QStringLiteral("OPEN_DIR%1").arg(i), "x"), QString());
        EXPECT_EQ(f.settings.value(QStringLiteral("OPEN_Device%1").arg(i), "x"), "0");
    }
    EXPECT_EQ(f.settings.value("OPEN_DIR0", ""), QStringLiteral("/elsewhere"));
}

TEST(HexOpen, HistoryEntrySelectsItsDeviceByNameAndOpensTheDialogInItsFolder) {
    OpenFixture f;
    const QString folder = f.dir.filePath(QStringLiteral("Two  Blanks"));
    // An entry written when the list had another order: the name decides, not the index.
    f.settings.setValue("OPEN_DIR1", folder + QStringLiteral("    PIC18F452"));
    f.settings.setValue("OPEN_Device1", "0");
    // An old entry whose device is gone: its index is the fallback.
    f.settings.setValue("OPEN_DIR2", QStringLiteral("c:\\old    PIC16C84"));
    f.settings.setValue("OPEN_Device2", "2");
    LoadFolderHistory(f.ctx);
    EXPECT_EQ(f.view.history[1], QStringLiteral("c:\\old    PIC16C84"));

    const QString file = writeFile(f.dir, QStringLiteral("Two  Blanks/x.hex"), ":00000001FF\n");
    f.view.fileAnswers = {file};
    OpenHistoryEntry(f.ctx, 0);
    EXPECT_EQ(f.s.device.SelectedDevice, QStringLiteral("PIC18F452"));
    EXPECT_EQ(f.view.listIndex, f.indexOf("PIC18F452"));
    ASSERT_EQ(f.view.dialogs.size(), 1u);
    EXPECT_EQ(f.view.dialogs[0].initialDir, folder);
    EXPECT_EQ(f.loaded.last(), QStringLiteral("18:") + file);
    EXPECT_EQ(f.view.history[0], folder + QStringLiteral("    PIC18F452")); // untouched

    f.view.fileAnswers = {QString()};
    OpenHistoryEntry(f.ctx, 1);
    EXPECT_EQ(f.s.device.SelectedDevice, f.s.device.DeviceNames[2]);
    EXPECT_EQ(f.view.dialogs.back().initialDir, QStringLiteral("c:\\old"));
}

TEST(HexOpen, DeviceNamedInTheFile) {
    struct Case {
        const char* text;
        const char* name;
    };
    const Case cases[] = {
        {":00000001FF,;PIC16F877\r\nx;PIC16F877A\r\n", "PIC16F877A"},
        {":00000001FF\n", ""},
        {";PIC16F84A", "PIC16F84A"},
        {"a;PIC1;PIC2,b\r", "PIC1;PIC2"},
        {";PIC18F452,;PIC", "PIC"},
        {";PIC18F452\r\n;PIX", "PIC18F452"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(deviceNameInHexText(c.text), QString::fromLatin1(c.name)) << c.text;

    OpenFixture f;
    f.settings.setValue("CCSC_option", "1");
    const QString a = writeFile(f.dir, "a.hex", ";PIC16F877\n:00000001FF\n;PIC18F452\n");
    f.view.fileAnswers = {a};
    OpenHexFile(f.ctx);
    EXPECT_EQ(f.s.device.SelectedDevice, QStringLiteral("PIC18F452"));
    EXPECT_EQ(f.loaded.last(), QStringLiteral("18:") + a);
    EXPECT_EQ(f.ui.texts.at(Control::Text_ID), QStringLiteral("12345678"));
    EXPECT_EQ(f.s.buffer.IdText, QStringLiteral("12345678"));
    EXPECT_TRUE(f.view.history[0].endsWith(QStringLiteral("    PIC18F452")));

    const QString b = writeFile(f.dir, "b.hex", ";pic16f84a\n;PIC16F84a\n:00000001FF\n");
    f.view.fileAnswers = {b};
    OpenHexFile(f.ctx);
    EXPECT_EQ(f.s.device.SelectedDevice, QStringLiteral("PIC18F452"));
    ASSERT_FALSE(f.ui.messages.empty());
    EXPECT_TRUE(f.ui.messages.back().text.contains(QStringLiteral("(　PIC16F84a　)")));
    EXPECT_EQ(f.loaded.last(), QStringLiteral("18:") + b);
}

TEST(HexOpen, CommandLineFileIsOpenedOnceWithoutTheDialog) {
    OpenFixture f;
    const QString file = writeFile(f.dir, "Start.hex", ":00000001FF\n");
    f.s.app.CommandLine = file;
    DirectOpenHexFile(f.ctx, QString());
    EXPECT_TRUE(f.view.dialogs.empty());
    EXPECT_EQ(f.loaded, QStringList{QStringLiteral("14:") + file});
    EXPECT_EQ(f.s.app.LastHexFilePath, file);
    EXPECT_FALSE(f.settings.contains("OPEN_DIR0"));
    EXPECT_TRUE(f.s.app.CommandLine.isEmpty());
    DirectOpenHexFile(f.ctx, QStringLiteral("/some/folder"));
    ASSERT_EQ(f.view.dialogs.size(), 1u);
    EXPECT_EQ(f.view.dialogs[0].initialDir, QStringLiteral("/some/folder"));
}

// A large file lets window events run while it loads: a click meanwhile must find the guard
// held, and the guard must be free again afterwards.
TEST(HexOpen, TheLoadRunsUnderTheOperationGuard) {
    OpenFixture f;
    const QString path = writeFile(f.dir, QStringLiteral("a.hex"), ":00000001FF\n");
    bool guardedDuringLoad = false;
    f.ctx.services.loadHexFile = [&](Session& s, OperatorUi&, const QString&,
                                     const std::function<void()>& beforeLoading) {
        beforeLoading();
        guardedDuringLoad = operationRunning(s);
        s.run.HexLoadResult = QStringLiteral("OK");
    };
    f.view.fileAnswers = {path};
    OpenHexFile(f.ctx);
    EXPECT_TRUE(guardedDuringLoad);
    EXPECT_FALSE(operationRunning(f.s));

    // Under a guard already held (the assembler's reload) the load runs and leaves it held.
    guardedDuringLoad = false;
    {
        const OperationScope outer(f.s, f.ui);
        f.s.app.ReopenWithoutDialog = true;
        OpenHexFile(f.ctx);
        f.s.app.ReopenWithoutDialog = false;
        EXPECT_TRUE(guardedDuringLoad);
        EXPECT_TRUE(operationRunning(f.s));
    }
    EXPECT_FALSE(operationRunning(f.s));
}

// A file larger than any HEX file is refused before the buffer is erased for it.
TEST(HexOpen, AFileTooLargeForHexIsRefusedAndTheBufferKept) {
    OpenFixture f;
    const QString path = writeFile(f.dir, QStringLiteral("big.hex"), QByteArray());
    QFile big(path);
    ASSERT_TRUE(big.resize(hex::kMaxFileBytes + 1)); // sparse: nothing is written
    const QString refused = QStringLiteral(
        "ファイルをロードできませんでした。 ＨＥＸファイルとしては大きすぎます（64MBまで）。");
    f.view.caption = QStringLiteral("before");
    f.s.buffer.ProgramImage[0] = 0x12;

    f.view.fileAnswers = {path};
    OpenHexFile(f.ctx);
    EXPECT_TRUE(f.loaded.isEmpty());
    EXPECT_EQ(f.ui.statusText, refused);
    EXPECT_EQ(f.s.run.HexLoadResult, QStringLiteral("NG"));
    EXPECT_EQ(f.s.buffer.ProgramImage[0], 0x12);
    EXPECT_EQ(f.view.caption, QStringLiteral("before"));

    f.ui.statusText.clear();
    f.s.app.CommandLine = path;
    DirectOpenHexFile(f.ctx, QString());
    EXPECT_TRUE(f.loaded.isEmpty());
    EXPECT_EQ(f.ui.statusText, refused);
    EXPECT_EQ(f.s.buffer.ProgramImage[0], 0x12);
}

TEST(HexSave, OverwriteQuestionAndItsCancel) {
    OpenFixture f;
    const QString existing = writeFile(f.dir, "out.hex", "old");
    f.s.app.HexFilePath = QStringLiteral("/loaded/from.hex");
    f.view.fileAnswers = {existing};
    f.ui.answers = {MessageAnswer::Cancel};
    SaveHexFile(f.ctx);
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].title, QStringLiteral("上書き保存"));
    EXPECT_EQ(f.ui.messages[0].text, QStringLiteral("ファイルが存在します。上書きしますか？"));
    EXPECT_EQ(f.ui.messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_TRUE(f.saved.isEmpty());
    EXPECT_EQ(f.ui.statusText, QStringLiteral("ファイル保存をキャンセルしました。  "));
    EXPECT_EQ(f.s.app.HexFilePath, QStringLiteral("/loaded/from.hex"));

    f.view.fileAnswers = {existing};
    f.ui.answers = {MessageAnswer::Ok};
    SaveHexFile(f.ctx);
    EXPECT_EQ(f.saved, QStringList{QStringLiteral("14:") + existing});
    EXPECT_EQ(f.s.app.HexFilePath, existing);
    EXPECT_EQ(f.ui.statusText, QStringLiteral("ファイル保存完了。 ") + existing + " ");
    EXPECT_EQ(f.settings.value("SAVE_DIR", ""), f.dir.path());
    EXPECT_EQ(f.view.dialogs.back().fileName, existing); // offered again next time
}

TEST(HexSave, FamilyWriterAndAFailedWrite) {
    OpenFixture f;
    SelectDevice(f.ctx, QStringLiteral("PIC18F452"), f.indexOf("PIC18F452"));
    const QString target = f.dir.filePath("new.hex");
    f.view.fileAnswers = {target};
    SaveHexFile(f.ctx);
    EXPECT_TRUE(f.ui.messages.empty()); // no question for a new file
    EXPECT_EQ(f.saved, QStringList{QStringLiteral("18:") + target});

    f.saveSucceeds = false;
    f.s.app.HexFilePath = QStringLiteral("/before.hex");
    f.view.caption = QStringLiteral("the title before");
    f.settings.setValue("SAVE_DIR", "/kept");
    f.ui.statusText.clear();
    f.view.fileAnswers = {f.dir.filePath("other.hex")};
    SaveHexFile(f.ctx);
    EXPECT_FALSE(f.ui.statusText.startsWith(QStringLiteral("ファイル保存完了")));
    EXPECT_EQ(f.s.app.HexFilePath, QStringLiteral("/before.hex"));
    EXPECT_EQ(f.view.caption, QStringLiteral("the title before"));
    EXPECT_EQ(f.settings.value("SAVE_DIR", ""), QStringLiteral("/kept"));
}

// A file whose last load passed over lines, however its path is written, is saved over only after
// a question that names the loss and answers "no" to Enter; once it holds the whole buffer again
// (a save into it, or a load that read every line) the usual question is back.
TEST(HexSave, AFileLoadedInPartIsAskedAbout) {
    OpenFixture f;
    const QString path = writeFile(f.dir, "sub/partly.hex", ":00000001FF\n");
    const QString sameFile = f.dir.filePath("sub/../sub/partly.hex");
    const QString skipped = QStringLiteral("ＨＥＸデータでない2行（3、4行目）");
    f.loadSkips = skipped;
    f.view.fileAnswers = {path};
    OpenHexFile(f.ctx);
    ASSERT_EQ(f.ui.messages.size(), 1u);
    EXPECT_EQ(f.ui.messages[0].title, QStringLiteral("ファイルロード"));
    EXPECT_TRUE(f.ui.messages[0].text.contains(skipped));

    const auto saveOver = [&](MessageAnswer answer) {
        f.ui.messages.clear();
        f.ui.answers = {answer};
        f.view.fileAnswers = {sameFile};
        SaveHexFile(f.ctx);
        return f.ui.messages.size() == 1 ? f.ui.messages[0] : test::RecordedMessage{};
    };
    const auto asked = saveOver(MessageAnswer::No);
    EXPECT_EQ(asked.buttons, MessageButtons::YesNo);
    EXPECT_EQ(asked.defaultButton, MessageDefault::Second);
    EXPECT_TRUE(asked.text.contains(skipped) && asked.text.contains(QStringLiteral("失われます")));
    EXPECT_TRUE(f.saved.isEmpty());
    EXPECT_EQ(saveOver(MessageAnswer::Yes).defaultButton, MessageDefault::Second);
    EXPECT_EQ(f.saved.size(), 1);
    EXPECT_EQ(saveOver(MessageAnswer::Cancel).text,
              QStringLiteral("ファイルが存在します。上書きしますか？"));

    // Loaded in part again, then whole.
    f.view.fileAnswers = {path};
    OpenHexFile(f.ctx);
    EXPECT_EQ(saveOver(MessageAnswer::No).buttons, MessageButtons::YesNo);
    f.loadSkips.clear();
    f.ui.messages.clear();
    f.view.fileAnswers = {path};
    OpenHexFile(f.ctx);
    EXPECT_TRUE(f.ui.messages.empty());
    EXPECT_EQ(saveOver(MessageAnswer::Cancel).buttons, MessageButtons::OkCancel);
}

TEST(BufferFill, ErasedAndZeroFillsPerFamily) {
    struct Case {
        const char* device;
        BufferFill fill;
        const char* id;
        std::int32_t word1;
        std::uint8_t id18;
    } cases[] = {
        {"PIC16F84A", BufferFill::Erased, "FFFF", 0x3FFF, 0},
        {"PIC16F84A", BufferFill::Zero, "0000", 0x0000, 0},
        {"PIC18F452", BufferFill::Erased, "FFFFFFFF", 0x2700, 0x0F},
        {"PIC18F452", BufferFill::Zero, "00000000", 0x0000, 0x00},
    };
    for (const Case& c : cases) {
        LogicFixture f;
        SelectDevice(f.ctx, QString::fromLatin1(c.device), 0);
        f.view.configTab = 3;
        f.s.buffer.Id18Image.fill(7);
        FillPcBuffer(f.ctx, c.fill);
        SCOPED_TRACE(std::string(c.device) + (c.fill == BufferFill::Zero ? " zero" : " erased"));
        EXPECT_EQ(f.ui.texts.at(Control::Text_ID), QString::fromLatin1(c.id));
        EXPECT_EQ(f.s.buffer.IdText, QString::fromLatin1(c.id));
        EXPECT_EQ(f.s.device.ConfigValue[1], c.word1);
        EXPECT_EQ(f.view.configTab, 0);
        if (QString::fromLatin1(c.device).startsWith("PIC18")) {
            EXPECT_EQ(f.s.buffer.Id18Image[0], c.id18);
        }
        EXPECT_EQ(f.s.buffer.EepromImage[1], c.fill == BufferFill::Erased ? 0xFF : 0x00);
    }
}

TEST(BufferFill, APartWithoutEepromLeavesTheEepromImageAlone) {
    LogicFixture f;
    SelectDevice(f.ctx, QStringLiteral("PIC12C508A"), 0);
    f.s.buffer.EepromImage[1] = 0x55;
    f.ui.refreshedViews = 0;
    FillPcBuffer(f.ctx, BufferFill::Zero);
    EXPECT_EQ(f.s.buffer.EepromImage[1], 0x55);
    EXPECT_FALSE(f.ui.refreshedViews & ViewEeprom);
    EXPECT_EQ(f.s.buffer.ProgramImage[0], 0x00);
}

} // namespace
