// The progress gauge as the setup window has it (449 x 17, navy on silver):
// its picture pixel by pixel, the range rules and their error texts, when it
// paints, and a real file copy driving it by its property names.
#include "controls/Gauge.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

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

// Draws the 449 x 17 gauge into a bitmap of the screen's format and sorts its
// pixels against the picture expected at `percent`: a black frame, navy up to
// the end of the bar, silver after it, and letters inside the centred text box
// that show the inverse of what lies under them.
struct Pixels {
    int wrong = 0;
    int lettersOverBar = 0;
    int lettersOverBack = 0;
};

Pixels SortPixels(TGauge* gauge, int percent) {
    ui::ScopedGetDC screen(nullptr);
    ui::MemoryDC dc(screen.Get());
    ui::ScopedBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), 449, 17));
    ui::SelectObjectScope select(dc.Get(), bitmap.Get());
    ::PatBlt(dc.Get(), 0, 0, 449, 17, WHITENESS);  // left white where the gauge draws nothing
    gauge->Paint(dc.Get());

    const int barEnd = 448 * percent / 100;  // the bar covers x = 1 .. barEnd - 1
    const SIZE box = ui::MeasureText(gauge->Font(), std::to_string(percent) + "%");
    const RECT text{(448 - box.cx) / 2, (16 - box.cy) / 2, 0, 0};
    Pixels sorted;
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 449; ++x) {
            const COLORREF seen = ::GetPixel(dc.Get(), x, y);
            const bool onBar = x < barEnd;
            const bool inText =
                x >= text.left && x < text.left + box.cx && y >= text.top && y < text.top + box.cy;
            if (x == 0 || y == 0 || x == 448 || y == 16) {
                if (seen != kBlack) ++sorted.wrong;
            } else if (seen == (onBar ? kNavy : kSilver)) {
            } else if (inText && seen == (onBar ? kTextOverNavy : kTextOverSilver)) {
                ++(onBar ? sorted.lettersOverBar : sorted.lettersOverBack);
            } else {
                ++sorted.wrong;
            }
        }
    }
    return sorted;
}

TEST_F(GaugeTest, EmptyHalfAndFullBarsWithInvertedPercentage) {
    gauge_->SetMaxValue(1000);
    const Pixels empty = SortPixels(gauge_, 0);
    EXPECT_EQ(empty.wrong, 0);
    EXPECT_EQ(empty.lettersOverBar, 0);
    EXPECT_GT(empty.lettersOverBack, 0);

    // "50%" straddles the end of the bar: its letters change colour there.
    gauge_->SetProgress(500);
    const Pixels half = SortPixels(gauge_, 50);
    EXPECT_EQ(half.wrong, 0);
    EXPECT_GT(half.lettersOverBar, 0);
    EXPECT_GT(half.lettersOverBack, 0);

    gauge_->SetProgress(1000);
    const Pixels full = SortPixels(gauge_, 100);
    EXPECT_EQ(full.wrong, 0);
    EXPECT_GT(full.lettersOverBar, 0);
    EXPECT_EQ(full.lettersOverBack, 0);

    gauge_->SetShowText(false);
    const Pixels plain = SortPixels(gauge_, 100);
    EXPECT_EQ(plain.wrong, 0);
    EXPECT_EQ(plain.lettersOverBar, 0);
}

TEST_F(GaugeTest, TheTextTakesANewFontAtTheNextPaint) {
    gauge_->SetMaxValue(100);
    gauge_->SetProgress(50);
    gauge_->Font().SetHeight(-16);
    const Pixels large = SortPixels(gauge_, 50);
    EXPECT_EQ(large.wrong, 0);
    // Letters of the earlier, larger font would stand outside the new box.
    gauge_->Font().SetHeight(-11);
    const Pixels small = SortPixels(gauge_, 50);
    EXPECT_EQ(small.wrong, 0);
    EXPECT_GT(small.lettersOverBar + small.lettersOverBack, 0);
}

TEST_F(GaugeTest, RangeRulesAndTheirErrorTexts) {
    auto expectError = [](const std::function<void()>& set, const std::string& message) {
        try {
            set();
            ADD_FAILURE() << "no error; expected " << message;
        } catch (const ui::EInvalidOperation& error) {
            EXPECT_EQ(error.Message(), message);
        }
    };
    gauge_->SetMinValue(10);
    gauge_->SetIntProperty("Progress", 150);  // clamped to the ends
    EXPECT_EQ(gauge_->Progress(), 100);
    gauge_->SetProgress(-5);
    EXPECT_EQ(gauge_->Progress(), 10);

    gauge_->SetProgress(50);
    expectError([&] { gauge_->SetMaxValue(9); }, "Value must be between 11 and 2147483647");
    expectError([&] { gauge_->SetIntProperty("MinValue", 101); },
                "Value must be between -2147483647 and 99");
    int progress = 0;
    ASSERT_TRUE(gauge_->GetIntProperty("Progress", progress));
    EXPECT_EQ(progress, 50);
    EXPECT_EQ(gauge_->MinValue(), 10);
    EXPECT_EQ(gauge_->MaxValue(), 100);

    // Moving an end past the value pulls the value along.
    gauge_->SetMaxValue(40);
    EXPECT_EQ(gauge_->Progress(), 40);
    gauge_->SetMinValue(40);
    EXPECT_EQ(gauge_->PercentDone(), 0);  // an empty range
    gauge_->SetMaxValue(100);
    gauge_->SetMinValue(70);
    EXPECT_EQ(gauge_->Progress(), 70);
}

