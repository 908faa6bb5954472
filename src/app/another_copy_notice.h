// What a start that ends because another copy of the program runs tells the person, and the
// question a script asks before it starts anything for the program.
#pragma once

#include <QString>
#include <QStringList>

namespace tavrin {

// "tavrin-writer --check-running [ARGUMENT...]": asked by a script (the run command) before it
// starts a board for the program, so that a second start ends at once with nothing started.
inline constexpr const char* kCheckRunningOption = "--check-running";

// The text of the notice; a file given on the command line is named as not opened.
QString anotherCopyRunsText(const QStringList& arguments);

// Shows the notice in a message box (and on the error output, for a start from a terminal) and
// returns when the person has read it.
void tellAnotherCopyRuns(const QStringList& arguments);

// The answer to kCheckRunningOption, without a window and without waiting: 0 with the notice on
// the error output when a copy runs for this user, 1 when none does. The arguments are those the
// script would start the program with.
int answerCheckRunning(const QStringList& arguments);

} // namespace tavrin
