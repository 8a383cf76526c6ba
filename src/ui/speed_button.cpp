#include "ui/speed_button.h"

namespace ui {
namespace {

// Keeps the destination where the source is white, paints the brush where
// it is black: stamps a brush through a monochrome mask.
constexpr DWORD kBrushThroughMask = 0x00B8074A;

void SaveColours(HDC dc, COLORREF text, COLORREF back, COLORREF& oldText, COLORREF& oldBack) {
    oldText = ::SetTextColor(dc, text);
    oldBack = ::SetBkColor(dc, back);
}

}  // namespace

void DrawTransparentGlyph(HDC dc, HBITMAP glyph, int sourceX, int width, int height, int x, int y,
                          bool enabled) {
    if (glyph == nullptr || width <= 0 || height <= 0) return;
    ScopedGetDC screen(nullptr);
    MemoryDC source(screen.Get());
    SelectObjectScope selectSource(source.Get(), glyph);
    // A colour copy first, so that monochrome and colour glyphs go one way.
    MemoryDC colour(screen.Get());
    ScopedBitmap colourBits(::CreateCompatibleBitmap(screen.Get(), width, height));
    SelectObjectScope selectColour(colour.Get(), colourBits.Get());
    ::SetTextColor(colour.Get(), RGB(0, 0, 0));
    ::SetBkColor(colour.Get(), RGB(255, 255, 255));
    ::BitBlt(colour.Get(), 0, 0, width, height, source.Get(), sourceX, 0, SRCCOPY);
    const COLORREF transparent = ::GetPixel(colour.Get(), 0, height - 1);

    // Mask: white where the transparent colour is, black where the picture is.
    MemoryDC mask(screen.Get());
    ScopedBitmap maskBits(::CreateBitmap(width, height, 1, 1, nullptr));
    SelectObjectScope selectMask(mask.Get(), maskBits.Get());
    ::SetBkColor(colour.Get(), transparent);
    ::BitBlt(mask.Get(), 0, 0, width, height, colour.Get(), 0, 0, SRCCOPY);

    COLORREF oldText, oldBack;
    SaveColours(dc, RGB(0, 0, 0), RGB(255, 255, 255), oldText, oldBack);
    if (enabled) {
        // Blacken the transparent part of the copy, cut the picture's shape
        // out of the destination, then lay the copy into the hole.
        ::SetTextColor(colour.Get(), RGB(255, 255, 255));
        ::SetBkColor(colour.Get(), RGB(0, 0, 0));
        ::BitBlt(colour.Get(), 0, 0, width, height, mask.Get(), 0, 0, SRCAND);
        ::BitBlt(dc, x, y, width, height, mask.Get(), 0, 0, SRCAND);
        ::BitBlt(dc, x, y, width, height, colour.Get(), 0, 0, SRCPAINT);
    } else {
        const TColor layers[2] = {clBtnHighlight, clBtnShadow};
        for (int i = 0; i < 2; ++i) {
            const int offset = i == 0 ? 1 : 0;
            ScopedBrush brush(::CreateSolidBrush(ColorToRGB(layers[i])));
            SelectObjectScope selectBrush(dc, brush.Get());
            ::BitBlt(dc, x + offset, y + offset, width, height, mask.Get(), 0, 0,
                     kBrushThroughMask);
        }
    }
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 23, 22); }

void TSpeedButton::SetGlyph(HBITMAP glyph) {
    glyph_.Reset(glyph);
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int count) {
    if (count < 1) count = 1;
    if (count > 4) count = 4;
    if (count == numGlyphs_) return;
    numGlyphs_ = count;
    Invalidate();
}

int TSpeedButton::GlyphWidth() const {
    BITMAP info{};
    if (!glyph_ || !::GetObjectA(glyph_.Get(), sizeof info, &info)) return 0;
    return info.bmWidth / numGlyphs_;
}

void TSpeedButton::SetDown(bool down) {
    if (down == down_) return;
    down_ = down;
    Repaint();
}

void TSpeedButton::Paint(HDC dc) {
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0) return;
    MemoryDC memory(dc);
    ScopedBitmap bitmap(::CreateCompatibleBitmap(dc, w, h));
    {
        SelectObjectScope select(memory.Get(), bitmap.Get());
        PaintFace(memory.Get(), down_);
        ::BitBlt(dc, 0, 0, w, h, memory.Get(), 0, 0, SRCCOPY);
    }
}

void TSpeedButton::PaintFace(HDC dc, bool pressed) {
    RECT r{0, 0, Width(), Height()};
    ScopedBrush face(::CreateSolidBrush(ColorToRGB(clBtnFace)));
    ::FillRect(dc, &r, face.Get());
    ::DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    BITMAP info{};
    if (!glyph_ || !::GetObjectA(glyph_.Get(), sizeof info, &info)) return;
    const int imageWidth = info.bmWidth / numGlyphs_;
    // Image 1 is the disabled picture and image 2 the pressed one, when given.
    int image = 0;
    if (!Enabled() && numGlyphs_ > 1)
        image = 1;
    else if (pressed && numGlyphs_ > 2)
        image = 2;
    const int offset = pressed ? 1 : 0;
    const int x = (Width() - imageWidth) / 2 + offset;
    const int y = (Height() - info.bmHeight) / 2 + offset;
    DrawTransparentGlyph(dc, glyph_.Get(), image * imageWidth, imageWidth, info.bmHeight, x, y,
                         Enabled() || numGlyphs_ > 1);
}

void TSpeedButton::MouseDown(int button, int x, int y) {
    TGraphicControl::MouseDown(button, x, y);
    if (button != 0 || !Enabled()) return;
    tracking_ = true;
    SetDown(true);
}

void TSpeedButton::MouseUp(int button, int x, int y) {
    if (button == 0) {
        tracking_ = false;
        SetDown(false);
    }
    TGraphicControl::MouseUp(button, x, y);
}

void TSpeedButton::MouseEnter() {
    if (tracking_) SetDown(true);
}

void TSpeedButton::MouseLeave() {
    if (tracking_) SetDown(false);
}

}  // namespace ui
