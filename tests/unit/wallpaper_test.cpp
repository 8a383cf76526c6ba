// The wallpaper: the transparency colour its image setter takes, the
// picture read from form data, alignment to the client area, and the tiles
// it paints.
#include <gtest/gtest.h>

#include <memory>

#include "bitmap_file.h"
#include "controls/PleximoWallpaper.h"
#include "render.h"
#include "ui/form.h"
#include "ui/resource_data.h"

namespace {

using controls::TPleximoWallpaper;
using controls::TransparencyColorOf;

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255),
               kWhite = RGB(255, 255, 255);

void Load(ui::TBitmap& bitmap, const testdata::BitmapFile& file) { bitmap.ReadData(file.Data()); }

class WallpaperTest : public ::testing::Test {
protected:
    void Make(const std::string& wallpaperBody, int clientWidth = 300, int clientHeight = 200) {
        form_ = std::make_unique<ui::TForm>();
        form_->CreateFromText("F : TForm { ClientWidth: " + std::to_string(clientWidth) +
                              " ClientHeight: " + std::to_string(clientHeight) +
                              "\n W : TPleximoWallpaper { " + wallpaperBody + " }\n}");
        wallpaper_ = form_->Find<TPleximoWallpaper>("W");
    }
    std::unique_ptr<ui::TForm> form_;
    TPleximoWallpaper* wallpaper_ = nullptr;
};

TEST(WallpaperTransparency, ExplicitColourThenMonochromeThenBottomLeftPixel) {
    ui::TBitmap picture;
    Load(picture, testdata::TrueColour({{kRed, kGreen}, {RGB(1, 1, 3), kBlue}}));
    EXPECT_EQ(TransparencyColorOf(picture), 0x02030101u);

    picture.SetTransparentColor(ui::clBtnFace);  // a system colour, looked up
    EXPECT_EQ(TransparencyColorOf(picture), ::GetSysColor(COLOR_BTNFACE) + 0x02000000u);

    testdata::BitmapFile mono;
    mono.bits = 1;
    mono.colours = {RGB(0, 0, 0), RGB(255, 255, 255)};  // every pixel black
    ui::TBitmap monochrome;
    Load(monochrome, mono);
    EXPECT_EQ(TransparencyColorOf(monochrome), 0x02FFFFFFu);

    EXPECT_FALSE(TransparencyColorOf(ui::TBitmap()).has_value());
}

TEST_F(WallpaperTest, ImageSetterTakesTheColourAndNothingKeepsIt) {
    Make("");
    ui::TBitmap picture;
    Load(picture, testdata::TrueColour({{kRed}, {RGB(7, 8, 9)}}));
    wallpaper_->SetImage(&picture);
    EXPECT_EQ(wallpaper_->TransColor(), 0x02090807u);
    EXPECT_EQ(wallpaper_->Image().Pixel(0, 0), kRed);

    wallpaper_->SetImage(nullptr);
    EXPECT_EQ(wallpaper_->Image().Width(), 0);
    EXPECT_EQ(wallpaper_->Image().Height(), 0);
    EXPECT_EQ(wallpaper_->TransColor(), 0x02090807u);

    ui::TBitmap empty;  // no pixel to take a colour from
    wallpaper_->SetImage(&empty);
    EXPECT_EQ(wallpaper_->TransColor(), 0x02090807u);
}

TEST_F(WallpaperTest, FormDataGivesPictureAndStoredColourAndTheClientArea) {
    // The stored colour is kept as it is, whatever the picture's corner says.
    Make("Left: 10 Top: 10 Width: 50 Height: 40 Image.Data: @TILE TransColor: 5");
    EXPECT_EQ(wallpaper_->TransColor(), 5u);
    EXPECT_EQ(wallpaper_->Image().Width(), 128);
    const RECT client = form_->ClientRect();
    EXPECT_EQ(wallpaper_->Left(), 0);
    EXPECT_EQ(wallpaper_->Top(), 0);
    EXPECT_EQ(wallpaper_->Width(), client.right);
    EXPECT_EQ(wallpaper_->Height(), client.bottom);

    form_->SetClientSize(420, 330);  // the window grows: the wallpaper follows
    EXPECT_EQ(wallpaper_->Width(), form_->ClientRect().right);
    EXPECT_EQ(wallpaper_->Height(), form_->ClientRect().bottom);
}

TEST_F(WallpaperTest, OnlyANewTransparencyColourRepaints) {
    Make("TransColor: 5");
    form_->Show();  // a hidden window keeps no area to repaint
    auto pending = [this] {
        RECT r{};
        return ::GetUpdateRect(form_->Handle(), &r, FALSE) != FALSE;
    };
    ::ValidateRect(form_->Handle(), nullptr);
    wallpaper_->SetTransColor(5);
    EXPECT_FALSE(pending());
    wallpaper_->SetTransColor(6);
    EXPECT_TRUE(pending());
    form_->Hide();
}

TEST_F(WallpaperTest, TilesRepeatFromTheTopLeftAndAreCutAtTheEdges) {
    Make("", 5, 3);
    ui::TBitmap tile;
    Load(tile, testdata::TrueColour({{kRed, kGreen}, {kBlue, kWhite}}));
    wallpaper_->SetImage(&tile);
    testdata::Rendered shot(*form_, 5, 3);
    const COLORREF expected[2][2] = {{kRed, kGreen}, {kBlue, kWhite}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(shot.At(x, y), expected[y % 2][x % 2]) << x << "," << y;
}

TEST_F(WallpaperTest, ANewPictureOrSizeLaysTheTilesAgain) {
    Make("", 4, 2);
    ui::TBitmap red, blue;
    Load(red, testdata::TrueColour({{kRed}}));
    Load(blue, testdata::TrueColour({{kBlue}}));
    wallpaper_->SetImage(&red);
    EXPECT_EQ(testdata::Rendered(*form_, 4, 2).At(3, 1), kRed);
    wallpaper_->SetImage(&blue);
    EXPECT_EQ(testdata::Rendered(*form_, 4, 2).At(3, 1), kBlue);
    form_->SetClientSize(6, 3);
    EXPECT_EQ(testdata::Rendered(*form_, 6, 3).At(5, 2), kBlue) << "tiles end at the old size";
}

TEST_F(WallpaperTest, APictureLargerThanTheControlShowsItsTopLeft) {
    Make("Image.Data: @BACKDROP", 800, 553);
    EXPECT_TRUE(wallpaper_->Image().SharesPixels()) << "the backdrop is drawn from its resource";
    ui::TBitmap backdrop;
    backdrop.ReadData(ui::LoadResourceData("BACKDROP"));
    testdata::Rendered shot(*form_, 800, 553);
    for (const POINT p :
         {POINT{0, 0}, POINT{799, 0}, POINT{400, 300}, POINT{0, 552}, POINT{799, 552}})
        EXPECT_EQ(shot.At(p.x, p.y), backdrop.Pixel(p.x, p.y)) << p.x << "," << p.y;
    EXPECT_TRUE(wallpaper_->Image().SharesPixels()) << "painting makes no copy";
}

TEST_F(WallpaperTest, APictureWithoutRowsPaintsNothing) {
    Make("", 20, 10);
    ui::TBitmap flat;
    flat.SetSize(8, 0);
    wallpaper_->SetImage(&flat);
    EXPECT_EQ(wallpaper_->Image().Width(), 8);
    testdata::Rendered shot(*form_, 20, 10);
    EXPECT_EQ(shot.At(3, 3), ui::ColorToRGB(form_->Color()));  // the window's own background
}

}  // namespace
