// The off-screen pictures that repaints keep: when one is used again and
// when it must be made anew, so that a kept picture never composes in a size
// or pixel format other than the one asked for.
#include "ui/offscreen.h"

#include <gtest/gtest.h>

#include "ui/form.h"
#include "ui/handles.h"

namespace {

// A memory context on a top-down DIB of the given depth.
class DibContext {
public:
    explicit DibContext(int bits) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = 8;
        info.bmiHeader.biHeight = -8;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = static_cast<WORD>(bits);
        void* pixels = nullptr;
        bitmap_.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
        old_ = ::SelectObject(dc_.Get(), bitmap_.Get());
    }
    ~DibContext() { ::SelectObject(dc_.Get(), old_); }
    HDC Get() const { return dc_.Get(); }

private:
    ui::MemoryDC dc_;
    ui::ScopedBitmap bitmap_;
    HGDIOBJ old_ = nullptr;
};

int BitsOf(HDC dc) {
    BITMAP info{};
    ::GetObject(::GetCurrentObject(dc, OBJ_BITMAP), sizeof info, &info);
    return info.bmBitsPixel;
}

TEST(OffscreenBitmap, KeptForTheSameAskMadeAnewForANewSizeFormatOrDisplay) {
    ui::TForm form;
    form.CreateFromText("F : TForm { ClientWidth: 200 ClientHeight: 100 }");
    form.Show();
    ui::ScopedGetDC window(form.Handle());
    ui::OffscreenBitmap picture;
    bool made = false;

    HDC first = picture.Prepare(window.Get(), 40, 10, false, &made);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(made);
    EXPECT_EQ(picture.Prepare(window.Get(), 40, 10, false, &made), first);
    EXPECT_FALSE(made);
    picture.Prepare(window.Get(), 41, 10, false, &made);
    EXPECT_TRUE(made);
    // Asked for at least a size, a larger kept picture serves; it only grows.
    picture.Prepare(window.Get(), 30, 5, true, &made);
    EXPECT_FALSE(made);
    picture.Prepare(window.Get(), 30, 50, true, &made);
    EXPECT_TRUE(made);
    picture.Prepare(window.Get(), 41, 10, true, &made);
    EXPECT_FALSE(made);

    // The display said its format changed: the picture follows it.
    ::SendMessageA(form.Handle(), WM_DISPLAYCHANGE, 16, MAKELPARAM(800, 600));
    picture.Prepare(window.Get(), 41, 10, true, &made);
    EXPECT_TRUE(made);

    // Composed for a picture of the display's own format, as the gauge and
    // the wallpaper are (a window's paint goes through such a picture): a
    // change of the display's format, maybe to another of the same depth,
    // is followed too.
    ui::MemoryDC memory(window.Get());
    ui::ScopedBitmap displayLike(::CreateCompatibleBitmap(window.Get(), 8, 8));
    ui::SelectObjectScope select(memory.Get(), displayLike.Get());
    picture.Prepare(memory.Get(), 41, 10, false, &made);
    picture.Prepare(memory.Get(), 41, 10, false, &made);
    EXPECT_FALSE(made);
    ::SendMessageA(form.Handle(), WM_DISPLAYCHANGE, 16, MAKELPARAM(800, 600));
    picture.Prepare(memory.Get(), 41, 10, false, &made);
    EXPECT_TRUE(made);

    // Composed for a 16-bit picture, then a 32-bit one: never the other's.
    DibContext sixteen(16), thirtyTwo(32);
    EXPECT_EQ(BitsOf(picture.Prepare(sixteen.Get(), 41, 10, false, &made)), 16);
    EXPECT_TRUE(made);
    EXPECT_EQ(BitsOf(picture.Prepare(thirtyTwo.Get(), 41, 10, false, &made)), 32);
    EXPECT_TRUE(made);
    EXPECT_EQ(BitsOf(picture.Prepare(thirtyTwo.Get(), 41, 10, false, &made)), 32);
    EXPECT_FALSE(made);
}

}  // namespace
