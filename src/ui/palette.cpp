#include "ui/palette.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace ui {
namespace {

HPALETTE picturePalette = nullptr;

const PaletteCalls kPlatformCalls{
    [](HDC dc) { return (::GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0; },
    [](HDC dc, HPALETTE palette, BOOL background) {
        return ::SelectPalette(dc, palette, background);
    },
    [](HDC dc) { return ::RealizePalette(dc); }};
const PaletteCalls* calls = &kPlatformCalls;

struct Sum {
    std::uint64_t red = 0, green = 0, blue = 0, count = 0;
};

}  // namespace

std::vector<PALETTEENTRY> PictureColours(const std::vector<const TBitmap*>& exact,
                                         const std::vector<const TBitmap*>& approximated,
                                         size_t room) {
    std::vector<PALETTEENTRY> entries;
    auto add = [&](BYTE red, BYTE green, BYTE blue) {
        if (entries.size() >= room) return;
        for (const PALETTEENTRY& e : entries)
            if (e.peRed == red && e.peGreen == green && e.peBlue == blue) return;
        entries.push_back({red, green, blue, 0});
    };
    std::map<unsigned, Sum> buckets;
    auto count = [&](const TBitmap& picture) {
        const std::uint8_t* rows = picture.PixelRows();
        if (rows == nullptr || picture.BitsPerPixel() < 24) return;
        const size_t step = static_cast<size_t>(picture.BitsPerPixel() / 8);
        const size_t stride = (static_cast<size_t>(picture.Width()) * step + 3) / 4 * 4;
        for (int y = 0; y < picture.Height(); ++y) {
            const std::uint8_t* p = rows + stride * static_cast<size_t>(y);
            for (int x = 0; x < picture.Width(); ++x, p += step) {
                Sum& s = buckets[(p[2] >> 3) << 10 | (p[1] >> 3) << 5 | p[0] >> 3];
                s.red += p[2];
                s.green += p[1];
                s.blue += p[0];
                ++s.count;
            }
        }
    };
    for (const TBitmap* picture : exact)
        for (const RGBQUAD& c : picture->Colours()) add(c.rgbRed, c.rgbGreen, c.rgbBlue);
    for (const TBitmap* picture : approximated) {
        for (const RGBQUAD& c : picture->Colours()) add(c.rgbRed, c.rgbGreen, c.rgbBlue);
        count(*picture);
    }
    std::vector<Sum> frequent;
    for (const auto& bucket : buckets) frequent.push_back(bucket.second);
    std::stable_sort(frequent.begin(), frequent.end(),
                     [](const Sum& a, const Sum& b) { return a.count > b.count; });
    for (const Sum& s : frequent)
        add(static_cast<BYTE>((s.red + s.count / 2) / s.count),
            static_cast<BYTE>((s.green + s.count / 2) / s.count),
            static_cast<BYTE>((s.blue + s.count / 2) / s.count));
    return entries;
}

void SetPicturePalette(HPALETTE palette) { picturePalette = palette; }

HPALETTE PicturePalette() { return picturePalette; }

void SetPaletteCalls(const PaletteCalls* replacement) {
    calls = replacement != nullptr ? replacement : &kPlatformCalls;
}

bool PaletteScope::IsPaletteDevice(HDC dc) { return calls->isPaletteDevice(dc); }

PaletteScope::PaletteScope(HDC dc, bool background) : dc_(dc) {
    if (picturePalette == nullptr || dc_ == nullptr || !calls->isPaletteDevice(dc_)) {
        dc_ = nullptr;
        return;
    }
    previous_ = calls->select(dc_, picturePalette, background ? TRUE : FALSE);
    changed_ = calls->realize(dc_);
}

PaletteScope::~PaletteScope() {
    if (dc_ != nullptr && previous_ != nullptr) calls->select(dc_, previous_, TRUE);
}

bool HandlePaletteMessage(HWND window, UINT message, WPARAM wParam, LRESULT& result) {
    if (picturePalette == nullptr) return false;
    if (message == WM_QUERYNEWPALETTE) {
        // The window comes to the front: its colours go into the system
        // palette, and what it shows is drawn with them.
        ScopedGetDC dc(window);
        const PaletteScope realised(dc.Get());
        if (realised.Changed() > 0) ::InvalidateRect(window, nullptr, FALSE);
        result = TRUE;
        return true;
    }
    if (message == WM_PALETTECHANGED) {
        // Another window's realisation changed the system palette: this one
        // maps its colours again, in the background, and repaints. That
        // window may be one of the program's own, come to the front after
        // another program's palette: the windows behind it still show the
        // colours mapped to that program's. Only the window that made the
        // change has nothing to do (and must not realise again, or the two
        // would answer each other without end).
        if (reinterpret_cast<HWND>(wParam) != window) {
            ScopedGetDC dc(window);
            const PaletteScope realised(dc.Get(), true);
            ::InvalidateRect(window, nullptr, FALSE);
        }
        result = 0;
        return true;
    }
    return false;
}

}  // namespace ui
