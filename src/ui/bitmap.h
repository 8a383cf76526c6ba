// Bitmaps that windows carry in their form data: a device-independent
// section kept in the pixel format it was read in, read from the Windows
// bitmap file format and drawn with BitBlt. A bitmap read from the program's
// own resources is drawn from the pixels where the resource keeps them, and
// becomes a section of its own only when something asks for its handle.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
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
    // The section, or none while the bitmap is empty. A bitmap that draws
    // from shared pixels copies them into a section of its own first
    // (EResourceError when the platform has no room for it).
    HBITMAP Handle() const;
    // The colour table, for 8 bits per pixel or fewer.
    const std::vector<RGBQUAD>& Colours() const { return colours_; }
    // The pixel rows, bottom first, each padded to 4 bytes, in the picture's
    // format: the shared ones, or the section's once drawing into it is done
    // (GdiFlush). Null for an empty bitmap.
    const std::uint8_t* PixelRows() const;
    // Whether the pixels are still the shared ones (see ShareData).
    bool SharesPixels() const { return shared_ != nullptr; }

    // Copies width x height pixels from (sourceX, sourceY) of the picture to
    // (x, y) of `dc`, in its logical units; what lies outside the picture is
    // not drawn. Answers whether the platform drew.
    bool Draw(HDC dc, int x, int y, int width, int height, int sourceX, int sourceY) const;

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
    // As ReadData, from bytes that stay where they are and as they are for
    // the program's whole run (its resources): the pixels are not copied.
    void ShareData(std::string_view data);

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
    // The shared pixels copied into a section of the bitmap's own.
    void MakeOwn() const;
    COLORREF SharedPixel(int x, int y) const;

    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 24;
    std::vector<RGBQUAD> colours_;
    // A bitmap drawn from shared pixels makes its section on first demand.
    mutable ScopedBitmap section_;
    mutable std::uint8_t* bits_ = nullptr;
    mutable const std::uint8_t* shared_ = nullptr;
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
