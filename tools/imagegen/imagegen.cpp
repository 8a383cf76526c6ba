// Host tool run at build time: draws the program's pictures from code so
// that no binary image is kept in the sources. Usage: imagegen WHAT FILE with
// WHAT one of
//   icon          the program's icon (32 x 32, 16 standard colours, .ico)
//   setup-icon    the setup window's icon (same format)
//   backdrop-icon the background window's icon (same format)
//   backdrop      the background window's picture, 800 x 600 x 24 bits
//   tile          the grey tile of the other two windows, 128 x 128 x 8 bits
//   diredit       the directory edit's default button picture (.bmp)
// The two pictures are written as the form data keeps a bitmap: a 32-bit
// little-endian byte count followed by a Windows bitmap file.
#include <algorithm>
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

std::vector<std::uint8_t> IconFile(const std::vector<std::uint8_t>& picture) {
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
    return file;
}

bool WriteFile(const char* path, const std::vector<std::uint8_t>& bytes) {
    FILE* out = std::fopen(path, "wb");
    if (out == nullptr) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && ok;
}

// A folder, 15 x 13, on silver: the lower-left pixel's colour is the one a
// button leaves transparent.
std::vector<std::uint8_t> FolderGlyph() {
    const int w = 15, h = 13;
    std::vector<std::uint8_t> p(w * h, Silver);
    for (int y = 3; y < 12; ++y)
        for (int x = 1; x < 14; ++x)
            p[y * w + x] = (y == 3 || y == 11 || x == 1 || x == 13) ? Black : Yellow;
    for (int x = 2; x < 6; ++x) p[2 * w + x] = Black;
    p[3 * w + 6] = Black;
    for (int x = 2; x < 13; ++x) p[5 * w + x] = White;
    return p;
}

// A bottom-up 4-bit BMP file of a picture in the standard colours.
std::vector<std::uint8_t> Bitmap16(const std::vector<std::uint8_t>& picture, int w, int h) {
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
    return file;
}

// The setup window's icon: the disk with a green arrow pointing into it.
std::vector<std::uint8_t> SetupIconPicture() {
    std::vector<std::uint8_t> p = DiskPicture();
    const int shaft[][2] = {{3, 0}, {3, 1}, {3, 2}, {3, 3}, {3, 4}, {3, 5}, {3, 6}};
    for (const auto& s : shaft)
        for (int w = -2; w <= 2; ++w) p[s[1] * 32 + s[0] + 4 + w] = Lime;
    for (int row = 0; row < 6; ++row)
        for (int w = -(6 - row); w <= 6 - row; ++w) p[(7 + row) * 32 + 7 + w] = Lime;
    for (int row = 0; row < 6; ++row) {  // dark outline on the arrow's head
        p[(7 + row) * 32 + 7 - (6 - row) - 1] = Black;
        p[(7 + row) * 32 + 7 + (6 - row) + 1] = Black;
    }
    p[13 * 32 + 6] = Black;
    p[13 * 32 + 7] = Black;
    p[13 * 32 + 8] = Black;
    return p;
}

// The background window's icon: a platter lying flat under a pale sky, as
// the backdrop shows it.
std::vector<std::uint8_t> BackdropIconPicture() {
    std::vector<std::uint8_t> p(32 * 32, Clear);
    for (int y = 2; y < 30; ++y)
        for (int x = 1; x < 31; ++x) {
            const bool frame = x == 1 || y == 2 || x == 30 || y == 29;
            p[y * 32 + x] = frame ? Black : y < 13 ? White : y < 16 ? Silver : Navy;
        }
    for (int y = 3; y < 29; ++y)
        for (int x = 2; x < 30; ++x) {
            const double dx = (x - 15.5) / 12.5, dy = (y - 19.5) / 5.0;
            const double d = dx * dx + dy * dy;
            if (d < 1.0)
                p[y * 32 + x] = d < 0.05 ? Grey : d > 0.75 ? Grey : (x < 14 ? White : Silver);
        }
    for (int i = 0; i < 8; ++i) p[(16 + i / 3) * 32 + 27 - i] = Black;  // head arm
    for (int x = 5; x < 20; ++x) p[6 * 32 + x] = Navy;                  // a title line
    for (int x = 9; x < 16; ++x) p[9 * 32 + x] = Navy;
    return p;
}

// ------------------------------------------------------------ the pictures

struct Rgb {
    double r, g, b;
};

