// The assembler menu through the whole program: a fresh home assembles with the defaults the
// settings window shows, the settings window offers the assembler found on the PATH, a PIC16F877A
// source in a folder and file named with a blank and ";$()" is assembled by gpasm, reloaded and
// programmed into the emulated chip on a pty; a source with an error keeps the HEX file and hands
// the listing to the opener; a slow build is waited for and can be cancelled from its wait
// window; an upper-case project in Japanese-named folders, built by a tool whose path holds
// quotes, ends in the chip.
#include "hex_oracle.h"

#include "emusupport/emulator_process.h"
#include "support/app_bench.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

using namespace tavrin;
using namespace tavrin::test;

namespace {

const QString kRegenerated = QStringLiteral("ＨＥＸファイルの再生成と再ロード完了。 ");

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void copyFile(const QString& from, const QString& to) {
    QFile::remove(to);
    QVERIFY(QFile::copy(from, to));
    QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::WriteOwner);
}

// Calls action with the named top-level window once it is shown, polling from the event loop
// the command under test is running.
void whenShown(const QString& name, std::function<void(QWidget*)> action) {
    auto* poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [poll, name, action] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == name && w->isVisible()) {
                poll->stop();
                poll->deleteLater();
                action(w);
                return;
            }
    });
    poll->start();
}

using Saved = std::map<QString, QString>;

// The program on the emulated board, with a PIC16F877A in the socket and chosen in the list.
class Bench : public AppBench {
  public:
    explicit Bench(const Saved& saved = {}) {
        folder = dir.filePath(QStringLiteral("a b;$()"));
        QDir().mkpath(folder);
        source = folder + QStringLiteral("/p g;$().asm");
        hex = folder + QStringLiteral("/p g;$().hex");
        dump = EmulatorProcess::uniquePath("tavrin-asm-dump") + ".hex";
        board = std::make_unique<EmulatorProcess>(
            std::vector<std::string>{"--part", "PIC16F877A", "--baud", "0", "--link",
                                     EmulatorProcess::uniquePath("tavrin-board"), "--dump", dump});
        std::string error;
        started = board->start(&error);
        if (!started) qWarning("emulator: %s", error.c_str());

        seedSettings([&saved](SettingsStore& settings) {
            for (const auto& [key, value] : saved)
                settings.setValue(key, value);
        });
        frmMain& w =
            open({.port = QString::fromStdString(board->portPath()), .boxSeparator = u':'});
        w.setFileDialogAnswer([this](const FileDialogRequest& r, bool) {
            dialogs << r.title;
            return fileAnswer;
        });
        w.setEditorOpener([this](const QString& path, bool plainText) {
            opened << (plainText ? QStringLiteral("text:") : QStringLiteral("associated:")) + path;
        });
        ready = app->start() == StartupOutcome::Ready;
        auto* list = w.findChild<QComboBox*>(QStringLiteral("Combo_device"));
        list->setCurrentIndex(list->findText(QStringLiteral("PIC16F877A")));
        w.Combo_device_Click();
    }
    ~Bench() {
        app.reset();
        if (board->running()) board->stop();
        QFile::remove(QString::fromStdString(dump));
    }

    QString status() const {
        return app->window().findChild<QLabel*>(QStringLiteral("LabelCmt"))->text();
    }
    // Ends the program and the board; the chip's memories as the board dumped them.
    QString chipDump() {
        app->shutdown();
        app.reset();
        board->stop();
        return QString::fromStdString(dump);
    }

    QString folder, source, hex;
    std::string dump;
    std::unique_ptr<EmulatorProcess> board;
    bool started = false;
    bool ready = false;
    QString fileAnswer;
    QStringList dialogs, opened;
};

// A stand-in for a build that takes its time before the real assembler runs.
QString slowAssembler(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("slow-asm"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return QString();
    f.write("#!/bin/sh\nsleep 15\nexec gpasm \"$@\"\n");
    f.close();
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    return path;
}

} // namespace

class AssemblerWindow : public QObject {
    Q_OBJECT
  private slots:
    void aFreshHomeAssemblesWithWhatTheSettingsWindowShows();
    void assemblesReloadsAndProgramsTheChip();
    void aMissingToolNamesTheMenuThatSetsIt();
    void aSourceWithAnErrorKeepsTheHexAndOpensTheListing();
    void aSlowBuildIsWaitedFor();
    void cancellingASlowBuildKeepsTheOldHex();
    void anUpperCaseProjectInJapaneseFoldersEndsInTheChip();
};

