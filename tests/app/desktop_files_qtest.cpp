// Files the main window hands to the desktop for the person, with the real windows offscreen and
// a desktop that opens nothing: the help, the assembly-check document, the log files, the editor
// command and the listing of a failed build each end in one box naming the file and what to do.
#include "core/session.h"
#include "support/app_bench.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <vector>

using namespace tavrin;

namespace {

QString notOpened(const QString& path) {
    return QStringLiteral("ﾌｧｲﾙ 開く失敗|　%1を開くことができませんでした。　　　\n"
                          "この種類のファイルを開くアプリケーションを設定してから、もう一度実行し"
                          "てください。")
        .arg(path);
}

void put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

struct Bench : test::AppBench {
    Bench() {
        // A failed build leaves its listing beside the source.
        seedSettings([](SettingsStore& seed) {
            seed.setValue(QStringLiteral("AsmAfter"), QStringLiteral("lst"));
            seed.setValue(QStringLiteral("AsmOption"), QStringLiteral("-q"));
        });
        frmMain& w = open();
        w.setDocumentOpener([this](const QString& path) {
            handed << path;
            return false;
        });
        w.setFileDialogAnswer([this](const FileDialogRequest&, bool) { return fileAnswer; });
        showWithParts();
        select("PIC16F877A");
    }

    QStringList handed;
    QString fileAnswer;
};

struct Case {
    const char* what;
    const char* item;
    // A tool the case needs on this machine ("": none); without it the case is skipped.
    const char* tool;
    // Prepares the bench; returns the file the box must name.
    std::function<QString(Bench&)> prepare;
};

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"help", "mnuHelpContents", "",
         [](Bench&) { return QStringLiteral(TAVRIN_SOURCE_DIR "/data/tavrin-help.html"); }},
        {"assembly-check document", "mnuBoardAmend", "",
         [](Bench& b) {
             const QString pdf = b.dir.filePath(QStringLiteral("製作確認資料.pdf"));
             put(pdf, "%PDF");
             b.app->window().setDocumentFolders({b.dir.path()});
             return pdf;
         }},
        // Every log file is of the same kind: the first one says it for all.
        {"log files", "mnuLogFileOpen", "",
         [](Bench& b) {
             for (const char* name : {"LOG_OLD2.txt", "LOG_OLD1.txt", "LOG_NEW0.txt"})
                 put(QDir(b.paths.dataDir).filePath(QLatin1String(name)), "log\r\n");
             return QDir(b.paths.dataDir).filePath(QStringLiteral("LOG_OLD2.txt"));
         }},
        {"editor command", "mnuEditer", "",
         [](Bench& b) {
             b.fileAnswer = b.dir.filePath(QStringLiteral("source.asm"));
             put(b.fileAnswer, "\tend\n");
             return b.fileAnswer;
         }},
        {"listing of a failed build", "mnuASMwithRELOAD", "gpasm",
         [](Bench& b) {
             b.app->session().app.AsmToolPath =
                 QStandardPaths::findExecutable(QStringLiteral("gpasm"));
             b.fileAnswer = b.dir.filePath(QStringLiteral("broken.asm"));
             QFile::copy(QStringLiteral(TAVRIN_SOURCE_DIR "/tests/operations/data/broken877a.asm"),
                         b.fileAnswer);
             return b.dir.filePath(QStringLiteral("broken.lst"));
         }},
    };
    return all;
}

} // namespace

class DesktopFiles : public QObject {
    Q_OBJECT
  private slots:
    void aFileNothingOpensIsSaidOnce_data();
    void aFileNothingOpensIsSaidOnce();
};

void DesktopFiles::aFileNothingOpensIsSaidOnce_data() {
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < cases().size(); ++i)
        QTest::newRow(cases()[i].what) << int(i);
}

void DesktopFiles::aFileNothingOpensIsSaidOnce() {
    QFETCH(int, index);
    const Case& c = cases()[std::size_t(index)];
    if (*c.tool && QStandardPaths::findExecutable(QString::fromLatin1(c.tool)).isEmpty())
        QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QLatin1String(c.tool))));
    Bench bench;
    const QString file = c.prepare(bench);
    bench.trigger(c.item);
    QCOMPARE(bench.handed, QStringList{file});
    QCOMPARE(bench.boxes, QStringList{notOpened(file)});
}

QTEST_MAIN(DesktopFiles)
#include "desktop_files_qtest.moc"
