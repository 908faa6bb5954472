// A window's place kept inside the screen's free area: positions saved on a screen that has gone,
// or taken from a main window near the screen's edge.
#include "core/window_placement.h"

#include <gtest/gtest.h>

using namespace tavrin;

TEST(WindowPlacement, KeepsTheWindowInsideTheRoom) {
    const QRect room(0, 30, 1920, 1050); // a panel above: the free area starts at y 30
    struct Case {
        const char* what;
        QPoint wanted;
        QSize size;
        QPoint placed;
    };
    const Case cases[] = {
        {"inside: unchanged", {100, 100}, {600, 400}, {100, 100}},
        {"on the right edge exactly", {1320, 680}, {600, 400}, {1320, 680}},
        {"past the right and bottom", {1500, 900}, {600, 400}, {1320, 680}},
        {"a screen that has gone, far right", {4000, 200}, {600, 400}, {1320, 200}},
        {"left of and above the room", {-700, -50}, {600, 400}, {0, 30}},
        {"wider and taller than the room", {300, 300}, {2500, 1200}, {0, 30}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(placedWithin(c.wanted, c.size, room), c.placed) << c.what;
    // No screen known: nothing to keep to.
    EXPECT_EQ(placedWithin({-5, 9000}, {10, 10}, QRect()), QPoint(-5, 9000));
}
