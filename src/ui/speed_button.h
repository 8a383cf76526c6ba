// A flat button without a window of its own: a raised face with a picture in
// the middle, drawn pressed while the mouse holds it down. It takes no focus.
#pragma once

#include "ui/control.h"

namespace ui {

class TSpeedButton : public TGraphicControl {
    QUARNEL_COMPONENT(TSpeedButton, TGraphicControl)
public:
    explicit TSpeedButton(TComponent* owner);

    // The picture: NumGlyphs images side by side (up, disabled, pressed);
    // the pixel at the lower left of an image is its transparent colour.
    // The button keeps the bitmap it is given.
    void SetGlyph(HBITMAP glyph);
    HBITMAP Glyph() const { return glyph_.Get(); }
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int count);
    // Width of one image of the glyph (0 without a glyph).
    int GlyphWidth() const;

    bool Down() const { return down_; }

    // Composes the face in a bitmap of the button's size, then copies it.
    void Paint(HDC dc) override;
    // The face itself, drawn at the origin of dc.
    virtual void PaintFace(HDC dc, bool pressed);

    void MouseDown(int button, int x, int y) override;
    void MouseUp(int button, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;

protected:
    void EnabledChanged() override { Repaint(); }
    void SetDown(bool down);

private:
    ScopedBitmap glyph_;
    int numGlyphs_ = 1;
    bool down_ = false;
    bool tracking_ = false;
};

// Draws `width` x `height` pixels of `glyph` from column `sourceX` at (x, y);
// pixels of the colour at the image's lower left stay unpainted. A disabled
// picture is drawn engraved in the highlight and shadow colours.
void DrawTransparentGlyph(HDC dc, HBITMAP glyph, int sourceX, int width, int height, int x, int y,
                          bool enabled);

}  // namespace ui
