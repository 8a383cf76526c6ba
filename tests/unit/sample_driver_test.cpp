// The sample medium's driver as Windows 95 and 98 load a static VxD: a DOS
// stub pointing at an LE header, objects whose pages lie in the file, the
// DDB exported as ordinal 1, and a fixup that gives the DDB its control
// procedure, which ends every message with the carry clear.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#include "temp_dir.h"

namespace {

class LinearExecutable {
public:
    explicit LinearExecutable(std::string bytes) : bytes_(std::move(bytes)) {}
    bool Has(std::size_t at, std::size_t count) const {
        return at <= bytes_.size() && count <= bytes_.size() - at;
    }
    std::uint32_t Byte(std::size_t at) const { return Has(at, 1) ? Raw(at) : 0; }
    std::uint32_t Word(std::size_t at) const { return Byte(at) | Byte(at + 1) << 8; }
    std::uint32_t Dword(std::size_t at) const { return Word(at) | Word(at + 2) << 16; }
    std::string Text(std::size_t at, std::size_t count) const {
        return Has(at, count) ? bytes_.substr(at, count) : std::string();
    }

private:
    std::uint32_t Raw(std::size_t at) const { return static_cast<unsigned char>(bytes_[at]); }
    std::string bytes_;
};

std::string WindowsPathOfHost(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return "Z:" + path;
}

TEST(SampleDriver, IsAStaticVxdWhoseDdbAndControlProcedureTheLoaderFinds) {
    const LinearExecutable file(
        testing_support::ReadWholeFile(WindowsPathOfHost(QUARNEL_SAMPLE_DRIVER_HOST)));
    ASSERT_EQ("MZ", file.Text(0, 2));
    const std::uint32_t le = file.Dword(0x3C);
    ASSERT_EQ("LE", file.Text(le, 2));
    EXPECT_EQ(0u, file.Word(le + 2));                       // little-endian bytes and words
    EXPECT_EQ(2u, file.Word(le + 0x08));                    // 80386
    EXPECT_EQ(4u, file.Word(le + 0x0A));                    // Windows 386: a virtual device
    EXPECT_EQ(0x38000u, file.Dword(le + 0x10) & 0x38000u);  // a static VxD
    const std::uint32_t pageSize = file.Dword(le + 0x28);
    const std::uint32_t pages = file.Dword(le + 0x14);
    ASSERT_EQ(0x1000u, pageSize);
    const std::uint32_t dataPages = file.Dword(le + 0x80);
    const std::uint32_t lastPage = file.Dword(le + 0x2C);
    ASSERT_TRUE(pages >= 1 && lastPage >= 1 && lastPage <= pageSize);
    ASSERT_TRUE(file.Has(dataPages, (pages - 1) * pageSize + lastPage)) << "pages past the end";

    // Every object's pages are in the page map, and every page is a plain one.
    const std::uint32_t objects = file.Dword(le + 0x44);
    const std::uint32_t objectTable = le + file.Dword(le + 0x40);
    const std::uint32_t pageMap = le + file.Dword(le + 0x48);
    ASSERT_GE(objects, 1u);
    for (std::uint32_t i = 0; i < objects; ++i) {
        const std::uint32_t entry = objectTable + 24 * i;
        const std::uint32_t first = file.Dword(entry + 12), count = file.Dword(entry + 16);
        EXPECT_TRUE(first >= 1 && first + count - 1 <= pages) << "object " << i + 1;
        EXPECT_LE(file.Dword(entry), count * pageSize);
        EXPECT_NE(0u, file.Dword(entry + 8) & 0x2000u) << "a 32-bit object";
        for (std::uint32_t p = first; p < first + count; ++p) {
            const std::uint32_t page = file.Byte(pageMap + 4 * (p - 1)) << 16 |
                                       file.Byte(pageMap + 4 * (p - 1) + 1) << 8 |
                                       file.Byte(pageMap + 4 * (p - 1) + 2);
            EXPECT_EQ(p, page);
            EXPECT_EQ(0u, file.Byte(pageMap + 4 * (p - 1) + 3));
        }
    }

    // The resident names: the module, then its DDB as ordinal 1.
    const std::uint32_t names = le + file.Dword(le + 0x58);
    EXPECT_EQ(std::string("\x07QUARNEL\0\0\x0BQUARNEL_DDB\x01\0", 23), file.Text(names, 23));

    // Ordinal 1: a 32-bit entry, exported, in an object of this file.
    const std::uint32_t entries = le + file.Dword(le + 0x5C);
    ASSERT_GE(file.Byte(entries), 1u);
    ASSERT_EQ(3u, file.Byte(entries + 1));
    const std::uint32_t object = file.Word(entries + 2);
    ASSERT_TRUE(object >= 1 && object <= objects);
    EXPECT_NE(0u, file.Byte(entries + 4) & 1u);
    const std::uint32_t ddbOffset = file.Dword(entries + 5);
    const std::uint32_t objectPage = file.Dword(objectTable + 24 * (object - 1) + 12);
    const auto inFile = [&](std::uint32_t page, std::uint32_t offset) {
        return dataPages + (page - 1) * pageSize + offset;
    };
    const std::uint32_t ddbPage = objectPage + ddbOffset / pageSize;
    const std::uint32_t ddb = inFile(ddbPage, ddbOffset % pageSize);
    EXPECT_EQ("QUARNEL ", file.Text(ddb + 0x0C, 8));  // DDB_Name
    EXPECT_EQ(0x400u, file.Word(ddb + 4));            // DDB_SDK_Version: Windows 95's
    EXPECT_EQ(0x50u, file.Dword(ddb + 0x40));         // DDB_Size
    EXPECT_EQ("Prev", file.Text(ddb + 0x3C, 4));
    EXPECT_EQ(0u, file.Dword(ddb + 0x30));  // no services

    // The fixup of DDB_Control_Proc names the procedure: clc, ret.
    const std::uint32_t fixupPages = le + file.Dword(le + 0x68);
    const std::uint32_t fixupRecords = le + file.Dword(le + 0x6C);
    const std::uint32_t field = (ddbOffset % pageSize) + 0x18;
    std::uint32_t at = fixupRecords + file.Dword(fixupPages + 4 * (ddbPage - 1));
    const std::uint32_t end = fixupRecords + file.Dword(fixupPages + 4 * ddbPage);
    bool found = false;
    while (at < end && !found) {
        const std::uint32_t source = file.Byte(at), flags = file.Byte(at + 1);
        ASSERT_EQ(0u, flags & 0xEFu) << "only internal references with an 8-bit object";
        const bool wide = (flags & 0x10u) != 0;
        if (source == 7 && file.Word(at + 2) == field) {
            const std::uint32_t target = file.Byte(at + 4);
            const std::uint32_t offset = wide ? file.Dword(at + 5) : file.Word(at + 5);
            ASSERT_TRUE(target >= 1 && target <= objects);
            const std::uint32_t page = file.Dword(objectTable + 24 * (target - 1) + 12);
            EXPECT_EQ("\xF8\xC3",
                      file.Text(inFile(page + offset / pageSize, offset % pageSize), 2));
            found = true;
        }
        at += wide ? 9 : 7;
    }
    EXPECT_TRUE(found) << "no fixup gives the DDB its control procedure";
}

}  // namespace
