// The ID and configuration words of the part in the socket compared with what they should hold,
// with the code-protect report on the way. Two callers: the Verify command compares with the PC
// buffer (ConfigIdImage; PIC18: Id18Image and the configuration values), the Program sequence
// compares with the copy it has just written (MergedConfigIdImage for the 14-bit parts).
//
// cpFlag: "CP" when the part is code protected, "--" when not; left as passed when the reply
// did not arrive. result: "OK" or "NG", "ER" when the reply came short or without its end code.
// A programming type these checks do not serve gives "NG" at once: nothing was compared, so
// nothing may pass.
#pragma once

#include <QString>

namespace tavrin {

class BoardChannel;
struct ConfigAreaCommand;

// The Verify command's check. Writes ConfigVerifyText, IdVerifyText and, for "12F6",
// ConfigWordText (the word read, when everything matched).
void VerifyConfigWords(BoardChannel& channel, QString& cpFlag, QString& result);

// The Program sequence's check of the words it has just written. Writes ConfigVerifyText for
// the 12-bit parts.
void VerifyWrittenConfigWords(BoardChannel& channel, QString& cpFlag, QString& result);

// Both checks reading the area the caller's command names (config_area_read.h).
void VerifyConfigWordsWith(BoardChannel& channel, const ConfigAreaCommand& command, QString& cpFlag,
                           QString& result);
void VerifyWrittenConfigWordsWith(BoardChannel& channel, const ConfigAreaCommand& command,
                                  QString& cpFlag, QString& result);

} // namespace tavrin
