#include "ui/bitmap.h"

#include <cstring>

#include "ui/exceptions.h"

namespace ui {
namespace {

const size_t kFileHeaderSize = 14;
const size_t kInfoHeaderSize = 40;

std::uint32_t ReadU32(const std::string& bytes, size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

std::uint16_t ReadU16(const std::string& bytes, size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
}

[[noreturn]] void Malformed(const std::string& what) {
    throw EResourceError("Bitmap data: " + what);
}

std::uint64_t RowBytes(std::uint64_t width, int bitsPerPixel) {
    return (width * static_cast<std::uint64_t>(bitsPerPixel) + 31) / 32 * 4;
}

}  // namespace

BitmapCanvas::BitmapCanvas(const TBitmap& bitmap)
    : memory_(nullptr), select_(memory_.Get(), bitmap.Handle()) {}

void TBitmap::Reset() {
    section_.Reset();
    bits_ = nullptr;
}

size_t TBitmap::Stride() const {
    return static_cast<size_t>(RowBytes(static_cast<std::uint64_t>(width_), bitsPerPixel_));
}

void TBitmap::MakeSection(const BITMAPINFOHEADER& header, const std::vector<RGBQUAD>& colours) {
    std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) +
                                   sizeof(RGBQUAD) * (colours.empty() ? 1 : colours.size()));
    std::memcpy(info.data(), &header, sizeof header);
    if (!colours.empty())
        std::memcpy(info.data() + sizeof header, colours.data(), sizeof(RGBQUAD) * colours.size());
    void* bits = nullptr;
    HBITMAP section = ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()),
                                         DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section == nullptr || bits == nullptr)
        Malformed(Format("no room for a picture of %ld x %ld", static_cast<long>(header.biWidth),
                         static_cast<long>(header.biHeight)));
    section_.Reset(section);
    bits_ = static_cast<std::uint8_t*>(bits);
}

void TBitmap::SetSize(int width, int height) {
    if (width == width_ && height == height_) return;
    ScopedBitmap old(section_.Detach());
    const int oldWidth = width_, oldHeight = height_;
    bits_ = nullptr;
    width_ = width;
    height_ = height;
    if (Empty()) return;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bitsPerPixel_);
    header.biClrUsed = static_cast<DWORD>(colours_.size());
    MakeSection(header, colours_);
    std::memset(bits_, 0, Stride() * static_cast<size_t>(height_));
    if (old) {
        MemoryDC from(nullptr);
        SelectObjectScope fromSelect(from.Get(), old.Get());
        BitmapCanvas to(*this);
        ::BitBlt(to.Get(), 0, 0, oldWidth < width ? oldWidth : width,
                 oldHeight < height ? oldHeight : height, from.Get(), 0, 0, SRCCOPY);
    }
}

void TBitmap::Assign(const TBitmap& other) {
    if (&other == this) return;
    Reset();
    width_ = 0;
    height_ = 0;
    bitsPerPixel_ = other.bitsPerPixel_;
    colours_ = other.colours_;
    transparentSet_ = other.transparentSet_;
    transparentColor_ = other.transparentColor_;
    SetSize(other.width_, other.height_);
    if (!Empty() && !other.Empty()) {
        BitmapCanvas from(other);
        BitmapCanvas to(*this);
        ::BitBlt(to.Get(), 0, 0, width_, height_, from.Get(), 0, 0, SRCCOPY);
    }
}

void TBitmap::SetTransparentColor(TColor color) {
    transparentSet_ = true;
    transparentColor_ = color;
}

COLORREF TBitmap::Pixel(int x, int y) const {
    if (Empty() || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    BitmapCanvas canvas(*this);
    return ::GetPixel(canvas.Get(), x, y);
}

void TBitmap::ReadData(const std::string& data) {
    if (data.size() < 4) Malformed("the byte count is cut short");
    const std::uint32_t count = ReadU32(data, 0);
    const size_t present = data.size() - 4;
    LoadFromFileData(data.substr(4, count < present ? count : present));
}

void TBitmap::LoadFromFileData(const std::string& bytes) {
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
    if (compression != BI_RGB) Malformed("compressed pixels are not read");
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
    const std::uint64_t stride = RowBytes(static_cast<std::uint64_t>(width), bitCount);
    const std::uint64_t room = available - pixelStart;
    if (stride != 0 && rows > room / stride)
        Malformed(Format("%lu of %llu pixel bytes present", static_cast<unsigned long>(room),
                         static_cast<unsigned long long>(stride * rows)));

    std::vector<RGBQUAD> colours;
    if (bitCount <= 8) {
        colours.resize(static_cast<size_t>(tableEntries));
        std::memcpy(colours.data(), bytes.data() + tableStart, colours.size() * sizeof(RGBQUAD));
    }

    // Everything is checked: from here on the bitmap changes.
    Reset();
    width_ = 0;
    height_ = 0;
    bitsPerPixel_ = bitCount;
    colours_ = colours;
    if (width == 0 || rows == 0) {
        width_ = width;
        height_ = static_cast<int>(rows);
        return;
    }
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = static_cast<LONG>(rows);
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    header.biClrUsed = static_cast<DWORD>(colours.size());
    MakeSection(header, colours);
    width_ = width;
    height_ = static_cast<int>(rows);
    const size_t rowBytes = static_cast<size_t>(stride);
    for (size_t row = 0; row < static_cast<size_t>(rows); ++row) {
        const size_t from = topDown ? static_cast<size_t>(rows) - 1 - row : row;
        std::memcpy(bits_ + row * rowBytes,
                    bytes.data() + static_cast<size_t>(pixelStart) + from * rowBytes, rowBytes);
    }
}

}  // namespace ui
