#include "ui/application.h"

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
    wc.lpfnWndProc = &::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hIcon = ::LoadIconA(wc.hInstance, "MAINICON");
    wc.lpszClassName = "QuarnelApplication";
    ::RegisterClassA(&wc);
    handle_ = ::CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0,
                                0, 0, nullptr, nullptr, wc.hInstance, nullptr);
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

bool TApplication::PreTranslate(MSG& msg) {
    HWND top = TopLevelOf(msg.hwnd);
    if (top == nullptr) return false;
    TWinControl* control = TWinControl::FromHandle(top);
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
        if (showCommand == SW_SHOWMINIMIZED || showCommand == SW_MINIMIZE ||
            showCommand == SW_SHOWMINNOACTIVE)
            mainForm_->SetWindowState(SW_SHOWMINIMIZED);
        else if (showCommand == SW_SHOWMAXIMIZED)
            mainForm_->SetWindowState(SW_SHOWMAXIMIZED);
        mainForm_->Show();
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
    if (window != c->except && ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
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
