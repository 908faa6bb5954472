// The executable started twice by the same user: the second start says that a copy runs and
// touches nothing; once the first is gone, the next start takes over its lock. Another user's
// copy holding the lock name all users once shared does not stop this user's start.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <pwd.h>
#include <unistd.h>

class SecondInstanceTest : public QObject {
    Q_OBJECT
  private slots:
    void secondStartSaysSoAndTouchesNothing();
    void anotherUsersCopyDoesNotStopThisUser();
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

// A user of its own: settings, data and home under `root`, the runtime folder given.
QProcessEnvironment userEnvironment(const QString& root, const QString& runtime) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/data"));
    env.insert(QStringLiteral("HOME"), root + QStringLiteral("/home"));
    env.remove(QStringLiteral("TAVRIN_DEFAULT_PORT"));
    return env;
}

QString privateFolder(const QString& path) {
    QDir().mkpath(path);
    QFile::setPermissions(path,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

// The notice of a start that ends because a copy runs: on the error output, while its message
// box waits for the person.
bool toldAnotherCopyRuns(QProcess& p) {
    QByteArray said;
    for (int waited = 0; waited < 20000; waited += 100) {
        p.waitForReadyRead(100);
        said += p.readAllStandardError();
        if (QString::fromLocal8Bit(said).contains(QStringLiteral("はすでに起動しています")))
            return p.state() == QProcess::Running;
        if (p.state() != QProcess::Running) return false;
    }
    return false;
}

void end(QProcess& p) {
    p.kill();
    p.waitForFinished(10000);
}
} // namespace

void SecondInstanceTest::secondStartSaysSoAndTouchesNothing() {
    QTemporaryDir dir;
    const QString runtime = privateFolder(dir.filePath(QStringLiteral("run")));
    const QProcessEnvironment env = userEnvironment(dir.path(), runtime);
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
    QVERIFY(toldAnotherCopyRuns(second));
    end(second);
    QCOMPARE(first.state(), QProcess::Running);
    QCOMPARE(lockHolder(lockFile), first.processId());
    QVERIFY(QFile::exists(logDir + QStringLiteral("/LOG_NEW0.txt")));
    QVERIFY(!QFile::exists(logDir + QStringLiteral("/LOG_OLD1.txt")));

    end(first);
    QProcess third;
    startProgram(third, env);
    QVERIFY(third.waitForStarted(10000));
    QTRY_COMPARE_WITH_TIMEOUT(lockHolder(lockFile), third.processId(), 10000);
    end(third);
}

void SecondInstanceTest::anotherUsersCopyDoesNotStopThisUser() {
    QTemporaryDir dir;
    // Another user's copy, running: its lock as it would stand under the one name in the
    // temporary folder that every user's copy once fell back to.
    const QString otherRuntime = privateFolder(dir.filePath(QStringLiteral("other/run")));
    QProcess other;
    startProgram(other, userEnvironment(dir.filePath(QStringLiteral("other")), otherRuntime));
    QVERIFY(other.waitForStarted(10000));
    const QString otherLock = otherRuntime + QStringLiteral("/tavrin-writer.lock");
    QTRY_COMPARE_WITH_TIMEOUT(lockHolder(otherLock), other.processId(), 10000);
    const QString temp = privateFolder(dir.filePath(QStringLiteral("tmp")));
    QVERIFY(QFile::copy(otherLock, temp + QStringLiteral("/tavrin-writer.lock")));

    // This user's runtime folder cannot be had: the variable names a file, and the folder the
    // toolkit would make in its place is taken by a file as well.
    const QString notAFolder = dir.filePath(QStringLiteral("not-a-folder"));
    QFile(notAFolder).open(QIODevice::WriteOnly);
    QFile(temp + QStringLiteral("/runtime-") + QString::fromLocal8Bit(getpwuid(getuid())->pw_name))
        .open(QIODevice::WriteOnly);
    QProcessEnvironment env = userEnvironment(dir.filePath(QStringLiteral("me")), notAFolder);
    env.insert(QStringLiteral("TMPDIR"), temp);

    QProcess mine;
    startProgram(mine, env);
    QVERIFY(mine.waitForStarted(10000));
    const QString myLock = temp + QStringLiteral("/tavrin-writer-%1.lock").arg(getuid());
    QTRY_COMPARE_WITH_TIMEOUT(lockHolder(myLock), mine.processId(), 10000);
    QCOMPARE(mine.state(), QProcess::Running);

    // The fallback name still keeps this user to one copy.
    QProcess again;
    startProgram(again, env);
    QVERIFY(toldAnotherCopyRuns(again));
    end(again);
    QCOMPARE(lockHolder(myLock), mine.processId());
    end(mine);
    end(other);
}

QTEST_GUILESS_MAIN(SecondInstanceTest)
#include "second_instance_test.moc"
