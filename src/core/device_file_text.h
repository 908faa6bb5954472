// device6.ini as text: how its bytes become lines and its lines become tokens. The file is
// hand-edited, often on another system, so both UTF-8 and the legacy Japanese code page are read,
// and both CR LF and LF line ends.
//
// The readers walk the file as UTF-8 bytes and decode only the tokens they keep: a file of many
// parts is read at start-up twice (the list, then the saved part's block), and most of its lines
// are looked at only for their key.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <utility>

namespace tavrin {

// Files larger than this are not device files; reading them would only cost memory.
constexpr qsizetype MaxDeviceFileBytes = 16 * 1024 * 1024;

// UTF-8 (a leading byte-order mark dropped), or CP932 when the bytes are not valid UTF-8.
QString decodeDeviceFileText(const QByteArray& bytes);

// The file's text as UTF-8, as decodeDeviceFileText reads it: the bytes themselves when they are
// UTF-8 (a leading byte-order mark is left for the reader to skip), else the text re-encoded.
QByteArray deviceFileUtf8(const QByteArray& bytes);

// A token's text. A byte-order mark inside the file is text like any other character.
QString tokenText(QByteArrayView utf8);

// A line as every reader looks at it: TABs expanded, then split at blanks.
QStringList prepareLine(QByteArrayView utf8Line);

// The first token of a line as prepareLine gives it (empty when there is none), not decoded.
QByteArrayView firstToken(QByteArrayView utf8Line);

// The lines of a device file's UTF-8 text, read one after the other as the readers walk through
// it. Lines are found as they are read and are views into the text.
class DeviceFileReader {
  public:
    explicit DeviceFileReader(QByteArray utf8);

    bool atEnd() const { return next_ >= text_.size(); }
    // The next line, ended by CR LF, LF or a lone CR (a last line without an end is a line too),
    // valid while the reader lives. Only called when not atEnd().
    QByteArrayView nextLine();
    // The next line, prepared. Only called when not atEnd().
    QStringList nextTokens() { return prepareLine(nextLine()); }
    // 1-based number of the line read last.
    int lineNumber() const { return lineNumber_; }

  private:
    QByteArray text_;
    qsizetype next_ = 0;
    int lineNumber_ = 0;
};

// Every line of the text, decoded.
QStringList splitDeviceFileLines(const QByteArray& utf8);

} // namespace tavrin
