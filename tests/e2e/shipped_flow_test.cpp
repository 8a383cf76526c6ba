// The window flow of one build, pictured so that the shipped i686 file and the
// x86_64 build of the same sources can be compared pixel for pixel: agreement,
// Accept, the setup window over the background window, two components ticked,
// Install, Yes, and No to the restart question. Run by
// tests/check_shipped_i686.sh once per build, not by the scenario run: the
// emulated 32-bit start of a host that cannot start 32-bit programs itself
// takes about a minute, so every wait here is long.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "host_paths.h"
#include "screenshot.h"
#include "setup_scenario.h"
#include "window_driver.h"

namespace e2e {
namespace {

constexpr DWORD kEmulatedStartMs = 300000;
constexpr DWORD kEmulatedStepMs = 120000;

// The screen rectangle a picture of `window` covers, as CaptureWindow takes it.
RECT PictureRectOf(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    RECT visible{};
    ::IntersectRect(&visible, &rect, &screen);
    return visible;
}

class ShippedFlow : public SetupScenario {
protected:
    // Pictures `window` as NAME.bmp and writes NAME.mask: where in the picture
    // the program's blinking caret stands ("left top right bottom"), which is
    // shown or not by the time of the picture; empty when there is none.
    void Picture(HWND window, const std::string& name) {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        ::Sleep(500);
        const std::string dir = ScreenshotDir();
        CaptureWindow(window, JoinPath(dir, name + ".bmp"));
        std::ofstream mask(JoinPath(dir, name + ".mask"));
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        if (::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &thread) &&
            thread.hwndCaret != nullptr) {
            RECT caret = thread.rcCaret;
            ::MapWindowPoints(thread.hwndCaret, nullptr, reinterpret_cast<POINT*>(&caret), 2);
            const RECT picture = PictureRectOf(window);
            mask << caret.left - picture.left << ' ' << caret.top - picture.top << ' '
                 << caret.right - picture.left << ' ' << caret.bottom - picture.top << '\n';
        }
    }
};

TEST_F(ShippedFlow, TwoComponentsInstalledAndTheRestartDeclined) {
    Launch();
    HWND agreement = WaitForTopLevel(Process(), AgreementWindowQuery(), kEmulatedStartMs);
    Picture(agreement, "agreement");
    Click(RequireButton(agreement, "Accept"));
    HWND setup = WaitForTopLevel(Process(), SetupWindowQuery(), kEmulatedStepMs);
    HWND background = WaitForTopLevel(Process(), BackgroundWindowQuery(), kEmulatedStepMs);
    const SetupWindowControls controls = ControlsOf(setup);
    ToggleListItem(controls.componentList, 0);  // Wardex
    ToggleListItem(controls.componentList, 4);  // Trivel
    if (::SendMessageA(controls.viewReadmeCheck, BM_GETCHECK, 0, 0) == BST_CHECKED)
        Click(controls.viewReadmeCheck);
    WaitUntil([&] { return IsEnabled(controls.installButton); }, "Install to be enabled",
              &Process(), kEmulatedStepMs);
    Picture(setup, "setup-window");
    Picture(background, "background-window");

    Click(controls.installButton);
    const MessageBoxView confirm = WaitForMessageDialog(Process(), kEmulatedStepMs);
    EXPECT_EQ("Ready to install Quarnel to a c:\\quarnel\\ ?", confirm.text);
    Picture(confirm.window, "install-question");
    AnswerMessageBox(Process(), confirm, IDYES);

    const MessageBoxView restart = WaitForMessageDialog(Process(), kEmulatedStartMs);
    EXPECT_EQ(
        "Quarnel has been successfully installed. You have to restart Windows. Ok to reboot ?",
        restart.text);
    Picture(restart.window, "restart-question");
    AnswerMessageBox(Process(), restart, IDNO);
    EXPECT_EQ(0u, Process().WaitForExit(kEmulatedStepMs)) << "exit code of setup.exe";
}

}  // namespace
}  // namespace e2e
