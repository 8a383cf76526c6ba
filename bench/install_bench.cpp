// Measures the install against the platform's own copy: builds a medium of
// five large programs, runs the Install button's procedure on a real setup
// window in this process, then copies the same files with CopyFileA, and
// prints both times, their ratio and the gauge repaints per copied file.
//
//   install_bench.exe [MiB per program, default 16]
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/Classes.h"
#include "app/SetupState.h"
#include "app/SystemActions.h"
#include "app/setup1.h"
#include "controls/CheckListBox.h"
#include "controls/Gauge.h"
#include "engine/FileUtil.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/handles.h"
#include "ui/std_controls.h"

namespace {

const char* const kPrograms[] = {"wardex", "pelkin", "orvane", "sulmet", "trivel"};
const char* const kSmallFiles[] = {"alert", "keldan", "quarnel", "readme"};

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return t;
}

void WriteFileOfSize(const std::string& path, unsigned long long size) {
    ui::ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) throw std::runtime_error("cannot create " + path);
    std::vector<char> block(1 << 20);
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 7);
    for (unsigned long long left = size; left > 0;) {
        const DWORD n = static_cast<DWORD>(left < block.size() ? left : block.size());
        DWORD written = 0;
        if (!::WriteFile(file.Get(), block.data(), n, &written, nullptr) || written != n)
            throw std::runtime_error("cannot write " + path);
        left -= n;
    }
}

std::string TempPath(const std::string& name) {
    char temp[MAX_PATH] = "";
    ::GetTempPathA(sizeof temp, temp);
    return engine::AppendBackslash(temp) + name;
}

// The install's copies as (source below the medium, destination below the
// target directory); the driver goes to the target, not the system directory.
std::vector<std::pair<std::string, std::string>> CopiedFiles() {
    return {{"setup.exe", "setup.exe"},       {"wardex", "WARDEX\\wardex.exe"},
            {"alert", "WARDEX\\alert.wav"},   {"pelkin", "PELKIN\\pelkin.exe"},
            {"orvane", "ORVANE\\orvane.exe"}, {"sulmet", "SULMET\\sulmet.exe"},
            {"keldan", "TRIVEL\\keldan.dw"},  {"trivel", "TRIVEL\\trivel.exe"},
            {"quarnel", "quarnel.vxd"},       {"readme", "readme.doc"}};
}

int Answer(const ui::DialogRequest& request) {
    // Yes to the confirmation, No to the restart; any error ends the run.
    if (request.text.rfind("Ready to install", 0) == 0) return ui::mrYes;
    if (request.buttons == ui::TMsgDlgButtons::mbYesNo) return ui::mrNo;
    std::fprintf(stderr, "install stopped: %s\n", request.text.c_str());
    std::exit(2);
}

}  // namespace

int main(int argc, char** argv) try {
    const unsigned long long mib = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 16;
    const unsigned long long programSize = mib * 1024 * 1024;

    const std::string medium = TempPath("quarnel-bench-medium");
    const std::string installDir = TempPath("quarnel-bench-install\\");
    const std::string copyDir = TempPath("quarnel-bench-copy\\");
    engine::ClearDirectoryTree(medium, true);
    engine::ClearDirectoryTree(installDir, true);
    engine::ClearDirectoryTree(copyDir, true);
    engine::MakeDirectory(medium);
    char self[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, self, sizeof self);
    ::CopyFileA(self, (medium + "\\setup.exe").c_str(), FALSE);
    for (const char* name : kPrograms) WriteFileOfSize(medium + "\\" + name, programSize);
    for (const char* name : kSmallFiles) WriteFileOfSize(medium + "\\" + name, 4096);
    ::SetCurrentDirectoryA(medium.c_str());

    ui::ComApartment com;
    ::InitCommonControls();
    ui::TApplication application;
    app::RegisterClasses();
    application.SetTitle("Quarnel Setup");
    ui::SetDialogResponder(Answer);
    app::SetSystemActions({[](HWND, const std::string&) {}, [] {}});

    app::SetupForm = new app::TSetupForm();
    app::SetupForm->Create();
    app::SetupForm->Show();
    for (int i = 0; i < 5; ++i) app::SetupForm->ProductToInstall->SetChecked(i, true);
    app::SetupForm->CheckBox1->SetChecked(false);
    app::InstallDir = installDir;

    const LARGE_INTEGER installStart = Now();
    app::SetupForm->InstallButtonClick(app::SetupForm);
    const LARGE_INTEGER installEnd = Now();
    const long repaints = app::SetupForm->CurrentProgressBar->PaintCount();

    const auto files = CopiedFiles();
    for (const char* sub : {"WARDEX", "PELKIN", "ORVANE", "SULMET", "TRIVEL"})
        engine::EnsureDirectoryPath(copyDir + sub + "\\x");
    const LARGE_INTEGER copyStart = Now();
    for (const auto& [source, destination] : files) {
        if (!::CopyFileA((medium + "\\" + source).c_str(), (copyDir + destination).c_str(), FALSE))
            throw std::runtime_error("CopyFileA failed for " + source);
    }
    const LARGE_INTEGER copyEnd = Now();

    // The program's own copy routine alone, without a gauge to follow it.
    engine::ClearDirectoryTree(copyDir, true);
    for (const char* sub : {"WARDEX", "PELKIN", "ORVANE", "SULMET", "TRIVEL"})
        engine::EnsureDirectoryPath(copyDir + sub + "\\x");
    const LARGE_INTEGER routineStart = Now();
    for (const auto& [source, destination] : files)
        engine::CopyFileWithProgress(medium + "\\" + source, copyDir + destination, nullptr);
    const LARGE_INTEGER routineEnd = Now();

    // What one repaint of the gauge costs on this display: a hundred steps.
    // The install hid every window at its end; a hidden gauge paints nothing.
    app::SetupForm->Show();
    controls::TGauge* gauge = app::SetupForm->CurrentProgressBar;
    gauge->SetIntProperty("MaxValue", 100);
    const long paintsBefore = gauge->PaintCount();
    const LARGE_INTEGER paintStart = Now();
    for (int percent = 1; percent <= 100; ++percent) gauge->SetIntProperty("Progress", percent);
    const LARGE_INTEGER paintEnd = Now();
    const long paints = gauge->PaintCount() - paintsBefore;

    const double install = Seconds(installStart, installEnd);
    const double copy = Seconds(copyStart, copyEnd);
    std::printf("medium: 5 programs of %llu MiB, %zu files copied\n", mib, files.size());
    std::printf("install (whole procedure):   %8.3f s\n", install);
    std::printf("platform copy (CopyFileA):   %8.3f s\n", copy);
    std::printf("copy routine, no gauge:      %8.3f s\n", Seconds(routineStart, routineEnd));
    std::printf(
        "one gauge repaint:           %8.3f ms (%ld timed)\n",
        1000.0 * Seconds(paintStart, paintEnd) / static_cast<double>(paints > 0 ? paints : 1),
        paints);
    std::printf("ratio install / copy:        %8.2f   (goal: at most 1.3)\n", install / copy);
    std::printf("gauge repaints per file:     %8.1f   (goal: at most 101)\n",
                static_cast<double>(repaints) / static_cast<double>(files.size()));

    delete app::SetupForm;
    app::SetupForm = nullptr;
    engine::ClearDirectoryTree(medium, true);
    engine::ClearDirectoryTree(installDir, true);
    engine::ClearDirectoryTree(copyDir, true);
    return 0;
} catch (const std::exception& error) {
    std::fprintf(stderr, "install_bench: %s\n", error.what());
    return 1;
}
