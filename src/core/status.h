// The status line and the progress bar as every operation reports through them.
#pragma once

#include <QString>

namespace tavrin {

class OperatorUi;

// A message beginning "<<注意>>" is shown red and whole; one beginning "RED" (any case) red
// without those three characters; one beginning " RED" red without those four; any other black.
// The line reads the text, one blank and the detail.
void ShowStatusMessage(OperatorUi& ui, const QString& message, const QString& detail = QString());
// The text such a message shows: without the colour prefix it may begin with.
QString statusLineText(const QString& message);

enum class ProgressMode { On, Off };

// OFF, or a value equal to the maximum, hides the bar and its label. ON with a maximum of 100 or
// more refreshes them when the value is a multiple of the rounded hundredth of the maximum, about
// once per percent; below 100 nothing is shown.
void ShowProgress(OperatorUi& ui, ProgressMode mode, double minimum, double maximum, double value);

} // namespace tavrin
