// Pictures on a display of 256 colours: what the program's palette holds,
// and where its windows select and realise it (through the replaceable
// palette calls: Wine shows only the static colours whatever is realised).
#include "ui/palette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "app/PicturePalette.h"
#include "bitmap_file.h"
#include "controls/PleximoWallpaper.h"
#include "render.h"
#include "ui/form.h"
#include "ui/resource_data.h"

namespace {

bool Holds(const std::vector<PALETTEENTRY>& entries, BYTE r, BYTE g, BYTE b) {
    return std::any_of(entries.begin(), entries.end(), [&](const PALETTEENTRY& e) {
        return e.peRed == r && e.peGreen == g && e.peBlue == b;
    });
}

TEST(PicturePalette, TheTilesColoursExactlyThenTheBackdropsMostFrequent) {
    testdata::BitmapFile greys;
    greys.bits = 8;
    greys.colours = {RGB(200, 200, 200), RGB(190, 190, 190), RGB(200, 200, 200)};
    ui::TBitmap tile;
    tile.ReadData(greys.Data());
    // Three reds that fall together at 5 bits per primary (mean 101), and a
    // blue, less frequent.
    ui::TBitmap picture;
    picture.ReadData(testdata::TrueColour({{RGB(100, 0, 0), RGB(101, 0, 0), RGB(102, 0, 0)},
                                           {RGB(0, 0, 250), RGB(200, 200, 200), RGB(101, 0, 0)}})
                         .Data());
    const std::vector<PALETTEENTRY> entries = ui::PictureColours({&tile}, {&picture});
    ASSERT_EQ(entries.size(), 4u) << "the tile's two greys, the red, the blue";
    EXPECT_EQ(RGB(entries[0].peRed, entries[0].peGreen, entries[0].peBlue), RGB(200, 200, 200));
    EXPECT_EQ(RGB(entries[1].peRed, entries[1].peGreen, entries[1].peBlue), RGB(190, 190, 190));
    EXPECT_EQ(RGB(entries[2].peRed, entries[2].peGreen, entries[2].peBlue), RGB(101, 0, 0));
    EXPECT_EQ(RGB(entries[3].peRed, entries[3].peGreen, entries[3].peBlue), RGB(0, 0, 250));
    EXPECT_EQ(ui::PictureColours({&tile}, {&picture}, 3).size(), 3u) << "no more than the room";

    // The program's own: every grey of the tile, the room filled.
    const std::vector<PALETTEENTRY> program = app::PictureEntries();
    EXPECT_EQ(program.size(), ui::kPaletteRoom);
    ui::TBitmap programTile;
    programTile.ShareData(ui::ResourceView("TILE"));
    ASSERT_FALSE(programTile.Colours().empty());
    for (const RGBQUAD& c : programTile.Colours())
        EXPECT_TRUE(Holds(program, c.rgbRed, c.rgbGreen, c.rgbBlue))
            << int(c.rgbRed) << " " << int(c.rgbGreen) << " " << int(c.rgbBlue);
}

// What the windows asked of the platform's palette calls.
struct Call {
    HPALETTE palette;
    BOOL background;
};
std::vector<Call> selected;
int realised = 0;
UINT changedEntries = 0;
std::map<HDC, HPALETTE> held;  // what each context holds, by the calls seen

const ui::PaletteCalls kFakeCalls{
    [](HDC) { return true; },
    [](HDC dc, HPALETTE palette, BOOL background) {
        selected.push_back({palette, background});
        const auto it = held.find(dc);
        const HPALETTE previous = it != held.end()
                                      ? it->second
                                      : static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE));
        held[dc] = palette;
        return previous;
    },
    [](HDC) {
        ++realised;
        return changedEntries;
    }};

class PaletteWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        LOGPALETTE logical{0x300, 1, {{10, 20, 30, 0}}};
        palette_.Reset(::CreatePalette(&logical));
        ui::SetPaletteCalls(&kFakeCalls);
        form_ = std::make_unique<ui::TForm>();
        form_->CreateFromText("F : TForm { ClientWidth: 40 ClientHeight: 30 }");
        form_->Show();
        ::UpdateWindow(form_->Handle());
        Clear();
    }
    void TearDown() override {
        form_.reset();
        ui::SetPicturePalette(nullptr);
        ui::SetPaletteCalls(nullptr);
    }
    static void Clear() {
        selected.clear();
        realised = 0;
        changedEntries = 0;
        held.clear();
    }
    LRESULT Send(UINT message, WPARAM wParam = 0) {
        return ::SendMessageA(form_->Handle(), message, wParam, 0);
    }
    bool RepaintPending() {
        RECT r{};
        return ::GetUpdateRect(form_->Handle(), &r, FALSE) != FALSE;
    }
    ui::GdiObject<HPALETTE> palette_;
    std::unique_ptr<ui::TForm> form_;
};

