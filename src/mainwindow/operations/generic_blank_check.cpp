// The Blank operation for every part without a device module of its own: the three area checks,
// the verdict in the status line and, for a written part, the box that names the written areas.
#include "devices/common/result_log.h"
#include "generic_operations.h"
#include "operation_environment.h"

#include "core/operator_ui.h"
#include "core/session.h"
#include "core/status.h"
#include "core/utilities.h"
#include "link/board_link.h"
#include "steps/blank_check.h"

namespace tavrin {

namespace {

const QString kAreaBlank = QStringLiteral("：　ブランク。　　　　　　　　　　　　　");
const QString kAreaWritten = QStringLiteral("：　消去されていません。　　　　　　　　");

QString areaLine(const QString& area, const QString& areaResult) {
    return area + QLatin1Char('\t') + (areaResult == result::OK ? kAreaBlank : kAreaWritten) +
           QStringLiteral("\r\n");
}

// The 12C5 blank check finds the calibration word at the end of program memory; the person copies
// it from here, so a word that was not read in this run is not shown as the chip's.
QString calibrationNote(const Session& s) {
    if (s.device.ProgramType != QLatin1String("12C5")) return QString();
    const QString word = s.run.CalibWordRead ? hex4(s.run.CalibWordHigh * 256 + s.run.CalibWordLow)
                                             : QStringLiteral("----");
    return QStringLiteral("\r\nキャリブレーションデータ格納アドレス(0x") +
           hex4(s.device.ProgramWordCount - 1) + QStringLiteral(")のデータは0x") + word +
           QStringLiteral(" です。");
}

} // namespace

void runGenericBlankCheck(OperationEnvironment& env) {
    Session& s = env.s;
    OperatorUi& ui = env.ui;
    BoardChannel& ch = env.link.channel();
    ShowStatusMessage(ui, QStringLiteral("ブランクチェック中.........."));
    ui.refreshViews(ViewProgram);
    s.run.CalibWordRead = false;

    QString program = result::Skipped, eeprom = result::Skipped, config = result::Skipped;
    QString cpFlag = result::Skipped;
    BlankCheckProgramMemory(ch, program);
    if (program != result::ER) BlankCheckEepromMemory(ch, eeprom);
    if (program != result::ER && eeprom != result::ER) BlankCheckConfigWords(ch, cpFlag, config);
    s.run.CodeProtectState = cpFlag;

    const QString joined = program + eeprom + config;
    if (joined.contains(result::ER)) {
        ShowStatusMessage(ui, QStringLiteral("red通信エラーが発生しました。"));
    } else if (program == result::Skipped) {
        // Nothing was checked: no verdict may be given.
        ShowStatusMessage(ui, QStringLiteral("redこのマイコンは、この操作に対応していません。"));
    } else if (joined == QLatin1String("OK--OK") || joined == QLatin1String("OKOKOK")) {
        ShowStatusMessage(ui,
                          QStringLiteral("ブランクチェック終了。　デバイスは消去されています。") +
                              calibrationNote(s));
    } else {
        ShowStatusMessage(ui,
                          QStringLiteral("redデバイスは消去されてません。。") + calibrationNote(s));
        QString report = areaLine(QStringLiteral("プログラムメモリ"), program);
        if (eeprom != result::Skipped)
            report += areaLine(QStringLiteral("ＥＥＰＲＯＭデータメモリ"), eeprom);
        report += areaLine(QStringLiteral("ＣＯＮＦＩＧ　，　ＩＤ"), config);
        if (cpFlag == result::CP)
            report += QStringLiteral("このデバイスはコードプロテクトされています。");
        ui.messageBox(MessageIcon::Exclamation, MessageButtons::Ok,
                      QStringLiteral("ブランクチェック"), report);
    }
    writeLogLine(ui, env.dataDir, operationEndLine(OperationEnd::BlankCheck, env.now()));
}

} // namespace tavrin