// A fresh home: nothing saved and the settings window never opened. The first run uses the
// assembler, options and error file the settings window shows, and stores nothing.
void AssemblerWindow::aFreshHomeAssemblesWithWhatTheSettingsWindowShows() {
    const QString gpasm = QStandardPaths::findExecutable(QStringLiteral("gpasm"));
    if (gpasm.isEmpty()) QSKIP("gpasm is not installed");
    Bench bench;
    QVERIFY(bench.started && bench.ready);

    copyFile(testDataPath(QStringLiteral("counter877a.asm")), bench.source);
    bench.fileAnswer = bench.source;
    bench.trigger("mnuASMwithRELOAD");
    QVERIFY2(bench.boxes.isEmpty(), qPrintable(bench.boxes.join(QLatin1Char('\n'))));
    QCOMPARE(bench.status(), kRegenerated);
    QVERIFY(bench.app->session().app.AssembleSucceeded);

    // A failed build opens the listing, the error file the window shows.
    copyFile(testDataPath(QStringLiteral("broken877a.asm")), bench.source);
    bench.trigger("mnuASMwithRELOAD");
    QCOMPARE(bench.status(), QStringLiteral("アセンブルエラーを検出しました。 "));
    QCOMPARE(bench.opened,
             QStringList{QStringLiteral("text:") + bench.folder + QStringLiteral("/p g;$().lst")});

    QStringList shown;
    whenShown(QStringLiteral("frmMPASMWIN"), [&](QWidget* w) {
        for (const char* field : {"txtAsmPath", "txtAsmOption", "Text_After_File"})
            shown << w->findChild<QLineEdit*>(QLatin1String(field))->text();
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("CancelButton")),
                          Qt::LeftButton);
    });
    bench.trigger("mnuMPASMsetting");
    QCOMPARE(shown, (QStringList{gpasm, QStringLiteral("-q"), QStringLiteral("lst")}));
    QCOMPARE(bench.app->session().app.AsmToolPath, gpasm);
    bench.app->shutdown();
    bench.app.reset();
    const QString stored = QString::fromUtf8(readFile(bench.defaultSettingsFile()));
    QVERIFY2(!stored.contains(QLatin1String("Asm")), qPrintable(stored));
}

void AssemblerWindow::assemblesReloadsAndProgramsTheChip() {
    const QString gpasm = QStandardPaths::findExecutable(QStringLiteral("gpasm"));
    if (gpasm.isEmpty()) QSKIP("gpasm is not installed");
    Bench bench;
    QVERIFY(bench.started && bench.ready);

    // Nothing saved: the settings window offers gpasm; closing it keeps the offer.
    QString offered;
    whenShown(QStringLiteral("frmMPASMWIN"), [&](QWidget* w) {
        offered = w->findChild<QLineEdit*>(QStringLiteral("txtAsmPath"))->text();
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
    });
    bench.trigger("mnuMPASMsetting");
    QCOMPARE(offered, gpasm);
    QCOMPARE(bench.app->session().app.AsmToolPath, gpasm);

    copyFile(testDataPath(QStringLiteral("counter877a.asm")), bench.source);
    bench.fileAnswer = bench.source;
    bench.trigger("mnuAsmReloadProgram");

    QCOMPARE(bench.app->session().app.HexFilePath, bench.hex);
    QVERIFY(bench.app->session().app.AssembleSucceeded);
    QVERIFY2(bench.status().startsWith(QStringLiteral("プログラミング成功。")),
             qPrintable(bench.status()));
    QVERIFY2(bench.boxes.isEmpty(), qPrintable(bench.boxes.join(QLatin1Char('\n'))));
    QCOMPARE(bench.dialogs.size(), 1);
    QVERIFY(bench.app->window().windowTitle().endsWith(bench.hex));
    QVERIFY(QFileInfo::exists(bench.hex));
    QCOMPARE(QDir(bench.folder).entryList({QStringLiteral("*previous*")}, QDir::Files).size(), 0);

    // Every byte gpasm wrote is in the chip: program words in both pages, the configuration word
    // and the EEPROM. The ID words carry their low four bits, as the program writes them.
    const QString dump = bench.chipDump();
    const QString difference = srecCompareWithin(bench.hex, dump, {{0x4000, 0x4008}});
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    const auto ids = hexWordsBySrecCat(bench.hex, 0x2000, 4);
    const auto chipIds = hexWordsBySrecCat(dump, 0x2000, 4);
    QCOMPARE(ids, (std::vector<std::uint16_t>{4, 3, 2, 1}));
    QCOMPARE(chipIds.size(), ids.size());
    for (std::size_t k = 0; k < ids.size(); ++k)
        QCOMPARE(chipIds[k] & 0x000F, ids[k]);
}