TEST_F(PaletteWindowTest, AWindowRealisesThePaletteInFrontBehindAndWhenItPaints) {
    // Without a palette nothing is selected, realised or answered.
    EXPECT_EQ(Send(WM_QUERYNEWPALETTE), 0);
    ::InvalidateRect(form_->Handle(), nullptr, FALSE);
    ::UpdateWindow(form_->Handle());
    EXPECT_TRUE(selected.empty());
    EXPECT_EQ(realised, 0);

    ui::SetPicturePalette(palette_.Get());
    // Coming to the front: realised in the foreground, repainted when the
    // system palette changed.
    changedEntries = 1;
    EXPECT_EQ(Send(WM_QUERYNEWPALETTE), TRUE);
    ASSERT_FALSE(selected.empty());
    EXPECT_EQ(selected.front().palette, palette_.Get());
    EXPECT_EQ(selected.front().background, FALSE);
    EXPECT_EQ(realised, 1);
    EXPECT_TRUE(RepaintPending());

    // Painting selects it into the window's context and the composed
    // picture's, and puts the contexts' own palettes back.
    Clear();
    ::UpdateWindow(form_->Handle());
    EXPECT_EQ(std::count_if(selected.begin(), selected.end(),
                            [&](const Call& c) { return c.palette == palette_.Get(); }),
              2);
    EXPECT_EQ(realised, 2);
    for (const auto& [dc, palette] : held)
        EXPECT_NE(palette, palette_.Get()) << "the palette is left selected";

    // Another program's palette: realised again in the background, repainted.
    Clear();
    EXPECT_EQ(Send(WM_PALETTECHANGED, reinterpret_cast<WPARAM>(::GetDesktopWindow())), 0);
    ASSERT_FALSE(selected.empty());
    EXPECT_EQ(selected.front().palette, palette_.Get());
    EXPECT_EQ(selected.front().background, TRUE);
    EXPECT_EQ(realised, 1);
    EXPECT_TRUE(RepaintPending());

    // Another window of the program come to the front (after another
    // program's palette): this one maps its colours again too.
    ::UpdateWindow(form_->Handle());
    ui::TForm other;
    other.CreateFromText("G : TForm { ClientWidth: 20 ClientHeight: 20 }");
    other.HandleNeeded();
    Clear();
    Send(WM_PALETTECHANGED, reinterpret_cast<WPARAM>(other.Handle()));
    ASSERT_FALSE(selected.empty());
    EXPECT_EQ(selected.front().background, TRUE);
    EXPECT_EQ(realised, 1);
    EXPECT_TRUE(RepaintPending());

    // Its own realisation asks nothing of it: no loop of repaints.
    ::UpdateWindow(form_->Handle());
    Clear();
    Send(WM_PALETTECHANGED, reinterpret_cast<WPARAM>(form_->Handle()));
    EXPECT_TRUE(selected.empty());
    EXPECT_FALSE(RepaintPending());
}

// The wallpaper keeps one tile in the display's format and copies it: on a
// palette device that tile holds palette indices, so its greys survive only
// when it is drawn through the picture palette. Wine draws the same whatever
// a context holds, so the calls tell what the tile's context held while the
// tile was drawn: the palette must leave a context of the tile's size that
// did not show the tile when it came and shows it when it goes.
const COLORREF kTileGrey = RGB(97, 97, 97);  // none of the static colours
HPALETTE pictureInUse = nullptr;
std::map<HDC, bool> showedTileAtSelect;
bool tileDrawnThroughPalette = false;

bool ShowsTile(HDC dc) {
    BITMAP bitmap{};
    if (::GetObject(::GetCurrentObject(dc, OBJ_BITMAP), sizeof bitmap, &bitmap) == 0) return false;
    return bitmap.bmWidth == 2 && bitmap.bmHeight == 2 && ::GetPixel(dc, 0, 0) == kTileGrey &&
           ::GetPixel(dc, 1, 1) == kTileGrey;
}

const ui::PaletteCalls kWatchingCalls{
    [](HDC) { return true; },
    [](HDC dc, HPALETTE palette, BOOL) {
        const auto it = held.find(dc);
        const HPALETTE previous = it != held.end()
                                      ? it->second
                                      : static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE));
        if (palette == pictureInUse && previous != pictureInUse)
            showedTileAtSelect[dc] = ShowsTile(dc);
        if (previous == pictureInUse && palette != pictureInUse && !showedTileAtSelect[dc] &&
            ShowsTile(dc))
            tileDrawnThroughPalette = true;
        held[dc] = palette;
        return previous;
    },
    [](HDC) { return UINT{0}; }};

TEST(PaletteWallpaper, TheTileIsDrawnThroughThePicturePalette) {
    LOGPALETTE logical{0x300, 1, {{97, 97, 97, 0}}};
    ui::GdiObject<HPALETTE> palette(::CreatePalette(&logical));
    pictureInUse = palette.Get();
    held.clear();
    showedTileAtSelect.clear();
    tileDrawnThroughPalette = false;
    ui::SetPicturePalette(palette.Get());
    ui::SetPaletteCalls(&kWatchingCalls);

    ui::TForm form;
    form.CreateFromText(
        "F : TForm { ClientWidth: 40 ClientHeight: 30\n W : TPleximoWallpaper { } }");
    testdata::BitmapFile greys;  // 2 x 2, every pixel the first colour
    greys.bits = 8;
    greys.colours = {kTileGrey, RGB(150, 150, 150)};
    ui::TBitmap tile;
    tile.ReadData(greys.Data());
    form.Find<controls::TPleximoWallpaper>("W")->SetImage(&tile);
    const testdata::Rendered shot(form, 5, 5);
    EXPECT_EQ(shot.At(4, 3), kTileGrey);
    EXPECT_TRUE(tileDrawnThroughPalette);
    for (const auto& [dc, inDc] : held) EXPECT_NE(inDc, palette.Get()) << "left selected";

    ui::SetPaletteCalls(nullptr);
    ui::SetPicturePalette(nullptr);
}

}  // namespace
