#include "window_geometry.h"

#include "core/settings_store.h"

#include <cmath>

namespace tavrin {

namespace {

int readTwips(const SettingsStore& settings, const char* key, int defaultTwips) {
    bool ok = false;
    const double v = settings.value(QString::fromLatin1(key), QString()).trimmed().toDouble(&ok);
    return ok ? int(std::lround(v)) : defaultTwips;
}

} // namespace

int twipsToPixels(int twips) {
    return int(std::lround(double(twips) / kTwipsPerPixel));
}

int pixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

WindowGeometry loadWindowGeometry(const SettingsStore& settings) {
    return {twipsToPixels(readTwips(settings, "MainLeft", 100)),
            twipsToPixels(readTwips(settings, "MainTop", 100)),
            twipsToPixels(readTwips(settings, "MainHeight", 7860))};
}

void saveWindowGeometry(SettingsStore& settings, const WindowGeometry& g) {
    settings.setValue(QStringLiteral("MainLeft"), QString::number(pixelsToTwips(g.left)));
    settings.setValue(QStringLiteral("MainTop"), QString::number(pixelsToTwips(g.top)));
    settings.setValue(QStringLiteral("MainHeight"), QString::number(pixelsToTwips(g.height)));
}

} // namespace tavrin
