#include "ui/application.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/control.h"
#include "ui/dialogs.h"
#include "ui/exceptions.h"
#include "ui/form.h"

namespace ui {
namespace {

TApplication* g_application = nullptr;

bool IsTopLevel(HWND window) { return (::GetWindowLongA(window, GWL_STYLE) & WS_CHILD) == 0; }

HWND TopLevelOf(HWND window) {
    while (window != nullptr && !IsTopLevel(window)) window = ::GetParent(window);
    return window;
}

}  // namespace

TApplication* Application() { return g_application; }

namespace {

struct FindWindowContext {
    HWND wanted;
    bool found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
    auto* context = reinterpret_cast<FindWindowContext*>(data);
    if (window != context->wanted) return TRUE;
    context->found = true;
    return FALSE;
}

}  // namespace

bool ActiveWindowOfThisThread() {
    FindWindowContext context{::GetActiveWindow(), false};
    if (context.wanted == nullptr) return false;
    ::EnumThreadWindows(::GetCurrentThreadId(), &MatchWindow, reinterpret_cast<LPARAM>(&context));
    return context.found;
}

bool NewStylePlatform() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!::GetVersionExA(&version)) return false;
    return (version.dwMajorVersion & 0xFF) >= 4;
}

std::string ErrorBoxText(const std::string& message) {
    std::string text = message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    return text;
}

