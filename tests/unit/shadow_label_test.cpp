// The shadowed label: its two copies drawn over a picture that stays
// untouched around them, the engraved disabled look, auto-sizing to the
// union of text and shadow, accelerators, the focus rectangle and the mouse
// tracking.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bitmap_file.h"
#include "controls/PleximoWallpaper.h"
#include "controls/ShadowLabel.h"
#include "render.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/std_controls.h"

namespace {

using controls::TShadowLabel;

const COLORREF kBackground = RGB(0, 128, 0);

SIZE TextSize(const ui::TFont& font, const std::string& text) {
    ui::ScopedGetDC screen(nullptr);
    ui::SelectObjectScope select(screen.Get(), font.Handle());
    RECT r{0, 0, 0, 0};
    ::DrawTextA(screen.Get(), text.c_str(), -1, &r, DT_CALCRECT | DT_EXPANDTABS);
    return SIZE{r.right, r.bottom};
}

class ShadowLabelTest : public ::testing::Test {
protected:
    // A form with a one-colour wallpaper, a label L with `body`, and an edit.
    void Make(const std::string& body) {
        form_ = std::make_unique<ui::TForm>();
        form_->RegisterHandler("Entered", [this](ui::TComponent*) { ++entered_; });
        form_->RegisterHandler("Left", [this](ui::TComponent*) { ++left_; });
        form_->CreateFromText(
            "F : TForm { Left: 40 Top: 40 ClientWidth: 240 ClientHeight: 120\n"
            " W : TPleximoWallpaper { }\n"
            " L : TShadowLabel { Left: 20 Top: 20 Font.Name: \"MS Sans Serif\" Font.Height: -11 "
            "Font.Color: clBlue ShadowColor: clRed Transparent: true " +
            body + " }\n E : TEdit { Left: 20 Top: 80 Width: 100 Height: 21 TabOrder: 0 }\n}");
        label_ = form_->Find<TShadowLabel>("L");
        ui::TBitmap solid;
        solid.ReadData(testdata::TrueColour({{kBackground}}).Data());
        form_->Find<controls::TPleximoWallpaper>("W")->SetImage(&solid);
    }
    std::unique_ptr<ui::TForm> form_;
    TShadowLabel* label_ = nullptr;
    int entered_ = 0, left_ = 0;
};

TEST_F(ShadowLabelTest, ShadowCopyUnderTheTextAndNothingElseTouched) {
    Make("Caption: \"Quarnel 95/98\"");
    testdata::Rendered shot(*form_, 240, 120);
    const COLORREF text = RGB(0, 0, 255), shadow = RGB(255, 0, 0);
    int texts = 0, shadows = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 240; ++x) {
            const COLORREF c = shot.At(x, y);
            if (c == text) {
                ++texts;
                // The glyph's shadow copy lies one pixel up and left, under the text.
                const COLORREF upLeft = shot.At(x - 1, y - 1);
                EXPECT_TRUE(upLeft == text || upLeft == shadow) << x << "," << y;
            } else if (c == shadow) {
                ++shadows;
                EXPECT_EQ(shot.At(x + 1, y + 1), text) << x << "," << y;
            } else {
                ASSERT_EQ(c, kBackground)
                    << "a pixel outside both copies changed at " << x << "," << y;
            }
        }
    EXPECT_GT(texts, 50);
    EXPECT_GT(shadows, 10);
}

TEST_F(ShadowLabelTest, DisabledWithoutShadowIsEngravedToTheLowerRight) {
    Make("Caption: \"Engraved\" ShadowSize: 0 Enabled: false");
    testdata::Rendered shot(*form_, 240, 120);
    const COLORREF grey = ui::ColorToRGB(ui::clGrayText);
    const COLORREF light = ui::ColorToRGB(ui::clBtnHighlight);
    int greys = 0, lights = 0;
    for (int y = 1; y < 120; ++y)
        for (int x = 1; x < 240; ++x) {
            const COLORREF c = shot.At(x, y);
            if (c == grey) {
                ++greys;
                const COLORREF downRight = shot.At(x + 1, y + 1);
                EXPECT_TRUE(downRight == grey || downRight == light) << x << "," << y;
            } else if (c == light) {
                ++lights;
                EXPECT_EQ(shot.At(x - 1, y - 1), grey) << x << "," << y;
            }
        }
    EXPECT_GT(greys, 30);
    EXPECT_GT(lights, 5);
}

