// The program for a user who works it with the keyboard alone, typed on the
// keyboard as the platform delivers it, and the task-bar button that stands
// for the program while it runs.
#include <gtest/gtest.h>

#include "driver_error.h"
#include "install_state.h"
#include "registry_state.h"
#include "setup_scenario.h"

namespace e2e {
namespace {

constexpr char kRebootQuestion[] =
    "Quarnel has been successfully installed. You have to restart Windows. Ok to reboot ?";
constexpr DWORD kInstallTimeoutMs = 30000;

class Keyboard : public SetupScenario {
protected:
    // Typed keys go to the foreground window: the program puts each of its
    // windows there itself.
    void WaitForForeground(HWND window, const std::string& what) {
        WaitUntil([&] { return ::GetForegroundWindow() == window; }, what + " in the foreground",
                  &Process());
    }

    void TypeAndWaitForFocus(UINT key, bool withShift, HWND expected, const std::string& what) {
        TypeKey(key, withShift);
        WaitForFocus(expected, what);
    }

    void WaitForFocus(HWND expected, const std::string& what) {
        WaitUntil([&] { return FocusOf(expected) == expected; }, "the focus on " + what,
                  &Process());
    }

    // Presses Tab (or Shift+Tab) until `target` has the focus, each press
    // waited for; at most `limit` presses.
    void TabTo(HWND target, bool withShift, int limit, const std::string& what) {
        for (int presses = 0; FocusOf(target) != target; ++presses) {
            if (presses == limit)
                throw DriverError(std::string(withShift ? "Shift+Tab" : "Tab") + " never reached " +
                                  what);
            const HWND before = FocusOf(target);
            TypeKey(VK_TAB, withShift);
            WaitUntil([&] { return FocusOf(target) != before; }, "the focus to move on to " + what,
                      &Process());
        }
    }

    // The setup window in front with Wardex ticked, so that Install is
    // enabled and would take an Enter meant for another button.
    SetupWindowControls SetupWindowWithWardexTicked() {
        Launch();
        HWND setup = AcceptAgreement();
        WaitForForeground(setup, "the setup window");
        const SetupWindowControls controls = ControlsOf(setup);
        ToggleListItem(controls.componentList, 0);
        WaitUntil([&] { return IsEnabled(controls.installButton); },
                  "Install to be enabled after ticking Wardex", &Process());
        return controls;
    }

