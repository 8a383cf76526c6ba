#include "ui/bitmap.h"

#include <cstring>
#include <utility>

#include "ui/exceptions.h"

namespace ui {
namespace {

static_assert(sizeof(BitmapColour) == sizeof(RGBQUAD), "one colour-table entry");

size_t Stride(int width, int bitsPerPixel) {
    return static_cast<size_t>(BitmapRowBytes(static_cast<std::uint64_t>(width), bitsPerPixel));
}

}  // namespace

BitmapCanvas::BitmapCanvas(const TBitmap& bitmap)
    : memory_(nullptr), select_(memory_.Get(), bitmap.Handle()) {}

namespace {

// The information header and colour table the platform reads with the pixels.
std::vector<std::uint8_t> InfoOf(int width, int height, int bitsPerPixel,
                                 const std::vector<RGBQUAD>& colours) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bitsPerPixel);
    header.biClrUsed = static_cast<DWORD>(colours.size());
    std::vector<std::uint8_t> info(sizeof header +
                                   sizeof(RGBQUAD) * (colours.empty() ? 1 : colours.size()));
    std::memcpy(info.data(), &header, sizeof header);
    if (!colours.empty())
        std::memcpy(info.data() + sizeof header, colours.data(), sizeof(RGBQUAD) * colours.size());
    return info;
}

}  // namespace

TBitmap::Section TBitmap::MakeSection(int width, int height, int bitsPerPixel,
                                      const std::vector<RGBQUAD>& colours) {
    Section section;
    if (width <= 0 || height <= 0) return section;
    std::vector<std::uint8_t> info = InfoOf(width, height, bitsPerPixel, colours);
    void* bits = nullptr;
    section.handle.Reset(::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()),
                                            DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section.handle || bits == nullptr)
        throw EResourceError(Format("Bitmap: no room for a picture of %d x %d", width, height));
    section.bits = static_cast<std::uint8_t*>(bits);
    return section;
}

void TBitmap::Take(Section section, int width, int height, int bitsPerPixel,
                   std::vector<RGBQUAD> colours) noexcept {
    section_ = std::move(section.handle);
    bits_ = section.bits;
    shared_ = nullptr;
    width_ = width;
    height_ = height;
    bitsPerPixel_ = bitsPerPixel;
    colours_.swap(colours);
}

namespace {

// Copies the top-left part both sections share; the platform's copy, since
// drawing may still be pending on the source.
void CopyPixels(HBITMAP from, HBITMAP to, int width, int height) {
    MemoryDC source(nullptr);
    SelectObjectScope sourceSelect(source.Get(), from);
    MemoryDC target(nullptr);
    SelectObjectScope targetSelect(target.Get(), to);
    if (!::BitBlt(target.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCCOPY))
        throw EResourceError(
            Format("Bitmap: the pixels of %d x %d cannot be copied", width, height));
}

}  // namespace

HBITMAP TBitmap::Handle() const {
    if (shared_ != nullptr) MakeOwn();
    return section_.Get();
}

const std::uint8_t* TBitmap::PixelRows() const {
    if (shared_ != nullptr) return shared_;
    if (bits_ != nullptr) ::GdiFlush();
    return bits_;
}

void TBitmap::MakeOwn() const {
    Section own = MakeSection(width_, height_, bitsPerPixel_, colours_);
    std::memcpy(own.bits, shared_, Stride(width_, bitsPerPixel_) * static_cast<size_t>(height_));
    section_ = std::move(own.handle);
    bits_ = own.bits;
    shared_ = nullptr;
}

bool TBitmap::Draw(HDC dc, int x, int y, int width, int height, int sourceX, int sourceY) const {
    if (width > width_ - sourceX) width = width_ - sourceX;
    if (height > height_ - sourceY) height = height_ - sourceY;
    if (sourceX < 0 || sourceY < 0 || width <= 0 || height <= 0) return false;
    if (shared_ != nullptr) {
        // The rows lie bottom first: the platform counts the source from the
        // bottom row.
        const std::vector<std::uint8_t> info = InfoOf(width_, height_, bitsPerPixel_, colours_);
        return ::SetDIBitsToDevice(
                   dc, x, y, static_cast<DWORD>(width), static_cast<DWORD>(height), sourceX,
                   height_ - sourceY - height, 0, static_cast<UINT>(height_), shared_,
                   reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS) != 0;
    }
    BitmapCanvas canvas(*this);
    return ::BitBlt(dc, x, y, width, height, canvas.Get(), sourceX, sourceY, SRCCOPY) != FALSE;
}