// A tool that is gone: the box sends the person to the menu entry that is there.
void AssemblerWindow::aMissingToolNamesTheMenuThatSetsIt() {
    Bench bench(Saved{{QStringLiteral("AsmFilePathWithFileName"), QStringLiteral("/no/such/asm")}});
    QVERIFY(bench.started && bench.ready);
    copyFile(testDataPath(QStringLiteral("counter877a.asm")), bench.source);
    bench.fileAnswer = bench.source;
    bench.trigger("mnuASMwithRELOAD");
    QCOMPARE(bench.boxes.size(), 1);
    // As the menu bar shows the entries, without their keys.
    const QRegularExpression key(QStringLiteral("\\(&.\\)$"));
    frmMain& w = bench.app->window();
    const QString menu = w.findChild<QMenu*>(QStringLiteral("mnuAsmC"))->title().remove(key);
    const QString entry =
        w.findChild<QAction*>(QStringLiteral("mnuMPASMsetting"))->text().remove(key);
    const QString path = QStringLiteral("【%1】‥【%2】").arg(menu, entry);
    QVERIFY2(bench.boxes[0].contains(path), qPrintable(bench.boxes[0] + QLatin1Char('\n') + path));
}

void AssemblerWindow::aSourceWithAnErrorKeepsTheHexAndOpensTheListing() {
    const QString gpasm = QStandardPaths::findExecutable(QStringLiteral("gpasm"));
    QVERIFY2(!gpasm.isEmpty(), "gpasm is not installed");
    Bench bench(Saved{{QStringLiteral("AsmFilePathWithFileName"), gpasm},
                      {QStringLiteral("AsmOption"), QStringLiteral("-q")},
                      {QStringLiteral("AsmAfter"), QStringLiteral("lst")}});
    QVERIFY(bench.started && bench.ready);
    copyFile(testDataPath(QStringLiteral("counter877a.asm")), bench.source);
    bench.fileAnswer = bench.source;
    bench.trigger("mnuASMwithRELOAD");
    QCOMPARE(bench.status(), kRegenerated);
    const QByteArray good = readFile(bench.hex);
    QVERIFY(good.startsWith(':'));
    QVERIFY(bench.opened.isEmpty());

    copyFile(testDataPath(QStringLiteral("broken877a.asm")), bench.source);
    bench.trigger("mnuASMwithRELOAD");
    QCOMPARE(bench.status(), QStringLiteral("アセンブルエラーを検出しました。 "));
    QCOMPARE(readFile(bench.hex), good);
    QCOMPARE(bench.opened,
             QStringList{QStringLiteral("text:") + bench.folder + QStringLiteral("/p g;$().lst")});
    QVERIFY(readFile(bench.folder + QStringLiteral("/p g;$().lst")).contains("Error"));
    QVERIFY(!bench.app->session().app.AssembleSucceeded);
    QCOMPARE(bench.dialogs.size(), 1); // the HEX file was known the second time
    // The buffer is erased: no program word survives the failed run.
    const auto& image = bench.app->session().buffer.ProgramImage;
    QCOMPARE(image[0] * 256 + image[1], 0x3FFF);
    QCOMPARE(QDir(bench.folder).entryList({QStringLiteral("*previous*")}, QDir::Files).size(), 0);
}

void AssemblerWindow::aSlowBuildIsWaitedFor() {
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("gpasm")).isEmpty(),
             "gpasm is not installed");
    QTemporaryDir tools;
    Bench bench(Saved{{QStringLiteral("AsmFilePathWithFileName"), slowAssembler(tools)}});
    QVERIFY(bench.started && bench.ready);
    copyFile(testDataPath(QStringLiteral("counter877a.asm")), bench.source);
    bench.fileAnswer = bench.source;
    bool waitShown = false;
    whenShown(QStringLiteral("frmToolWait"), [&](QWidget* w) {
        waitShown = true;
        // Everything else waits meanwhile: the window takes no input and a command is refused.
        QCOMPARE(w->windowModality(), Qt::WindowModal);
        bench.app->window().mnuRELOAD_Click();
        QVERIFY(bench.status().startsWith(QStringLiteral("<<注意>>ライターの操作中です。")));
    });
    bench.trigger("mnuASMwithRELOAD");
    QVERIFY(waitShown);
    QCOMPARE(bench.status(), kRegenerated);
    QVERIFY(bench.app->session().app.AssembleSucceeded);
    QVERIFY(QFileInfo::exists(bench.hex));
    QVERIFY(!bench.app->window().findChild<QWidget*>(QStringLiteral("frmToolWait")));
}

