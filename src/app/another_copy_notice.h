// What a start that ends because another copy of the program runs tells the person.
#pragma once

#include <QString>
#include <QStringList>

namespace tavrin {

// The text of the notice; a file given on the command line is named as not opened.
QString anotherCopyRunsText(const QStringList& arguments);

// Shows the notice in a message box (and on the error output, for a start from a terminal) and
// returns when the person has read it.
void tellAnotherCopyRuns(const QStringList& arguments);

} // namespace tavrin
