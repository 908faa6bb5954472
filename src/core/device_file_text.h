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
QStringList prepareLine(const QString& line);

// The lines of a device file, read one after the other as the readers walk through it.
class DeviceFileReader {
  public:
    explicit DeviceFileReader(QStringList lines) : lines_(std::move(lines)) {}

    bool atEnd() const { return next_ >= lines_.size(); }
    // The next line, prepared. Only called when not atEnd().
    QStringList nextTokens() { return prepareLine(lines_.at(next_++)); }
    // 1-based number of the line read last.
    int lineNumber() const { return int(next_); }

  private:
    QStringList lines_;
    qsizetype next_ = 0;
};

} // namespace tavrin
