// The progress gauge as the setup window has it (449 x 17, navy on silver):
// its picture pixel by pixel, the range rules and their error texts, when it
// paints, and a real file copy driving it by its property names.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "controls/Gauge.h"
#include "engine/FileUtil.h"
#include "temp_dir.h"
#include "ui/exceptions.h"
#include "ui/form.h"
#include "ui/handles.h"

namespace {

using controls::TGauge;

constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr COLORREF kBlack = RGB(0, 0, 0);
// White letters combined by exclusive or over navy and over silver.
constexpr COLORREF kTextOverNavy = RGB(255, 255, 127);
constexpr COLORREF kTextOverSilver = RGB(63, 63, 63);

class GaugeTest : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<ui::TForm>();
        form_->CreateFromText(R"(F : TForm {
            ClientWidth: 457 ClientHeight: 262 Font.Name: "MS Sans Serif" Font.Height: -11
            G : TGauge {
              Left: 4 Top: 200 Width: 449 Height: 17 Color: clSilver ParentColor: false
              ForeColor: clNavy BackColor: clSilver Progress: 0
            }
          })");
        gauge_ = form_->Find<TGauge>("G");
    }
    void TearDown() override { form_.reset(); }

    // Shows the window and lets its first paint happen, so that what follows
    // counts only the paints it causes itself.
    void ShowSettled() {
        form_->Show();
        ::UpdateWindow(form_->Handle());
    }

    std::unique_ptr<ui::TForm> form_;
    TGauge* gauge_ = nullptr;
};

// The gauge drawn into a bitmap of the screen's format.
class Picture {
public:
    explicit Picture(TGauge* gauge)
        : screen_(nullptr),
          memory_(screen_.Get()),
          bitmap_(::CreateCompatibleBitmap(screen_.Get(), gauge->Width(), gauge->Height())),
          select_(memory_.Get(), bitmap_.Get()) {
        // Anything the gauge fails to cover stays this colour.
        ::PatBlt(memory_.Get(), 0, 0, gauge->Width(), gauge->Height(), WHITENESS);
        gauge->Paint(memory_.Get());
    }
    COLORREF At(int x, int y) const { return ::GetPixel(memory_.Get(), x, y); }

private:
    ui::ScopedGetDC screen_;
    ui::MemoryDC memory_;
    ui::ScopedBitmap bitmap_;
    ui::SelectObjectScope select_;
};

// Checks the 449 x 17 picture at one percentage: a black frame; inside it
// navy up to the bar's end and silver after it, except for the letters,
// which show the inverse of what lies under them and stay in the centred
// text box. Answers how many letter pixels lie over the bar and beside it.
struct TextPixels {
    int overBar = 0;
    int overBackground = 0;
};

TextPixels CheckPicture(TGauge* gauge, int percent, bool text = true) {
    const Picture picture(gauge);
    for (int x = 0; x < 449; ++x) {
        EXPECT_EQ(picture.At(x, 0), kBlack) << x;
        EXPECT_EQ(picture.At(x, 16), kBlack) << x;
    }
    for (int y = 0; y < 17; ++y) {
        EXPECT_EQ(picture.At(0, y), kBlack) << y;
        EXPECT_EQ(picture.At(448, y), kBlack) << y;
    }
    const int barEnd = 448 * percent / 100;  // the bar covers x = 1 .. barEnd - 1
    const SIZE box = ui::MeasureText(gauge->Font(), std::to_string(percent) + "%");
    const int boxLeft = (448 - box.cx) / 2;
    const int boxTop = (16 - box.cy) / 2;
    TextPixels letters;
    for (int y = 1; y < 16; ++y) {
        for (int x = 1; x < 448; ++x) {
            const bool onBar = x < barEnd;
            const COLORREF seen = picture.At(x, y);
            if (seen == (onBar ? kNavy : kSilver)) continue;
            EXPECT_EQ(seen, onBar ? kTextOverNavy : kTextOverSilver) << x << "," << y;
            EXPECT_TRUE(x >= boxLeft && x < boxLeft + box.cx && y >= boxTop &&
                        y < boxTop + box.cy)
                << "letter pixel outside the text box at " << x << "," << y;
            ++(onBar ? letters.overBar : letters.overBackground);
        }
    }
    if (!text) {
        EXPECT_EQ(letters.overBar + letters.overBackground, 0);
    }
    return letters;
}

TEST_F(GaugeTest, EmptyHalfAndFullBarsWithInvertedPercentage) {
    gauge_->SetMaxValue(1000);

    TextPixels letters = CheckPicture(gauge_, 0);
    EXPECT_EQ(letters.overBar, 0);
    EXPECT_GT(letters.overBackground, 0);

    // "50%" straddles the end of the bar: its letters change colour there.
    gauge_->SetProgress(500);
    letters = CheckPicture(gauge_, 50);
    EXPECT_GT(letters.overBar, 0);
    EXPECT_GT(letters.overBackground, 0);

    gauge_->SetProgress(1000);
    letters = CheckPicture(gauge_, 100);
    EXPECT_GT(letters.overBar, 0);
    EXPECT_EQ(letters.overBackground, 0);
}

TEST_F(GaugeTest, WithoutTextOnlyFrameAndBar) {
    gauge_->SetShowText(false);
    gauge_->SetProgress(37);
    CheckPicture(gauge_, 37, false);
}