    // The one window that carries the program's task-bar button.
    HWND ExpectTaskBarButton(const std::string& while_) {
        const std::vector<HWND> buttons = TaskBarWindows(Process().Id());
        EXPECT_EQ(1u, buttons.size()) << "task-bar buttons while " << while_;
        if (buttons.size() != 1) return nullptr;
        EXPECT_EQ("Quarnel Setup", TextOf(buttons.front())) << "task-bar button while " << while_;
        return buttons.front();
    }
};

TEST_F(Keyboard, AWholeInstallWithTheKeyboardAloneUnderOneTaskBarButton) {
    Launch();
    HWND agreement = WaitForAgreementWindow();
    ExpectTaskBarButton("the agreement window shows");
    HWND terms = RequireChild(agreement, "EDIT");
    HWND accept = RequireButton(agreement, "Accept");
    HWND decline = RequireButton(agreement, "Decline");
    WaitForForeground(agreement, "the agreement window");
    WaitForFocus(terms, "the terms box");

    // Neither key is the terms box's to take, nor the window's to act on.
    TypeKey(VK_ESCAPE);
    TypeKey(VK_RETURN);
    // The terms box keeps its page keys for scrolling.
    TypeKey(VK_NEXT);
    WaitUntil([&] { return ::SendMessageA(terms, EM_GETFIRSTVISIBLELINE, 0, 0) > 0; },
              "Page Down to scroll the terms", &Process());
    TypeAndWaitForFocus(VK_TAB, false, accept, "Accept after Tab from the terms box");
    EXPECT_TRUE(::IsWindowVisible(agreement)) << "Escape or Enter closed the agreement window";
    TypeAndWaitForFocus(VK_TAB, false, decline, "Decline after Tab");
    TypeAndWaitForFocus(VK_TAB, true, accept, "Accept after Shift+Tab");
    TypeKey(VK_SPACE);

    HWND setup = WaitForSetupWindow();
    HWND background = WaitForBackgroundWindow();
    HWND button = ExpectTaskBarButton("the setup window shows");
    ASSERT_NE(nullptr, button);
    WaitForForeground(setup, "the setup window");

    // The task bar minimises and restores the program through its button's
    // window; the focus comes back to the control that had it.
    const HWND focused = FocusOf(setup);
    ASSERT_TRUE(focused != nullptr && ::IsChild(setup, focused)) << "no control has the focus";
    ::PostMessageA(button, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    WaitUntil([&] { return !::IsWindowVisible(setup) && !::IsWindowVisible(background); },
              "the program's windows to go with a minimise", &Process());
    ::PostMessageA(button, WM_SYSCOMMAND, SC_RESTORE, 0);
    WaitUntil([&] { return ::IsWindowVisible(setup) && ::IsWindowVisible(background); },
              "the program's windows to come back", &Process());
    WaitForForeground(setup, "the modal setup window after the restore");
    WaitUntil([&] { return FocusOf(setup) == focused; },
              "the focus back on its control after the restore", &Process());
    EXPECT_FALSE(IsEnabled(background)) << "the restore enabled the background window";

    const SetupWindowControls controls = ControlsOf(setup);
    // Tab reaches the component list past the buttons that are disabled.
    TabTo(controls.componentList, false, 4, "the component list");
    TypeKey(VK_HOME);
    TypeKey(VK_SPACE);
    WaitUntil([&] { return IsEnabled(controls.installButton); },
              "Install to be enabled after Space on Wardex", &Process());
    // The readme would open a viewer in front of the program: off it goes.
    TypeAndWaitForFocus(VK_TAB, false, controls.menuGroupCheck, "Create menu group");
    TypeAndWaitForFocus(VK_TAB, false, controls.viewReadmeCheck, "View readme");
    TypeKey(VK_SPACE);
    WaitUntil([&] { return ::SendMessageA(controls.viewReadmeCheck, BM_GETCHECK, 0, 0) == 0; },
              "View readme to be unticked", &Process());
    TabTo(controls.installButton, true, 4, "Install");
    TypeKey(VK_SPACE);

    MessageBoxView question = WaitForMessageDialog(Process());
    EXPECT_EQ("Ready to install Quarnel to a c:\\quarnel\\ ?", question.text);
    WaitForForeground(question.window, "the install question");
    TypeKey(VK_RETURN);  // Yes, the default
    WaitUntil([&] { return !::IsWindow(question.window); }, "the install question to close",
              &Process());
    MessageBoxView reboot = WaitForMessageDialog(Process(), kInstallTimeoutMs);
    ASSERT_EQ(kRebootQuestion, reboot.text);
    ExpectTaskBarButton("the restart question shows");
    WaitForForeground(reboot.window, "the restart question");
    TypeKey(VK_ESCAPE);  // No
    ExpectCleanExit();

    EXPECT_EQ("c:\\quarnel\\", ReadTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "Path").value_or(""));
    EXPECT_TRUE(FileSizeOf(std::string(kDefaultInstallDir) + "\\WARDEX\\wardex.exe").has_value())
        << "Wardex was not installed";
}

// Enter presses the push button that has the focus, whichever it is, and
// the default button (Install) only while no push button has it: what the
// buttons show, the focused one framed as the default.
TEST_F(Keyboard, EnterPressesTheFocusedButtonNotInstall) {
    WriteTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "Path", "C:\\QUARNEL\\");
    const SetupWindowControls controls = SetupWindowWithWardexTicked();
    TabTo(controls.removeButton, false, 10, "Remove");
    TypeKey(VK_RETURN);
    ExpectDialog("Warning", "Ok to remove Quarnel from C:\\QUARNEL\\ ?", IDNO);
    ExpectCleanExit();
    EXPECT_EQ("C:\\QUARNEL\\", ReadTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "Path").value_or(""));
}

TEST_F(Keyboard, EnterOnAFocusedExitEndsTheProgramUnasked) {
    const SetupWindowControls controls = SetupWindowWithWardexTicked();
    TabTo(controls.exitButton, false, 10, "Exit");
    TypeKey(VK_RETURN);
    ExpectCleanExitWithout({kMessageDialogClass, std::nullopt, nullptr, "a message dialog"});
}

}  // namespace
}  // namespace e2e
