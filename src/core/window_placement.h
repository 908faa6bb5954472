// Where a window goes so that the person can reach it: inside the free area of a screen.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace tavrin {

// The position nearest to `wanted` at which a window of `size` (its frame) lies inside `room`;
// a window larger than the room keeps its top left corner (title bar and menus) in it.
QPoint placedWithin(QPoint wanted, QSize size, const QRect& room);

} // namespace tavrin
