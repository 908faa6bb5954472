// Moving a window to a wanted place without losing it off the screen.
#pragma once

#include <QPoint>

class QWidget;

namespace tavrin {

// Moves `window` to `wanted`, kept inside the free area of the screen that `reference` is on, or
// without one of the screen under `wanted` (the first screen when none is there). The window's
// place is checked again when a window not yet shown is shown, at its final size.
void moveOnScreen(QWidget& window, QPoint wanted, const QWidget* reference = nullptr);

} // namespace tavrin