Rgb Mix(const Rgb& a, const Rgb& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double Clamp01(double v) { return v < 0 ? 0 : v > 1 ? 1 : v; }
double Smooth(double t) {
    t = Clamp01(t);
    return t * t * (3 - 2 * t);
}

std::uint8_t Channel(double v) {
    const double c = std::floor(v + 0.5);
    return static_cast<std::uint8_t>(c < 0 ? 0 : c > 255 ? 255 : c);
}

// The scene of the backdrop at one point (x to the right, y downwards, in
// pixels of the 800 x 600 picture): a pale sky at the top where the titles
// stand, a dark floor with a perspective grid, and a hard-disk platter
// lying on it with its head arm.
const double kHorizon = 250.0;
const double kCx = 400.0, kCy = 392.0, kRx = 300.0, kRy = 92.0;  // platter top face
const double kThickness = 14.0;

// Deeper blue at the top, where the white title stands, lighter lower down
// behind the navy and blue lines, and a glow over the horizon.
Rgb Sky(double x, double y) {
    Rgb c;
    if (y < 75)
        c = Mix({62, 92, 160}, {180, 197, 231}, Smooth(y / 75));
    else if (y < 135)
        c = Mix({180, 197, 231}, {222, 230, 245}, Smooth((y - 75) / 60));
    else
        c = Mix({222, 230, 245}, {160, 184, 222}, Smooth((y - 135) / (kHorizon - 135)));
    const double dx = (x - 400) / 420, dy = (y - kHorizon) / 140;
    const double glow = std::exp(-(dx * dx + dy * dy) * 2.2);
    return Mix(c, {250, 250, 255}, 0.5 * glow);
}

Rgb Floor(double x, double y) {
    const double depth = (y - kHorizon) / (600 - kHorizon);  // 0 at the horizon, 1 at the bottom
    Rgb c = Mix({46, 70, 128}, {1, 1, 3}, std::pow(Clamp01(depth), 0.55));
    // Grid lines on the floor, seen from a camera above it: rows at equal
    // distances, columns running to the vanishing point in the middle of the
    // horizon. Each line is about one pixel wide wherever it lies.
    const double focal = 700, eye = 120, spacing = 160;
    const double dy = y - kHorizon + 0.5;
    const double z = focal * eye / dy;
    const double zPerPixel = focal * eye / (dy * dy);
    const double worldX = (x - 400) * z / focal;
    const double xPerPixel = z / focal;
    const double rowOff = std::fabs(z / spacing - std::floor(z / spacing + 0.5)) * spacing;
    const double colOff =
        std::fabs(worldX / spacing - std::floor(worldX / spacing + 0.5)) * spacing;
    const double rowLine = Clamp01(1.0 - rowOff / zPerPixel);
    const double colLine = Clamp01(1.0 - colOff / (1.2 * xPerPixel));
    const double fade = Clamp01(1.2 - z / 3000) * Clamp01(zPerPixel > spacing ? 0 : 1);
    c = Mix(c, {80, 160, 240}, 0.6 * std::max(rowLine, colLine) * fade);
    // A haze over the far floor joins it to the sky.
    c = Mix(c, {150, 176, 218}, 0.8 * std::exp(-dy / 14));
    // The platter's shadow.
    const double sx = (x - kCx - 30) / (kRx * 1.08), sy = (y - kCy - 34) / (kRy * 1.25);
    const double shade = std::exp(-std::pow(sx * sx + sy * sy, 2.0) * 1.6);
    return Mix(c, {0, 0, 2}, 0.75 * shade);
}

// The polished top of the platter: a mirror of the sky streaked by the
// brushed tracks, lighter in two opposite sectors.
Rgb PlatterTop(double x, double y, double r) {
    const double phi = std::atan2((y - kCy) / kRy, (x - kCx) / kRx);
    const double sheen = 0.5 + 0.5 * std::cos(2 * (phi + 0.75));
    const double tracks = 0.5 + 0.5 * std::sin(r * 140.0);
    Rgb base = Mix({58, 66, 92}, {214, 222, 236}, 0.15 + 0.75 * std::pow(sheen, 1.6));
    base = Mix(base, {120, 132, 160}, 0.06 * tracks);
    if (r > 0.34 && r < 0.97) {  // the recording zone, a shade darker and bluer
        base = Mix(base, {40, 60, 120}, 0.18);
        const double rainbow = std::pow(sheen, 6) * 0.25;
        base = Mix(base, {170 + 60 * std::sin(r * 30), 200, 255 - 40 * std::cos(r * 30)}, rainbow);
    }
    if (r < 0.22) {  // the clamp ring around the spindle
        const double ring = 0.5 + 0.5 * std::cos((phi - 2.4));
        base = Mix({96, 104, 124}, {236, 238, 244}, 0.3 + 0.6 * ring);
        if (r > 0.205) base = Mix(base, {30, 34, 44}, 0.6);
        if (r < 0.07) base = Mix({40, 44, 56}, {150, 156, 170}, 0.5 + 0.5 * std::sin(phi * 3));
        // Six screws on the clamp.
        for (int k = 0; k < 6; ++k) {
            const double a = k * 3.14159265 / 3 + 0.3;
            const double hx = kCx + std::cos(a) * kRx * 0.145, hy = kCy + std::sin(a) * kRy * 0.145;
            const double d = std::hypot((x - hx) / 5.0, (y - hy) / 2.2);
            if (d < 1) base = Mix({40, 40, 48}, {180, 184, 196}, 1 - d);
        }
    }
    if (r > 0.985) base = Mix(base, {250, 252, 255}, 0.7);  // the rim catches the light
    return base;
}

// The head arm: from its pivot on the floor at the right across the
// platter, a tapering bar with a lit upper edge.
bool HeadArm(double x, double y, Rgb& out) {
    const double px = 735, py = 338, hx = 505, hy = 372;  // pivot and head
    const double ax = hx - px, ay = hy - py;
    const double len = std::hypot(ax, ay);
    const double t = ((x - px) * ax + (y - py) * ay) / (len * len);
    const double side = ((x - px) * ay - (y - py) * ax) / len;
    const double half = 16 - 13 * std::sqrt(Clamp01(t));
    if (std::hypot(x - px, (y - py) * 1.6) < 26) {  // the pivot's cylinder
        const double d = std::hypot(x - px, (y - py) * 1.6) / 26;
        out = Mix({210, 214, 224}, {50, 54, 66}, d * d);
        return true;
    }
    if (t >= 0 && t <= 1.02 && std::fabs(side) < half) {
        const double edge = (side + half) / (2 * half);
        out = Mix({228, 230, 238}, {64, 70, 86}, Smooth(edge * 1.4));
        if (t > 0.93) out = Mix(out, {200, 120, 40}, 0.55);  // the head itself
        return true;
    }
    return false;
}

Rgb Scene(double x, double y) {
    Rgb c = y < kHorizon ? Sky(x, y) : Floor(x, y);
    const double ex = (x - kCx) / kRx, ey = (y - kCy) / kRy;
    const double r = std::sqrt(ex * ex + ey * ey);
    const double below = (y - kThickness - kCy) / kRy;
    const double rEdge = std::sqrt(ex * ex + below * below);
    if (r < 1.0) {
        c = PlatterTop(x, y, r);
    } else if (rEdge < 1.0 && y > kCy) {  // the platter's edge under the top face
        const double lit = 0.5 + 0.5 * std::cos(std::atan2(ey, ex) * 2 + 1.2);
        c = Mix({24, 28, 40}, {150, 158, 178}, 0.2 + 0.6 * lit);
    }
    Rgb arm;
    if (HeadArm(x, y, arm)) c = arm;
    // A soft darkening towards the corners keeps the eye on the middle.
    const double vx = (x - 400) / 520, vy = (y - 300) / 430;
    return Mix(c, {0, 0, 0}, 0.35 * Clamp01(vx * vx + vy * vy - 0.25));
}

void PutBitmapFileHeader(std::vector<std::uint8_t>& out, unsigned fileSize, unsigned offset) {
    out.push_back('B');
    out.push_back('M');
    Put32(out, fileSize);
    Put32(out, 0);
    Put32(out, offset);
}

void PutInfoHeader(std::vector<std::uint8_t>& out, int width, int height, int bits,
                   unsigned imageSize, unsigned colours) {
    Put32(out, 40);
    Put32(out, static_cast<unsigned>(width));
    Put32(out, static_cast<unsigned>(height));
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(bits));
    Put32(out, 0);  // no compression
    Put32(out, imageSize);
    Put32(out, 2834);  // 72 pixels per inch, both ways
    Put32(out, 2834);
    Put32(out, colours);
    Put32(out, colours);
}

