// Lays out the resources of a linked Win32 executable for the 16-bit loader
// of Windows 95, which reads a program's icons, cursors and bitmaps through
// the window manager's 16-bit code. That code counts every resource's file
// offset and length in units of 2^shift bytes, the shift chosen so that the
// largest resource fits in 16 bits of units; whatever is not a whole unit is
// lost (an icon image of 744 bytes in units of 32 loses its last 8 bytes).
// This tool puts every resource at a file offset that is a whole number of
// units and pads its length, with zero bytes, to whole units, as the
// platform vendor's own fix tool did. The offsets are 16-bit counts of units
// too, so no resource may start past 65,535 units (2 MB in units of 32
// bytes), in the file or in memory: the resources are laid out smallest
// first, so that only the largest lies far into the file, and the tool
// refuses a file where one would still start too far. Run after the link:
//
//   rsrcalign EXE       rewrites EXE in place; prints the shift it chose
//
// A program whose resources are all below 64 KB needs no unit larger than a
// byte and is left as it is.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t U32(const Bytes& b, std::size_t at) {
    if (at + 4 > b.size()) throw std::runtime_error("cut short");
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t U16(const Bytes& b, std::size_t at) {
    if (at + 2 > b.size()) throw std::runtime_error("cut short");
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t Align(std::uint32_t value, std::uint32_t unit) {
    return (value + unit - 1) / unit * unit;
}

struct Section {
    std::size_t header;  // file offset of its header
    std::uint32_t rva, virtualSize, rawOffset, rawSize;
};

// Offsets, within the section, of the data entries of every leaf.
void Leaves(const Bytes& b, std::size_t base, std::uint32_t dir, std::uint32_t limit, int depth,
            std::vector<std::uint32_t>& out) {
    if (depth > 3 || dir + 16 > limit) throw std::runtime_error("resource directory malformed");
    const unsigned entries = U16(b, base + dir + 12) + U16(b, base + dir + 14);
    for (unsigned i = 0; i < entries; ++i) {
        const std::uint32_t target = U32(b, base + dir + 16 + 8 * i + 4);
        if (target & 0x80000000u)
            Leaves(b, base, target & 0x7FFFFFFFu, limit, depth + 1, out);
        else
            out.push_back(target);
    }
}

// PE/COFF image checksum: 16-bit one's-complement sum of the file without
// its checksum field, plus the file's length.
std::uint32_t Checksum(const Bytes& b, std::size_t field) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i + 1 < b.size() + 1; i += 2) {
        if (i == field || i == field + 2) continue;
        const std::uint32_t word = b[i] | (i + 1 < b.size() ? b[i + 1] << 8 : 0);
        sum += word;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint32_t>(sum + b.size());
}