TApplication::TApplication() {
    g_application = this;
    WNDCLASSA wc{};
    wc.lpfnWndProc = &TApplication::HandleProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hIcon = ::LoadIconA(wc.hInstance, "APPICON");
    wc.lpszClassName = kApplicationWindowClass;
    ::RegisterClassA(&wc);
    // At the screen's centre, where a minimise or restore seems to start from.
    handle_ = ::CreateWindowExA(
        0, wc.lpszClassName, "", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
        ::GetSystemMetrics(SM_CXSCREEN) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
        nullptr, wc.hInstance, nullptr);
    // The task-bar button shows the small picture of the program's icon
    // (shared: the platform keeps it for as long as the program runs).
    if (HANDLE small =
            ::LoadImageA(wc.hInstance, "APPICON", IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                         ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR | LR_SHARED))
        ::SendMessageA(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

TApplication::~TApplication() {
    DestroyForms();
    if (handle_ != nullptr) ::DestroyWindow(handle_);
    if (g_application == this) g_application = nullptr;
}

void TApplication::SetTitle(const std::string& title) {
    title_ = title;
    if (handle_ != nullptr) ::SetWindowTextA(handle_, title.c_str());
}

void TApplication::ShowHandle() {
    if (handle_ != nullptr && !::IsWindowVisible(handle_)) ::ShowWindow(handle_, SW_SHOWNOACTIVATE);
}

namespace {

struct ThreadWindows {
    HWND except;
    bool enabledOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectShown(HWND window, LPARAM data) {
    auto* c = reinterpret_cast<ThreadWindows*>(data);
    if (window == c->except ||
        ::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId())
        return TRUE;
    if (!::IsWindowVisible(window) || (c->enabledOnly && !::IsWindowEnabled(window))) return TRUE;
    char name[32] = "";
    ::GetClassNameA(window, name, sizeof name);
    // A tip shows for a moment; it is not brought back.
    if (lstrcmpiA(name, TOOLTIPS_CLASSA) != 0) c->found.push_back(window);
    return TRUE;
}

// Top-level windows of this thread that are shown, topmost first.
std::vector<HWND> ShownWindows(HWND except, bool enabledOnly) {
    ThreadWindows context{except, enabledOnly, {}};
    ::EnumWindows(&CollectShown, reinterpret_cast<LPARAM>(&context));
    return context.found;
}

// Posted to the application's window once it has been activated.
constexpr UINT kActivateFront = WM_USER + 1;
constexpr UINT kMinimizeFromButton = WM_USER + 2;

}  // namespace

HWND TApplication::FrontWindow() const {
    const std::vector<HWND> shown = ShownWindows(handle_, true);
    return shown.empty() ? nullptr : shown.front();
}

void TApplication::Minimize() {
    if (handle_ == nullptr || ::IsIconic(handle_)) return;
    std::vector<HWND> windows = ShownWindows(handle_, false);
    // Iconic first: a restore is then not mistaken in the moves that follow.
    ::ShowWindow(handle_, SW_MINIMIZE);
    for (HWND window : windows) ::ShowWindow(window, SW_HIDE);
    minimizedWindows_ = std::move(windows);
}

void TApplication::Restore() {
    if (handle_ == nullptr) return;
    std::vector<HWND> windows;
    windows.swap(minimizedWindows_);
    if (::IsIconic(handle_)) ::ShowWindow(handle_, SW_RESTORE);
    // Bottom first, so that each comes back above the ones it stood over.
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if (::IsWindow(*it)) ::ShowWindow(*it, SW_SHOWNA);
    }
    if (HWND front = FrontWindow()) ::SetForegroundWindow(front);
}

LRESULT CALLBACK TApplication::HandleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TApplication* app = Application();
    if (app == nullptr || app->handle_ != window)
        return ::DefWindowProcA(window, message, wParam, lParam);
    return app->HandleMessageOfHandle(message, wParam, lParam);
}

LRESULT TApplication::HandleMessageOfHandle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_MINIMIZE:
                    Minimize();
                    return 0;
                case SC_RESTORE:
                    if (::IsIconic(handle_)) {
                        Restore();
                        return 0;
                    }
                    break;
                default:
                    break;
            }
            break;
        case WM_WINDOWPOSCHANGED:
            // Restored some other way than by its menu (the task bar may show
            // the window directly): the hidden windows come back too.
            if (!minimizedWindows_.empty() && !::IsIconic(handle_)) Restore();
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0) {
                // Taken from a window of the program that is still shown: the
                // task-bar button was clicked while the program was in front
                // (a task bar may activate the button's window before it
                // minimises it on a second click). Otherwise the program was
                // switched to, and its window in front takes over.
                const auto previous = reinterpret_cast<HWND>(lParam);
                const bool fromOwnWindow =
                    previous != nullptr && previous != handle_ && ::IsWindowVisible(previous) &&
                    ::GetWindowThreadProcessId(previous, nullptr) == ::GetCurrentThreadId();
                ::PostMessageA(handle_, fromOwnWindow ? kMinimizeFromButton : kActivateFront, 0, 0);
            }
            break;
        case kActivateFront:
        case kMinimizeFromButton:
            if (::GetActiveWindow() == handle_ && !::IsIconic(handle_)) {
                if (message == kMinimizeFromButton)
                    Minimize();
                else if (HWND front = FrontWindow())
                    ::SetForegroundWindow(front);
            }
            return 0;
        case WM_CLOSE:
            // Close from the button's menu: the window in front closes as by
            // its own close box; a window without one stays. The application's
            // window goes only with the program.
            if (HWND front = FrontWindow()) {
                if ((::GetWindowLongA(front, GWL_STYLE) & WS_SYSMENU) != 0)
                    ::PostMessageA(front, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            return 0;
        default:
            break;
    }
    return ::DefWindowProcA(handle_, message, wParam, lParam);
}

void TApplication::AddForm(TForm* form) {
    forms_.push_back(form);
    if (mainForm_ == nullptr) mainForm_ = form;
}

void TApplication::RemoveForm(TForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (mainForm_ == form) mainForm_ = nullptr;
}

void TApplication::Terminate() { ::PostQuitMessage(0); }

