// Walks the shipped setup.exe through its windows as a user would, for
// bench/memory.sh, which reads the program's memory from the host. At each
// step the driver prints "step NAME" and waits for a line on its standard
// input before it goes on, so the host reads the memory of a program that
// stands still:
//
//   memory_driver.exe floor FLOOR.EXE       the floor program's message box
//   memory_driver.exe setup SETUP.EXE DIR   setup.exe started in DIR (the
//                                           medium), every component installed
//                                           to C:\quarnel
//
// Steps of setup.exe: agreement, setup, question, copy (printed at the Yes,
// without a wait: the host samples until the next step), restart, end.
#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "driver_error.h"
#include "setup_process.h"
#include "window_driver.h"

namespace {

// Lets the program paint what it has just shown, then tells the host.
void Step(const char* name, HWND window, bool wait = true) {
    if (window != nullptr) {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        ::Sleep(500);
    }
    std::printf("step %s\n", name);
    std::fflush(stdout);
    if (!wait) return;
    char line[64];
    if (std::fgets(line, sizeof line, stdin) == nullptr) throw std::runtime_error("no answer");
}

bool IsDialogSized(HWND window) { return e2e::ClientSizeOf(window).cx < 700; }

void Floor(const std::string& program) {
    e2e::SetupProcess process;
    process.Start(program, ".");
    const HWND box = e2e::WaitForTopLevel(
        process, {e2e::kPlatformDialogClass, std::nullopt, nullptr, "the floor's message box"},
        20000);
    Step("floor", box);
    ::PostMessageA(box, WM_CLOSE, 0, 0);
    process.WaitForExit(10000);
    Step("end", nullptr, false);
}

void Setup(const std::string& program, const std::string& medium) {
    e2e::SetupProcess process;
    // Every component ticked, as the command line presets the window.
    process.Start(program, medium, "/COMPONENTS=Wardex,Pelkin,Orvane,Sulmet,Trivel");
    const HWND agreement = e2e::WaitForTopLevel(
        process, {e2e::kFormClass, std::string(" "), nullptr, "the agreement window"}, 20000);
    Step("agreement", agreement);
    e2e::Click(e2e::RequireButton(agreement, "Accept"));
    const HWND setup = e2e::WaitForTopLevel(process, {e2e::kFormClass, std::string("Quarnel Setup"),
                                                      &IsDialogSized, "the setup window"});
    Step("setup", setup);
    // No readme viewer at the end: it would be another program's memory.
    const HWND readme = e2e::RequireButton(setup, "View readme");
    if (::SendMessageA(readme, BM_GETCHECK, 0, 0) == BST_CHECKED) e2e::Click(readme);
    e2e::Click(e2e::RequireButton(setup, "Install"));
    e2e::MessageBoxView question = e2e::WaitForMessageDialog(process);
    Step("question", question.window);
    Step("copy", nullptr, false);
    e2e::AnswerMessageBox(process, question, IDYES);
    e2e::MessageBoxView restart = e2e::WaitForMessageDialog(process, 600000);
    Step("restart", restart.window);
    e2e::AnswerMessageBox(process, restart, IDNO);
    process.WaitForExit(20000);
    Step("end", nullptr, false);
}

}  // namespace

int main(int argc, char** argv) try {
    const std::string mode = argc > 2 ? argv[1] : "";
    if (mode == "floor") {
        Floor(argv[2]);
    } else if (mode == "setup" && argc > 3) {
        Setup(argv[2], argv[3]);
    } else {
        std::fprintf(stderr, "usage: memory_driver floor PROGRAM | setup SETUP.EXE MEDIUM\n");
        return 1;
    }
    return 0;
} catch (const std::exception& error) {
    std::fprintf(stderr, "memory_driver: %s\n", error.what());
    std::printf("step failed\n");
    return 1;
}
