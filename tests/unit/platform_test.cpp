#include "app/Platform.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/DriveSpace.h"

namespace {

OSVERSIONINFOA Version(DWORD platform, DWORD major, DWORD minor, DWORD build, const char* sp) {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
    v.dwPlatformId = platform;
    v.dwMajorVersion = major;
    v.dwMinorVersion = minor;
    v.dwBuildNumber = build;
    std::strcpy(v.szCSDVersion, sp);
    return v;
}

}  // namespace

TEST(VersionGate, TextsOfTheThreePlatformFamilies) {
    // The 95 family keeps only the low word of the build number.
    // The service-pack text keeps its inner blank: only the ends are trimmed.
    EXPECT_EQ(app::OsVersionText(Version(1, 4, 10, 0x040A07CE, " A ")), "Windows 98 4.10.1998  A");
    EXPECT_EQ(app::OsVersionText(Version(1, 4, 0, 67109814, "")), "Windows 95 4.00.950");
    EXPECT_EQ(app::OsVersionText(Version(1, 4, 90, 3000, "")), "Windows 98 4.90.3000");
    EXPECT_EQ(app::OsVersionText(Version(2, 5, 1, 2600, "Service Pack 3")),
              "Windows NT 5.01.2600 Service Pack 3");
    EXPECT_EQ(app::OsVersionText(Version(0, 1, 5, 7, "")), "Windows 32s 1.05.007");
    // An unknown family has no name: two blanks stand where it would be.
    EXPECT_EQ(app::OsVersionText(Version(3, 1, 0, 1, "")), "Windows  1.00.001");
}

TEST(VersionGate, PassesOnlyTheWindows95Family) {
    EXPECT_TRUE(app::IsWindows95Family("Windows 95 4.00.950"));
    EXPECT_TRUE(app::IsWindows95Family("Windows 98 4.10.1998 A"));
    EXPECT_FALSE(app::IsWindows95Family("Windows NT 5.01.2600 Service Pack 3"));
    EXPECT_FALSE(app::IsWindows95Family("Windows 32s 1.05.007"));
    EXPECT_FALSE(app::IsWindows95Family("Windows  1.00.001"));
    EXPECT_FALSE(app::IsWindows95Family("Windows 9"));
    EXPECT_FALSE(app::IsWindows95Family(""));
}

TEST(VersionGate, ThisPrefixReportsWindows98) {
    const std::string text = app::OsVersionText();
    EXPECT_EQ(text.substr(0, 16), "Windows 98 4.10.") << text;
    EXPECT_TRUE(app::IsWindows95Family(text));
}

TEST(DriveNumber, EveryLetterGivesItsOwnDrive) {
    EXPECT_EQ(engine::DriveNumberFromPath("A:\\"), 1);
    EXPECT_EQ(engine::DriveNumberFromPath("c:\\quarnel"), 3);
    EXPECT_EQ(engine::DriveNumberFromPath("K:\\"), 11);
    EXPECT_EQ(engine::DriveNumberFromPath("l:\\x"), 12);
    EXPECT_EQ(engine::DriveNumberFromPath("M:\\TOOLS"), 13);
    EXPECT_EQ(engine::DriveNumberFromPath("z:"), 26);
    // Anything else is drive C.
    EXPECT_EQ(engine::DriveNumberFromPath("\\"), 3);
    EXPECT_EQ(engine::DriveNumberFromPath("9:\\"), 3);
    EXPECT_EQ(engine::DriveNumberFromPath(""), 3);
    EXPECT_EQ(engine::DriveNumberFromPath("[:\\"), 3);
}

TEST(FreeSpace, ShownInUnitsOf1024000Bytes) {
    EXPECT_EQ(app::FreeSpaceText(1023999), "0 MB");
    EXPECT_EQ(app::FreeSpaceText(1024000), "1 MB");
    EXPECT_EQ(app::FreeSpaceText(15000000), "14 MB");
    EXPECT_EQ(app::FreeSpaceText(-1), "0 MB");
    EXPECT_EQ(app::FreeSpaceText(2147450880), "2097 MB");
}

TEST(FreeSpace, DriveWithNothingBehindItAnswersMinusOne) {
    EXPECT_GT(engine::DriveFreeBytes(3), 0);
    EXPECT_EQ(engine::DriveFreeBytes(engine::DriveNumberFromPath("q:\\")), -1);
}

TEST(SourceDirectory, CurrentDirectoryWithOneBackslashMore) {
    char saved[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, saved);
    ASSERT_TRUE(::SetCurrentDirectoryA("C:\\windows"));
    EXPECT_EQ(app::CurrentDirectoryWithBackslash(), "C:\\windows\\");
    ASSERT_TRUE(::SetCurrentDirectoryA("C:\\"));
    EXPECT_EQ(app::CurrentDirectoryWithBackslash(), "C:\\\\");
    ::SetCurrentDirectoryA(saved);
}
