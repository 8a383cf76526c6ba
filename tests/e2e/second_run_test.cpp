// The second run: setup started again while Wardex, started from the
// install, holds its own file open; the next Windows start that finishes
// what could not be done at once; and a second copy of setup started while
// one runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <initializer_list>

#include "driver_error.h"
#include "host_paths.h"
#include "install_state.h"
#include "installed_state.h"
#include "registry_state.h"
#include "screenshot.h"
#include "setup_scenario.h"

namespace e2e {
namespace {

constexpr char kWardex[] = "C:\\quarnel\\WARDEX\\wardex.exe";
constexpr char kWardexDir[] = "C:\\quarnel\\WARDEX";
constexpr char kInstalledSetup[] = "C:\\quarnel\\setup.exe";
constexpr char kRebootQuestion[] =
    "Quarnel has been successfully installed. You have to restart Windows. Ok to reboot ?";
constexpr char kRemovalNote[] = "You have to reboot your system to completely uninstall Quarnel";
constexpr DWORD kInstallTimeoutMs = 30000;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The lines of the rename list's section, in lower case.
std::vector<std::string> PendingLines() {
    std::vector<std::string> lines;
    const std::string text = Lower(ReadFileBytes(RenameList()));
    std::string::size_type at = 0;
    while (at < text.size()) {
        std::string::size_type end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) end = text.size();
        if (end > at && text[at] != '[') lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

// The temporaries an install left beside Wardex's program, by full path.
std::vector<std::string> TemporariesBesideWardex() {
    std::vector<std::string> found;
    for (const std::string& name : DirectoryEntries(kWardexDir))
        if (Lower(name).compare(0, 3, "qnw") == 0) found.push_back(JoinPath(kWardexDir, name));
    return found;
}

class SecondRun : public SetupScenario {
protected:
    void TearDown() override {
        if (wardex_.IsStarted()) wardex_.Kill();
        if (second_.IsStarted()) second_.Kill();
        if (other_.IsStarted()) other_.Kill();
        SetupScenario::TearDown();
    }

    // An install of `items` into the default directory, with the start-up
    // shortcut and without the readme, answered to its reboot question. The
    // field shows the directory of an install before, in upper case.
    void Install(std::initializer_list<int> items) {
        const std::string shown =
            KeyExists(HKEY_LOCAL_MACHINE, kRecordKey) ? "C:\\QUARNEL\\" : "c:\\quarnel\\";
        Launch();
        const SetupWindowControls controls = ControlsOf(AcceptAgreement());
        for (int item : items) ToggleListItem(controls.componentList, item);
        Click(controls.viewReadmeCheck);
        WaitUntil([&] { return IsEnabled(controls.installButton); }, "Install", &Process());
        Click(controls.installButton);
        ExpectDialog("Information", "Ready to install Quarnel to a " + shown + " ?", IDYES);
        const MessageBoxView box = WaitForMessageDialog(Process(), kInstallTimeoutMs);
        EXPECT_EQ(kRebootQuestion, box.text) << "the install did not end as one that went well";
        CaptureScreen("end-of-install");
        AnswerMessageBox(Process(), box, IDNO);
        ExpectCleanExit();
    }

    // The removal from `recorded`, the directory as the last install wrote it.
    void Remove(const std::string& recorded) {
        Launch();
        const SetupWindowControls controls = ControlsOf(AcceptAgreement());
        Click(controls.removeButton);
        ExpectDialog("Warning", "Ok to remove Quarnel from " + recorded + " ?", IDYES);
        ExpectDialog("Information", kRemovalNote, IDOK);
        ExpectCleanExit();
    }

    // The whole 800 x 600 screen, Wardex's box included, for the record.
    void CaptureScreen(const std::string& step) {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = std::string("SecondRun-") + test->name() + "-" +
                                 std::to_string(++screens_) + "-" + step + ".bmp";
        ::Sleep(300);
        try {
            CaptureScreenRect({0, 0, 800, 600}, JoinPath(ScreenshotDir(), name));
        } catch (const DriverError& error) {
            std::printf("[ screenshot ] %s\n", error.what());
        }
    }

    // Wardex as the start-up shortcut starts it: it runs until it is ended.
    void StartWardex() {
        wardex_.Start(kWardex, kWardexDir);
        WaitUntil([&] { return !VisibleTopLevelWindows(wardex_.Id()).empty(); }, "Wardex's window",
                  &wardex_);
    }

    // Gone, as at a restart: its file is free for the start-up's renames.
    void EndWardex() {
        wardex_.Kill();
        wardex_.Reset();
    }

    // A newer disc: the medium's Wardex differs from the installed one.
    std::string NewWardexOnTheMedium(const std::string& edition) {
        const std::string medium = JoinPath(Medium().Dir(), "wardex");
        WriteFileBytes(medium, ReadFileBytes(medium) + edition);
        return ReadFileBytes(medium);
    }

    // The list's one line about Wardex's program, pointing at the one
    // temporary beside it, which holds `content`.
    void ExpectWardexReplacedAtStartBy(const std::string& content) {
        const std::vector<std::string> temporaries = TemporariesBesideWardex();
        ASSERT_EQ(1u, temporaries.size()) << "temporaries beside wardex.exe";
        EXPECT_EQ(content, ReadFileBytes(temporaries[0]));
        EXPECT_EQ(std::vector<std::string>{Lower(kWardex) + "=" + Lower(temporaries[0])},
                  PendingLines());
    }

    SetupProcess wardex_;
    SetupProcess second_;
    SetupProcess other_;
    int screens_ = 0;
};

TEST_F(SecondRun, RemovalWhileWardexRunsIsFinishedByTheRestart) {
    Install({0});
    StartWardex();

    Remove("c:\\quarnel\\");

    EXPECT_TRUE(PathExists(kWardex)) << "a running program's file was deleted";
    EXPECT_EQ((std::vector<std::string>{"nul=" + Lower(kWardex), "nul=" + Lower(kInstalledSetup)}),
              PendingLines());

    EndWardex();
    RunNextWindowsStart();
    EXPECT_FALSE(PathExists(kWardex)) << "wardex.exe outlived the removal";
    EXPECT_FALSE(PathExists(kInstalledSetup));
    EXPECT_FALSE(PathExists(RenameList())) << "the rename list was not carried out";
    EXPECT_TRUE(PathExists(DoneRenameList()));
}

// Install from a newer disc twice, remove, install again, all while Wardex
// runs: the restart leaves what the last run put there, and nothing else.
TEST_F(SecondRun, RepeatedRunsWhileWardexRunsEndInTheLastRunsFiles) {
    Install({0});
    StartWardex();
    const std::string first = ReadFileBytes(kWardex);

    const std::string second = NewWardexOnTheMedium("second disc");
    Install({0});
    EXPECT_EQ(first, ReadFileBytes(kWardex)) << "the running program's file was written to";
    ExpectWardexReplacedAtStartBy(second);

    const std::string third = NewWardexOnTheMedium("third disc");
    Install({0});
    ExpectWardexReplacedAtStartBy(third);

    Remove("C:\\QUARNEL\\");
    EXPECT_TRUE(TemporariesBesideWardex().empty()) << "a copy the removal undid was left";
    EXPECT_EQ((std::vector<std::string>{"nul=" + Lower(kWardex), "nul=" + Lower(kInstalledSetup)}),
              PendingLines());

    Install({0});
    ExpectWardexReplacedAtStartBy(third);
    EXPECT_TRUE(PathExists(kInstalledSetup));

    EndWardex();
    RunNextWindowsStart();
    EXPECT_EQ(third, ReadFileBytes(kWardex));
    EXPECT_TRUE(SameContents(Medium().SetupPath(), kInstalledSetup))
        << "the removal's pending deletion took the setup program the last install put there";
    EXPECT_TRUE(TemporariesBesideWardex().empty());
    EXPECT_FALSE(PathExists(RenameList())) << "the rename list was not carried out";
    EXPECT_TRUE(PathExists(DoneRenameList()));
}

// The installed copy, as the Add/Remove Programs entry starts it, while the
// disc's copy runs: the running one comes to the front, whatever it shows.
TEST_F(SecondRun, ASecondStartBringsTheRunningOneToTheFrontAndShowsNothing) {
    const std::string installedDir = JoinPath(Medium().Dir(), "installed");
    ASSERT_TRUE(MakeDirectories(installedDir));
    const std::string installedCopy = JoinPath(installedDir, "setup.exe");
    ASSERT_TRUE(::CopyFileA(Medium().SetupPath().c_str(), installedCopy.c_str(), FALSE));
    // Another program's box stands in front when the second copy starts.
    const std::string other = JoinPath(installedDir, "sulmet.exe");
    ASSERT_TRUE(::CopyFileA(JoinPath(Medium().Dir(), "sulmet").c_str(), other.c_str(), FALSE));
    const auto startSecondWithOtherInFront = [&](HWND expectedFront) {
        other_.Start(other, installedDir);
        WaitUntil([&] { return ::GetForegroundWindow() != expectedFront; }, "the other program");
        second_.Start(installedCopy, installedDir);
        bool showed = false;
        WaitUntil(
            [&] {
                showed = showed || !VisibleTopLevelWindows(second_.Id()).empty();
                return second_.HasExited();
            },
            "the second copy to end", nullptr, 20000);
        EXPECT_FALSE(showed) << "the second copy showed a window";
        EXPECT_EQ(0u, *second_.ExitCode());
        WaitUntil([&] { return ::GetForegroundWindow() == expectedFront; },
                  "the running copy's window in front");
        other_.Kill();
        other_.Reset();
    };

    Launch();
    HWND agreement = WaitForAgreementWindow();
    startSecondWithOtherInFront(agreement);

    Click(RequireButton(agreement, "Accept"));
    const SetupWindowControls controls = ControlsOf(WaitForSetupWindow());
    ToggleListItem(controls.componentList, 0);
    WaitUntil([&] { return IsEnabled(controls.installButton); }, "Install", &Process());
    Click(controls.installButton);
    const MessageBoxView question = WaitForMessageDialog(Process());
    startSecondWithOtherInFront(question.window);
    CaptureScreen("question-in-front");
    AnswerMessageBox(Process(), question, IDNO);
    ExpectCleanExit();
}

}  // namespace
}  // namespace e2e
