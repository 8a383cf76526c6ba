#include "controls/EditButtonGlyphs.h"

#include <algorithm>

#include "ui/handles.h"

namespace controls {
namespace {

// The platform's combo-box arrow among its own bitmaps.
constexpr int kComboArrowBitmap = 32738;

}  // namespace

EllipsisLayout EllipsisGlyphLayout(int buttonWidth) {
    EllipsisLayout layout;
    layout.width = std::max(1, buttonWidth - 6);
    // Integer division truncates toward zero, also for narrow buttons.
    const int gap = std::clamp((layout.width - 6) / 2, 1, 3);
    const int first = (layout.width - 6 - 2 * gap) / 2;
    layout.dotLeft[0] = first;
    layout.dotLeft[1] = first + gap + 2;
    layout.dotLeft[2] = first + 2 * gap + 4;
    return layout;
}

HBITMAP MakeEllipsisGlyph(int buttonWidth) {
    const EllipsisLayout layout = EllipsisGlyphLayout(buttonWidth);
    HBITMAP bitmap = ::CreateBitmap(layout.width, layout.height, 1, 1, nullptr);
    ui::MemoryDC dc(nullptr);
    ui::SelectObjectScope select(dc.Get(), bitmap);
    ::PatBlt(dc.Get(), 0, 0, layout.width, layout.height, WHITENESS);
    for (int left : layout.dotLeft)
        ::PatBlt(dc.Get(), left, layout.dotTop, layout.dotSize, layout.dotSize, BLACKNESS);
    return bitmap;
}

HBITMAP LoadDropDownGlyph() { return ::LoadBitmapA(nullptr, MAKEINTRESOURCEA(kComboArrowBitmap)); }

}  // namespace controls
