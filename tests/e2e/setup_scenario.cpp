#include "setup_scenario.h"

#include <cstdio>

#include "driver_error.h"
#include "host_paths.h"
#include "install_state.h"
#include "installed_state.h"
#include "registry_state.h"
#include "screenshot.h"

namespace e2e {
namespace {

const char kExeName[] = "setup.exe";
const char kApplicationTitle[] = "Quarnel Setup";
// Starting a Wine process can take a few seconds when the wineserver is cold.
constexpr DWORD kStartTimeoutMs = 20000;
// The default install directory; a confirmed or refused install may make it.

std::string ButtonLabelOf(int id) {
    switch (id) {
        case IDOK:
            return "OK";
        case IDYES:
            return "&Yes";
        case IDNO:
            return "&No";
        default:
            return "?";
    }
}

// The background window fills the 800 x 600 design screen; the setup window
// is 457 x 262. Both are "Quarnel Setup" of the same class.
bool IsScreenSized(HWND window) { return ClientSizeOf(window).cx >= 700; }
bool IsDialogSized(HWND window) { return ClientSizeOf(window).cx < 700; }

std::string SafeFileName(std::string text) {
    for (char& c : text) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_';
        if (!plain) c = '_';
    }
    return text;
}

}  // namespace

WindowQuery SetupScenario::AgreementWindowQuery() {
    return {kFormClass, std::string(" "), nullptr, "the agreement window"};
}

WindowQuery SetupScenario::SetupWindowQuery() {
    return {kFormClass, std::string(kApplicationTitle), &IsDialogSized, "the setup window"};
}

WindowQuery SetupScenario::BackgroundWindowQuery() {
    return {kFormClass, std::string(kApplicationTitle), &IsScreenSized, "the background window"};
}

void SetupScenario::SetUp() {
    // A machine that has never seen Quarnel.
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kVendorKey);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kUninstallKey);
    // A link an interrupted scenario left in the driver key's place goes first.
    DeleteKeyLink(HKEY_LOCAL_MACHINE, kDriverKey);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kDriverKey);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kVolatileTestKey);
    // What an install left or a scenario planted, and a rename list a
    // removal wrote.
    ClearInstalledState();
    CloseReadmeViewers();
    WindowsVersionOverride::Clear(kExeName);
    medium_ = std::make_unique<SampleMedium>(ShippedDir());
}

void SetupScenario::TearDown() {
    if (process_.IsStarted()) {
        if (process_.Kill()) {
            ADD_FAILURE() << "setup.exe was still running at the end of the scenario; killed";
        } else if (const auto code = process_.ExitCode()) {
            RecordProperty("setup_exit_code", static_cast<int>(*code));
            std::printf("[ setup.exe  ] exit code %lu\n", static_cast<unsigned long>(*code));
        }
    }
    process_.Reset();
    // A readme an install opened runs on independently of the program.
    CloseReadmeViewers();
    versionOverride_.reset();
    medium_.reset();
}

void SetupScenario::SimulateWindowsNT() {
    versionOverride_ = std::make_unique<WindowsVersionOverride>(kExeName, "winxp");
}

void SetupScenario::SimulateWindows95() {
    versionOverride_ = std::make_unique<WindowsVersionOverride>(kExeName, "win95");
}

void SetupScenario::Launch() { LaunchFrom(medium_->SetupPath(), medium_->Dir()); }

void SetupScenario::LaunchFrom(const std::string& program, const std::string& dir) {
    process_.Start(program, dir);
}

void SetupScenario::Launch(const std::string& arguments) {
    process_.Start(medium_->SetupPath(), medium_->Dir(), arguments);
}

HWND SetupScenario::WaitForAgreementWindow() {
    return WaitForTopLevel(process_, AgreementWindowQuery(), kStartTimeoutMs);
}

HWND SetupScenario::WaitForSetupWindow() { return WaitForTopLevel(process_, SetupWindowQuery()); }

HWND SetupScenario::WaitForBackgroundWindow() {
    return WaitForTopLevel(process_, BackgroundWindowQuery());
}

HWND SetupScenario::AcceptAgreement() {
    Click(RequireButton(WaitForAgreementWindow(), "Accept"));
    return WaitForSetupWindow();
}

SetupWindowControls SetupScenario::ControlsOf(HWND setupWindow) {
    SetupWindowControls controls;
    controls.directoryEdit = RequireChild(setupWindow, "EDIT");
    controls.componentList = RequireChild(setupWindow, "LISTBOX");
    controls.installButton = RequireButton(setupWindow, "Install");
    controls.removeButton = RequireButton(setupWindow, "Remove");
    controls.exitButton = RequireButton(setupWindow, "Exit");
    controls.menuGroupCheck = RequireButton(setupWindow, "Create menu group");
    controls.viewReadmeCheck = RequireButton(setupWindow, "View readme");
    controls.startupCheck = RequireButton(setupWindow, "Run Wardex at Windows startup");
    return controls;
}

void SetupScenario::ExpectDialog(const std::string& caption, const std::string& text,
                                 int answerButtonId) {
    const MessageBoxView box = WaitForMessageDialog(process_);
    EXPECT_EQ(caption, box.caption) << "caption of the dialog \"" << box.text << "\"";
    EXPECT_EQ(text, box.text) << "text of the dialog \"" << box.caption << "\"";
    Screenshot(box.window, "dialog-" + box.caption);
    const std::string label = AnswerMessageBox(process_, box, answerButtonId);
    EXPECT_EQ(ButtonLabelOf(answerButtonId), label) << "answer button of \"" << box.text << "\"";
}

void SetupScenario::ExpectStandardErrorBox(const std::string& text) {
    const MessageBoxView box = WaitForStandardErrorBox(process_);
    EXPECT_EQ(text, box.text) << "text of the standard error box";
    Screenshot(box.window, "standard-error-box");
    EXPECT_EQ("OK", AnswerMessageBox(process_, box, IDOK));
}

void SetupScenario::ExpectCleanExit(DWORD timeoutMs) {
    EXPECT_EQ(0u, process_.WaitForExit(timeoutMs)) << "exit code of setup.exe";
}

void SetupScenario::ExpectCleanExitWithout(const WindowQuery& query, DWORD timeoutMs) {
    HWND unexpected = nullptr;
    WaitUntil(
        [&] {
            if (unexpected == nullptr) unexpected = FindTopLevel(process_.Id(), query);
            return process_.HasExited();
        },
        "setup.exe to end", nullptr, timeoutMs);
    EXPECT_EQ(nullptr, unexpected) << query.description << " was shown before the program ended";
    EXPECT_EQ(0u, *process_.ExitCode()) << "exit code of setup.exe";
}

void SetupScenario::Screenshot(HWND window, const std::string& step) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    char serial[8];
    std::snprintf(serial, sizeof serial, "%02d", ++screenshotCount_);
    const std::string name = SafeFileName(std::string(test->test_suite_name()) + "-" +
                                          test->name() + "-" + serial + "-" + step) +
                             ".bmp";
    // Let the program finish painting what it has just shown.
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
    ::Sleep(300);
    try {
        CaptureWindow(window, JoinPath(ScreenshotDir(), name));
    } catch (const DriverError& error) {
        // A missing picture is worth a note, not a failed scenario.
        std::printf("[ screenshot ] %s\n", error.what());
    }
}

}  // namespace e2e
