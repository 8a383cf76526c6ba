// Popup menus: the caption's menu shown by a right click in the title bar at
// the click point, a label's menu by a right click on it, the chosen item's
// handler, and the references cleared when the menu is freed.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "controls/Gauge.h"
#include "controls/GradientCaption.h"
#include "controls/ShadowLabel.h"
#include "controls/WindowHook.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/menus.h"

namespace {

// Watches, while a menu is up, for the platform's menu window: notes where
// it stands, then picks the item `choose` lines down (none: Escape).
struct MenuWatch {
    bool seen = false;
    RECT rect{};
    int choose = 0;
    int ticks = 0;
    std::function<void()> whileUp;  // run once the menu shows, before the choice
};
MenuWatch g_watch;

VOID CALLBACK WatchMenu(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = ::FindWindowA("#32768", nullptr);
    if (!g_watch.seen && menu != nullptr && ::IsWindowVisible(menu)) {
        g_watch.seen = true;
        ::GetWindowRect(menu, &g_watch.rect);
        if (g_watch.whileUp) g_watch.whileUp();
        for (int i = 0; i < g_watch.choose; ++i) ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(menu, WM_KEYDOWN, g_watch.choose > 0 ? VK_RETURN : VK_ESCAPE, 0);
    }
    // Never left hanging in a menu loop.
    if (++g_watch.ticks > 200) {
        using EndMenuFunction = BOOL(WINAPI*)();
        auto endMenu = reinterpret_cast<EndMenuFunction>(
            reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "EndMenu")));
        if (endMenu != nullptr) endMenu();
    }
}

class PopupMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_watch = MenuWatch{};
        form_ = std::make_unique<ui::TForm>();
        form_->RegisterHandler("FirstClick", [this](ui::TComponent*) { ++first_; });
        form_->RegisterHandler("SecondClick", [this](ui::TComponent*) { ++second_; });
        form_->CreateFromText(
            "F : TForm { Left: 100 Top: 80 ClientWidth: 300 ClientHeight: 120 "
            "BorderStyle: bsSingle BorderIcons: [biSystemMenu]\n"
            " C : TGradientCaption { FormCaption: \"Menus\" PopupMenu: Menu1 }\n"
            " L : TShadowLabel { Left: 20 Top: 20 Caption: \"Right-click me\" PopupMenu: Menu1 }\n"
            " G : TGauge { Left: 20 Top: 60 Width: 200 Height: 17 PopupMenu: Menu1 }\n"
            " Menu1 : TPopupMenu {\n"
            "  First : TMenuItem { Caption: \"&First\" OnClick: FirstClick }\n"
            "  Line : TMenuItem { Caption: \"-\" }\n"
            "  Second : TMenuItem { Caption: \"&Second\" OnClick: SecondClick }\n"
            " }\n}");
        caption_ = form_->Find<controls::TGradientCaption>("C");
        menu_ = form_->Find<ui::TPopupMenu>("Menu1");
        form_->Show();
        ui::Application()->ProcessMessages();
    }
    void TearDown() override {
        form_.reset();
        ui::Application()->ProcessMessages();
    }
    // Runs `click` with the watcher on; answers whether a menu came up.
    template <typename Click>
    bool WithMenuWatched(int choose, Click click, std::function<void()> whileUp = nullptr) {
        g_watch = MenuWatch{};
        g_watch.choose = choose;
        g_watch.whileUp = std::move(whileUp);
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &WatchMenu);
        click();
        ::KillTimer(nullptr, timer);
        return g_watch.seen;
    }
    // A point in the title bar, on the screen.
    POINT InTitleBar() const {
        RECT window{};
        ::GetWindowRect(form_->Handle(), &window);
        const RECT caption =
            controls::CaptionRectFor(window, form_->BorderStyle(), form_->BorderIcons()).rect;
        return POINT{caption.left + 60, caption.top + 8};
    }
    std::unique_ptr<ui::TForm> form_;
    controls::TGradientCaption* caption_ = nullptr;
    ui::TPopupMenu* menu_ = nullptr;
    int first_ = 0, second_ = 0;
};

TEST_F(PopupMenuTest, RightClickInTheTitleBarShowsTheMenuAtTheClickPoint) {
    ASSERT_EQ(caption_->PopupMenu(), menu_);
    ASSERT_EQ(menu_->Items().Count(), 3);
    const POINT p = InTitleBar();
    const LPARAM at = MAKELPARAM(p.x, p.y);
    ASSERT_EQ(::SendMessageA(form_->Handle(), WM_NCHITTEST, 0, at), HTCAPTION);

    const bool shown = WithMenuWatched(2, [&] {
        ::SendMessageA(form_->Handle(), WM_NCRBUTTONDOWN, HTCAPTION, at);
        EXPECT_FALSE(g_watch.seen) << "the menu belongs to the release, not the press";
        ::SendMessageA(form_->Handle(), WM_NCRBUTTONUP, HTCAPTION, at);
    });
    ASSERT_TRUE(shown);
    EXPECT_EQ(g_watch.rect.left, p.x);
    EXPECT_EQ(g_watch.rect.top, p.y);
    EXPECT_EQ(menu_->PopupComponent(), caption_);
    // Down twice: the line between the items is skipped.
    EXPECT_EQ(second_, 1);
    EXPECT_EQ(first_, 0);

    // A right click on the label shows the same menu there, for the label.
    POINT onLabel{25, 25};
    ::ClientToScreen(form_->Handle(), &onLabel);
    EXPECT_TRUE(WithMenuWatched(1, [&] {
        ::SendMessageA(form_->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form_->Handle()),
                       MAKELPARAM(onLabel.x, onLabel.y));
    }));
    EXPECT_EQ(g_watch.rect.left, onLabel.x);
    EXPECT_EQ(menu_->PopupComponent(), form_->Find<controls::TShadowLabel>("L"));
    EXPECT_EQ(first_, 1);
}

