// Finding the program's windows and working them from outside its process,
// as a user would: buttons are clicked, keys go to the focused control, list
// items are clicked at their check boxes. Waits poll every 50 ms and fail with
// a DriverError that names what was awaited.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

class SetupProcess;

inline constexpr DWORD kPollIntervalMs = 50;
inline constexpr DWORD kDefaultTimeoutMs = 10000;

// Class names of the program's own windows and of the platform's message box.
inline constexpr char kFormClass[] = "QuarnelWindow";
inline constexpr char kMessageDialogClass[] = "QuarnelMessageDialog";
inline constexpr char kPlatformDialogClass[] = "#32770";

// A top-level window by class, optionally by exact title and a further test
// (the setup and background windows share class and title and differ in size).
struct WindowQuery {
    std::string className;
    std::optional<std::string> title;
    std::function<bool(HWND)> accept;
    std::string description;  // for failure messages: "the setup window"
};

// Polls `probe` until it answers true. Fails early when `process` (if given)
// has ended, since nothing it was to do can happen any more.
void WaitUntil(const std::function<bool()>& probe, const std::string& what,
               const SetupProcess* process = nullptr, DWORD timeoutMs = kDefaultTimeoutMs);

// Top-level windows of a process that a user can see (shown and of some
// size), in z-order.
std::vector<HWND> VisibleTopLevelWindows(DWORD processId);
// The windows of a process that get a task-bar button and an entry among the
// programs Alt+Tab switches between: shown, not owned by another window and
// not tool windows (or marked as application windows).
std::vector<HWND> TaskBarWindows(DWORD processId);
HWND FindTopLevel(DWORD processId, const WindowQuery& query);
HWND WaitForTopLevel(const SetupProcess& process, const WindowQuery& query,
                     DWORD timeoutMs = kDefaultTimeoutMs);

std::string ClassOf(HWND window);
// The text of a window, also of another process's control (WM_GETTEXT).
std::string TextOf(HWND window);
SIZE ClientSizeOf(HWND window);
bool IsEnabled(HWND window);

// The first descendant of `parent` of the class (compared without case) whose
// text, with '&' markers removed, equals `text` when one is given.
HWND FindChild(HWND parent, const std::string& className,
               const std::optional<std::string>& text = std::nullopt);
// As FindChild; throws DriverError naming the control when there is none.
HWND RequireChild(HWND parent, const std::string& className,
                  const std::optional<std::string>& text = std::nullopt);
HWND RequireButton(HWND parent, const std::string& text);
HWND RequireChildById(HWND parent, int id);
std::vector<HWND> ChildrenOfClass(HWND parent, const std::string& className);

// Clicks a push button or check box. A user cannot click a disabled
// button, so neither can the driver: that throws DriverError.
void Click(HWND button);
// A left-button press and release at client coordinates of `window`.
void ClickAt(HWND window, int x, int y);
// Clicks the check box of list row `index` of a check list box whose rows
// are `itemHeight` pixels high.
void ToggleListItem(HWND listBox, int index, int itemHeight = 16);
// A click on the title bar's close box.
void ClickCloseBox(HWND window);
// The control that has the keyboard focus in the thread of `window`.
HWND FocusOf(HWND window);
// Presses and releases a key in the thread of `window`: the messages go to
// the focused control, or to `window` when nothing has the focus.
void PressKey(HWND window, UINT virtualKey);
// Types a key on the keyboard, optionally with Shift held: the platform
// delivers it to the focused control of the foreground window, and the
// modifier state is what the program reads.
void TypeKey(UINT virtualKey, bool withShift = false);

// A message box of the program: its own dialogs and the platform's box.
struct MessageBoxView {
    HWND window = nullptr;
    std::string className;
    std::string caption;
    std::string text;
};
MessageBoxView WaitForMessageDialog(const SetupProcess& process,
                                    DWORD timeoutMs = kDefaultTimeoutMs);
// The application's standard error box: the platform's message box titled
// with the application title.
MessageBoxView WaitForStandardErrorBox(const SetupProcess& process,
                                       DWORD timeoutMs = kDefaultTimeoutMs);
// Clicks the box's button with the control id (IDOK, IDYES, IDNO) and waits
// until the box is gone. Answers the clicked button's text.
std::string AnswerMessageBox(const SetupProcess& process, const MessageBoxView& box, int buttonId);

}  // namespace e2e
