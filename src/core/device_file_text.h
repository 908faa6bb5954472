// device6.ini as text: how its bytes become lines and its lines become tokens. The file is
// hand-edited, often on another system, so both UTF-8 and the legacy Japanese code page are read,
// and both CR LF and LF line ends.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>

namespace tavrin {

// Files larger than this are not device files; reading them would only cost memory.
constexpr qsizetype MaxDeviceFileBytes = 16 * 1024 * 1024;

// UTF-8 (a leading byte-order mark dropped), or CP932 when the bytes are not valid UTF-8.
QString decodeDeviceFileText(const QByteArray& bytes);

// Lines ended by CR LF, LF or a lone CR; a last line without an end is a line too.
QStringList splitDeviceFileLines(const QString& text);

// A line as every reader looks at it: TABs expanded, then split at blanks.
QStringList prepareLine(QStringView line);

// The first token of a line as prepareLine gives it (empty when there is none), without
// splitting the rest: most lines are looked at only for their key.
QStringView firstToken(QStringView line);

// The lines of a device file's text, read one after the other as the readers walk through it.
// Lines are found as they are read and are views into the text, so a file of many parts costs no
// copy of each line, and a reader that stops early never looks at the rest.
class DeviceFileReader {
  public:
    explicit DeviceFileReader(QString text) : text_(std::move(text)) {}

    bool atEnd() const { return next_ >= text_.size(); }
    // The next line as it stands, valid while the reader lives. Only called when not atEnd().
    QStringView nextLine();
    // The next line, prepared. Only called when not atEnd().
    QStringList nextTokens() { return prepareLine(nextLine()); }
    // 1-based number of the line read last.
    int lineNumber() const { return lineNumber_; }

  private:
    QString text_;
    qsizetype next_ = 0;
    int lineNumber_ = 0;
};

} // namespace tavrin