// A handler run while the menu is up (here a timer) rebuilds it: frees it
// and makes a new one of the same items. Then the first line is chosen: the
// freed menu is not read, and a choice made in a menu that is gone is not
// carried out.
TEST_F(PopupMenuTest, AMenuFreedWhileItIsUpCarriesOutNoChoice) {
    POINT onLabel{25, 25};
    ::ClientToScreen(form_->Handle(), &onLabel);
    ui::TPopupMenu* rebuilt = nullptr;
    ASSERT_TRUE(WithMenuWatched(
        1,
        [&] {
            ::SendMessageA(form_->Handle(), WM_CONTEXTMENU,
                           reinterpret_cast<WPARAM>(form_->Handle()),
                           MAKELPARAM(onLabel.x, onLabel.y));
        },
        [&] {
            delete menu_;
            rebuilt = new ui::TPopupMenu(form_.get());
            for (const char* name : {"First", "Line", "Second"})
                rebuilt->Items().Add(dynamic_cast<ui::TMenuItem*>(form_->FindComponent(name)));
        }));
    EXPECT_EQ(first_, 0);
    EXPECT_EQ(rebuilt->Items().Count(), 3);
    EXPECT_EQ(form_->Find<controls::TShadowLabel>("L")->PopupMenu(), nullptr);
}

// A handler that frees its own menu before it comes up: nothing of the
// freed menu is read and no menu is shown.
TEST_F(PopupMenuTest, AMenuFreedByItsOwnPopupHandlerIsNotShown) {
    POINT onLabel{25, 25};
    ::ClientToScreen(form_->Handle(), &onLabel);
    menu_->OnPopup = [this](ui::TComponent* sender) {
        EXPECT_EQ(sender, menu_);
        delete menu_;
        menu_ = nullptr;
    };
    EXPECT_FALSE(WithMenuWatched(1, [&] {
        ::SendMessageA(form_->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form_->Handle()),
                       MAKELPARAM(onLabel.x, onLabel.y));
    }));
    EXPECT_EQ(menu_, nullptr);
    EXPECT_EQ(first_, 0);
}

TEST_F(PopupMenuTest, FreedMenuIsForgottenAndTheTitleBarIsThePlatformsAgain) {
    auto* label = form_->Find<controls::TShadowLabel>("L");
    auto* gauge = form_->Find<controls::TGauge>("G");
    ASSERT_EQ(label->PopupMenu(), menu_);
    ASSERT_EQ(gauge->PopupMenu(), menu_);
    // A later hook client hears after the window's procedure only the
    // messages that the caption left to the platform.
    controls::TWindowHook watcher(nullptr);
    int passedOn = 0;
    watcher.AfterMessage = [&](ui::TComponent*, controls::THookMessage& m, bool&) {
        if (m.Msg == WM_NCRBUTTONDOWN) ++passedOn;
    };
    watcher.SetWinControl(form_.get());
    const POINT p = InTitleBar();
    ::SendMessageA(form_->Handle(), WM_NCRBUTTONDOWN, HTNOWHERE, MAKELPARAM(p.x, p.y));
    EXPECT_EQ(passedOn, 0) << "with a menu the caption takes the right button";

    // Shown once for the label (and closed with Escape), the menu names the
    // label as its popup component when it goes.
    POINT onLabel{25, 25};
    ::ClientToScreen(form_->Handle(), &onLabel);
    ASSERT_TRUE(WithMenuWatched(0, [&] {
        ::SendMessageA(form_->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form_->Handle()),
                       MAKELPARAM(onLabel.x, onLabel.y));
    }));
    ASSERT_EQ(menu_->PopupComponent(), label);

    delete menu_;
    EXPECT_EQ(caption_->PopupMenu(), nullptr);
    EXPECT_EQ(label->PopupMenu(), nullptr);
    EXPECT_EQ(gauge->PopupMenu(), nullptr);
    ::SendMessageA(form_->Handle(), WM_NCRBUTTONDOWN, HTNOWHERE, MAKELPARAM(p.x, p.y));
    EXPECT_EQ(passedOn, 1);
    watcher.SetWinControl(nullptr);
}

}  // namespace
