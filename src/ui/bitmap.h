// Bitmaps that windows carry in their form data: a device-independent
// section kept in the pixel format it was read in, read from the Windows
// bitmap file format and drawn with BitBlt.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ui/bitmap_decoder.h"
#include "ui/graphics.h"
#include "ui/handles.h"

namespace ui {

class TBitmap {
public:
    TBitmap() = default;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Nothing to draw: no pixel in one of the two directions.
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    int BitsPerPixel() const { return bitsPerPixel_; }
    bool Monochrome() const { return bitsPerPixel_ == 1; }
    // The section, or none while the bitmap is empty.
    HBITMAP Handle() const { return section_.Get(); }

    // A new size keeps the pixels both sizes share; new pixels are black.
    // A size of 0 either way releases the pixels.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    // Makes this bitmap a copy of `other`: pixels, format and transparency.
    void Assign(const TBitmap& other);

    // A transparency colour set on purpose; without one the picture's
    // bottom-left pixel stands for it.
    bool HasTransparentColor() const { return transparentSet_; }
    TColor TransparentColor() const { return transparentColor_; }
    void SetTransparentColor(TColor color);

    // The colour of one pixel (x to the right, y downwards from the top row).
    COLORREF Pixel(int x, int y) const;

    // Reads a Windows bitmap file (the format ui/bitmap_decoder.h reads).
    // Malformed data, or a picture the platform has no room for, raises
    // EResourceError and leaves the bitmap as it was.
    void LoadFromFileData(const std::string& bytes);
    // The form data's form of a bitmap: a 32-bit little-endian byte count
    // followed by the bitmap file. The count may claim more than is present.
    void ReadData(const std::string& data);

private:
    // A section not yet taken: nothing about the bitmap changes until every
    // step that can fail is done.
    struct Section {
        ScopedBitmap handle;
        std::uint8_t* bits = nullptr;
    };
    static Section MakeSection(int width, int height, int bitsPerPixel,
                               const std::vector<RGBQUAD>& colours);
    void Take(Section section, int width, int height, int bitsPerPixel,
              std::vector<RGBQUAD> colours) noexcept;
    void Build(const DecodedBitmap& picture);

    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 24;
    std::vector<RGBQUAD> colours_;
    ScopedBitmap section_;
    std::uint8_t* bits_ = nullptr;
    bool transparentSet_ = false;
    TColor transparentColor_ = 0;
};

// A memory device context with a bitmap selected, for drawing into the
// bitmap or copying from it; the bitmap is deselected on exit.
class BitmapCanvas {
public:
    explicit BitmapCanvas(const TBitmap& bitmap);
    BitmapCanvas(const BitmapCanvas&) = delete;
    BitmapCanvas& operator=(const BitmapCanvas&) = delete;
    HDC Get() const { return memory_.Get(); }

private:
    MemoryDC memory_;
    SelectObjectScope select_;
};

}  // namespace ui
