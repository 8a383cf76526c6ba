// Host tool run at build time: draws the program's pictures from code so
// that no binary image is kept in the sources. Usage: imagegen icon FILE
// writes the window icon, 32 x 32 in the 16 standard colours, as an .ico file;
// imagegen diredit FILE writes the directory edit's default button picture.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The 16 colours of the standard palette, in their usual order.
const std::uint8_t kPalette[16][3] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
    {0, 128, 128},   {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
enum { Black = 0, Navy = 4, Teal = 6, Silver = 7, Grey = 8, Red = 9, Lime = 10, Yellow = 11,
       White = 15, Clear = 255 };

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<std::uint8_t>& out, unsigned v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A hard disk seen from above: silver case, dark platter with a light spindle,
// a navy head arm and a green activity light; transparent outside the case.
std::vector<std::uint8_t> DiskPicture() {
    std::vector<std::uint8_t> p(32 * 32, Clear);
    for (int y = 3; y < 29; ++y)
        for (int x = 2; x < 30; ++x) p[y * 32 + x] = (x == 2 || y == 3) ? White : (x == 29 || y == 28) ? Black : Silver;
    for (int y = 4; y < 26; ++y)
        for (int x = 4; x < 26; ++x) {
            const double d = std::hypot(x - 14.5, y - 14.5);
            if (d < 10.5) p[y * 32 + x] = d < 2.5 ? White : d < 3.5 ? Grey : (x + y) % 7 == 0 ? Teal : Navy;
        }
    for (int i = 0; i < 9; ++i) p[(22 - i) * 32 + 25 - i / 2] = Black;
    p[25 * 32 + 26] = Lime;
    p[25 * 32 + 27] = Lime;
    p[26 * 32 + 26] = Lime;
    p[26 * 32 + 27] = Lime;
    for (int x = 5; x < 12; ++x) p[26 * 32 + x] = Red;
    p[5 * 32 + 26] = Yellow;
    return p;
}

bool WriteIcon(const char* path) {
    const std::vector<std::uint8_t> picture = DiskPicture();
    std::vector<std::uint8_t> image;
    Put32(image, 40);  // BITMAPINFOHEADER
    Put32(image, 32);
    Put32(image, 64);  // colour and mask halves
    Put16(image, 1);
    Put16(image, 4);
    Put32(image, 0);
    Put32(image, 32 * 32 / 2 + 32 * 4);
    Put32(image, 0);
    Put32(image, 0);
    Put32(image, 16);
    Put32(image, 0);
    for (const auto& c : kPalette) {
        image.push_back(c[2]);
        image.push_back(c[1]);
        image.push_back(c[0]);
        image.push_back(0);
    }
    for (int y = 31; y >= 0; --y)  // colour rows, bottom first, two pixels a byte
        for (int x = 0; x < 32; x += 2) {
            auto colour = [&](int px) {
                const std::uint8_t v = picture[y * 32 + px];
                return v == Clear ? 0 : v;
            };
            image.push_back(static_cast<std::uint8_t>(colour(x) << 4 | colour(x + 1)));
        }
    for (int y = 31; y >= 0; --y)  // mask rows: a set bit shows the desktop
        for (int byte = 0; byte < 4; ++byte) {
            std::uint8_t bits = 0;
            for (int b = 0; b < 8; ++b)
                if (picture[y * 32 + byte * 8 + b] == Clear) bits |= 0x80 >> b;
            image.push_back(bits);
        }
    std::vector<std::uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);  // an icon
    Put16(file, 1);  // one image
    file.push_back(32);
    file.push_back(32);
    file.push_back(16);
    file.push_back(0);
    Put16(file, 1);
    Put16(file, 4);
    Put32(file, static_cast<unsigned>(image.size()));
    Put32(file, 6 + 16);
    file.insert(file.end(), image.begin(), image.end());
    FILE* out = std::fopen(path, "wb");
    if (out == nullptr) return false;
    const bool ok = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && ok;
}

// A folder, 15 x 13, on silver: the lower-left pixel's colour is the one a
// button leaves transparent.
std::vector<std::uint8_t> FolderGlyph() {
    const int w = 15, h = 13;
    std::vector<std::uint8_t> p(w * h, Silver);
    for (int y = 3; y < 12; ++y)
        for (int x = 1; x < 14; ++x) p[y * w + x] = (y == 3 || y == 11 || x == 1 || x == 13) ? Black : Yellow;
    for (int x = 2; x < 6; ++x) p[2 * w + x] = Black;
    p[3 * w + 6] = Black;
    for (int x = 2; x < 13; ++x) p[5 * w + x] = White;
    return p;
}

// A bottom-up 4-bit BMP file of a picture in the standard colours.
bool WriteBitmap(const char* path, const std::vector<std::uint8_t>& picture, int w, int h) {
    const unsigned stride = ((w + 1) / 2 + 3) & ~3u;
    std::vector<std::uint8_t> file;
    Put16(file, 0x4D42);
    Put32(file, 14 + 40 + 64 + stride * h);
    Put32(file, 0);
    Put32(file, 14 + 40 + 64);
    Put32(file, 40);
    Put32(file, w);
    Put32(file, h);
    Put16(file, 1);
    Put16(file, 4);
    Put32(file, 0);
    Put32(file, stride * h);
    Put32(file, 0);
    Put32(file, 0);
    Put32(file, 16);
    Put32(file, 0);
    for (const auto& c : kPalette) {
        file.push_back(c[2]);
        file.push_back(c[1]);
        file.push_back(c[0]);
        file.push_back(0);
    }
    for (int y = h - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(stride, 0);
        for (int x = 0; x < w; ++x) row[x / 2] |= picture[y * w + x] << (x % 2 == 0 ? 4 : 0);
        file.insert(file.end(), row.begin(), row.end());
    }
    FILE* out = std::fopen(path, "wb");
    if (out == nullptr) return false;
    const bool ok = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "icon") == 0) return WriteIcon(argv[2]) ? 0 : 1;
    if (argc == 3 && std::strcmp(argv[1], "diredit") == 0)
        return WriteBitmap(argv[2], FolderGlyph(), 15, 13) ? 0 : 1;
    std::fprintf(stderr, "usage: imagegen icon|diredit FILE\n");
    return 2;
}
