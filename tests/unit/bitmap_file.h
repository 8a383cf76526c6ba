// Windows bitmap files made in memory for the tests of the bitmap reader and
// of the controls that show bitmaps.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testdata {

struct BitmapFile {
    int width = 2;
    int height = 2;  // negative: rows stored top first
    int bits = 24;
    std::vector<COLORREF> colours;  // the colour table
    // Colours-used field; -1 writes the table's length.
    long coloursUsed = -1;
    // Rows as stored (bottom row first for a positive height), each padded
    // to 4 bytes; empty: filled with `fill` bytes.
    std::string pixels;
    unsigned char fill = 0;
    // File header fields; 0 writes the true values.
    std::uint32_t fileSize = 0;
    std::uint32_t pixelOffset = 0;

    std::string File() const;
    // The form data's form: byte count, then the file.
    std::string Data(long count = -1) const;
};

// A 24-bit picture given row by row from the top, as COLORREF values.
BitmapFile TrueColour(const std::vector<std::vector<COLORREF>>& rowsFromTop);

}  // namespace testdata
