// The main window's place and height, kept in twips under "MainLeft", "MainTop" and
// "MainHeight" (15 twips to a pixel).
#pragma once

namespace tavrin {

class SettingsStore;

struct WindowGeometry {
    int left = 0; // pixels
    int top = 0;
    int height = 0;
};

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kTallWindowTwips = 8040; // mnuFrmmainHight

int twipsToPixels(int twips);
int pixelsToTwips(int pixels);

// Defaults 100, 100 and 7860 twips.
WindowGeometry loadWindowGeometry(const SettingsStore& settings);
// Not called for a minimised window: the next start uses the last normal position.
void saveWindowGeometry(SettingsStore& settings, const WindowGeometry& geometry);

} // namespace tavrin
