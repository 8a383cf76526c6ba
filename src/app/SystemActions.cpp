#include "app/SystemActions.h"

#include <shellapi.h>

#include <utility>

namespace app {

namespace {

SystemActions& Installed() {
    static SystemActions actions;
    return actions;
}

}  // namespace

void SetSystemActions(SystemActions actions) { Installed() = std::move(actions); }

void OpenDocument(HWND owner, const std::string& path) {
    if (Installed().openDocument) return Installed().openDocument(owner, path);
    ::ShellExecuteA(owner, "open", path.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
}

void RestartWindows() {
    if (Installed().restartWindows) return Installed().restartWindows();
    ::ExitWindowsEx(EWX_REBOOT, 0);
}

}  // namespace app