std::vector<std::uint8_t> Backdrop() {
    const int width = 800, height = 600;
    const unsigned imageSize = width * 3 * height;
    const unsigned fileSize = 14 + 40 + imageSize;
    std::vector<std::uint8_t> out;
    Put32(out, fileSize);
    PutBitmapFileHeader(out, fileSize, 54);
    PutInfoHeader(out, width, height, 24, imageSize, 0);
    const int n = 3;  // samples per pixel each way, for smooth edges
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x) {
            Rgb sum{0, 0, 0};
            for (int sy = 0; sy < n; ++sy)
                for (int sx = 0; sx < n; ++sx) {
                    const Rgb c = Scene(x + (sx + 0.5) / n, y + (sy + 0.5) / n);
                    sum.r += c.r;
                    sum.g += c.g;
                    sum.b += c.b;
                }
            Rgb c{sum.r / (n * n), sum.g / (n * n), sum.b / (n * n)};
            if (x == 0 && y == height - 1) c = {1, 1, 3};  // the transparency colour of the form
            out.push_back(Channel(c.b));
            out.push_back(Channel(c.g));
            out.push_back(Channel(c.r));
        }
    return out;
}

// Value noise that repeats every 128 pixels: the tile joins its neighbours
// without a seam.
double LatticeValue(int cells, int ix, int iy, unsigned seed) {
    ix = ((ix % cells) + cells) % cells;
    iy = ((iy % cells) + cells) % cells;
    unsigned h = static_cast<unsigned>(ix) * 374761393u + static_cast<unsigned>(iy) * 668265263u +
                 seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFF) / 65535.0;
}

