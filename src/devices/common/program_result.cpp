#include "program_result.h"

#include "core/session.h"

namespace tavrin {

namespace {
QString counters(const RunState& run) {
    return QStringLiteral("  Pass = ") + QString::number(run.PassCount) +
           QStringLiteral("    Fail = ") + QString::number(run.AttemptCount - run.PassCount);
}

const QString kResultFiller = QStringLiteral("　　　　　");
const QString kLineEnd = QStringLiteral("\r\n");
} // namespace

bool programRunPassed(const QString& program, const QString& eeprom, const QString& config) {
    const QString joined = program + eeprom + config;
    return joined == QLatin1String("OK--OK") || joined == QLatin1String("OKOKOK") ||
           joined == QLatin1String("OK----");
}

QString passText(std::int64_t elapsedSeconds, const QString& endTime, const RunState& run) {
    return QStringLiteral("プログラミング成功。") + QString::number(elapsedSeconds) +
           QStringLiteral("sec") + QStringLiteral("　終了時刻：") + endTime + counters(run);
}

QString failText(const QString& endTime, const RunState& run) {
    return QStringLiteral("プログラミング失敗。　終了時刻：") + endTime + counters(run);
}

QString verifyFailureReport(const RunState& run) {
    QString text = QStringLiteral("プログラムメモリ　　　　\t=　 ") + run.ProgramVerifyResult +
                   kResultFiller + kLineEnd;
    if (run.EepromVerifyResult != result::Skipped)
        text += QStringLiteral("ＥＥＰＲＯＭデータメモリ\t=　 ") + run.EepromVerifyResult +
                kResultFiller + kLineEnd;
    if (run.ConfigVerifyResult != result::Skipped)
        text += QStringLiteral("ＣＯＮＦＩＧ. ワード　　　\t= 　") + run.ConfigVerifyResult +
                kResultFiller + kLineEnd;
    return text;
}

} // namespace tavrin
