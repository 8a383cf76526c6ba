// Draws what a window's paint composes (its windowless controls over its
// background) into a memory picture whose pixels the tests read.
#pragma once

#include <windows.h>

#include "ui/control.h"
#include "ui/handles.h"

namespace testdata {

class Rendered {
public:
    Rendered(ui::TWinControl& window, int width, int height);
    ~Rendered() { ::SelectObject(memory_.Get(), old_); }
    Rendered(const Rendered&) = delete;
    Rendered& operator=(const Rendered&) = delete;
    COLORREF At(int x, int y) const { return ::GetPixel(memory_.Get(), x, y); }
    HDC Dc() const { return memory_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_, height_;
    ui::MemoryDC memory_;
    ui::ScopedBitmap bitmap_;
    HGDIOBJ old_;
};

}  // namespace testdata