bool TApplication::FetchPendingQuit() {
    MSG msg;
    if (!terminated_ && ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        terminated_ = true;
    return terminated_;
}

namespace {

// Enter while an enabled push button of `top` has the focus presses that
// button, as the platform's rule is: the focus makes a push button the
// default one. The platform never does so for an owner-drawn button, which
// draws that frame itself, so the dialog manager would press the window's
// default button instead. Answers whether a button was pressed.
bool PressFocusedButton(HWND top) {
    HWND focus = ::GetFocus();
    if (focus == nullptr || !::IsChild(top, focus) || !::IsWindowEnabled(focus)) return false;
    char name[16] = "";
    ::GetClassNameA(focus, name, sizeof name);
    const LONG type = ::GetWindowLongA(focus, GWL_STYLE) & BS_TYPEMASK;
    if (lstrcmpiA(name, "Button") != 0 ||
        (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_OWNERDRAW))
        return false;
    ::SendMessageA(::GetParent(focus), WM_COMMAND,
                   MAKEWPARAM(::GetWindowLongA(focus, GWL_ID), BN_CLICKED),
                   reinterpret_cast<LPARAM>(focus));
    return true;
}

}  // namespace

bool TApplication::PreTranslate(MSG& msg) {
    HWND top = TopLevelOf(msg.hwnd);
    if (top == nullptr) return false;
    TWinControl* control = TWinControl::FromHandle(top);
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && control != nullptr &&
        ::IsWindowEnabled(top) && PressFocusedButton(top))
        return true;
    // Alt and a character: the form's own controls (windowless labels
    // among them) may take it as their accelerator first.
    if (msg.message == WM_SYSCHAR && control != nullptr && ::IsWindowEnabled(top) &&
        control->DialogChar(static_cast<char>(msg.wParam)))
        return true;
    if (control == nullptr) {
        char name[64] = "";
        ::GetClassNameA(top, name, sizeof name);
        if (lstrcmpA(name, "QuarnelMessageDialog") != 0) return false;
    }
    return ::IsDialogMessageA(top, &msg) != FALSE;
}

void TApplication::HandleMessage() {
    MSG msg;
    // Idle: nothing tells a window that the mouse has gone to another one.
    if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) TWinControl::CheckMouseLeft();
    const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
        terminated_ = true;
        return;
    }
    if (!PreTranslate(msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (!terminated_ && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            break;
        }
        if (!PreTranslate(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

void TApplication::Run(int showCommand) {
    if (mainForm_ != nullptr && !terminated_) {
        ShowHandle();
        if (showCommand == SW_SHOWMAXIMIZED) mainForm_->SetWindowState(SW_SHOWMAXIMIZED);
        mainForm_->Show();
        // Started minimised: the program waits on its task-bar button.
        if (showCommand == SW_SHOWMINIMIZED || showCommand == SW_MINIMIZE ||
            showCommand == SW_SHOWMINNOACTIVE)
            Minimize();
    }
    while (!terminated_) HandleMessage();
    DestroyForms();
}

void TApplication::HandleException(const std::exception& error) {
    if (dynamic_cast<const EAbort*>(&error) != nullptr) return;
    ShowException(error);
}

void TApplication::ShowException(const std::exception& error) {
    DialogRequest request;
    request.caption = title_;
    request.text = ErrorBoxText(error.what());
    request.type = TMsgDlgType::mtError;
    request.buttons = TMsgDlgButtons::mbOK;
    request.standardErrorBox = true;
    // After a fetched quit request a box would close by itself unseen.
    if (FetchPendingQuit()) return;
    if (const DialogResponder& responder = CurrentDialogResponder()) {
        responder(request);
        return;
    }
    ::MessageBoxA(::GetActiveWindow(), request.text.c_str(), title_.c_str(),
                  MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

namespace {

struct DisableContext {
    HWND except;
    std::vector<HWND> disabled;
};

BOOL CALLBACK DisableOne(HWND window, LPARAM data) {
    auto* c = reinterpret_cast<DisableContext*>(data);
    // The application's window stays enabled: its task-bar button must still
    // minimise and restore the program.
    const HWND application = Application() != nullptr ? Application()->Handle() : nullptr;
    if (window != c->except && window != application && ::IsWindowVisible(window) &&
        ::IsWindowEnabled(window)) {
        ::EnableWindow(window, FALSE);
        c->disabled.push_back(window);
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> TApplication::DisableTaskWindows(HWND except) {
    DisableContext context{except, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), &DisableOne, reinterpret_cast<LPARAM>(&context));
    return context.disabled;
}

void TApplication::EnableTaskWindows(const std::vector<HWND>& windows) {
    for (HWND w : windows) {
        if (::IsWindow(w)) ::EnableWindow(w, TRUE);
    }
}

void TApplication::DestroyForms() {
    while (!forms_.empty()) {
        TForm* last = forms_.back();
        delete last;  // the form removes itself from the list
    }
}

}  // namespace ui
