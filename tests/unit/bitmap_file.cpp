#include "bitmap_file.h"

namespace testdata {
namespace {

void Put(std::string& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string BitmapFile::File() const {
    const int rows = height < 0 ? -height : height;
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4;
    std::string body =
        pixels.empty() ? std::string(stride * rows, static_cast<char>(fill)) : pixels;
    const std::uint32_t table = static_cast<std::uint32_t>(colours.size()) * 4;
    std::string out = "BM";
    Put(out, fileSize != 0 ? fileSize : 54 + table + static_cast<std::uint32_t>(body.size()), 4);
    Put(out, 0, 4);
    Put(out, pixelOffset != 0 ? pixelOffset : 54 + table, 4);
    Put(out, 40, 4);
    Put(out, static_cast<std::uint32_t>(width), 4);
    Put(out, static_cast<std::uint32_t>(height), 4);
    Put(out, 1, 2);
    Put(out, static_cast<std::uint32_t>(bits), 2);
    Put(out, 0, 4);
    Put(out, static_cast<std::uint32_t>(body.size()), 4);
    Put(out, 2834, 4);
    Put(out, 2834, 4);
    const std::uint32_t used = coloursUsed < 0 ? static_cast<std::uint32_t>(colours.size())
                                               : static_cast<std::uint32_t>(coloursUsed);
    Put(out, used, 4);
    Put(out, used, 4);
    for (COLORREF c : colours) {
        out += static_cast<char>(GetBValue(c));
        out += static_cast<char>(GetGValue(c));
        out += static_cast<char>(GetRValue(c));
        out += '\0';
    }
    return out + body;
}

std::string BitmapFile::Data(long count) const {
    const std::string file = File();
    std::string out;
    Put(out,
        count < 0 ? static_cast<std::uint32_t>(file.size()) : static_cast<std::uint32_t>(count), 4);
    return out + file;
}

BitmapFile TrueColour(const std::vector<std::vector<COLORREF>>& rowsFromTop) {
    BitmapFile file;
    file.height = static_cast<int>(rowsFromTop.size());
    file.width = static_cast<int>(rowsFromTop.front().size());
    const size_t stride = (static_cast<size_t>(file.width) * 3 + 3) / 4 * 4;
    for (auto row = rowsFromTop.rbegin(); row != rowsFromTop.rend(); ++row) {
        std::string bytes;
        for (COLORREF c : *row) {
            bytes += static_cast<char>(GetBValue(c));
            bytes += static_cast<char>(GetGValue(c));
            bytes += static_cast<char>(GetRValue(c));
        }
        bytes.resize(stride, '\0');
        file.pixels += bytes;
    }
    return file;
}

}  // namespace testdata
