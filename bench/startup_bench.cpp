// Start-up of the real program, offscreen, with no board answering: the time from starting the
// process to the enabled main window, with the shipped device6.ini and with one of many parts
// made from it. The saved port does not exist, so start-up stops at the message that the port
// cannot be used; the program, started with TAVRIN_STARTUP_MARKER, answers it with Escape once it
// is drawn (the person's reading time is not the program's) and prints a line when the message
// is drawn and when the enabled window is drawn. Both times are measured here, from just before
// the process is started. Runs alternate between the two files so that a change in the machine's
// load touches both alike; one untimed run of each goes first (disk cache, first-run folders).
// The saved part is the last copy of PIC16F877A in each file.
//
// Usage: bench-startup [--runs N] [--parts N]   (7 runs, 1000 parts by default)
#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

#include <unistd.h>

namespace {

const QByteArray kPortMessage = "通信ポートが使用できませんでした";

// The shipped file's parts repeated, under new names after the first round, until `parts` are
// listed. The header (VERSION and the comments) stays as it is; line ends stay CR LF.
QByteArray manyParts(const QByteArray& shipped, int parts) {
    const QByteArray begin = "#BEGIN\r\n";
    const qsizetype first = shipped.indexOf(begin);
    if (first < 0) return {};
    const QByteArray header = shipped.left(first);
    std::vector<QByteArray> blocks;
    for (qsizetype at = first; at >= 0;) {
        const qsizetype next = shipped.indexOf(begin, at + begin.size());
        blocks.push_back(next < 0 ? shipped.mid(at) : shipped.mid(at, next - at));
        at = next;
    }
    QByteArray out = header;
    for (int n = 0; n < parts; ++n) {
        QByteArray block = blocks[size_t(n) % blocks.size()];
        if (size_t(n) >= blocks.size()) {
            const qsizetype nameEnd = block.indexOf("\r\n", begin.size());
            block.insert(nameEnd, "_" + QByteArray::number(n).rightJustified(4, '0'));
        }
        out += block;
    }
    return out;
}

// The saved part: the file's last copy of a common part, so that in the generated file selecting
// it at start-up walks nearly the whole file.
QByteArray savedPart(const QByteArray& deviceFile) {
    const QByteArray begin = "#BEGIN\r\n";
    const qsizetype at = deviceFile.lastIndexOf(begin + "PIC16F877A") + begin.size();
    return deviceFile.mid(at, deviceFile.indexOf("\r\n", at) - at).trimmed();
}

struct Run {
    double modalMs = -1; // the port message drawn
    double readyMs = -1; // the enabled main window drawn
    QByteArray modalLine;
};

// One program folder: the executable with its device6.ini beside it (where it looks first), and
// a home whose settings name a port that does not exist.
class Setup {
  public:
    Setup(const QString& label, const QByteArray& deviceFile) : label_(label) {
        const QString bin = dir_.filePath(QStringLiteral("bin"));
        QDir().mkpath(bin);
        program_ = bin + QStringLiteral("/tavrin-writer");
        // A hard link where it can be (the executable is large); the program looks beside its
        // own path, so a symbolic link would not do.
        ok_ = ::link(TAVRIN_WRITER_BIN, QFile::encodeName(program_).constData()) == 0 ||
              QFile::copy(QStringLiteral(TAVRIN_WRITER_BIN), program_);
        QFile device(bin + QStringLiteral("/device6.ini"));
        ok_ = ok_ && device.open(QIODevice::WriteOnly) && device.write(deviceFile) > 0;
        device.close();
        parts_ = int(deviceFile.count("#BEGIN\r\n"));

        const QString config = dir_.filePath(QStringLiteral("config/Tavrin Writer v4"));
        QDir().mkpath(config);
        QFile settings(config + QStringLiteral("/Tavrin Writer v4.ini"));
        ok_ = ok_ && settings.open(QIODevice::WriteOnly) &&
              settings.write("[Settings6]\nComNo=/dev/tavrin-bench-no-such-port\ndeviceNewName=" +
                             savedPart(deviceFile) + "\n") > 0;
        const QString runtime = dir_.filePath(QStringLiteral("run"));
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner);
        QDir().mkpath(dir_.filePath(QStringLiteral("home")));

        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env_.insert(QStringLiteral("TAVRIN_STARTUP_MARKER"), QStringLiteral("1"));
        env_.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        env_.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.filePath(QStringLiteral("config")));
        env_.insert(QStringLiteral("XDG_DATA_HOME"), dir_.filePath(QStringLiteral("data")));
        env_.insert(QStringLiteral("HOME"), dir_.filePath(QStringLiteral("home")));
        env_.remove(QStringLiteral("TAVRIN_DEFAULT_PORT"));
    }

    bool ok() const { return ok_ && dir_.isValid(); }
    const QString& label() const { return label_; }
    int parts() const { return parts_; }

    std::optional<Run> run() const {
        QProcess p;
        p.setProcessEnvironment(env_);
        p.setStandardErrorFile(QProcess::nullDevice());
        Run r;
        QElapsedTimer timer;
        timer.start();
        p.start(program_, {});
        while (r.readyMs < 0 && timer.elapsed() < 60000) {
            if (!p.canReadLine() && !p.waitForReadyRead(1000)) {
                if (p.state() == QProcess::NotRunning) break;
                continue;
            }
            while (p.canReadLine()) {
                const QByteArray line = p.readLine().trimmed();
                const double ms = double(timer.nsecsElapsed()) / 1e6;
                if (line.startsWith("tavrin-writer: modal ")) {
                    if (r.modalMs < 0) r.modalMs = ms;
                    r.modalLine = line;
                } else if (line == "tavrin-writer: ready") {
                    r.readyMs = ms;
                }
            }
        }
        if (!p.waitForFinished(30000)) {
            p.kill();
            p.waitForFinished(5000);
        }
        if (r.readyMs < 0) {
            std::fprintf(stderr, "%s: no ready marker (exit %d)\n", qPrintable(label_),
                         p.exitCode());
            return std::nullopt;
        }
        if (!r.modalLine.contains(kPortMessage)) {
            std::fprintf(stderr, "%s: start-up did not stop at the port message: %s\n",
                         qPrintable(label_), r.modalLine.constData());
            return std::nullopt;
        }
        return r;
    }

  private:
    QTemporaryDir dir_;
    QString label_;
    QString program_;
    QProcessEnvironment env_;
    int parts_ = 0;
    bool ok_ = false;
};

