// The gradient caption: colour bands, the caption rectangle of the stored
// forms, the shortened text, the painted title bar of a real window, and
// the hook service under re-creation and a later subclasser.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/setupf.h"
#include "controls/GradientCaption.h"
#include "controls/GradientFill.h"
#include "controls/WindowHook.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/exceptions.h"
#include "ui/form.h"
#include "ui/form_data.h"
#include "ui/resource_data.h"

namespace {

using controls::GradientBands;
using controls::MulDivRounded;

TEST(Gradient, BandsRunFromStartToEndWithRoundedSteps) {
    const auto bands = GradientBands(RECT{10, 0, 18, 5}, RGB(0, 0, 0), RGB(255, 30, 0), 4, false);
    ASSERT_EQ(bands.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bands[i].from, 10 + 2 * i);
        EXPECT_EQ(bands[i].to, 12 + 2 * i);
        EXPECT_EQ(bands[i].colour, RGB(MulDivRounded(i, 255, 3), MulDivRounded(i, 30, 3), 0));
    }
    EXPECT_EQ(bands[1].colour, RGB(85, 10, 0));
    // Going down: the signed difference rounds as well.
    const auto down = GradientBands(RECT{0, 0, 3, 1}, RGB(10, 0, 0), RGB(0, 0, 0), 3, false);
    EXPECT_EQ(down[1].colour, RGB(5, 0, 0));
    EXPECT_EQ(MulDivRounded(1, 5, 2), 3);
    EXPECT_EQ(MulDivRounded(1, -5, 2), -3);
    EXPECT_EQ(MulDivRounded(7, 1, 0), -1);
}

TEST(Gradient, NarrowRectanglesLeftoversAndStepsModulo256) {
    // Fewer columns than colours: one band per column.
    auto bands = GradientBands(RECT{0, 0, 10, 1}, RGB(0, 0, 0), RGB(90, 90, 90), 64, false);
    ASSERT_EQ(bands.size(), 10u);
    EXPECT_EQ(bands.back().colour, RGB(90, 90, 90));
    // 100 columns in 64 bands of 1: 36 columns left over.
    bands = GradientBands(RECT{0, 0, 100, 1}, RGB(0, 0, 0), RGB(90, 90, 90), 64, false);
    ASSERT_EQ(bands.size(), 64u);
    EXPECT_EQ(bands.back().to, 64);
    // 256 and 0 colours are both a single band in the start colour.
    for (int steps : {256, 0}) {
        bands = GradientBands(RECT{0, 0, 30, 1}, RGB(1, 2, 3), RGB(90, 90, 90), steps, false);
        ASSERT_EQ(bands.size(), 1u) << steps;
        EXPECT_EQ(bands[0].colour, RGB(1, 2, 3));
        EXPECT_EQ(bands[0].to, 30);
    }
    EXPECT_EQ(GradientBands(RECT{0, 0, 30, 1}, 0, 0, 258, false).size(), 2u);
}

