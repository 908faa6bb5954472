#include "hex_scan.h"

#include "operator_ui.h"
#include "session.h"
#include "status.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace tavrin::hex {

namespace {

const QString kNothingLoaded =
    QStringLiteral("<<注意>>ロードできるデータがなかったので、何もロードしませんでした。");
const QString kTooLarge = QStringLiteral("ＨＥＸファイルとしては大きすぎます（64MBまで）。");

// "3、7行目はＨＥＸデータでないので読み飛ばしました。"; past kListedBadLines lines the first ones
// and the number of the rest: "1、…、10行目ほか999990行は…". Empty without bad lines.
QString badLinesText(const StagedFile& file) {
    if (file.badLines == 0) return QString();
    QString text = file.badLineList;
    text.chop(1); // the last "、"
    text += QStringLiteral("行目");
    if (file.badLines > kListedBadLines)
        text += QStringLiteral("ほか") + QString::number(file.badLines - kListedBadLines) +
                QStringLiteral("行");
    return text + QStringLiteral("はＨＥＸデータでないので読み飛ばしました。");
}

// "0xFFFFを超えるアドレスのデータ（2行、最初は5行目）を読み飛ばしました。"; empty when none.
QString outsideText(const StagedFile& file, const QString& outsideWhere) {
    if (file.outsideLines == 0) return QString();
    return outsideWhere + QStringLiteral("のデータ（") + QString::number(file.outsideLines) +
           QStringLiteral("行、最初は") + QString::number(file.firstOutsideLine) +
           QStringLiteral("行目）を読み飛ばしました。");
}

// What a load passed over that may have held data, counted, with the first line numbers:
// "ＨＥＸデータでない128行（3、4、…、12行目ほか）"; empty when nothing was. Comment lines hold
// none.
QString skippedSummary(const StagedFile& file, const QString& outsideWhere) {
    QStringList parts;
    if (file.damagedLines > 0)
        parts << QStringLiteral("ＨＥＸデータでない") + QString::number(file.damagedLines) +
                     QStringLiteral("行（") + file.damagedLineList.chopped(1) +
                     QStringLiteral("行目") +
                     (file.damagedLines > kListedBadLines ? QStringLiteral("ほか") : QString()) +
                     QStringLiteral("）");
    if (file.outsideLines > 0)
        parts << outsideWhere + QStringLiteral("のデータ") + QString::number(file.outsideLines) +
                     QStringLiteral("行（最初は") + QString::number(file.firstOutsideLine) +
                     QStringLiteral("行目）");
    return parts.join(QStringLiteral("\r\n"));
}

} // namespace

void beginLoad(Session& s, OperatorUi& ui) {
    ShowStatusMessage(ui, QStringLiteral("ファイルロード中.........."), QString());
    s.run.HexLoadSkipped.clear();
    s.run.PassCount = 0;
    s.run.AttemptCount = 0;
    s.run.FailCount = 0;
}

void resetIdText(Session& s) {
    s.buffer.IdText = QStringLiteral("FFFF");
}

LoadProgress::~LoadProgress() {
    if (shown_) ShowProgress(ui_, ProgressMode::Off, 0, 100, 100);
}

void LoadProgress::report(qint64 done) {
    next_ = done + kProgressStep;
    shown_ = true;
    // A file that grows while it is read goes past the size it had.
    ShowProgress(ui_, ProgressMode::On, 0, 100, double(100 * std::min(done, total_) / total_));
    ui_.pumpEvents();
}

bool beginFileLoad(Session& s, OperatorUi& ui, const QString& path, const QString& unreadableDetail,
                   QByteArray& text, LoadProgress& progress,
                   const std::function<void()>& beforeLoading) {
    beginLoad(s, ui);
    const ReadOutcome outcome = readHexFile(path, text, &progress);
    if (outcome == ReadOutcome::Read) return true;
    resetIdText(s);
    if (beforeLoading) beforeLoading();
    if (outcome == ReadOutcome::TooLarge)
        refuseTooLargeFile(s, ui);
    else
        failLoad(s, ui, unreadableDetail);
    return false;
}

void failLoad(Session& s, OperatorUi& ui, const QString& detail) {
    ShowStatusMessage(ui, QStringLiteral("ファイルをロードできませんでした。"), detail);
    s.run.HexLoadResult = result::NG;
}

void showLoadedStatus(Session& s, OperatorUi& ui, const StagedFile& file,
                      const QString& outsideWhere) {
    s.run.HexLoadSkipped = skippedSummary(file, outsideWhere);
    const QString badLines = badLinesText(file);
    if (file.outsideLines > 0)
        ShowStatusMessage(ui, QStringLiteral("<<注意>>") + outsideText(file, outsideWhere),
                          badLines);
    else if (file.badLines > 0)
        ShowStatusMessage(ui, badLines, QString());
    else
        ShowStatusMessage(ui, QStringLiteral("ファイルロード完了"), QString());
}

void failNothingLoaded(Session& s, OperatorUi& ui, const StagedFile& file,
                       const QString& outsideWhere) {
    QString detail = outsideText(file, outsideWhere);
    const QString badLines = badLinesText(file);
    if (!detail.isEmpty() && !badLines.isEmpty()) detail += QLatin1Char(' ');
    ShowStatusMessage(ui, kNothingLoaded, detail + badLines);
    s.run.HexLoadResult = result::NG;
}

bool fileTooLarge(const QString& path) {
    return QFileInfo(path).size() > kMaxFileBytes;
}

void refuseTooLargeFile(Session& s, OperatorUi& ui) {
    failLoad(s, ui, kTooLarge);
}

ReadOutcome readHexFile(const QString& path, QByteArray& text, LoadProgress* progress) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return ReadOutcome::Unreadable;
    const qint64 size = file.size();
    if (size > kMaxFileBytes) return ReadOutcome::TooLarge;
    if (progress) progress->startReading(size);
    // The size it has in steps, then on in small steps until the end: a file that grows
    // meanwhile, or a device or pipe that reports no size, is read no further than one byte past
    // the limit and refused.
    constexpr qint64 kPastSize = 64 * 1024;
    text.clear();
    text.reserve(qsizetype(size + kPastSize));
    qint64 have = 0;
    for (;;) {
        const qint64 step = std::min(have < size ? std::min(kProgressStep, size - have) : kPastSize,
                                     kMaxFileBytes + 1 - have);
        text.resize(qsizetype(have + step));
        const qint64 got = file.read(text.data() + have, step);
        if (got <= 0) break;
        have += got;
        if (have > kMaxFileBytes) return ReadOutcome::TooLarge;
        if (progress) progress->read(have);
    }
    text.resize(qsizetype(have));
    return file.error() == QFileDevice::NoError ? ReadOutcome::Read : ReadOutcome::Unreadable;
}

} // namespace tavrin::hex
