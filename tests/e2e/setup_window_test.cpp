// The setup window: what it shows for the installation record it finds, the
// Install button following the component checks, and its keyboard exits.
#include <gtest/gtest.h>

#include "registry_state.h"
#include "setup_scenario.h"

namespace e2e {
namespace {

class SetupWindow : public SetupScenario {};

TEST_F(SetupWindow, EarlierInstallationShowsItsDirectoryAndAllowsRemoval) {
    WriteTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "Path", "C:\\QUARNEL\\");
    Launch();
    HWND setup = AcceptAgreement();
    const SetupWindowControls controls = ControlsOf(setup);
    Screenshot(setup, "setup-earlier-install");

    EXPECT_EQ("C:\\QUARNEL\\", TextOf(controls.directoryEdit));
    EXPECT_TRUE(IsEnabled(controls.removeButton));
    EXPECT_FALSE(IsEnabled(controls.installButton));

    Click(controls.exitButton);
    ExpectCleanExit();
    EXPECT_EQ("C:\\QUARNEL\\", ReadTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "Path").value_or(""))
        << "Exit changed the installation record";
}

TEST_F(SetupWindow, PathOfANonTextTypeIsReportedByTheStandardErrorBox) {
    WriteDwordValue(HKEY_LOCAL_MACHINE, kRecordKey, "Path", 1);
    Launch();
    Click(RequireButton(WaitForAgreementWindow(), "Accept"));

    // No full stop: the box adds one only after a character coded above '.',
    // and the closing quote is coded below it.
    ExpectStandardErrorBox("Invalid data type for 'Path'");
    // The window is still shown, with the steps after the failed read skipped.
    const SetupWindowControls controls = ControlsOf(WaitForSetupWindow());
    EXPECT_EQ("", TextOf(controls.directoryEdit));
    Click(controls.exitButton);
    ExpectCleanExit();
}

TEST_F(SetupWindow, ARecordKeyThatCannotBeMadeLeavesAFreshWindow) {
    // Lasting keys cannot be made below a volatile one.
    CreateVolatileKey(HKEY_LOCAL_MACHINE, kVendorKey);
    Launch();
    const SetupWindowControls controls = ControlsOf(AcceptAgreement());
    EXPECT_EQ("", TextOf(controls.directoryEdit));
    EXPECT_FALSE(IsEnabled(controls.removeButton));
    Click(controls.exitButton);
    ExpectCleanExit();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kRecordKey));
}

TEST_F(SetupWindow, TickingAComponentEnablesInstallAndUntickingDisablesIt) {
    Launch();
    HWND setup = AcceptAgreement();
    const SetupWindowControls controls = ControlsOf(setup);
    ASSERT_FALSE(IsEnabled(controls.installButton));
    EXPECT_EQ(BST_CHECKED, ::SendMessageA(controls.menuGroupCheck, BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, ::SendMessageA(controls.viewReadmeCheck, BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, ::SendMessageA(controls.startupCheck, BM_GETCHECK, 0, 0));

    ToggleListItem(controls.componentList, 0);
    WaitUntil([&] { return IsEnabled(controls.installButton); },
              "Install to be enabled after ticking Wardex", &Process());
    Screenshot(setup, "wardex-ticked");

    ToggleListItem(controls.componentList, 0);
    WaitUntil([&] { return !IsEnabled(controls.installButton); },
              "Install to be disabled after unticking Wardex", &Process());

    Click(controls.exitButton);
    ExpectCleanExit();
}

TEST_F(SetupWindow, EscapeEndsTheProgram) {
    Launch();
    HWND setup = AcceptAgreement();
    PressKey(setup, VK_ESCAPE);
    ExpectCleanExit();
}

TEST_F(SetupWindow, CloseBoxEndsTheProgram) {
    Launch();
    HWND setup = AcceptAgreement();
    WaitForBackgroundWindow();
    ClickCloseBox(setup);
    ExpectCleanExit();
}

TEST_F(SetupWindow, EnterDoesNothingWhileInstallIsDisabled) {
    Launch();
    HWND setup = AcceptAgreement();
    const SetupWindowControls controls = ControlsOf(setup);
    PressKey(setup, VK_RETURN);
    // Posted input is handled in order: once the tick below has taken effect,
    // the Enter before it has been handled too.
    ToggleListItem(controls.componentList, 0);
    WaitUntil([&] { return IsEnabled(controls.installButton); },
              "Install to be enabled after ticking Wardex", &Process());
    EXPECT_EQ(nullptr, FindTopLevel(Process().Id(), {kMessageDialogClass, std::nullopt, nullptr,
                                                     "a message dialog"}));
    EXPECT_TRUE(::IsWindowVisible(setup));
    Click(controls.exitButton);
    ExpectCleanExit();
}

TEST_F(SetupWindow, EnterWithAComponentTickedAsksToInstallAndNoEndsTheProgram) {
    Launch();
    const SetupWindowControls controls = ControlsOf(AcceptAgreement());
    ToggleListItem(controls.componentList, 0);
    WaitUntil([&] { return IsEnabled(controls.installButton); },
              "Install to be enabled after ticking Wardex", &Process());

    PressKey(controls.componentList, VK_RETURN);
    const WindowQuery dialog{kMessageDialogClass, std::nullopt, nullptr, "a message dialog"};
    WaitUntil([&] { return Process().HasExited() || FindTopLevel(Process().Id(), dialog); },
              "the install's confirmation question or the end of the program");
    if (Process().HasExited()) {
        // A build whose Install button has no procedure behind it yet ends here.
        ExpectCleanExit();
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
        GTEST_SKIP() << "Enter ended the program without the install's confirmation question";
    }
    ExpectDialog("Information", "Ready to install Quarnel to a c:\\quarnel\\ ?", IDNO);
    ExpectCleanExit();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) << "No still recorded the install";
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kDriverKey)) << "No still registered the driver";
    EXPECT_FALSE(ReadTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "Path").has_value());
}

}  // namespace
}  // namespace e2e
