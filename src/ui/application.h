// The application object: title, main window, the main and modal message
// loops, the terminate request and the standard error box.
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <vector>

namespace ui {

class TForm;

// The window class of the application's own hidden window, the one that
// carries the task-bar button: each running copy of the program has one.
inline constexpr char kApplicationWindowClass[] = "QuarnelApplication";

enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
};

class TApplication {
public:
    TApplication();
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);
    // The application's window: it owns the forms and carries the title.
    // Shown, it has no size and stands for the program on the task bar and
    // among the running programs the user switches between.
    HWND Handle() const { return handle_; }
    void ShowHandle();

    // The task-bar button's minimise and restore: every window of the program
    // is hidden with the application, and comes back in its order, the front
    // window (a modal one when there is one) active again.
    void Minimize();
    void Restore();

    // The first form created is the main window.
    TForm* MainForm() const { return mainForm_; }
    void AddForm(TForm* form);
    void RemoveForm(TForm* form);
    const std::vector<TForm*>& Forms() const { return forms_; }

    // Posts a quit request and returns at once; the next loop that fetches it
    // ends (the main loop ends the program, a modal loop answers Cancel).
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Forgets a fetched quit request (tests run many loops in one process).
    void ResetTerminated() { terminated_ = false; }
    // Fetches a quit request that waits in the queue (other messages stay);
    // answers Terminated afterwards.
    bool FetchPendingQuit();

    // Shows the main window and runs the main loop until a quit request is
    // fetched; then frees every form.
    void Run(int showCommand = SW_SHOWNORMAL);
    // Fetches and dispatches one message, waiting for it; a fetched quit
    // request sets Terminated.
    void HandleMessage();
    // Dispatches what is queued without waiting.
    void ProcessMessages();

    // Handler errors: the silent kind is dropped, others go to the box.
    void HandleException(const std::exception& error);
    void ShowException(const std::exception& error);

    // Disables every other window of the program for a modal window; the
    // returned list is given back to EnableTaskWindows afterwards.
    std::vector<HWND> DisableTaskWindows(HWND except);
    static void EnableTaskWindows(const std::vector<HWND>& windows);

    void DestroyForms();

private:
    bool PreTranslate(MSG& msg);
    static LRESULT CALLBACK HandleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessageOfHandle(UINT message, WPARAM wParam, LPARAM lParam);
    // The program's window in front: the topmost one shown and enabled.
    HWND FrontWindow() const;

    std::string title_;
    HWND handle_ = nullptr;
    // The windows a minimise hid, topmost first.
    std::vector<HWND> minimizedWindows_;
    TForm* mainForm_ = nullptr;
    std::vector<TForm*> forms_;
    bool terminated_ = false;
};

// The one application object of the process.
TApplication* Application();

// Whether the active window (GetActiveWindow) is one of the calling thread's
// windows, found among them by enumeration.
bool ActiveWindowOfThisThread();

// Whether the platform is of the new style, Windows 95 and later: the low
// byte of the platform version is 4 or more.
bool NewStylePlatform();

// Text of the standard error box: the message, plus a full stop when its last
// character has a code above that of the full stop.
std::string ErrorBoxText(const std::string& message);

}  // namespace ui