TEST(Gradient, LeftoverStripIsFilledWithTheEndColour) {
    ui::MemoryDC memory(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 100, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    ui::ScopedBitmap picture(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ui::SelectObjectScope select(memory.Get(), picture.Get());
    controls::GradientFillRect(memory.Get(), RECT{0, 0, 100, 1}, RGB(0, 0, 0), RGB(0, 0, 200),
                               controls::TFillDirection::fdLeftToRight, 64);
    EXPECT_EQ(::GetPixel(memory.Get(), 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(::GetPixel(memory.Get(), 63, 0), RGB(0, 0, 200));
    for (int x = 64; x < 100; ++x) EXPECT_EQ(::GetPixel(memory.Get(), x, 0), RGB(0, 0, 200)) << x;
}

// A form with the window properties of a stored form's root, nothing else.
std::unique_ptr<ui::TForm> FrameOf(const std::string& resource) {
    const ui::FormNode root = ui::ParseFormData(ui::LoadResourceData(resource));
    auto form = std::make_unique<ui::TForm>();
    for (const auto& [name, value] : root.properties)
        if (name == "BorderStyle" || name == "BorderIcons") form->SetProperty(name, value);
    return form;
}

TEST(CaptionRectangle, StoredFormsLeaveRoomForTheirButtons) {
    const RECT window{100, 50, 600, 400};
    const auto setup = FrameOf("SETUPFORM");
    const auto setupCaption =
        controls::CaptionRectFor(window, setup->BorderStyle(), setup->BorderIcons());
    EXPECT_EQ(setupCaption.buttons, 1);
    const int dlg = ::GetSystemMetrics(SM_CXDLGFRAME);
    EXPECT_EQ(setupCaption.rect.left, 100 + dlg);
    EXPECT_EQ(setupCaption.rect.top, 50 + ::GetSystemMetrics(SM_CYDLGFRAME));
    EXPECT_EQ(setupCaption.rect.right, 600 - dlg - ::GetSystemMetrics(SM_CXSIZE));
    EXPECT_EQ(setupCaption.rect.bottom - setupCaption.rect.top,
              ::GetSystemMetrics(SM_CYCAPTION) - 1);

    const auto background = FrameOf("BACKGROUNDFORM");
    const auto backgroundCaption =
        controls::CaptionRectFor(window, background->BorderStyle(), background->BorderIcons());
    EXPECT_EQ(backgroundCaption.buttons, 3);
    const int frame = ::GetSystemMetrics(SM_CXFRAME);
    EXPECT_EQ(backgroundCaption.rect.left, 100 + frame);
    EXPECT_EQ(backgroundCaption.rect.right, 600 - frame - 3 * ::GetSystemMetrics(SM_CXSIZE));

    // One of minimise and maximise shows both; a tool window keeps only its close box.
    EXPECT_EQ(controls::CaptionRectFor(window, ui::TBorderStyle::bsSingle,
                                       ui::biSystemMenu | ui::biMinimize)
                  .buttons,
              3);
    EXPECT_EQ(controls::CaptionRectFor(window, ui::TBorderStyle::bsToolWindow,
                                       ui::biSystemMenu | ui::biMaximize | ui::biHelp)
                  .buttons,
              1);
}

TEST(CaptionText, ShortenedFromTheEndWithAnEllipsis) {
    ui::ScopedGetDC screen(nullptr);
    ui::TFont font;
    ui::SelectObjectScope select(screen.Get(), font.Handle());
    auto width = [&](const std::string& s) {
        SIZE size{};
        ::GetTextExtentPoint32A(screen.Get(), s.c_str(), static_cast<int>(s.size()), &size);
        return static_cast<int>(size.cx);
    };
    const std::string text = "Quarnel Setup";
    EXPECT_EQ(controls::ShortenCaptionText(screen.Get(), text, width(text)), text);
    const std::string cut = controls::ShortenCaptionText(screen.Get(), text, width(text) - 1);
    EXPECT_EQ(cut.substr(cut.size() - 3), "...");
    EXPECT_EQ(text.compare(0, cut.size() - 3, cut, 0, cut.size() - 3), 0);
    EXPECT_LE(width(cut), width(text) - 1);
    EXPECT_GT(width(cut.substr(0, cut.size() - 3) + text[cut.size() - 3] + "..."), width(text) - 1)
        << "cut more than needed";
    EXPECT_EQ(controls::ShortenCaptionText(screen.Get(), text, 2), "...");
}

TEST(CaptionSegments, FormDataStoresEveryPropertyOfASegment) {
    ui::TForm form;
    form.CreateFromText(
        "F : TForm { C : TGradientCaption { FormCaption: \"Setup\" Captions: [\n"
        " \"Plain\"\n"
        " [Caption \"Beta\" GlueNext true Visible false InactiveColor clBlue\n"
        "  Font.Name \"Arial\" Font.Style [fsItalic]]\n"
        " [Caption \"Back\" Font.Name \"Arial\" ParentFont true]\n"
        "] } }");
    auto* caption = form.Find<controls::TGradientCaption>("C");
    ASSERT_EQ(caption->Captions().Count(), 3);
    const controls::TCaptionSegment& plain = caption->Captions().Item(0);
    EXPECT_EQ(plain.Caption(), "Plain");
    EXPECT_TRUE(plain.ParentFont());
    EXPECT_TRUE(plain.Visible());
    EXPECT_FALSE(plain.GlueNext());
    EXPECT_EQ(plain.InactiveColor(), ui::clInactiveCaptionText);

    const controls::TCaptionSegment& beta = caption->Captions().Item(1);
    EXPECT_EQ(beta.Caption(), "Beta");
    EXPECT_TRUE(beta.GlueNext());
    EXPECT_FALSE(beta.Visible());
    EXPECT_EQ(beta.InactiveColor(), ui::clBlue);
    EXPECT_FALSE(beta.ParentFont()) << "a font of its own";
    EXPECT_EQ(beta.Font().Name(), "Arial");
    EXPECT_EQ(beta.Font().Style(), unsigned{ui::fsItalic});

    // ParentFont stated after a font takes the caption's font back.
    const controls::TCaptionSegment& back = caption->Captions().Item(2);
    EXPECT_TRUE(back.ParentFont());
    EXPECT_EQ(back.Font().Name(), caption->Font().Name());

    EXPECT_THROW(ui::TForm().CreateFromText(
                     "F : TForm { C : TGradientCaption { Captions: [[Caption \"x\" Size 3]] } }"),
                 ui::EResourceError);
}

// The background window, shown on screen, with its caption read back from
// the window's own pixels.
class PaintedCaption : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<app::TForm1>();
        form_->Create();
        form_->SetBounds(20, 20, form_->Width(), form_->Height());
        caption_ = form_->Find<controls::TGradientCaption>("GradientCaption1");
    }
    void TearDown() override {
        other_.reset();
        form_.reset();
        ui::Application()->ProcessMessages();
    }
    // The caption's rectangle relative to the window.
    RECT Caption() const {
        RECT window{};
        ::GetWindowRect(form_->Handle(), &window);
        RECT r = controls::CaptionRectFor(window, form_->BorderStyle(), form_->BorderIcons()).rect;
        ::OffsetRect(&r, -window.left, -window.top);
        return r;
    }
    COLORREF Pixel(int x, int y) const {
        ui::ScopedGetDC dc(form_->Handle(), true);
        return ::GetPixel(dc.Get(), x, y);
    }
    std::unique_ptr<app::TForm1> form_;
    std::unique_ptr<ui::TForm> other_;
    controls::TGradientCaption* caption_ = nullptr;
};

TEST_F(PaintedCaption, ActiveAndInactiveTitleBarsAreRampsToTheCaptionColours) {
    EXPECT_EQ(caption_->FormCaption(), "Quarnel Setup");
    EXPECT_TRUE(caption_->GradientInactive());
    form_->Show();
    ui::Application()->ProcessMessages();
    ASSERT_TRUE(caption_->WindowActive());
    const RECT r = Caption();
    const int width = r.right - r.left;
    // The visible part starts a quarter of the width into the ramp.
    const auto bands =
        GradientBands(RECT{-(width / 4), 0, width, 1}, ui::ColorToRGB(ui::clWindowText),
                      ui::ColorToRGB(ui::clActiveCaption), 64, false);
    COLORREF atLeft = 0;
    for (const auto& band : bands)
        if (band.from <= 0 && 0 < band.to) atLeft = band.colour;
    // Top row, left of the icon; and the far right end.
    EXPECT_EQ(Pixel(r.left, r.top), atLeft);
    EXPECT_EQ(Pixel(r.right - 1, r.top), ui::ColorToRGB(ui::clActiveCaption));

    other_ = std::make_unique<ui::TForm>();
    other_->CreateFromText("O : TForm { Left: 300 Top: 300 ClientWidth: 50 ClientHeight: 20 }");
    other_->Show();
    ui::Application()->ProcessMessages();
    ASSERT_FALSE(caption_->WindowActive());
    EXPECT_EQ(Pixel(r.right - 1, r.top), ui::ColorToRGB(ui::clInactiveCaption));
    EXPECT_NE(Pixel(r.left, r.top), ui::ColorToRGB(ui::clInactiveCaption))
        << "no ramp when inactive";
}

TEST_F(PaintedCaption, FramePaintingLeavesTheCaptionAreaToTheComponent) {
    form_->Show();
    ui::Application()->ProcessMessages();
    // A later client is offered each message first, and sees after the
    // platform's painting what the platform was given.
    RECT window{};
    ::GetWindowRect(form_->Handle(), &window);
    const RECT caption =
        controls::CaptionRectFor(window, form_->BorderStyle(), form_->BorderIcons()).rect;
    controls::TWindowHook watcher(nullptr);
    WPARAM given = 0;
    bool captionLeftOut = false, frameKept = false;
    watcher.AfterMessage = [&](ui::TComponent*, controls::THookMessage& m, bool&) {
        if (m.Msg != WM_NCPAINT) return;
        given = m.WParam;
        if (given <= 1) return;
        // The region lives only until the caption's own handler puts the original back.
        HRGN cut = reinterpret_cast<HRGN>(given);
        captionLeftOut = ::RectInRegion(cut, &caption) == FALSE;
        frameKept = ::PtInRegion(cut, window.left + 1, window.bottom - 2) != FALSE;
    };
    watcher.SetWinControl(form_.get());
    ui::ScopedRegion whole(::CreateRectRgn(window.left, window.top, window.right, window.bottom));
    ::SendMessageA(form_->Handle(), WM_NCPAINT, reinterpret_cast<WPARAM>(whole.Get()), 0);
    EXPECT_NE(given, reinterpret_cast<WPARAM>(whole.Get())) << "the region was not cut";
    EXPECT_TRUE(captionLeftOut);
    EXPECT_TRUE(frameKept);

    ::SendMessageA(form_->Handle(), WM_NCPAINT, 1, 0);  // the whole window: passed on as it is
    EXPECT_EQ(given, 1u);
    EXPECT_EQ(Pixel(Caption().right - 1, Caption().top), ui::ColorToRGB(ui::clActiveCaption));
}

TEST_F(PaintedCaption, ActivationChangeShowsNoPlatformCaptionInBetween) {
    form_->Show();
    ui::Application()->ProcessMessages();
    const RECT r = Caption();
    const COLORREF active = ui::ColorToRGB(ui::clActiveCaption);
    ASSERT_EQ(Pixel(r.right - 1, r.top), active);
    // A later client sees the message after the platform's own handling
    // and before the component repaints: the caption must still be the old one.
    controls::TWindowHook watcher(nullptr);
    COLORREF between = 0;
    watcher.AfterMessage = [&](ui::TComponent*, controls::THookMessage& m, bool&) {
        if (m.Msg == WM_NCACTIVATE && m.WParam == FALSE) between = Pixel(r.right - 1, r.top);
    };
    watcher.SetWinControl(form_.get());
    ::SendMessageA(form_->Handle(), WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(between, active) << "the platform drew its own caption first";
    EXPECT_EQ(Pixel(r.right - 1, r.top), ui::ColorToRGB(ui::clInactiveCaption));
    EXPECT_NE(::GetWindowLongA(form_->Handle(), GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_TRUE(::IsWindowVisible(form_->Handle()));
}

// ----------------------------------------------------------- the hooks

// A subclasser of its own that sits on top of whatever was there.
WNDPROC g_underneath = nullptr;
int g_seenOnTop = 0;
bool g_sawNcDestroy = false;
LRESULT CALLBACK OnTop(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP + 7) ++g_seenOnTop;
    if (message == WM_NCDESTROY) g_sawNcDestroy = true;
    return ::CallWindowProcA(g_underneath, window, message, wParam, lParam);
}

class HookService : public ::testing::Test {
protected:
    void SetUp() override {
        g_seenOnTop = 0;
        g_sawNcDestroy = false;
        form_ = std::make_unique<ui::TForm>();
        form_->OnClose = [this](ui::TComponent*, ui::TCloseAction& action) {
            ++closes_;
            action = ui::TCloseAction::caNone;
        };
        form_->CreateFromText("H : TForm { ClientWidth: 50 ClientHeight: 20 }");
        hook_ = new controls::TWindowHook(form_.get());
        hook_->BeforeMessage = [this](ui::TComponent*, controls::THookMessage& m, bool&) {
            if (m.Msg == WM_APP + 7) ++seen_;
        };
        hook_->SetWinControl(form_.get());
    }
    void TearDown() override {
        form_.reset();
        ui::Application()->ProcessMessages();
    }
    void Ping() { ::SendMessageA(form_->Handle(), WM_APP + 7, 0, 0); }
    void PutSubclasserOnTop() {
        g_underneath = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(form_->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OnTop)));
    }
    std::unique_ptr<ui::TForm> form_;
    controls::TWindowHook* hook_ = nullptr;
    int seen_ = 0;
    int closes_ = 0;
};

TEST_F(HookService, HookingSurvivesANewWindowHandle) {
    Ping();
    EXPECT_EQ(seen_, 1);
    form_->RecreateWnd();
    ui::Application()->ProcessMessages();  // the re-hook request arrives
    Ping();
    EXPECT_EQ(seen_, 2);
    ::SendMessageA(form_->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(closes_, 1) << "the window's own procedure no longer gets its messages";
}

TEST_F(HookService, UnhookingUnderALaterSubclasserLeavesTheChainWhole) {
    PutSubclasserOnTop();
    hook_->SetActive(false);
    EXPECT_EQ(::GetWindowLongPtrA(form_->Handle(), GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(&OnTop));
    Ping();
    EXPECT_EQ(g_seenOnTop, 1);
    EXPECT_EQ(seen_, 0);
    ::SendMessageA(form_->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(closes_, 1);

    // Hooked again: each message is seen once, not once per link.
    hook_->SetActive(true);
    Ping();
    EXPECT_EQ(seen_, 1);
    EXPECT_EQ(g_seenOnTop, 2);
    ui::Application()->ProcessMessages();
}

TEST_F(HookService, AFailingClientIsReportedAndTheMessageStillArrives) {
    std::vector<std::string> reported;
    ui::SetDialogResponder([&](const ui::DialogRequest& request) {
        reported.push_back(request.text);
        return ui::mrOk;
    });
    hook_->BeforeMessage = [](ui::TComponent*, controls::THookMessage& m, bool&) {
        if (m.Msg == WM_CLOSE) throw ui::Exception("Hook client failed");
    };
    ::SendMessageA(form_->Handle(), WM_CLOSE, 0, 0);
    ui::SetDialogResponder(nullptr);
    EXPECT_EQ(closes_, 1);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], "Hook client failed.");
}

TEST_F(HookService, WindowDestroyedUnderALaterSubclasser) {
    // A second client that the form does not own outlives the window.
    auto lone = std::make_unique<controls::TWindowHook>(nullptr);
    int loneSeen = 0;
    lone->BeforeMessage = [&](ui::TComponent*, controls::THookMessage& m, bool&) {
        if (m.Msg == WM_APP + 7) ++loneSeen;
    };
    lone->SetWinControl(form_.get());
    PutSubclasserOnTop();
    Ping();
    EXPECT_EQ(seen_, 1);
    EXPECT_EQ(loneSeen, 1);
    form_.reset();
    ui::Application()->ProcessMessages();  // frees the hook nobody uses any more
    EXPECT_TRUE(g_sawNcDestroy) << "the chain broke before the window was gone";
    EXPECT_EQ(lone->WinControl(), nullptr);
}

}  // namespace
