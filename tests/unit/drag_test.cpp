// Drag and drop when things go wrong: a handler of the drop that fails, and
// another program's window under the mouse that carries a control property
// of its own.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "controls/PleximoWallpaper.h"
#include "controls/ShadowLabel.h"
#include "ui/application.h"
#include "ui/exceptions.h"
#include "ui/form.h"
#include "ui/handles.h"

namespace {

// A form with a draggable label L over a wallpaper W that takes drops.
class DragTest : public ::testing::Test {
protected:
    void SetUp() override {
        form_.RegisterEventHandler(
            "StartL", ui::TStartDragEvent([this](ui::TComponent*) { log_.push_back("start"); }));
        form_.RegisterEventHandler(
            "Over", ui::TDragOverEvent([this](ui::TComponent* sender, ui::TComponent*, int, int,
                                              ui::TDragState state, bool&) {
                if (state == ui::TDragState::dsDragEnter) log_.push_back("enter " + sender->Name());
            }));
        form_.RegisterEventHandler(
            "DropW", ui::TDragDropEvent([this](ui::TComponent*, ui::TComponent*, int, int) {
                log_.push_back("drop");
                if (failDrop_) throw ui::EAbort();
            }));
        form_.CreateFromText(
            "F : TForm { Left: 40 Top: 40 ClientWidth: 240 ClientHeight: 120\n"
            " W : TPleximoWallpaper { OnDragOver: Over OnDragDrop: DropW }\n"
            " L : TShadowLabel { Left: 20 Top: 20 Caption: \"Drag me\" DragMode: dmAutomatic "
            "OnStartDrag: StartL }\n}");
        // The form takes drags too, where its wallpaper does not cover it.
        form_.OnDragOver = [this](ui::TComponent*, ui::TComponent*, int, int, ui::TDragState state,
                                  bool&) {
            if (state == ui::TDragState::dsDragEnter) log_.push_back("enter F");
        };
        label_ = form_.Find<controls::TShadowLabel>("L");
        form_.Show();
        ui::Application()->ProcessMessages();
    }
    void TearDown() override { form_.Hide(); }

    void Send(UINT message, int x, int y) {
        ::SendMessageA(form_.Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                       MAKELPARAM(x, y));
    }
    // A drag from the label to (x, y) in the form's client area, dropped there.
    void DragTo(int x, int y) {
        Send(WM_LBUTTONDOWN, 25, 25);
        Send(WM_MOUSEMOVE, x, y);
        Send(WM_LBUTTONUP, x, y);
    }

    ui::TForm form_;
    controls::TShadowLabel* label_ = nullptr;
    std::vector<std::string> log_;
    bool failDrop_ = false;
};

TEST_F(DragTest, AFailedDropEndsTheDragAndTheNextOneRuns) {
    failDrop_ = true;
    DragTo(150, 70);
    EXPECT_EQ(log_, (std::vector<std::string>{"start", "enter W", "drop"}));
    EXPECT_FALSE(label_->Dragging());
    EXPECT_EQ(::GetCapture(), nullptr);

    failDrop_ = false;
    log_.clear();
    DragTo(150, 70);
    EXPECT_EQ(log_, (std::vector<std::string>{"start", "enter W", "drop"}));
    EXPECT_FALSE(label_->Dragging());
}

// Another program's window (foreign_window.exe, started beside this test
// program) at a screen rectangle, its control property holding `address`.
class ForeignWindow {
public:
    ForeignWindow(const RECT& at, const void* address) {
        char exe[MAX_PATH] = "";
        const DWORD length = ::GetModuleFileNameA(nullptr, exe, sizeof exe);
        std::string helper(exe, length);
        helper = helper.substr(0, helper.find_last_of('\\') + 1) + "foreign_window.exe";
        char commandLine[200];
        std::snprintf(commandLine, sizeof commandLine, "foreign_window.exe %ld %ld %ld %ld %llx",
                      at.left, at.top, at.right - at.left, at.bottom - at.top,
                      static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(address)));
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (!::CreateProcessA(helper.c_str(), commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &started))
            return;
        process_ = ui::ScopedHandle(started.hProcess);
        ui::ScopedHandle thread(started.hThread);
        const POINT inside{(at.left + at.right) / 2, (at.top + at.bottom) / 2};
        for (int i = 0; i < 200 && window_ == nullptr; ++i) {
            HWND found = ::WindowFromPoint(inside);
            DWORD owner = 0;
            if (found != nullptr) ::GetWindowThreadProcessId(found, &owner);
            if (owner == started.dwProcessId && ::GetPropA(found, "QuarnelControl") != nullptr)
                window_ = found;
            else
                ::Sleep(25);
        }
    }
    ~ForeignWindow() {
        if (!process_.IsValid()) return;
        if (window_ != nullptr) ::PostMessageA(window_, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(process_.Get(), 5000) != WAIT_OBJECT_0)
            ::TerminateProcess(process_.Get(), 1);
    }
    ForeignWindow(const ForeignWindow&) = delete;
    ForeignWindow& operator=(const ForeignWindow&) = delete;
    // Null until the window shows on the screen.
    HWND Window() const { return window_; }

private:
    ui::ScopedHandle process_;
    HWND window_ = nullptr;
};

// The other program's window holds the address of this very form: were its
// property believed, the form would be told of a drag over a window that is
// not its own, and would take the drop.
TEST_F(DragTest, AnotherProgramsWindowUnderTheMouseTakesNoPartInTheDrag) {
    RECT formRect{};
    ::GetWindowRect(form_.Handle(), &formRect);
    const RECT at{formRect.right + 20, formRect.top, formRect.right + 120, formRect.top + 100};
    ForeignWindow foreign(at, static_cast<ui::TWinControl*>(&form_));
    ASSERT_NE(foreign.Window(), nullptr) << "the other program's window never showed";

    POINT client{at.left + 50, at.top + 50};
    ::ScreenToClient(form_.Handle(), &client);
    Send(WM_LBUTTONDOWN, 25, 25);
    Send(WM_MOUSEMOVE, 150, 70);
    Send(WM_MOUSEMOVE, client.x, client.y);
    EXPECT_EQ(::GetCursor(), ui::CursorHandle(ui::crNoDrop));
    Send(WM_LBUTTONUP, client.x, client.y);
    EXPECT_EQ(log_, (std::vector<std::string>{"start", "enter W"}));
    EXPECT_FALSE(label_->Dragging());
}

}  // namespace
