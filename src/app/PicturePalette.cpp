#include "app/PicturePalette.h"

#include <cstdint>
#include <cstring>

#include "ui/bitmap.h"
#include "ui/palette.h"
#include "ui/resource_data.h"

namespace app {

std::vector<PALETTEENTRY> PictureEntries() {
    ui::TBitmap tile, backdrop;
    tile.ShareData(ui::ResourceView("TILE"));
    backdrop.ShareData(ui::ResourceView("BACKDROP"));
    return ui::PictureColours({&tile}, {&backdrop});
}

ScopedPicturePalette::ScopedPicturePalette() {
    ui::ScopedGetDC screen(nullptr);
    if (!ui::PaletteScope::IsPaletteDevice(screen.Get())) return;
    const std::vector<PALETTEENTRY> entries = PictureEntries();
    std::vector<std::uint8_t> data(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(data.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(entries.size());
    std::memcpy(logical->palPalEntry, entries.data(), entries.size() * sizeof(PALETTEENTRY));
    palette_.Reset(::CreatePalette(logical));
    ui::SetPicturePalette(palette_.Get());
}

ScopedPicturePalette::~ScopedPicturePalette() {
    if (palette_) ui::SetPicturePalette(nullptr);
}

}  // namespace app
