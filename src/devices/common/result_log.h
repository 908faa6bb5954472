// The result log LOG_NEW0.txt in the per-user data folder: one line per finished programming
// run, one end line per finished blank check, verify and read. UTF-8, CR LF, opened for
// appending and closed again for every line.
#pragma once

#include <QDateTime>
#include <QString>

namespace tavrin {

struct Session;
class OperatorUi;

// The date and time at the end of a log line, and the end time in the result text.
QString logDateTime(const QDateTime& when);
QString endTimeOfDay(const QDateTime& when);

enum class OperationEnd { BlankCheck, Verify, Read };
QString operationEndText(OperationEnd end);

// The programming line: result, device, "ID:" and the ID text, the calibration label for the
// calibrated types, the HEX path; TAB and the date and time. Without the line end.
QString programLogLine(const Session& s, const QString& resultText, const QString& idText,
                       const QString& calibrationLabel, const QDateTime& when);
// TAB, the operation text, TAB, the date and time.
QString operationEndLine(OperationEnd end, const QDateTime& when);

// Appends one line and its CR LF. Returns the reason when the line could not be written.
QString appendLogLine(const QString& dataDir, const QString& line);

// Appends the line; when that fails the person is warned and the operation goes on.
void writeLogLine(OperatorUi& ui, const QString& dataDir, const QString& line);

} // namespace tavrin