TEST_F(GaugeTest, EmptyRangeIsZeroPercent) {
    gauge_->SetMaxValue(0);
    EXPECT_EQ(gauge_->PercentDone(), 0);
    CheckPicture(gauge_, 0);
    // A value equal to both ends of a range away from zero is still 0 %.
    gauge_->SetMaxValue(7);
    gauge_->SetMinValue(7);
    EXPECT_EQ(gauge_->Progress(), 7);
    EXPECT_EQ(gauge_->PercentDone(), 0);
}

TEST_F(GaugeTest, ProgressIsClampedIntoTheRange) {
    gauge_->SetMinValue(10);
    gauge_->SetIntProperty("Progress", 150);
    int value = 0;
    ASSERT_TRUE(gauge_->GetIntProperty("Progress", value));
    EXPECT_EQ(value, 100);
    gauge_->SetProgress(-5);
    EXPECT_EQ(gauge_->Progress(), 10);
}

TEST_F(GaugeTest, MovingAnEndPastProgressPullsProgressAlong) {
    gauge_->SetProgress(60);
    gauge_->SetMaxValue(40);
    EXPECT_EQ(gauge_->Progress(), 40);
    gauge_->SetMaxValue(100);
    gauge_->SetMinValue(30);
    EXPECT_EQ(gauge_->Progress(), 40);
    gauge_->SetMinValue(70);
    EXPECT_EQ(gauge_->Progress(), 70);
}

void ExpectRangeError(const std::function<void()>& set, const std::string& message) {
    try {
        set();
        ADD_FAILURE() << "no error; expected " << message;
    } catch (const ui::EInvalidOperation& error) {
        EXPECT_EQ(error.Message(), message);
    }
}

TEST_F(GaugeTest, EndsCrossingEachOtherAreRefusedAndChangeNothing) {
    gauge_->SetMinValue(10);
    gauge_->SetProgress(50);
    ExpectRangeError([&] { gauge_->SetMaxValue(9); }, "Value must be between 11 and 2147483647");
    ExpectRangeError([&] { gauge_->SetIntProperty("MinValue", 101); },
                     "Value must be between -2147483647 and 99");
    EXPECT_EQ(gauge_->MinValue(), 10);
    EXPECT_EQ(gauge_->MaxValue(), 100);
    EXPECT_EQ(gauge_->Progress(), 50);
    // The copy's maximum for a file whose size cannot be read.
    gauge_->SetMinValue(0);
    ExpectRangeError([&] { gauge_->SetIntProperty("MaxValue", -1); },
                     "Value must be between 1 and 2147483647");
}

TEST(GaugeLoading, FormDataMayStateTheEndsInEitherOrder) {
    ui::TForm form;
    form.CreateFromText("F : TForm { G : TGauge { MaxValue: 10 MinValue: 50 Progress: 0 } }");
    auto* gauge = form.Find<TGauge>("G");
    EXPECT_EQ(gauge->MinValue(), 50);
    EXPECT_EQ(gauge->MaxValue(), 10);
    // Loaded: the check applies again.
    EXPECT_THROW(gauge->SetMaxValue(20), ui::EInvalidOperation);
}

TEST_F(GaugeTest, PaintsAtOnceAndOnlyWhenTheWholePercentageMoves) {
    ShowSettled();
    gauge_->SetMaxValue(100000);
    long paints = gauge_->PaintCount();

    // No message is pumped in between: each paint happens inside the setter.
    gauge_->SetProgress(1000);
    EXPECT_EQ(gauge_->PaintCount(), ++paints);
    gauge_->SetProgress(1005);
    gauge_->SetProgress(1999);
    gauge_->SetProgress(1999);
    EXPECT_EQ(gauge_->PaintCount(), paints);
    gauge_->SetProgress(2000);
    EXPECT_EQ(gauge_->PaintCount(), ++paints);

    gauge_->SetForeColor(ui::clNavy);
    gauge_->SetShowText(true);
    EXPECT_EQ(gauge_->PaintCount(), paints);
    gauge_->SetForeColor(ui::clBlue);
    EXPECT_EQ(gauge_->PaintCount(), ++paints);

    // The picture on the window changed as well, before any message loop.
    ui::ScopedGetDC dc(form_->Handle());
    EXPECT_EQ(::GetPixel(dc.Get(), 4 + 5, 200 + 8), RGB(0, 0, 255));
    gauge_->SetProgress(0);
    EXPECT_EQ(::GetPixel(dc.Get(), 4 + 5, 200 + 8), kSilver);
}

TEST_F(GaugeTest, FileCopyDrivesTheGaugeOncePerPercentage) {
    testing_support::TempDir dir;
    // 200 blocks of 8192 bytes: every second block moves the percentage.
    const int size = 200 * 8192;
    ASSERT_TRUE(testing_support::WriteFileOfSize(dir / "wardex", size));
    ShowSettled();
    const long before = gauge_->PaintCount();

    engine::CopyFileWithProgress(dir / "wardex", dir / "copy", gauge_);

    EXPECT_EQ(testing_support::ReadWholeFile(dir / "copy").size(), static_cast<size_t>(size));
    EXPECT_EQ(gauge_->MaxValue(), size);
    EXPECT_EQ(gauge_->MinValue(), 0);
    EXPECT_EQ(gauge_->Progress(), 0);
    // The new range, 100 percentages and the fall back to zero; the 100 odd
    // blocks and the closing empty read paint nothing.
    EXPECT_EQ(gauge_->PaintCount() - before, 102);
}

}  // namespace
