// Settings that cannot be put on disk, with the real windows offscreen: the old settings file
// stays as it was, so a part chosen or a folder opened would be missing at the next start; the
// person is told when it happens, once for each action.
#include "support/app_bench.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace tavrin;

namespace {

const QString kNotKept =
    QStringLiteral("設定ファイル|設定を保存できませんでした。前回の設定が残ります。");

struct Bench : test::AppBench {
    Bench() {
        QDir().mkpath(settingsFolder());
        open({.settingsFile = settingsFile()})
            .setFileDialogAnswer([this](const FileDialogRequest&, bool) { return hexFile; });
        showWithParts();
    }
    QString settingsFolder() const { return dir.filePath(QStringLiteral("settings")); }
    QString settingsFile() const { return settingsFolder() + QStringLiteral("/settings.ini"); }
    QString saved(const char* key) const {
        return QSettings(settingsFile(), QSettings::IniFormat)
            .value(QStringLiteral("Settings6/") + QLatin1String(key))
            .toString();
    }
    // Nothing can be written where the settings are kept any more.
    void loseTheSettingsFolder() {
        QVERIFY(QDir(settingsFolder()).removeRecursively());
        QFile blocker(settingsFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }

    QString hexFile;
};

} // namespace

class SettingsNotKept : public QObject {
    Q_OBJECT
  private slots:
    void aChangeThatIsNotKeptIsSaidOnce();
    void theEndOfTheProgramSaysItOnce();
};

void SettingsNotKept::aChangeThatIsNotKeptIsSaidOnce() {
    Bench bench;
    bench.select("PIC16F84A");
    QCoreApplication::processEvents();
    QCOMPARE(bench.saved("deviceNewName"), QStringLiteral("PIC16F84A"));
    QVERIFY(bench.boxes.isEmpty());

    QTemporaryDir hexFolder;
    bench.hexFile = hexFolder.filePath(QStringLiteral("one_word.hex"));
    QFile hex(bench.hexFile);
    QVERIFY(hex.open(QIODevice::WriteOnly));
    hex.write(":020000000000FE\r\n:00000001FF\r\n");
    hex.close();

    bench.loseTheSettingsFolder();
    const std::pair<const char*, std::function<void()>> actions[] = {
        {"a part chosen", [&] { bench.select("PIC16F877A"); }},
        // The folder and the folder history: many keys, one notice.
        {"a file opened from a folder",
         [&] {
             bench.app->window().findChild<QAction*>(QStringLiteral("mnuFileOpen"))->trigger();
         }},
    };
    for (const auto& [what, act] : actions) {
        bench.boxes.clear();
        act();
        QCoreApplication::processEvents();
        QVERIFY2(bench.boxes == QStringList{kNotKept},
                 qPrintable(QLatin1String(what) + QStringLiteral(": ") +
                            bench.boxes.join(QStringLiteral(" / "))));
    }
    QCOMPARE(bench.app->session().app.HexFilePath, bench.hexFile);
}

// ファイル → 終了: the window saves its place as it closes, which cannot be kept either; the end of
// the program says so once, for everything, and nothing is said while the window closes (a box
// then would be the only window left, holding the program up).
void SettingsNotKept::theEndOfTheProgramSaysItOnce() {
    Bench bench;
    bench.select("PIC16F84A");
    QCoreApplication::processEvents();
    bench.loseTheSettingsFolder();
    bench.boxes.clear();
    bench.trigger("exit");
    QCoreApplication::processEvents();
    QVERIFY(!bench.window().isVisible());
    QVERIFY2(bench.boxes.isEmpty(), qPrintable(bench.boxes.join(QStringLiteral(" / "))));
    bench.app->shutdown();
    QCOMPARE(bench.boxes, QStringList{kNotKept});
}

QTEST_MAIN(SettingsNotKept)
#include "settings_not_kept_qtest.moc"