double PeriodicNoise(double x, double y, int cells, unsigned seed) {
    const double fx = x * cells / 128.0, fy = y * cells / 128.0;
    const int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    const double tx = Smooth(fx - ix), ty = Smooth(fy - iy);
    const double a = LatticeValue(cells, ix, iy, seed), b = LatticeValue(cells, ix + 1, iy, seed);
    const double c = LatticeValue(cells, ix, iy + 1, seed),
                 d = LatticeValue(cells, ix + 1, iy + 1, seed);
    return a + (b - a) * tx + (c - a) * ty + (a - b - c + d) * tx * ty;
}

// The tile: a light grey stone grain, 54 grey levels from 0x97 to 0xDE and
// black as the 55th colour. Level 36 is grey 202, the bottom-left pixel.
std::vector<std::uint8_t> Tile() {
    const int size = 128, levels = 54, key = 36;
    int grey[levels];
    for (int i = 0; i < levels; ++i)
        grey[i] = i <= key ? 0x97 + (i * (202 - 0x97) + key / 2) / key
                           : 202 + ((i - key) * (0xDE - 202) + 8) / (levels - 1 - key);
    const unsigned imageSize = size * size;
    std::vector<std::uint8_t> out;
    // The header keeps the size and pixel offset of a full 256-entry table,
    // but only the 55 entries it uses are present.
    const unsigned fullSize = 14 + 40 + 256 * 4 + imageSize;
    Put32(out, fullSize);
    PutBitmapFileHeader(out, fullSize, 14 + 40 + 256 * 4);
    PutInfoHeader(out, size, size, 8, imageSize, levels + 1);
    for (int i = 0; i < levels; ++i) {
        for (int k = 0; k < 3; ++k) out.push_back(static_cast<std::uint8_t>(grey[i]));
        out.push_back(0);
    }
    Put32(out, 0);  // black
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x) {
            double v = 0.40 * PeriodicNoise(x, y, 8, 1) + 0.28 * PeriodicNoise(x, y, 16, 2) +
                       0.18 * PeriodicNoise(x, y, 32, 3) + 0.14 * PeriodicNoise(x, y, 128, 4);
            v = Clamp01((v - 0.5) * 1.6 + 0.5);
            // Mostly the middle of the range, so that black text stays easy to read.
            const double wanted = 176 + v * 36;
            int best = 0;
            for (int i = 1; i < levels; ++i)
                if (std::fabs(grey[i] - wanted) < std::fabs(grey[best] - wanted)) best = i;
            if (x == 0 && y == size - 1) best = key;  // the transparency colour of the forms
            out.push_back(static_cast<std::uint8_t>(best));
        }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3) {
        const std::string what = argv[1];
        std::vector<std::uint8_t> bytes;
        if (what == "icon")
            bytes = IconFile(DiskPicture());
        else if (what == "setup-icon")
            bytes = IconFile(SetupIconPicture());
        else if (what == "backdrop-icon")
            bytes = IconFile(BackdropIconPicture());
        else if (what == "backdrop")
            bytes = Backdrop();
        else if (what == "tile")
            bytes = Tile();
        else if (what == "diredit")
            bytes = Bitmap16(FolderGlyph(), 15, 13);
        if (!bytes.empty()) return WriteFile(argv[2], bytes) ? 0 : 1;
    }
    std::fprintf(stderr,
                 "usage: imagegen icon|setup-icon|backdrop-icon|backdrop|tile|diredit FILE\n");
    return 2;
}
