// The two things the install asks of the system that leave the program's
// hands: opening the readme in its associated program, and restarting
// Windows. Tests put their own in place; the program uses the platform's.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace app {

// Opens a document maximized in whatever program the platform associates
// with it; the outcome is not looked at.
void OpenDocument(HWND owner, const std::string& path);
// Asks Windows to restart. Other programs are asked to close, not forced, so
// that they can save their work.
void RestartWindows();

struct SystemActions {
    std::function<void(HWND, const std::string&)> openDocument;
    std::function<void()> restartWindows;
};
// Empty members restore the platform's own actions.
void SetSystemActions(SystemActions actions);

}  // namespace app
