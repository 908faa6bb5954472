#include "result_log.h"

#include "calibration_entry.h"

#include "core/log_files.h"
#include "core/operator_ui.h"
#include "core/session.h"

#include <QDir>
#include <QFile>

namespace tavrin {

namespace {
const QString kFieldSeparator = QStringLiteral("  ");
} // namespace

QString logDateTime(const QDateTime& when) {
    return when.toString(QStringLiteral("yyyy/MM/dd H:mm:ss"));
}

QString endTimeOfDay(const QDateTime& when) {
    return when.toString(QStringLiteral("H:mm:ss"));
}

QString operationEndText(OperationEnd end) {
    switch (end) {
    case OperationEnd::BlankCheck:
        return QStringLiteral("ﾌﾞﾗﾝｸﾁｪｯｸ操作終了");
    case OperationEnd::Verify:
        return QStringLiteral("ﾍﾞﾘﾌｧｲ 操作終了");
    case OperationEnd::Read:
        break;
    }
    return QStringLiteral("リード 操作終了");
}

QString programLogLine(const Session& s, const QString& resultText, const QString& idText,
                       const QString& calibrationLabel, const QDateTime& when) {
    QStringList fields{resultText, s.device.SelectedDevice, QStringLiteral("ID:") + idText};
    if (isCalibratedType(s.device.ProgramType)) fields << calibrationLabel;
    fields << s.app.LastHexFilePath;
    return fields.join(kFieldSeparator) + QLatin1Char('\t') + logDateTime(when);
}

QString operationEndLine(OperationEnd end, const QDateTime& when) {
    return QLatin1Char('\t') + operationEndText(end) + QLatin1Char('\t') + logDateTime(when);
}

QString appendLogLine(const QString& dataDir, const QString& line) {
    QFile file(QDir(dataDir).filePath(currentLogName()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return file.errorString();
    const QByteArray bytes = (line + QStringLiteral("\r\n")).toUtf8();
    if (file.write(bytes) != bytes.size()) return file.errorString();
    file.close();
    if (file.error() != QFileDevice::NoError) return file.errorString();
    return QString();
}

void writeLogLine(OperatorUi& ui, const QString& dataDir, const QString& line) {
    const QString error = appendLogLine(dataDir, line);
    if (error.isEmpty()) return;
    ui.messageBox(MessageIcon::Exclamation, MessageButtons::Ok, QStringLiteral("ログファイル"),
                  QStringLiteral("ログファイルに書き込めませんでした。\r\n") +
                      QDir(dataDir).filePath(currentLogName()) + QStringLiteral("\r\n") + error);
}

} // namespace tavrin
