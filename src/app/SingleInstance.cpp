#include "app/SingleInstance.h"

#include <windows.h>

#include "ui/application.h"

namespace app {

namespace {

// The running copy may be so young that it has no window yet (two clicks
// of a double click): its windows are awaited this long.
constexpr DWORD kWaitForRunningMs = 10000;
constexpr DWORD kPollMs = 100;

struct RunningCopy {
    DWORD processId = 0;
    HWND application = nullptr;
    HWND front = nullptr;
};

BOOL CALLBACK FindApplicationWindow(HWND window, LPARAM data) {
    auto* running = reinterpret_cast<RunningCopy*>(data);
    char name[32] = "";
    ::GetClassNameA(window, name, sizeof name);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (lstrcmpA(name, ui::kApplicationWindowClass) != 0 || process == ::GetCurrentProcessId())
        return TRUE;
    running->processId = process;
    running->application = window;
    return FALSE;
}

// The topmost window of the running copy that the user can work: shown and
// enabled. Behind a box its owner is disabled, so the box is found.
BOOL CALLBACK FindFrontWindow(HWND window, LPARAM data) {
    auto* running = reinterpret_cast<RunningCopy*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != running->processId || window == running->application) return TRUE;
    if (!::IsWindowVisible(window) || !::IsWindowEnabled(window)) return TRUE;
    running->front = window;
    return FALSE;
}

// Brings the running copy's front window to the front; false while it has
// none to show yet.
bool BringRunningCopyToFront() {
    RunningCopy running;
    ::EnumWindows(&FindApplicationWindow, reinterpret_cast<LPARAM>(&running));
    if (running.application == nullptr) return false;
    // Minimised from its task-bar button: its windows are hidden until the
    // button's window is restored.
    if (::IsIconic(running.application)) ::ShowWindow(running.application, SW_RESTORE);
    ::EnumWindows(&FindFrontWindow, reinterpret_cast<LPARAM>(&running));
    if (running.front == nullptr) return false;
    ::SetForegroundWindow(running.front);
    return true;
}

}  // namespace

bool ClaimSingleInstance(ui::ScopedHandle& claim, RunningSetup running) {
    claim = ui::ScopedHandle(::CreateMutexA(nullptr, FALSE, kSingleInstanceName));
    if (!claim.IsValid() || ::GetLastError() != ERROR_ALREADY_EXISTS) return true;
    claim.Close();
    if (running == RunningSetup::LeaveAlone) return false;
    for (DWORD waited = 0; waited < kWaitForRunningMs; waited += kPollMs) {
        if (BringRunningCopyToFront()) break;
        ::Sleep(kPollMs);
    }
    return false;
}

}  // namespace app
