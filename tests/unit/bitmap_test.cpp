// The bitmap reader: the form data's images, colour tables sized by the
// colours-used field, and malformed data refused before anything is read
// past its end.
#include "ui/bitmap.h"

#include <gtest/gtest.h>

#include <vector>

#include "bitmap_file.h"
#include "ui/exceptions.h"
#include "ui/form_data.h"
#include "ui/handles.h"
#include "ui/resource_data.h"

namespace {

using testdata::BitmapFile;

// Takes every GDI handle the process has left, so that no section can be
// made while it lives; gives them all back at the end.
class NoGdiHandlesLeft {
public:
    NoGdiHandlesLeft() {
        while (HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3))) taken_.emplace_back(brush);
    }

private:
    std::vector<ui::ScopedBrush> taken_;
};

std::string ReadError(const std::string& data) {
    ui::TBitmap bitmap;
    try {
        bitmap.ReadData(data);
    } catch (const ui::EResourceError& error) {
        return error.Message();
    }
    return "";
}

TEST(BitmapReader, TheProgramsPicturesReadAsTheFormsDescribeThem) {
    ui::TBitmap tile;
    tile.ReadData(ui::LoadResourceData("TILE"));
    EXPECT_EQ(tile.Width(), 128);
    EXPECT_EQ(tile.Height(), 128);
    EXPECT_EQ(tile.BitsPerPixel(), 8);
    EXPECT_EQ(tile.Pixel(0, 127), RGB(202, 202, 202));

    ui::TBitmap backdrop;
    backdrop.ReadData(ui::LoadResourceData("BACKDROP"));
    EXPECT_EQ(backdrop.Width(), 800);
    EXPECT_EQ(backdrop.Height(), 600);
    EXPECT_EQ(backdrop.BitsPerPixel(), 24);
    EXPECT_EQ(backdrop.Pixel(0, 599), RGB(1, 1, 3));
}

TEST(BitmapReader, APictureInTheResourcesIsDrawnFromThereUntilAHandleIsAskedFor) {
    // Both of the program's pictures: 8 bits with a colour table, and 24.
    for (const char* name : {"TILE", "BACKDROP"}) {
        ui::TBitmap copied, shared;
        copied.ReadData(ui::LoadResourceData(name));
        shared.ShareData(ui::ResourceView(name));
        ASSERT_TRUE(shared.SharesPixels()) << name;
        ASSERT_EQ(shared.Width(), copied.Width());
        ASSERT_EQ(shared.Height(), copied.Height());
        const int w = copied.Width(), h = copied.Height();
        for (const POINT p : {POINT{0, 0}, POINT{w - 1, 0}, POINT{w / 2, h / 3}, POINT{0, h - 1},
                              POINT{w - 1, h - 1}})
            EXPECT_EQ(shared.Pixel(p.x, p.y), copied.Pixel(p.x, p.y))
                << name << " " << p.x << "," << p.y;

        // Drawn, a part of the top and bottom rows lands where it is asked.
        ui::TBitmap target;
        target.SetSize(w, 4);
        ui::BitmapCanvas canvas(target);
        ASSERT_TRUE(shared.Draw(canvas.Get(), 0, 1, w, 2, 0, h - 2));
        EXPECT_EQ(::GetPixel(canvas.Get(), 3, 1), copied.Pixel(3, h - 2)) << name;
        EXPECT_EQ(::GetPixel(canvas.Get(), w - 1, 2), copied.Pixel(w - 1, h - 1)) << name;
        EXPECT_FALSE(shared.Draw(canvas.Get(), 0, 0, 1, 1, w, 0)) << "outside the picture";

        ui::TBitmap assigned;
        assigned.Assign(shared);
        EXPECT_TRUE(assigned.SharesPixels()) << "a copy of shared pixels shares them";
        ASSERT_NE(shared.Handle(), nullptr);
        EXPECT_FALSE(shared.SharesPixels());
        EXPECT_EQ(shared.Pixel(w / 2, h / 3), copied.Pixel(w / 2, h / 3)) << name;
    }
}

TEST(BitmapReader, ColourTableLengthComesFromColoursUsedAndPixelsFollowIt) {
    BitmapFile file;
    file.bits = 8;
    file.colours = {RGB(10, 20, 30), RGB(200, 100, 50)};
    // Row stride 4: bottom row indexes 1 0, top row 0 1.
    file.pixels = std::string("\x01\x00\x00\x00\x00\x01\x00\x00", 8);
    // Header size and offset as if the full 256-entry table were present.
    file.pixelOffset = 54 + 256 * 4;
    file.fileSize = 54 + 256 * 4 + 8;
    ui::TBitmap bitmap;
    bitmap.ReadData(file.Data(file.fileSize));  // the count, too, claims more than is there
    EXPECT_EQ(bitmap.Pixel(0, 1), RGB(200, 100, 50));
    EXPECT_EQ(bitmap.Pixel(1, 1), RGB(10, 20, 30));
    EXPECT_EQ(bitmap.Pixel(0, 0), RGB(10, 20, 30));
    EXPECT_EQ(bitmap.Pixel(1, 0), RGB(200, 100, 50));
}