int Run(const std::string& path) {
    Bytes b;
    {
        std::ifstream in(path, std::ios::binary);
        if (!in) throw std::runtime_error("cannot read " + path);
        b.assign(std::istreambuf_iterator<char>(in), {});
    }
    if (b.size() < 0x40 || b[0] != 'M' || b[1] != 'Z')
        throw std::runtime_error("not an executable");
    const std::size_t pe = U32(b, 0x3C);
    if (U32(b, pe) != 0x00004550) throw std::runtime_error("not a PE file");
    const unsigned sectionCount = U16(b, pe + 6);
    const std::size_t optional = pe + 24;
    const std::uint16_t magic = U16(b, optional);
    if (magic != 0x10B && magic != 0x20B) throw std::runtime_error("unknown optional header");
    const std::uint32_t sectionAlignment = U32(b, optional + 32);
    const std::uint32_t fileAlignment = U32(b, optional + 36);
    const std::size_t directories = optional + (magic == 0x10B ? 96 : 112);
    const std::size_t resourceEntry = directories + 2 * 8;
    const std::uint32_t resourceRva = U32(b, resourceEntry);
    if (resourceRva == 0) {
        std::printf("%s: no resources\n", path.c_str());
        return 0;
    }
    std::vector<Section> sections;
    const std::size_t table = optional + U16(b, pe + 20);
    for (unsigned i = 0; i < sectionCount; ++i) {
        const std::size_t h = table + 40 * i;
        sections.push_back({h, U32(b, h + 12), U32(b, h + 8), U32(b, h + 20), U32(b, h + 16)});
    }
    auto rsrc = std::find_if(sections.begin(), sections.end(),
                             [&](const Section& s) { return s.rva == resourceRva; });
    if (rsrc == sections.end()) throw std::runtime_error("resources do not start a section");

    std::vector<std::uint32_t> leaves;
    Leaves(b, rsrc->rawOffset, 0, rsrc->virtualSize, 0, leaves);
    std::uint32_t largest = 0, dataStart = rsrc->virtualSize;
    for (std::uint32_t leaf : leaves) {
        const std::uint32_t size = U32(b, rsrc->rawOffset + leaf + 4);
        largest = std::max(largest, size);
        dataStart = std::min(dataStart, U32(b, rsrc->rawOffset + leaf) - resourceRva);
    }
    int shift = 0;
    while ((static_cast<std::uint64_t>(Align(largest, 1u << shift)) >> shift) > 0xFFFF) ++shift;
    const std::uint32_t unit = 1u << shift;
    if (shift == 0) {
        std::printf("%s: every resource below 64 KB, left as it is\n", path.c_str());
        return 0;
    }
    if (rsrc->rawOffset % unit != 0)
        throw std::runtime_error("the resource section does not start at a whole unit of the file");

    // The directory (tables, names, data entries) stays where it is; the data
    // after it are laid out again, each at a whole unit, the smallest first
    // (the linker puts a large picture before the icons and forms, which
    // would push theirs past the 16-bit offsets).
    std::sort(leaves.begin(), leaves.end(), [&](std::uint32_t l, std::uint32_t r) {
        const std::uint32_t left = U32(b, rsrc->rawOffset + l + 4);
        const std::uint32_t right = U32(b, rsrc->rawOffset + r + 4);
        if (left != right) return left < right;
        return U32(b, rsrc->rawOffset + l) < U32(b, rsrc->rawOffset + r);
    });
    for (std::uint32_t leaf : leaves)
        if (leaf + 16 > dataStart) throw std::runtime_error("a data entry among the data");
    Bytes laid(b.begin() + rsrc->rawOffset, b.begin() + rsrc->rawOffset + dataStart);
    std::vector<std::uint32_t> placed;
    for (std::uint32_t leaf : leaves) {
        const std::uint32_t from = U32(b, rsrc->rawOffset + leaf) - resourceRva;
        const std::uint32_t size = U32(b, rsrc->rawOffset + leaf + 4);
        if (from + static_cast<std::uint64_t>(size) > rsrc->virtualSize)
            throw std::runtime_error("resource data past the section");
        laid.resize(Align(static_cast<std::uint32_t>(laid.size()), unit), 0);
        placed.push_back(static_cast<std::uint32_t>(laid.size()));
        laid.insert(laid.end(), b.begin() + rsrc->rawOffset + from,
                    b.begin() + rsrc->rawOffset + from + size);
        laid.resize(Align(static_cast<std::uint32_t>(laid.size()), unit), 0);
    }
    for (std::size_t i = 0; i < leaves.size(); ++i) {
        const std::uint32_t next =
            i + 1 < placed.size() ? placed[i + 1] : static_cast<std::uint32_t>(laid.size());
        Put32(laid, leaves[i], resourceRva + placed[i]);
        Put32(laid, leaves[i] + 4, next - placed[i]);
    }
    // The loader's offsets: 16 bits of units, from the start of the file and
    // of the image alike.
    const std::uint64_t reach = 0xFFFFull * unit;
    for (std::uint32_t at : placed)
        if (rsrc->rawOffset + static_cast<std::uint64_t>(at) > reach ||
            resourceRva + static_cast<std::uint64_t>(at) > reach)
            throw std::runtime_error("a resource would start past 65535 units of " +
                                     std::to_string(unit) + " bytes");
    const std::uint32_t newSize = static_cast<std::uint32_t>(laid.size());
    for (const Section& s : sections)
        if (s.rva > rsrc->rva && rsrc->rva + Align(newSize, sectionAlignment) > s.rva)
            throw std::runtime_error("the padded resources do not fit before the next section");

    // The file grows by whole file-alignment units when the section does;
    // the sections after it move down in the file.
    const std::uint32_t newRaw = Align(newSize, fileAlignment);
    const std::uint32_t grow = newRaw > rsrc->rawSize ? newRaw - rsrc->rawSize : 0;
    const std::size_t end = rsrc->rawOffset + rsrc->rawSize;
    b.insert(b.begin() + end, grow, 0);
    std::copy(laid.begin(), laid.end(), b.begin() + rsrc->rawOffset);
    std::fill(b.begin() + rsrc->rawOffset + newSize, b.begin() + end + grow, 0);
    for (const Section& s : sections)
        if (s.rawOffset > rsrc->rawOffset && s.rawSize != 0)
            Put32(b, s.header + 20, s.rawOffset + grow);
    Put32(b, rsrc->header + 8, newSize);
    Put32(b, rsrc->header + 16, rsrc->rawSize + grow);
    Put32(b, resourceEntry + 4, newSize);
    const std::size_t checksum = optional + 64;
    if (U32(b, checksum) != 0) Put32(b, checksum, Checksum(b, checksum));

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
    std::printf("%s: %zu resources at whole units of %u bytes (shift %d)\n", path.c_str(),
                leaves.size(), unit, shift);
    return 0;
}

}  // namespace

int main(int argc, char** argv) try {
    if (argc != 2) {
        std::fprintf(stderr, "usage: rsrcalign EXE\n");
        return 1;
    }
    return Run(argv[1]);
} catch (const std::exception& error) {
    std::fprintf(stderr, "rsrcalign: %s\n", error.what());
    return 1;
}