double minOf(std::vector<double> v) {
    return *std::min_element(v.begin(), v.end());
}

double medianOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Figures {
    std::vector<double> modal, ready;
};

} // namespace

int main(int argc, char** argv) {
    int runs = 7;
    int parts = 1000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const QByteArray option = argv[i];
        if (option == "--runs")
            runs = std::max(1, atoi(argv[i + 1]));
        else if (option == "--parts")
            parts = std::max(1, atoi(argv[i + 1]));
    }

    QFile shippedFile(QStringLiteral(TAVRIN_DEVICE_FILE));
    if (!shippedFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", TAVRIN_DEVICE_FILE);
        return 1;
    }
    const QByteArray shipped = shippedFile.readAll();
    std::vector<std::unique_ptr<Setup>> setups;
    setups.push_back(std::make_unique<Setup>(QStringLiteral("shipped"), shipped));
    setups.push_back(
        std::make_unique<Setup>(QStringLiteral("generated"), manyParts(shipped, parts)));
    int status = 0;
    std::vector<Figures> figures(setups.size());
    QByteArray modalLine;
    for (const auto& s : setups)
        if (!s->ok() || !s->run()) status = 1;
    for (int i = 0; i < runs && status == 0; ++i) {
        for (size_t k = 0; k < setups.size(); ++k) {
            const std::optional<Run> r = setups[k]->run();
            if (!r) {
                status = 1;
                break;
            }
            figures[k].modal.push_back(r->modalMs);
            figures[k].ready.push_back(r->readyMs);
            modalLine = r->modalLine;
        }
    }
    if (status == 0) {
        std::printf("stopped at: %s\n", modalLine.constData());
        for (size_t k = 0; k < setups.size(); ++k)
            std::printf("device=%s parts=%d runs=%d ready_min_ms=%.0f ready_median_ms=%.0f "
                        "modal_min_ms=%.0f modal_median_ms=%.0f\n",
                        qPrintable(setups[k]->label()), setups[k]->parts(), runs,
                        minOf(figures[k].ready), medianOf(figures[k].ready),
                        minOf(figures[k].modal), medianOf(figures[k].modal));
        std::printf("difference_ms min=%.0f median=%.0f (generated minus shipped, ready)\n",
                    minOf(figures[1].ready) - minOf(figures[0].ready),
                    medianOf(figures[1].ready) - medianOf(figures[0].ready));
    }
    return status;
}