TEST(BitmapReader, RowsStoredTopFirstAreTurnedRightWayUp) {
    BitmapFile file = testdata::TrueColour({{RGB(255, 0, 0)}, {RGB(0, 0, 255)}});
    file.height = -2;
    // TrueColour stores the bottom row first; a top-first file keeps the
    // same bytes, so the top row now comes from the blue row.
    ui::TBitmap bitmap;
    bitmap.ReadData(file.Data());
    EXPECT_EQ(bitmap.Pixel(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(bitmap.Pixel(0, 1), RGB(255, 0, 0));
}

TEST(BitmapReader, MalformedDataIsRefusedWithAClearError) {
    BitmapFile truncated;
    truncated.width = 16;
    truncated.height = 16;
    std::string cut = truncated.Data();
    cut.resize(cut.size() - 1);
    EXPECT_NE(ReadError(cut).find("pixel bytes present"), std::string::npos) << ReadError(cut);

    // A count smaller than the file leaves its end out, and so its pixels.
    EXPECT_NE(ReadError(truncated.Data(100)), "");

    BitmapFile huge;  // rows times row length overflows 32 and 64 bits
    huge.width = 0x7FFFFFFF;
    huge.height = 0x7FFFFFFF;
    huge.bits = 32;
    huge.pixels = "xxxx";
    EXPECT_NE(ReadError(huge.Data()).find("pixel bytes present"), std::string::npos);

    BitmapFile tooManyColours;
    tooManyColours.bits = 1;
    tooManyColours.coloursUsed = 3;
    tooManyColours.colours = {0, 0, 0};
    EXPECT_NE(ReadError(tooManyColours.Data()).find("colours for 1 bits"), std::string::npos);

    BitmapFile tableCut;
    tableCut.coloursUsed = 0x40000000;  // a table far longer than the file
    EXPECT_NE(ReadError(tableCut.Data()).find("colour table"), std::string::npos);

    std::string notBitmap = BitmapFile().Data();
    notBitmap[4] = 'X';
    EXPECT_NE(ReadError(notBitmap).find("not a Windows bitmap"), std::string::npos);
    EXPECT_NE(ReadError(BitmapFile().Data().substr(0, 40)).find("headers"), std::string::npos);
    EXPECT_NE(ReadError(std::string("\x05\x00", 2)).find("byte count"), std::string::npos);
    BitmapFile compressed;
    std::string rle = compressed.File();
    rle[30] = 1;  // BI_RLE8
    EXPECT_NE(ReadError(std::string("\xff\xff\x00\x00", 4) + rle).find("compressed"),
              std::string::npos);
}

TEST(BitmapReader, AFailedReadKeepsTheEarlierPicture) {
    ui::TBitmap bitmap;
    bitmap.ReadData(testdata::TrueColour({{RGB(1, 2, 3), RGB(4, 5, 6)}}).Data());
    BitmapFile bad;
    bad.bits = 7;
    EXPECT_THROW(bitmap.ReadData(bad.Data()), ui::EResourceError);
    EXPECT_EQ(bitmap.Width(), 2);
    EXPECT_EQ(bitmap.Pixel(1, 0), RGB(4, 5, 6));
}

TEST(BitmapReader, APictureThePlatformCannotMakeLeavesTheBitmapAsItWas) {
    ui::TBitmap bitmap;
    bitmap.ReadData(testdata::TrueColour({{RGB(1, 2, 3), RGB(4, 5, 6)}}).Data());
    const HBITMAP section = bitmap.Handle();
    ui::TBitmap target;
    target.ReadData(testdata::TrueColour({{RGB(7, 8, 9)}}).Data());
    {
        NoGdiHandlesLeft exhausted;
        EXPECT_THROW(bitmap.ReadData(testdata::TrueColour({{RGB(7, 8, 9)}}).Data()),
                     ui::EResourceError);
        EXPECT_THROW(bitmap.SetSize(5, 5), ui::EResourceError);
        EXPECT_THROW(target.Assign(bitmap), ui::EResourceError);
    }
    EXPECT_EQ(bitmap.Width(), 2);
    EXPECT_EQ(bitmap.Height(), 1);
    EXPECT_EQ(bitmap.Handle(), section);
    EXPECT_EQ(bitmap.Pixel(1, 0), RGB(4, 5, 6));
    EXPECT_EQ(target.Width(), 1);
    EXPECT_EQ(target.Pixel(0, 0), RGB(7, 8, 9));
}

TEST(BitmapReader, ResizingKeepsTheSharedPixelsAndZeroEmpties) {
    ui::TBitmap bitmap;
    bitmap.ReadData(testdata::TrueColour({{RGB(9, 8, 7), RGB(6, 5, 4)}}).Data());
    bitmap.SetSize(3, 2);
    EXPECT_EQ(bitmap.Pixel(1, 0), RGB(6, 5, 4));
    EXPECT_EQ(bitmap.Pixel(2, 1), RGB(0, 0, 0));
    bitmap.SetHeight(0);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Handle(), nullptr);
}

TEST(FormData, BinaryValuesInPlaceOrInAResource) {
    const ui::FormNode node = ui::ParseFormData(
        "F : TForm {\n  A: { 42 4d 00\n ff } # a comment\n  B: @TILE\n  C: \"text\"\n}");
    ASSERT_EQ(node.properties.size(), 3u);
    EXPECT_EQ(ui::BinaryValue("A", node.properties[0].second), std::string("BM\0\xff", 4));
    EXPECT_EQ(ui::BinaryValue("B", node.properties[1].second), ui::LoadResourceData("TILE"));
    EXPECT_THROW(ui::BinaryValue("C", node.properties[2].second), ui::EResourceError);
    EXPECT_THROW(ui::ParseFormData("F : TForm { A: { 4 } }"), ui::EResourceError);
    EXPECT_THROW(ui::ParseFormData("F : TForm { A: { 4g } }"), ui::EResourceError);
    EXPECT_THROW(ui::ParseFormData("F : TForm { A: { 42"), ui::EResourceError);
}

}  // namespace
