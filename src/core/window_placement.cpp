#include "window_placement.h"

#include <algorithm>

namespace tavrin {

QPoint placedWithin(QPoint wanted, QSize size, const QRect& room) {
    if (!room.isValid()) return wanted;
    const int x =
        std::clamp(wanted.x(), room.left(), std::max(room.left(), room.right() + 1 - size.width()));
    const int y =
        std::clamp(wanted.y(), room.top(), std::max(room.top(), room.bottom() + 1 - size.height()));
    return {x, y};
}

} // namespace tavrin