void AssemblerWindow::cancellingASlowBuildKeepsTheOldHex() {
    QTemporaryDir tools;
    Bench bench(Saved{{QStringLiteral("AsmFilePathWithFileName"), slowAssembler(tools)}});
    QVERIFY(bench.started && bench.ready);
    copyFile(testDataPath(QStringLiteral("counter877a.asm")), bench.source);
    copyFile(testDataPath(QStringLiteral("counter84a.hex")), bench.hex);
    const QByteArray old = readFile(bench.hex);
    bench.app->session().app.HexFilePath = bench.hex;
    whenShown(QStringLiteral("frmToolWait"), [](QWidget* w) {
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("CancelButton")),
                          Qt::LeftButton);
    });
    bench.trigger("mnuAsmReloadProgram");
    QVERIFY2(
        bench.status().startsWith(QStringLiteral("<<注意>>ＨＥＸファイルの生成を中止しました。")),
        qPrintable(bench.status()));
    QCOMPARE(readFile(bench.hex), old);
    QVERIFY(!bench.app->session().app.AssembleSucceeded);
    QCOMPARE(bench.app->session().run.AttemptCount, 0); // nothing was programmed
    QCOMPARE(QDir(bench.folder).entryList(QDir::Files),
             (QStringList{QStringLiteral("p g;$().asm"), QStringLiteral("p g;$().hex")}));
}

// A project made where names ignore case: PROG.ASM beside an older PROG.HEX of another program,
// in a folder named in Japanese with a blank, assembled by a tool whose path holds Japanese, a
// blank and quotes. gpasm writes PROG.hex; that is the result, and the chip ends holding it.
void AssemblerWindow::anUpperCaseProjectInJapaneseFoldersEndsInTheChip() {
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("gpasm")).isEmpty(),
             "gpasm is not installed");
    QTemporaryDir tools;
    const QString toolDir = tools.filePath(QStringLiteral("日本 語 \"q\""));
    QDir().mkpath(toolDir);
    const QString wrapper = toolDir + QStringLiteral("/ｱｾﾝﾌﾞﾗ x");
    {
        QFile f(wrapper);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nexec gpasm \"$@\"\n");
    }
    QFile::setPermissions(wrapper, QFile::permissions(wrapper) | QFileDevice::ExeOwner);
    Bench bench(Saved{{QStringLiteral("AsmFilePathWithFileName"), wrapper},
                      {QStringLiteral("AsmOption"), QStringLiteral("-q -D \"NOTE=a b\"")}});
    QVERIFY(bench.started && bench.ready);
    const QString folder = bench.dir.filePath(QStringLiteral("ソース フォルダ"));
    QDir().mkpath(folder);
    const QString hex = folder + QStringLiteral("/カウンタ PROG.HEX");
    copyFile(testDataPath(QStringLiteral("counter84a.hex")), hex);
    {
        QFile old(hex);
        QVERIFY(old.open(QIODevice::ReadWrite));
        QVERIFY(old.setFileTime(QDateTime::currentDateTime().addSecs(-7200),
                                QFileDevice::FileModificationTime));
    }
    copyFile(testDataPath(QStringLiteral("counter877a.asm")),
             folder + QStringLiteral("/カウンタ PROG.ASM"));
    bench.app->session().app.HexFilePath = hex;

    bench.trigger("mnuAsmReloadProgram");

    QVERIFY(bench.app->session().app.AssembleSucceeded);
    QVERIFY2(bench.status().startsWith(QStringLiteral("プログラミング成功。")),
             qPrintable(bench.status()));
    QVERIFY2(bench.boxes.isEmpty(), qPrintable(bench.boxes.join(QLatin1Char('\n'))));
    QCOMPARE(bench.app->session().app.HexFilePath, hex);
    QCOMPARE(QDir(folder).entryList(
                 {QStringLiteral("*.HEX"), QStringLiteral("*.hex"), QStringLiteral("*previous*")},
                 QDir::Files),
             QStringList{QStringLiteral("カウンタ PROG.HEX")});
    const QString dump = bench.chipDump();
    const QString difference = srecCompareWithin(hex, dump, {{0x4000, 0x4008}});
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

QTEST_MAIN(AssemblerWindow)
#include "assembler_window_qtest.moc"
