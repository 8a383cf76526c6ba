// An off-screen picture kept from one paint to the next. A control that
// repaints often (a progress bar during a copy) composes in the same memory
// bitmap every time instead of making and freeing one per paint; the bitmap
// is made again only when the size or the pixel format asked for changes.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/handles.h"

namespace ui {

class OffscreenBitmap {
public:
    OffscreenBitmap() = default;
    ~OffscreenBitmap() = default;
    OffscreenBitmap(const OffscreenBitmap&) = delete;
    OffscreenBitmap& operator=(const OffscreenBitmap&) = delete;

    // A memory device context on a bitmap compatible with `like`: exactly
    // width x height, or, with `atLeast`, a kept one that is no smaller (the
    // caller then works in its top-left corner). The context's state (origins,
    // clip region, selected objects, colours) is as the last caller left it.
    // Null when the platform cannot make the bitmap. `made`, when given, is
    // told whether the bitmap is new (its pixels then are undefined).
    HDC Prepare(HDC like, int width, int height, bool atLeast = false, bool* made = nullptr);
    // Frees the bitmap and its device context.
    void Reset();

private:
    // What makes one compatible bitmap differ from another: its bits per
    // pixel, for a bitmap with masks the masks, and for the display or a
    // device-dependent bitmap in its format which of the display's formats
    // (it may change while the program runs).
    struct Format {
        int bits = 0;
        DWORD masks[3] = {0, 0, 0};
        unsigned display = 0;  // for the display: which of its formats
        bool operator==(const Format& other) const;
    };
    static Format FormatOf(HDC dc);

    std::unique_ptr<MemoryDC> dc_;
    ScopedBitmap bitmap_;
    std::unique_ptr<SelectObjectScope> select_;
    int width_ = 0;
    int height_ = 0;
    Format format_;
};

// Tells the kept pictures that the display may have changed its format; the
// window procedure calls it on WM_DISPLAYCHANGE.
void DisplayFormatChanged();

}  // namespace ui
