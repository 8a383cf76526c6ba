// Path text in a double-byte code page: the second byte of a character may
// have the value of a backslash, and must not be taken for one.
#include "ui/path_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Lead bytes of Shift-JIS, the Japanese code page 932.
bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// "ソ" in Shift-JIS: its second byte is a backslash's.
const std::string kSo = "\x83\x5C";

TEST(PathText, SecondByteOfADoubleByteCharacterIsNoSeparator) {
    const std::string dir = "C:\\" + kSo;
    EXPECT_EQ("C:\\", ui::DirectoryPart(dir, &ShiftJisLead));
    EXPECT_EQ(kSo, ui::FileNamePart(dir, &ShiftJisLead));
    EXPECT_FALSE(ui::EndsWithBackslash(dir, &ShiftJisLead));
    EXPECT_EQ(dir + "\\", ui::AppendBackslash(dir, &ShiftJisLead));
    EXPECT_EQ(5u, ui::NextBackslash(dir + "\\", 3, &ShiftJisLead));

    // The same bytes in a single-byte code page are two characters, the
    // second a backslash.
    EXPECT_EQ(dir, ui::DirectoryPart(dir, &ui::NoLeadBytes));
    EXPECT_TRUE(ui::EndsWithBackslash(dir, &ui::NoLeadBytes));
    // A lead byte at the very end has no second byte to take.
    EXPECT_EQ("\x83", ui::FileNamePart("C:\\\x83", &ShiftJisLead));
}

TEST(PathText, CanonicalPathMakesEachRunOfBackslashesOne) {
    EXPECT_EQ("c:\\quarnel\\setup.exe",
              ui::CanonicalPath("c:\\quarnel\\\\setup.exe", &ui::NoLeadBytes));
    EXPECT_EQ("c:\\a\\b\\", ui::CanonicalPath("c:\\\\\\a\\b\\\\", &ui::NoLeadBytes));
    // A network path keeps the pair it begins with.
    EXPECT_EQ("\\\\server\\share\\x",
              ui::CanonicalPath("\\\\server\\\\share\\x", &ui::NoLeadBytes));
    // "ソ" ends in a backslash's byte, which starts no run of backslashes.
    EXPECT_EQ("C:\\" + kSo + "\\x", ui::CanonicalPath("C:\\" + kSo + "\\\\x", &ShiftJisLead));
    EXPECT_EQ("C:\\\x83\\x", ui::CanonicalPath("C:\\" + kSo + "\\\\x", &ui::NoLeadBytes));
}

TEST(PathText, DirectoryChainWalksOutwardByCharacters) {
    const std::string path = "C:\\" + kSo + "\\" + kSo + kSo + "\\";
    // "C:\ソ\ソソ" (ten bytes), then "C:\ソ"; "C:" ends the walk.
    EXPECT_EQ((std::vector<std::size_t>{10, 5}),
              ui::DirectoryChain(path, &ShiftJisLead, ui::OwnParent::Leave));

    // A doubled backslash leaves a directory that is its own parent.
    EXPECT_TRUE(ui::DirectoryChain("C:\\a\\\\", &ui::NoLeadBytes, ui::OwnParent::Leave).empty());
    EXPECT_EQ((std::vector<std::size_t>{5}),
              ui::DirectoryChain("C:\\a\\\\", &ui::NoLeadBytes, ui::OwnParent::Make));
    // A bare name has no parent to walk to.
    EXPECT_EQ((std::vector<std::size_t>{3}),
              ui::DirectoryChain("abc\\", &ui::NoLeadBytes, ui::OwnParent::Leave));
    EXPECT_TRUE(ui::DirectoryChain("", &ui::NoLeadBytes, ui::OwnParent::Make).empty());
}

}  // namespace
