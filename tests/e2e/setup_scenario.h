// The fixture every scenario starts from: no installation records, no
// version override, a fresh sample medium, and helpers that turn a scenario
// into a few lines. On teardown a setup.exe that is still running is killed
// and its exit code reported.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "setup_process.h"
#include "window_driver.h"

namespace e2e {

// The setup window's controls that the scenarios work.
struct SetupWindowControls {
    HWND directoryEdit = nullptr;
    HWND componentList = nullptr;
    HWND installButton = nullptr;
    HWND removeButton = nullptr;
    HWND exitButton = nullptr;
    HWND menuGroupCheck = nullptr;
    HWND viewReadmeCheck = nullptr;
    HWND startupCheck = nullptr;
};

class SetupScenario : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    SetupProcess& Process() { return process_; }
    SampleMedium& Medium() { return *medium_; }

    // Makes the next Launch see Windows XP instead of the prefix's Windows 98.
    void SimulateWindowsNT();
    // Makes the next Launch see Windows 95.
    void SimulateWindows95();
    // Starts setup.exe from the medium; also again once an earlier run has ended.
    void Launch();
    // Starts `program` with `dir` as its current directory, as from another
    // medium (a disc).
    void LaunchFrom(const std::string& program, const std::string& dir);
    // The same with a command line after the program's name.
    void Launch(const std::string& arguments);

    HWND WaitForAgreementWindow();
    HWND WaitForSetupWindow();
    HWND WaitForBackgroundWindow();
    // Clicks Accept on the agreement window and answers the setup window.
    HWND AcceptAgreement();
    SetupWindowControls ControlsOf(HWND setupWindow);

    // Waits for a message dialog of the program, checks its caption and text
    // exactly, then answers with the button of that id (IDOK, IDYES, IDNO),
    // checking the button's text too.
    void ExpectDialog(const std::string& caption, const std::string& text, int answerButtonId);
    // Waits for the standard error box, checks its text exactly, answers OK.
    void ExpectStandardErrorBox(const std::string& text);
    // Waits for the program to end and checks that it ended with exit code 0.
    void ExpectCleanExit(DWORD timeoutMs = kDefaultTimeoutMs);
    // The same, and fails when a window of `query` shows up before the end.
    void ExpectCleanExitWithout(const WindowQuery& query, DWORD timeoutMs = kDefaultTimeoutMs);

    // Saves a picture of the window under the screenshot folder, named after
    // the scenario and the step.
    void Screenshot(HWND window, const std::string& step);

    static WindowQuery AgreementWindowQuery();
    static WindowQuery SetupWindowQuery();
    static WindowQuery BackgroundWindowQuery();

private:
    SetupProcess process_;
    std::unique_ptr<SampleMedium> medium_;
    std::unique_ptr<WindowsVersionOverride> versionOverride_;
    int screenshotCount_ = 0;
};

}  // namespace e2e
