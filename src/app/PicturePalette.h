// On a display of 256 colours, the palette of the program's pictures: the
// wallpaper tile's greys and the backdrop's colours.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/handles.h"

namespace app {

// The entries: every grey of the tile, then the backdrop's most frequent
// colours.
std::vector<PALETTEENTRY> PictureEntries();

// Made and set for every window while it lives, on a palette device only.
class ScopedPicturePalette {
public:
    ScopedPicturePalette();
    ~ScopedPicturePalette();
    ScopedPicturePalette(const ScopedPicturePalette&) = delete;
    ScopedPicturePalette& operator=(const ScopedPicturePalette&) = delete;

private:
    ui::GdiObject<HPALETTE> palette_;
};

}  // namespace app