TEST(GaugeLoading, FormDataMayStateTheEndsInEitherOrder) {
    ui::TForm form;
    form.CreateFromText("F : TForm { G : TGauge { MaxValue: 10 MinValue: 50 Progress: 0 } }");
    auto* gauge = form.Find<TGauge>("G");
    EXPECT_EQ(gauge->MinValue(), 50);
    EXPECT_EQ(gauge->MaxValue(), 10);
    EXPECT_THROW(gauge->SetMaxValue(20), ui::EInvalidOperation);  // loaded: checked again
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

TEST_F(GaugeTest, AGrownGaugePaintsItsWholeNewSize) {
    gauge_->SetMaxValue(100);
    gauge_->SetProgress(50);
    EXPECT_EQ(SortPixels(gauge_, 50).wrong, 0);  // painted once at 449 x 17

    gauge_->SetBounds(4, 200, 600, 30);
    ui::ScopedGetDC screen(nullptr);
    ui::MemoryDC dc(screen.Get());
    ui::ScopedBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), 600, 30));
    ui::SelectObjectScope select(dc.Get(), bitmap.Get());
    ::PatBlt(dc.Get(), 0, 0, 600, 30, WHITENESS);
    gauge_->Paint(dc.Get());
    // The frame at the new right and bottom edges, the bar to 599 * 50%.
    EXPECT_EQ(::GetPixel(dc.Get(), 599, 20), kBlack);
    EXPECT_EQ(::GetPixel(dc.Get(), 100, 29), kBlack);
    EXPECT_EQ(::GetPixel(dc.Get(), 5, 25), kNavy);
    EXPECT_EQ(::GetPixel(dc.Get(), 298, 25), kNavy);
    EXPECT_EQ(::GetPixel(dc.Get(), 500, 25), kSilver);
}

// Sets the x87 unit's rounding precision (53 or 64 bits) for one scope: the
// shipped program's start-up and the test program's could leave either.
class X87Precision {
public:
    explicit X87Precision(int bits) {
        __asm__ volatile("fnstcw %0" : "=m"(saved_));
        unsigned short word = static_cast<unsigned short>(saved_ & ~0x0300);
        word |= bits == 64 ? 0x0300 : 0x0200;
        __asm__ volatile("fldcw %0" : : "m"(word));
    }
    ~X87Precision() { __asm__ volatile("fldcw %0" : : "m"(saved_)); }
    X87Precision(const X87Precision&) = delete;
    X87Precision& operator=(const X87Precision&) = delete;

private:
    unsigned short saved_ = 0;
};

// Every whole percentage at both precisions, on a gauge 31 pixels wide (a
// width W of 30 inside the frame): the bar ends at exactly that share of W,
// 10 % at 3 and never at 2.
TEST(GaugeBar, EndsAtTheExactShareOfTheWidthWhateverThePrecision) {
    ui::TForm form;
    form.CreateFromText(R"(F : TForm {
        G : TGauge { Width: 31 Height: 6 ForeColor: clNavy BackColor: clSilver ShowText: false
                     Progress: 0 }
      })");
    auto* gauge = form.Find<TGauge>("G");
    ui::ScopedGetDC screen(nullptr);
    ui::MemoryDC dc(screen.Get());
    ui::ScopedBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), 31, 6));
    ui::SelectObjectScope select(dc.Get(), bitmap.Get());
    for (int bits : {53, 64}) {
        X87Precision precision(bits);
        for (int percent = 0; percent <= 100; ++percent) {
            gauge->SetProgress(percent);
            gauge->Paint(dc.Get());
            const int barEnd = 30 * percent / 100;  // the bar covers x = 1 .. barEnd - 1
            int wrong = 0;
            for (int x = 1; x < 30; ++x)
                wrong += ::GetPixel(dc.Get(), x, 3) != (x < barEnd ? kNavy : kSilver);
            EXPECT_EQ(wrong, 0) << percent << " % at " << bits << " bits";
        }
    }
}

// Two gauges of different shapes repainted in turn, each at once: every
// repaint puts its own control on the window, whatever was repainted before.
TEST(ImmediateRepaints, ControlsOfDifferentShapesRepaintedInTurnEachReachTheWindow) {
    ui::TForm form;
    form.CreateFromText(R"(F : TForm {
        ClientWidth: 457 ClientHeight: 262 Color: clSilver
        G : TGauge {
          Left: 4 Top: 200 Width: 449 Height: 17 Color: clSilver ParentColor: false
          ForeColor: clNavy BackColor: clSilver Progress: 0
        }
        H : TGauge { Left: 300 Top: 10 Width: 100 Height: 60 ForeColor: clBlue Progress: 0 }
      })");
    auto* wide = form.Find<TGauge>("G");
    auto* tall = form.Find<TGauge>("H");
    form.Show();
    ::UpdateWindow(form.Handle());
    ui::ScopedGetDC window(form.Handle());

    wide->SetProgress(100);
    EXPECT_EQ(::GetPixel(window.Get(), 4 + 440, 200 + 12), kNavy);
    // The tall gauge's lower rows lie below anything the wide one covered.
    tall->SetProgress(100);
    EXPECT_EQ(::GetPixel(window.Get(), 300 + 5, 10 + 5), RGB(0, 0, 255));
    EXPECT_EQ(::GetPixel(window.Get(), 300 + 5, 10 + 55), RGB(0, 0, 255));
    wide->SetProgress(0);
    EXPECT_EQ(::GetPixel(window.Get(), 4 + 440, 200 + 12), kSilver);
    tall->SetProgress(0);
    EXPECT_EQ(::GetPixel(window.Get(), 300 + 5, 10 + 55), RGB(255, 255, 255));
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
