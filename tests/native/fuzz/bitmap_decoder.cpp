// The bitmap decoder on any bytes, read both as a bitmap file and in the
// form data's form (byte count, then the file). It either decodes or raises
// a resource error; what it decodes is consistent, and the same file with
// its rows stored the other way up decodes to the same picture.
#include "ui/bitmap_decoder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/exceptions.h"

namespace {

[[noreturn]] void Broken(const char* what) {
    std::fprintf(stderr, "bitmap: %s\n", what);
    std::abort();
}

bool Decode(const std::string& bytes, bool withCount, ui::DecodedBitmap& picture) {
    try {
        picture = withCount ? ui::DecodeBitmapData(bytes) : ui::DecodeBitmapFile(bytes);
        return true;
    } catch (const ui::EResourceError& error) {
        if (error.Message().rfind("Bitmap data: ", 0) != 0) Broken("an error of another kind");
        return false;
    }
}

void CheckConsistent(const ui::DecodedBitmap& picture) {
    const int bits = picture.bitsPerPixel;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        Broken("a pixel depth it should have refused");
    if (picture.width < 0 || picture.height < 0) Broken("a negative size");
    if (bits <= 8 ? picture.colours.size() > (1u << bits) : !picture.colours.empty())
        Broken("a colour table that does not fit the depth");
    const std::uint64_t expected =
        picture.width == 0 || picture.height == 0
            ? 0
            : ui::BitmapRowBytes(static_cast<std::uint64_t>(picture.width), bits) *
                  static_cast<std::uint64_t>(picture.height);
    if (picture.rows.size() != expected) Broken("pixel rows of the wrong length");
}

bool Same(const ui::DecodedBitmap& a, const ui::DecodedBitmap& b, bool reversedRows) {
    if (a.width != b.width || a.height != b.height || a.bitsPerPixel != b.bitsPerPixel ||
        a.colours.size() != b.colours.size() || a.rows.size() != b.rows.size())
        return false;
    for (size_t i = 0; i < a.colours.size(); ++i)
        if (a.colours[i].blue != b.colours[i].blue || a.colours[i].green != b.colours[i].green ||
            a.colours[i].red != b.colours[i].red || a.colours[i].reserved != b.colours[i].reserved)
            return false;
    if (!reversedRows || a.rows.empty()) return a.rows == b.rows;
    const size_t stride = a.rows.size() / static_cast<size_t>(a.height);
    for (size_t row = 0; row < static_cast<size_t>(a.height); ++row)
        if (!std::equal(a.rows.begin() + row * stride, a.rows.begin() + (row + 1) * stride,
                        b.rows.end() - (row + 1) * stride))
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ui::DecodedBitmap picture;
    if (Decode(bytes, true, picture)) CheckConsistent(picture);
    if (!Decode(bytes, false, picture)) return 0;
    CheckConsistent(picture);

    // The height's sign says which row comes first; turning it over (where
    // it can be) turns the rows over and changes nothing else.
    const size_t heightAt = 22;
    std::int32_t height = 0;
    for (int i = 3; i >= 0; --i)
        height = static_cast<std::int32_t>(static_cast<std::uint32_t>(height) << 8 |
                                           static_cast<unsigned char>(bytes[heightAt + i]));
    if (height == INT32_MIN) return 0;
    const std::uint32_t turned = static_cast<std::uint32_t>(-height);
    std::string flipped = bytes;
    for (int i = 0; i < 4; ++i) flipped[heightAt + i] = static_cast<char>(turned >> (8 * i));
    ui::DecodedBitmap other;
    if (!Decode(flipped, false, other)) Broken("the same file the other way up is refused");
    if (!Same(picture, other, true)) Broken("the same file the other way up decodes differently");
    return 0;
}
