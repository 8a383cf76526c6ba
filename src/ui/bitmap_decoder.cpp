#include "ui/bitmap_decoder.h"

#include <cstring>

#include "ui/exceptions.h"

namespace ui {
namespace {

const size_t kFileHeaderSize = 14;
const size_t kInfoHeaderSize = 40;
const std::uint32_t kUncompressed = 0;

std::uint32_t ReadU32(std::string_view bytes, size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

std::uint16_t ReadU16(std::string_view bytes, size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
}

[[noreturn]] void Malformed(const std::string& what) {
    throw EResourceError("Bitmap data: " + what);
}

}  // namespace

std::uint64_t BitmapRowBytes(std::uint64_t width, int bitsPerPixel) {
    return (width * static_cast<std::uint64_t>(bitsPerPixel) + 31) / 32 * 4;
}

namespace {

std::string_view FileOfData(std::string_view data) {
    if (data.size() < 4) Malformed("the byte count is cut short");
    const std::uint32_t count = ReadU32(data, 0);
    const size_t present = data.size() - 4;
    return data.substr(4, count < present ? count : present);
}

DecodedBitmap Decode(std::string_view bytes, bool copyRows) {
    if (bytes.size() < kFileHeaderSize + kInfoHeaderSize) Malformed("the headers are cut short");
    if (bytes[0] != 'B' || bytes[1] != 'M') Malformed("not a Windows bitmap file");
    const size_t info = kFileHeaderSize;
    const std::uint32_t headerSize = ReadU32(bytes, info);
    const std::int32_t width = static_cast<std::int32_t>(ReadU32(bytes, info + 4));
    const std::int32_t height = static_cast<std::int32_t>(ReadU32(bytes, info + 8));
    const std::uint16_t planes = ReadU16(bytes, info + 12);
    const std::uint16_t bitCount = ReadU16(bytes, info + 14);
    const std::uint32_t compression = ReadU32(bytes, info + 16);
    const std::uint32_t coloursUsed = ReadU32(bytes, info + 32);

    if (headerSize < kInfoHeaderSize || headerSize > bytes.size() - info)
        Malformed(
            Format("information header of %lu bytes", static_cast<unsigned long>(headerSize)));
    if (planes != 1) Malformed(Format("%u colour planes", planes));
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
        bitCount != 32)
        Malformed(Format("%u bits per pixel", bitCount));
    if (compression != kUncompressed) Malformed("compressed pixels are not read");
    if (width < 0) Malformed(Format("negative width %ld", static_cast<long>(width)));
    // A negative height stores the rows top first.
    const bool topDown = height < 0;
    const std::uint64_t rows = topDown ? -static_cast<std::int64_t>(height) : height;
    if (rows > 0x7FFFFFFF) Malformed("height out of range");

    std::uint64_t tableEntries = coloursUsed;
    if (bitCount <= 8) {
        const std::uint32_t full = 1u << bitCount;
        if (coloursUsed > full)
            Malformed(Format("%lu colours for %u bits per pixel",
                             static_cast<unsigned long>(coloursUsed), bitCount));
        if (coloursUsed == 0) tableEntries = full;
    }
    const std::uint64_t tableStart = info + headerSize;
    const std::uint64_t available = bytes.size();
    if (tableEntries > (available - tableStart) / 4)
        Malformed(Format("the colour table of %lu entries is cut short",
                         static_cast<unsigned long>(tableEntries)));
    const std::uint64_t pixelStart = tableStart + tableEntries * 4;
    const std::uint64_t stride = BitmapRowBytes(static_cast<std::uint64_t>(width), bitCount);
    const std::uint64_t room = available - pixelStart;
    if (stride != 0 && rows > room / stride)
        Malformed(Format("%lu of %llu pixel bytes present", static_cast<unsigned long>(room),
                         static_cast<unsigned long long>(stride * rows)));

    DecodedBitmap picture;
    picture.width = width;
    picture.height = static_cast<int>(rows);
    picture.bitsPerPixel = bitCount;
    if (bitCount <= 8) {
        picture.colours.resize(static_cast<size_t>(tableEntries));
        for (size_t i = 0; i < picture.colours.size(); ++i) {
            const char* entry = bytes.data() + static_cast<size_t>(tableStart) + i * 4;
            picture.colours[i].blue = static_cast<std::uint8_t>(entry[0]);
            picture.colours[i].green = static_cast<std::uint8_t>(entry[1]);
            picture.colours[i].red = static_cast<std::uint8_t>(entry[2]);
            picture.colours[i].reserved = static_cast<std::uint8_t>(entry[3]);
        }
    }
    if (width == 0 || rows == 0) return picture;
    const size_t rowBytes = static_cast<size_t>(stride);
    const size_t count = static_cast<size_t>(rows);
    const char* pixels = bytes.data() + static_cast<size_t>(pixelStart);
    if (!copyRows) {
        if (!topDown) picture.stored = reinterpret_cast<const std::uint8_t*>(pixels);
        return picture;
    }
    picture.rows.resize(rowBytes * count);
    if (!topDown) {
        std::memcpy(picture.rows.data(), pixels, picture.rows.size());
    } else {
        for (size_t row = 0; row < count; ++row)
            std::memcpy(picture.rows.data() + row * rowBytes, pixels + (count - 1 - row) * rowBytes,
                        rowBytes);
    }
    return picture;
}

}  // namespace

DecodedBitmap DecodeBitmapFile(std::string_view bytes) { return Decode(bytes, true); }

DecodedBitmap DecodeBitmapData(std::string_view data) { return Decode(FileOfData(data), true); }

DecodedBitmap MapBitmapData(std::string_view data) { return Decode(FileOfData(data), false); }

}  // namespace ui
