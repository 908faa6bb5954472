// The executable ended from its File menu while its settings cannot be put on disk (the settings
// file's path is a folder): it says so, then it ends within seconds, its lock and work files
// gone, and the next start opens. The program runs on the toolkit's VNC display, where this test
// is the keyboard: the menu is opened and the notice answered as a person would.
#include "emusupport/emulator_process.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>

using tavrin::test::EmulatorProcess;

namespace {

// A free TCP port for the program's display.
int freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = -1;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

// The keyboard of a VNC display (protocol 3.3, no authentication): only key events are sent.
class VncKeyboard {
  public:
    ~VncKeyboard() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool connectTo(int port) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(std::uint16_t(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            return false;
        QByteArray version = receive(12);
        if (!version.startsWith("RFB ")) return false;
        send(version); // the server's own version: 3.3 names the security type itself
        if (version.startsWith("RFB 003.003")) {
            if (receive(4) != QByteArray("\0\0\0\1", 4)) return false;
        } else {
            const QByteArray count = receive(1);
            if (count.isEmpty() || !receive(std::uint8_t(count[0])).contains('\1')) return false;
            send(QByteArray(1, '\1'));
            if (version >= "RFB 003.008" && receive(4) != QByteArray(4, '\0')) return false;
        }
        send(QByteArray(1, '\1')); // shared
        const QByteArray init = receive(24);
        if (init.size() != 24) return false;
        const auto nameLength = std::uint32_t(std::uint8_t(init[20])) << 24 |
                                std::uint32_t(std::uint8_t(init[21])) << 16 |
                                std::uint32_t(std::uint8_t(init[22])) << 8 | std::uint8_t(init[23]);
        return receive(int(nameLength)).size() == int(nameLength);
    }
    void key(std::uint32_t keysym, bool down) {
        const char event[8] = {4,
                               char(down ? 1 : 0),
                               0,
                               0,
                               char(keysym >> 24),
                               char(keysym >> 16),
                               char(keysym >> 8),
                               char(keysym)};
        send(QByteArray(event, 8));
    }
    void tap(std::uint32_t keysym) {
        key(keysym, true);
        key(keysym, false);
    }

  private:
    void send(const QByteArray& bytes) {
        if (::send(fd_, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL) < 0) return;
    }
    QByteArray receive(int count) {
        QByteArray bytes;
        while (bytes.size() < count) {
            char buffer[256];
            const ssize_t got =
                ::recv(fd_, buffer, size_t(std::min<int>(256, count - bytes.size())), 0);
            if (got <= 0) break;
            bytes.append(buffer, qsizetype(got));
        }
        return bytes;
    }
    int fd_ = -1;
};

constexpr std::uint32_t kAlt = 0xffe9;
constexpr std::uint32_t kEscape = 0xff1b;

qint64 lockHolder(const QString& lockFile) {
    QFile f(lockFile);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    return f.readLine().trimmed().toLongLong();
}

} // namespace

class ExitSettingsNotKept : public QObject {
    Q_OBJECT
  private slots:
    void theProgramEndsAndTheNextStartOpens();
};

void ExitSettingsNotKept::theProgramEndsAndTheNextStartOpens() {
    QTemporaryDir dir;
    const QString root = dir.path();
    const QString runtime = root + QStringLiteral("/run");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString lockFile = runtime + QStringLiteral("/tavrin-writer.lock");
    const QString settingsFile =
        root + QStringLiteral("/config/Tavrin Writer v4/Tavrin Writer v4.ini");
    const QString dataDir = root + QStringLiteral("/data/Tavrin Writer v4/Tavrin Writer v4");

    EmulatorProcess board({"--part", "PIC16F84A", "--baud", "0"});
    QVERIFY(board.start());
    const int display = freePort();
    QVERIFY(display > 0);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"),
               QStringLiteral("vnc:size=1024x768:port=%1").arg(display));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), root + QStringLiteral("/data"));
    env.insert(QStringLiteral("HOME"), root + QStringLiteral("/home"));
    env.insert(QStringLiteral("TAVRIN_DEFAULT_PORT"), QString::fromStdString(board.portPath()));

    QProcess program;
    program.setProcessEnvironment(env);
    program.setProgram(QStringLiteral(TAVRIN_WRITER_BIN));
    program.start();
    QVERIFY(program.waitForStarted(10000));
    // Start-up has chosen the part in the socket and kept it.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(settingsFile), 60000);
    QCOMPARE(lockHolder(lockFile), program.processId());

    // From here nothing can be kept: the file's place is taken by a folder.
    QVERIFY(QFile::remove(settingsFile));
    QVERIFY(QDir().mkpath(settingsFile));
    // Work files as a session leaves them.
    const QStringList workFiles = {QStringLiteral("temp.txt"), QStringLiteral("pgmmemory_temp.txt"),
                                   QStringLiteral("eepmemory_temp.txt")};
    for (const QString& name : workFiles) {
        QFile f(dataDir + QLatin1Char('/') + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }

    VncKeyboard keyboard;
    QTRY_VERIFY_WITH_TIMEOUT(keyboard.connectTo(display), 10000);
    // ファイル(&F) → 終了(&X), then the notice is answered. The window may still be busy
    // finishing its start: the keys are pressed again until the program is gone, for at most
    // thirty seconds.
    QElapsedTimer waited;
    waited.start();
    while (program.state() != QProcess::NotRunning && waited.elapsed() < 30000) {
        keyboard.key(kAlt, true);
        keyboard.tap('f');
        keyboard.key(kAlt, false);
        QTest::qWait(300);
        keyboard.tap('x');
        QTest::qWait(700);
        keyboard.tap(kEscape);
        program.waitForFinished(1000);
    }
    const bool ended = program.state() == QProcess::NotRunning;
    if (!ended) {
        program.kill();
        program.waitForFinished(5000);
    }
    QVERIFY2(ended, "the program still runs after its main window was closed");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QVERIFY(!QFile::exists(lockFile));
    for (const QString& name : workFiles)
        QVERIFY2(!QFile::exists(dataDir + QLatin1Char('/') + name), qPrintable(name));

    // The next start is not refused: it takes the lock and stays.
    QProcess next;
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    next.setProcessEnvironment(env);
    next.setProgram(QStringLiteral(TAVRIN_WRITER_BIN));
    next.start();
    QVERIFY(next.waitForStarted(10000));
    QTRY_COMPARE_WITH_TIMEOUT(lockHolder(lockFile), next.processId(), 10000);
    QTest::qWait(500);
    QCOMPARE(next.state(), QProcess::Running);
    QVERIFY(!QString::fromLocal8Bit(next.readAllStandardError())
                 .contains(QStringLiteral("すでに起動しています")));
    next.kill();
    next.waitForFinished(5000);
}

QTEST_GUILESS_MAIN(ExitSettingsNotKept)
#include "exit_settings_not_kept_test.moc"
