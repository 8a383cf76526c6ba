// An install on a 640 x 480 screen, clicked where a mouse can reach: the setup
// window's buttons must lie on the screen. Runs only in a desktop of that
// size (small_screen.sh starts the driver in one).
#include <gtest/gtest.h>

#include <string>

#include "driver_error.h"
#include "host_paths.h"
#include "screenshot.h"
#include "setup_scenario.h"

namespace e2e {
namespace {

POINT CentreOf(HWND window) {
    RECT rect;
    ::GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// A click where a mouse user would put the pointer: the point must lie on
// the screen, and the platform's own lookup of the window under the pointer
// must find `control` there. The press and release then go to what it found.
// (Injected input is not used: Wine's virtual desktops share the X display
// and now and then hand such a click to another desktop's window.)
void MouseClickAt(POINT point, HWND control) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    if (point.x < 0 || point.y < 0 || point.x >= width || point.y >= height)
        throw DriverError("the point " + std::to_string(point.x) + ", " + std::to_string(point.y) +
                          " lies off the " + std::to_string(width) + " x " +
                          std::to_string(height) + " screen");
    HWND under = ::WindowFromPoint(point);
    if (under != control)
        throw DriverError("the mouse at " + std::to_string(point.x) + ", " +
                          std::to_string(point.y) + " is over \"" + TextOf(under) +
                          "\", not over \"" + TextOf(control) + "\"");
    ::ScreenToClient(under, &point);
    ClickAt(under, point.x, point.y);
}

class SmallScreen : public SetupScenario {};

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
    Click(controls.viewReadmeCheck);
    RECT list;
    ::GetWindowRect(controls.componentList, &list);
    MouseClickAt({list.left + 7, list.top + 10}, controls.componentList);
    WaitUntil([&] { return IsEnabled(controls.installButton); }, "Install to be enabled",
              &Process());
    MouseClickAt(CentreOf(controls.installButton), controls.installButton);
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