TEST_F(ShadowLabelTest, AutoSizeCoversTextAndShadow) {
    Make("Caption: \"Version 2.5\"");
    const SIZE text = TextSize(label_->Font(), "Version 2.5");
    EXPECT_EQ(label_->Width(), text.cx + 2);  // the default shadow lies up and left
    EXPECT_EQ(label_->Height(), text.cy);

    label_->SetShadowSize(0);
    const int width0 = label_->Width(), height0 = label_->Height();
    label_->SetShadowPos(controls::TShadowPosition::spRightBottom);
    label_->SetShadowSize(3);
    EXPECT_EQ(label_->Width(), width0 + 3);
    EXPECT_EQ(label_->Height(), height0 + 3);

    label_->SetCaption("");  // still one line high, measured on a space
    EXPECT_EQ(label_->Height(), TextSize(label_->Font(), " ").cy + 3);
    label_->SetShadowSize(0);
    label_->SetCaption("&");
    EXPECT_EQ(label_->Width(), TextSize(label_->Font(), "& ").cx + 2);
}

TEST_F(ShadowLabelTest, RightJustifiedLabelKeepsItsRightEdge) {
    Make("Caption: \"Short\" Alignment: taRightJustify");
    const int right = label_->Left() + label_->Width();
    label_->SetCaption("A much longer caption");
    EXPECT_EQ(label_->Left() + label_->Width(), right);
    EXPECT_LT(label_->Left(), 20);
}

TEST_F(ShadowLabelTest, AcceleratorFocusesTheFocusControl) {
    Make("Caption: \"&Directory\" FocusControl: E");
    form_->Show();
    ::SetFocus(form_->Handle());
    EXPECT_FALSE(form_->DialogChar('x'));
    EXPECT_TRUE(form_->DialogChar('d'));
    EXPECT_EQ(::GetFocus(), form_->Find<ui::TEdit>("E")->Handle());

    label_->SetShowAccelChar(false);  // "&" is then a plain character
    EXPECT_FALSE(form_->DialogChar('d'));
    label_->SetShowAccelChar(true);
    label_->SetEnabled(false);
    EXPECT_FALSE(form_->DialogChar('d'));

    EXPECT_TRUE(ui::IsAccelerator('B', "&&a&b"));
    EXPECT_FALSE(ui::IsAccelerator('a', "&&a&b"));
    EXPECT_FALSE(ui::IsAccelerator('a', "a&"));
    form_->Hide();
}

TEST_F(ShadowLabelTest, FocusRectangleFollowsTheFocusControl) {
    Make("Caption: \"&Directory\" FocusControl: E ShowFocus: true");
    form_->Show();
    ::SetFocus(form_->Handle());
    testdata::Rendered unfocused(*form_, 240, 120);
    form_->Find<ui::TEdit>("E")->SetFocus();
    testdata::Rendered focused(*form_, 240, 120);
    int changed = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 240; ++x)
            if (unfocused.At(x, y) != focused.At(x, y)) ++changed;
    EXPECT_GT(changed, 20) << "no focus rectangle around the label";
    form_->Hide();
}

TEST_F(ShadowLabelTest, MouseEnterAndLeaveFollowTheMouseAndTheHeldButton) {
    Make("Caption: \"Hover here\" OnMouseEnter: Entered OnMouseLeave: Left");
    form_->Show();
    ASSERT_TRUE(ui::ActiveWindowOfThisThread());
    const LPARAM onLabel = MAKELPARAM(label_->Left() + 5, label_->Top() + 5);
    const LPARAM away = MAKELPARAM(200, 100);
    ::SendMessageA(form_->Handle(), WM_MOUSEMOVE, 0, onLabel);
    EXPECT_EQ(entered_, 1);
    ::SendMessageA(form_->Handle(), WM_MOUSEMOVE, 0, away);
    EXPECT_EQ(left_, 1);

    // Held down on the label, the mouse stays the label's until released
    // (the release looks where the real cursor is: away from the label).
    POINT awayOnScreen{200, 100};
    ::ClientToScreen(form_->Handle(), &awayOnScreen);
    ::SetCursorPos(awayOnScreen.x, awayOnScreen.y);
    ::SendMessageA(form_->Handle(), WM_MOUSEMOVE, 0, onLabel);
    ::SendMessageA(form_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, onLabel);
    ::SendMessageA(form_->Handle(), WM_MOUSEMOVE, MK_LBUTTON, away);
    EXPECT_EQ(left_, 1);
    EXPECT_TRUE(label_->MouseInside());
    ::SendMessageA(form_->Handle(), WM_LBUTTONUP, 0, away);
    EXPECT_EQ(left_, 2);
    EXPECT_FALSE(label_->MouseInside());
    form_->Hide();
}

