// The driver's own pieces whose faults would otherwise show up only as
// puzzling scenario failures or broken screenshots.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "driver_error.h"
#include "host_paths.h"
#include "screenshot.h"
#include "ui/handles.h"
#include "window_driver.h"

namespace e2e {
namespace {

std::string TempFile(const char* name) {
    char dir[MAX_PATH] = "";
    ::GetTempPathA(sizeof dir, dir);
    return JoinPath(dir, name);
}

TEST(Screenshots, BitmapFileKeepsEveryPixelInPlace) {
    // Three pixels wide: rows need padding to four bytes, and the file keeps
    // them bottom-up, the two places a writer goes wrong.
    const COLORREF pixels[2][3] = {{RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)},
                                   {RGB(10, 20, 30), RGB(200, 100, 50), RGB(1, 2, 3)}};
    ui::ScopedGetDC screen(nullptr);
    ui::ScopedBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), 3, 2));
    {
        ui::MemoryDC memory(screen.Get());
        ui::SelectObjectScope selected(memory.Get(), bitmap.Get());
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) ::SetPixel(memory.Get(), x, y, pixels[y][x]);
    }
    const std::string path = TempFile("quarnel-e2e-pixels.bmp");
    WriteBitmapFile(bitmap.Get(), path);

    ui::ScopedBitmap loaded(static_cast<HBITMAP>(
        ::LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    ASSERT_TRUE(loaded) << "the file is not a bitmap the platform can read";
    ui::MemoryDC memory(screen.Get());
    ui::SelectObjectScope selected(memory.Get(), loaded.Get());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(pixels[y][x], ::GetPixel(memory.Get(), x, y)) << "pixel " << x << "," << y;
    ::DeleteFileA(path.c_str());
}

TEST(Waiting, TimeoutNamesWhatWasAwaited) {
    try {
        WaitUntil([] { return false; }, "the answer", nullptr, 120);
        FAIL() << "a probe that never holds did not time out";
    } catch (const DriverError& error) {
        EXPECT_NE(nullptr, std::strstr(error.what(), "waiting for the answer")) << error.what();
    }
}

TEST(Waiting, ProbeThatHoldsLaterEndsTheWait) {
    int calls = 0;
    WaitUntil([&] { return ++calls == 3; }, "the third look", nullptr, 5000);
    EXPECT_EQ(3, calls);
}

TEST(HostPaths, HostPathsAreReachedThroughDriveZ) {
    EXPECT_EQ("Z:\\tmp\\build\\setup.exe", WindowsPathOf("/tmp/build/setup.exe"));
    EXPECT_EQ("C:\\windows\\system32", WindowsPathOf("C:/windows/system32"));
    EXPECT_EQ("C:\\medium\\setup.exe", JoinPath("C:\\medium\\", "setup.exe"));
    EXPECT_EQ("C:\\medium\\setup.exe", JoinPath("C:\\medium", "setup.exe"));
}

}  // namespace
}  // namespace e2e