void TBitmap::SetSize(int width, int height) {
    if (width == width_ && height == height_) return;
    if (shared_ != nullptr) MakeOwn();
    Section resized = MakeSection(width, height, bitsPerPixel_, colours_);
    if (resized.bits != nullptr) {
        std::memset(resized.bits, 0, Stride(width, bitsPerPixel_) * static_cast<size_t>(height));
        if (section_)
            CopyPixels(section_.Get(), resized.handle.Get(), width_ < width ? width_ : width,
                       height_ < height ? height_ : height);
    }
    Take(std::move(resized), width, height, bitsPerPixel_, colours_);
}

void TBitmap::Assign(const TBitmap& other) {
    if (&other == this) return;
    if (other.shared_ != nullptr) {
        // Shared pixels stay shared: they do not change while the program runs.
        Take(Section{}, other.width_, other.height_, other.bitsPerPixel_, other.colours_);
        shared_ = other.shared_;
        transparentSet_ = other.transparentSet_;
        transparentColor_ = other.transparentColor_;
        return;
    }
    Section copy = MakeSection(other.width_, other.height_, other.bitsPerPixel_, other.colours_);
    if (copy.bits != nullptr && other.section_)
        CopyPixels(other.section_.Get(), copy.handle.Get(), other.width_, other.height_);
    Take(std::move(copy), other.width_, other.height_, other.bitsPerPixel_, other.colours_);
    transparentSet_ = other.transparentSet_;
    transparentColor_ = other.transparentColor_;
}

void TBitmap::SetTransparentColor(TColor color) {
    transparentSet_ = true;
    transparentColor_ = color;
}

COLORREF TBitmap::Pixel(int x, int y) const {
    if (Empty() || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    if (shared_ != nullptr && bitsPerPixel_ != 16) return SharedPixel(x, y);
    BitmapCanvas canvas(*this);
    return ::GetPixel(canvas.Get(), x, y);
}

COLORREF TBitmap::SharedPixel(int x, int y) const {
    const std::uint8_t* row =
        shared_ + Stride(width_, bitsPerPixel_) * static_cast<size_t>(height_ - 1 - y);
    if (bitsPerPixel_ >= 24) {
        const std::uint8_t* p = row + static_cast<size_t>(x) * (bitsPerPixel_ / 8);
        return RGB(p[2], p[1], p[0]);
    }
    const int bit = x * bitsPerPixel_;
    const int index = (row[bit / 8] >> (8 - bitsPerPixel_ - bit % 8)) & ((1 << bitsPerPixel_) - 1);
    if (static_cast<size_t>(index) >= colours_.size()) return RGB(0, 0, 0);
    const RGBQUAD& c = colours_[static_cast<size_t>(index)];
    return RGB(c.rgbRed, c.rgbGreen, c.rgbBlue);
}

void TBitmap::ReadData(const std::string& data) { Build(DecodeBitmapData(data)); }

void TBitmap::ShareData(std::string_view data) {
    const DecodedBitmap picture = MapBitmapData(data);
    if (picture.stored == nullptr) {
        // Rows kept top first, or none: copied as ReadData copies them.
        Build(DecodeBitmapData(data));
        return;
    }
    std::vector<RGBQUAD> colours(picture.colours.size());
    if (!colours.empty())
        std::memcpy(colours.data(), picture.colours.data(), colours.size() * sizeof(RGBQUAD));
    Take(Section{}, picture.width, picture.height, picture.bitsPerPixel, std::move(colours));
    shared_ = picture.stored;
}

void TBitmap::LoadFromFileData(const std::string& bytes) { Build(DecodeBitmapFile(bytes)); }

void TBitmap::Build(const DecodedBitmap& picture) {
    std::vector<RGBQUAD> colours(picture.colours.size());
    if (!colours.empty())
        std::memcpy(colours.data(), picture.colours.data(), colours.size() * sizeof(RGBQUAD));
    Section section = MakeSection(picture.width, picture.height, picture.bitsPerPixel, colours);
    if (section.bits != nullptr)
        std::memcpy(section.bits, picture.rows.data(), picture.rows.size());
    Take(std::move(section), picture.width, picture.height, picture.bitsPerPixel,
         std::move(colours));
}

}  // namespace ui