// The label dragged over the wallpaper: the drag starts only once the mouse
// has moved, the picture under the mouse is told and takes the drop when it
// accepts, and the label hears how it ended.
TEST(ShadowLabelDrag, DragFromTheLabelRaisesItsEventsAndTheWallpapers) {
    std::vector<std::string> log;
    auto name = [](ui::TComponent* c) { return c != nullptr ? c->Name() : std::string("none"); };
    auto at = [](int x, int y) { return " " + std::to_string(x) + "," + std::to_string(y); };
    ui::TForm form;
    form.RegisterEventHandler("StartL", ui::TStartDragEvent([&](ui::TComponent* s) {
                                  log.push_back("start " + name(s));
                              }));
    form.RegisterEventHandler(
        "EndL", ui::TEndDragEvent([&](ui::TComponent* s, ui::TComponent* target, int x, int y) {
            log.push_back("end " + name(s) + " on " + name(target) + at(x, y));
        }));
    form.RegisterEventHandler(
        "OverW", ui::TDragOverEvent([&](ui::TComponent* s, ui::TComponent* source, int x, int y,
                                        ui::TDragState state, bool& accept) {
            static const char* const kStates[] = {"enter", "leave", "move"};
            log.push_back(std::string(kStates[static_cast<int>(state)]) + " " + name(s) + " by " +
                          name(source) + at(x, y));
            accept = x < 180;  // the right part of the picture takes nothing
        }));
    form.RegisterEventHandler(
        "DropW", ui::TDragDropEvent([&](ui::TComponent* s, ui::TComponent* source, int x, int y) {
            log.push_back("drop " + name(source) + " on " + name(s) + at(x, y));
        }));
    form.CreateFromText(
        "F : TForm { Left: 40 Top: 40 ClientWidth: 240 ClientHeight: 120\n"
        " W : TPleximoWallpaper { OnDragOver: OverW OnDragDrop: DropW }\n"
        " L : TShadowLabel { Left: 20 Top: 20 Caption: \"Drag me\" DragMode: dmAutomatic "
        "OnStartDrag: StartL OnEndDrag: EndL }\n}");
    form.Show();
    ui::Application()->ProcessMessages();
    HWND window = form.Handle();
    auto send = [&](UINT message, int x, int y) {
        ::SendMessageA(window, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    };

    // A press that moves less than the threshold is no drag.
    send(WM_LBUTTONDOWN, 25, 25);
    EXPECT_EQ(::GetCapture(), window);
    send(WM_MOUSEMOVE, 28, 27);
    send(WM_LBUTTONUP, 28, 27);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(::GetCapture(), nullptr);

    send(WM_LBUTTONDOWN, 25, 25);
    send(WM_MOUSEMOVE, 150, 70);
    EXPECT_TRUE(form.Find<controls::TShadowLabel>("L")->Dragging());
    EXPECT_EQ(::GetCursor(), ui::CursorHandle(ui::crDrag));
    send(WM_MOUSEMOVE, 160, 75);
    send(WM_LBUTTONUP, 160, 75);
    EXPECT_EQ(log, (std::vector<std::string>{"start L", "enter W by L 150,70", "move W by L 160,75",
                                             "drop L on W 160,75", "end L on W 160,75"}));
    EXPECT_EQ(::GetCapture(), nullptr);

    // Released where the picture refuses it: no drop; Escape cancels.
    log.clear();
    send(WM_LBUTTONDOWN, 25, 25);
    send(WM_MOUSEMOVE, 200, 70);
    EXPECT_EQ(::GetCursor(), ui::CursorHandle(ui::crNoDrop));
    send(WM_LBUTTONUP, 200, 70);
    send(WM_LBUTTONDOWN, 25, 25);
    send(WM_MOUSEMOVE, 150, 70);
    ::SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(log,
              (std::vector<std::string>{"start L", "enter W by L 200,70", "leave W by L 200,70",
                                        "end L on none 0,0", "start L", "enter W by L 150,70",
                                        "leave W by L 150,70", "end L on none 0,0"}));
    EXPECT_FALSE(form.Find<controls::TShadowLabel>("L")->Dragging());
    EXPECT_EQ(::GetCapture(), nullptr);
    form.Hide();
}

}  // namespace
