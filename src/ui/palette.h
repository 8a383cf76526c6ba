// Pictures on a palette device (a display of 256 colours): one logical
// palette for the program's pictures, selected and realised wherever its
// windows paint, and realised again as the palette messages ask.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/bitmap.h"

namespace ui {

// The entries a palette device leaves to programs: 256 less its 20 static
// colours.
inline constexpr size_t kPaletteRoom = 236;

// The colours of a palette for pictures: every entry of the colour tables of
// the `exact` pictures (once each), then, while there is room, the most
// frequent colours of the `approximated` pictures, counted to 5 bits per
// primary, each entry the mean of the pixels it stands for. Pictures of 8
// bits per pixel or fewer give their colour tables in both roles.
std::vector<PALETTEENTRY> PictureColours(const std::vector<const TBitmap*>& exact,
                                         const std::vector<const TBitmap*>& approximated,
                                         size_t room = kPaletteRoom);

// The palette that every window of the program realises; none (the default)
// on a display with no palette. The caller keeps it alive while it is set.
void SetPicturePalette(HPALETTE palette);
HPALETTE PicturePalette();

// The platform's palette calls, which tests replace.
struct PaletteCalls {
    bool (*isPaletteDevice)(HDC dc);
    HPALETTE (*select)(HDC dc, HPALETTE palette, BOOL background);
    UINT (*realize)(HDC dc);
};
// Null puts the platform's calls back.
void SetPaletteCalls(const PaletteCalls* calls);

// The picture palette selected into a device context of a palette device
// and realised there (in the background for a window that is not the
// active one); the context's own palette goes back on exit.
class PaletteScope {
public:
    explicit PaletteScope(HDC dc, bool background = false);
    ~PaletteScope();
    PaletteScope(const PaletteScope&) = delete;
    PaletteScope& operator=(const PaletteScope&) = delete;
    // Entries of the system palette the realisation changed.
    UINT Changed() const { return changed_; }
    // Whether `dc` shows colours through a palette (asked through the
    // replaceable calls).
    static bool IsPaletteDevice(HDC dc);

private:
    HDC dc_;
    HPALETTE previous_ = nullptr;
    UINT changed_ = 0;
};

// The answers of a top-level window to WM_QUERYNEWPALETTE and
// WM_PALETTECHANGED: the palette realised again and the window repainted
// when the colours it shows changed. False when there is nothing to do (no
// picture palette); `result` is then untouched.
bool HandlePaletteMessage(HWND window, UINT message, WPARAM wParam, LRESULT& result);

}  // namespace ui
