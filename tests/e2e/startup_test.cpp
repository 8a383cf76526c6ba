// Start-up and the window sequence: the agreement window first, Decline and
// Accept, and the platform gate that refuses NT systems.
#include <gtest/gtest.h>

#include "registry_state.h"
#include "setup_scenario.h"

namespace e2e {
namespace {

class StartUp : public SetupScenario {};

TEST_F(StartUp, AgreementWindowComesFirstWithReadOnlyTerms) {
    Launch();
    HWND agreement = WaitForAgreementWindow();
    Screenshot(agreement, "agreement");

    const SIZE client = ClientSizeOf(agreement);
    EXPECT_EQ(406, client.cx);
    EXPECT_EQ(237, client.cy);
    HWND terms = RequireChild(agreement, "EDIT");
    EXPECT_NE(0, ::GetWindowLongA(terms, GWL_STYLE) & ES_READONLY) << "terms box is editable";
    EXPECT_FALSE(TextOf(terms).empty()) << "terms box is empty";
    EXPECT_EQ(nullptr, FindTopLevel(Process().Id(), SetupWindowQuery()));
    EXPECT_EQ(nullptr, FindTopLevel(Process().Id(), BackgroundWindowQuery()));

    Click(RequireButton(agreement, "Decline"));
    ExpectCleanExit();
}

TEST_F(StartUp, DeclineAtOnceTouchesNeitherRegistryNorMedium) {
    const std::vector<std::string> mediumBefore = Medium().FileNames();
    Launch();
    Click(RequireButton(WaitForAgreementWindow(), "Decline"));

    ExpectCleanExitWithout(
        {kFormClass, std::string("Quarnel Setup"), nullptr, "the setup or background window"});
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kVendorKey));
    EXPECT_EQ(mediumBefore, Medium().FileNames());
}

TEST_F(StartUp, AcceptThenExitLeavesAnEmptyRecordThatTheNextRunTreatsAsFresh) {
    Launch();
    HWND setup = AcceptAgreement();
    HWND background = WaitForBackgroundWindow();
    Screenshot(background, "background");
    Screenshot(setup, "setup-fresh");
    const SIZE client = ClientSizeOf(setup);
    EXPECT_EQ(457, client.cx);
    EXPECT_EQ(262, client.cy);
    EXPECT_EQ(nullptr, FindTopLevel(Process().Id(), AgreementWindowQuery()))
        << "the agreement window stays visible after Accept";
    EXPECT_FALSE(IsEnabled(background)) << "the background window takes input beside the modal "
                                           "setup window";

    Click(ControlsOf(setup).exitButton);
    ExpectCleanExit();
    ASSERT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kRecordKey));
    const KeyContents record = ContentsOf(HKEY_LOCAL_MACHINE, kRecordKey);
    EXPECT_EQ(0u, record.values);
    EXPECT_EQ(0u, record.subkeys);

    Launch();
    const SetupWindowControls second = ControlsOf(AcceptAgreement());
    EXPECT_EQ("", TextOf(second.directoryEdit));
    EXPECT_FALSE(IsEnabled(second.removeButton));
    EXPECT_FALSE(IsEnabled(second.installButton));
    Click(second.exitButton);
    ExpectCleanExit();
}

TEST_F(StartUp, NtSystemIsRefusedAfterTheBackgroundWindowAppears) {
    SimulateWindowsNT();
    Launch();
    Click(RequireButton(WaitForAgreementWindow(), "Accept"));

    HWND background = WaitForBackgroundWindow();
    WaitForMessageDialog(Process());
    EXPECT_TRUE(::IsWindowVisible(background)) << "no backdrop under the error box";
    Screenshot(background, "refused");
    ExpectDialog("Error", "This software is designed for Windows95/98", IDOK);
    ExpectCleanExit();
}

TEST_F(StartUp, Windows95PassesTheGate) {
    SimulateWindows95();
    Launch();
    HWND setup = AcceptAgreement();
    EXPECT_FALSE(IsEnabled(ControlsOf(setup).installButton));
    Click(ControlsOf(setup).exitButton);
    ExpectCleanExitWithout(WindowQuery{kMessageDialogClass, std::nullopt, nullptr, "an error box"});
}

}  // namespace
}  // namespace e2e
