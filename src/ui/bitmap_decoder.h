// The Windows bitmap file format read into plain data: sizes, the colour
// table and the pixel rows, ready to be handed to the platform as they stand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// One colour-table entry as the file and the platform lay it out.
struct BitmapColour {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;
};

struct DecodedBitmap {
    int width = 0;
    int height = 0;  // rows, whatever order the file kept them in
    int bitsPerPixel = 24;
    // The colour table, for 8 bits per pixel or fewer; empty above.
    std::vector<BitmapColour> colours;
    // Rows bottom first, each padded to a multiple of 4 bytes; empty when the
    // picture has no pixel.
    std::vector<std::uint8_t> rows;
    // From MapBitmapData: the rows where they lie in the data read, bottom
    // first (`rows` stays empty); null when the file keeps them top first or
    // the picture has no pixel.
    const std::uint8_t* stored = nullptr;
};

// Bytes of one stored row: bits padded to a multiple of 32.
std::uint64_t BitmapRowBytes(std::uint64_t width, int bitsPerPixel);

// Reads a Windows bitmap file: "BM" file header, 40-byte information
// header, colour table, rows bottom first (top first for a negative height).
// The colour table is as long as the colours-used field says (or the full
// table for the pixel depth when it is 0) and the pixels follow it directly;
// the file header's size and pixel offset are not relied on. Malformed data
// raises EResourceError.
DecodedBitmap DecodeBitmapFile(std::string_view bytes);

// The form data's form of a bitmap: a 32-bit little-endian byte count
// followed by the bitmap file. The count may claim more than is present.
DecodedBitmap DecodeBitmapData(std::string_view data);
// As DecodeBitmapData, but the pixels are not copied: `stored` points at
// them inside `data`, which must outlive every use of it.
DecodedBitmap MapBitmapData(std::string_view data);

}  // namespace ui
