// An install on a 640 x 480 screen, the mouse doing the clicks: the setup
// window's buttons must lie on the screen. Runs only in a desktop of that
// size (small_screen.sh starts the driver in one).
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "driver_error.h"
#include "host_paths.h"
#include "screenshot.h"
#include "setup_scenario.h"

namespace e2e {
namespace {

// A press and release of the left button at a point of the screen, as the
// mouse gives them: the platform finds the window under the point.
void MouseClickAt(POINT point) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input[3] = {};
    for (INPUT& one : input) {
        one.type = INPUT_MOUSE;
        one.mi.dx = point.x * 65535 / (width - 1);
        one.mi.dy = point.y * 65535 / (height - 1);
    }
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    for (INPUT& one : input) {
        ::SendInput(1, &one, sizeof(INPUT));
        ::Sleep(50);
    }
}

POINT CentreOf(HWND window) {
    RECT rect;
    ::GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

class SmallScreen : public SetupScenario {
protected:
    // Clicks at `point` until `done` holds. Wine's virtual desktop now and
    // then drops an injected click; a point off the screen never gets there.
    void ClickUntil(POINT point, const std::function<bool()>& done, const std::string& what) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            MouseClickAt(point);
            try {
                WaitUntil(done, what, &Process(), 3000);
                return;
            } catch (const DriverError&) {
                if (attempt == 2) throw;
            }
        }
    }
};

TEST_F(SmallScreen, InstallReachedByTheMouse) {
    if (::GetSystemMetrics(SM_CXSCREEN) != 640 || ::GetSystemMetrics(SM_CYSCREEN) != 480)
        GTEST_SKIP() << "needs a 640 x 480 screen (small_screen.sh)";
    RECT area;
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));

    Launch();
    HWND setup = AcceptAgreement();
    const SetupWindowControls controls = ControlsOf(setup);
    RECT window;
    ::GetWindowRect(setup, &window);
    EXPECT_TRUE(window.left >= area.left && window.top >= area.top && window.right <= area.right &&
                window.bottom <= area.bottom)
        << "the setup window stands at " << window.left << ", " << window.top << " to "
        << window.right << ", " << window.bottom;
    EXPECT_EQ(162, window.left) << "moved further than needed";
    EXPECT_EQ(area.bottom, window.bottom) << "moved further than needed";
    try {
        CaptureScreenRect({0, 0, 640, 480},
                          JoinPath(ScreenshotDir(), "SmallScreen-setup-window-640x480.bmp"));
    } catch (const DriverError&) {
        // A missing picture is worth no failed scenario.
    }

    // The Wardex item's check box, then Install, each where the mouse is.
    RECT list;
    ::GetWindowRect(controls.componentList, &list);
    Click(controls.viewReadmeCheck);
    // The mouse goes to the window in front once it has taken the input.
    WaitUntil([&] { return ::GetForegroundWindow() == setup; }, "the setup window in front",
              &Process());
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(setup, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    ClickUntil(
        {list.left + 7, list.top + 10}, [&] { return IsEnabled(controls.installButton); },
        "Install to be enabled");
    ClickUntil(
        CentreOf(controls.installButton),
        [&] {
            return FindTopLevel(Process().Id(), {kMessageDialogClass, {}, nullptr, ""}) != nullptr;
        },
        "the install question");
    ExpectDialog("Information", "Ready to install Quarnel to a c:\\quarnel\\ ?", IDYES);
    const MessageBoxView done = WaitForMessageDialog(Process(), 30000);
    EXPECT_EQ(
        "Quarnel has been successfully installed. You have to restart Windows. Ok to reboot ?",
        done.text);
    AnswerMessageBox(Process(), done, IDNO);
    ExpectCleanExit();
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA("C:\\quarnel\\WARDEX\\wardex.exe"));
}

}  // namespace
}  // namespace e2e
