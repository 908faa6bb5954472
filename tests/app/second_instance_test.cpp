// The executable started twice by the same user: the second start ends at once without touching
// anything; once the first is gone, the next start takes over its lock.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class SecondInstanceTest : public QObject {
    Q_OBJECT
  private slots:
    void secondStartEndsAtOnce();
};

namespace {
qint64 lockHolder(const QString& lockFile) {
    QFile f(lockFile);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    return f.readLine().trimmed().toLongLong();
}

void startProgram(QProcess& p, const QProcessEnvironment& env) {
    p.setProcessEnvironment(env);
    p.setProgram(QStringLiteral(TAVRIN_WRITER_BIN));
    p.start();
}
} // namespace

void SecondInstanceTest::secondStartEndsAtOnce() {
    QTemporaryDir dir;
    const QString runtime = dir.filePath(QStringLiteral("run"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("HOME"), dir.filePath(QStringLiteral("home")));
    env.remove(QStringLiteral("TAVRIN_DEFAULT_PORT"));
    const QString lockFile = runtime + QStringLiteral("/tavrin-writer.lock");
    // Where a start-up would rotate the log.
    const QString logDir = dir.filePath(QStringLiteral("data/Tavrin Writer v4/Tavrin Writer v4"));
    QDir().mkpath(logDir);

    // The first start waits in the port choice: nothing is saved and no board is offered.
    QProcess first;
    startProgram(first, env);
    QVERIFY(first.waitForStarted(10000));
    QTRY_COMPARE_WITH_TIMEOUT(lockHolder(lockFile), first.processId(), 10000);
    {
        QFile log(logDir + QStringLiteral("/LOG_NEW0.txt"));
        QVERIFY(log.open(QIODevice::WriteOnly));
        log.write("OKOKOK  PIC16F84A\r\n");
    }

    QProcess second;
    startProgram(second, env);
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    QCOMPARE(lockHolder(lockFile), first.processId());
    QVERIFY(QFile::exists(logDir + QStringLiteral("/LOG_NEW0.txt")));
    QVERIFY(!QFile::exists(logDir + QStringLiteral("/LOG_OLD1.txt")));

    first.kill();
    QVERIFY(first.waitForFinished(10000));
    QProcess third;
    startProgram(third, env);
    QVERIFY(third.waitForStarted(10000));
    QTRY_COMPARE_WITH_TIMEOUT(lockHolder(lockFile), third.processId(), 10000);
    third.kill();
    QVERIFY(third.waitForFinished(10000));
}

QTEST_GUILESS_MAIN(SecondInstanceTest)
#include "second_instance_test.moc"
