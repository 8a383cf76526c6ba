#include "ui/dialogs.h"

#include <windows.h>

#include <algorithm>

#include "ui/application.h"
#include "ui/graphics.h"
#include "ui/handles.h"

namespace ui {
namespace {

DialogResponder& Responder() {
    static DialogResponder responder;
    return responder;
}

const char kDialogClass[] = "QuarnelMessageDialog";
const char kStateProperty[] = "QuarnelDialogState";

struct DialogState {
    TMsgDlgButtons buttons;
    int result = mrNone;
};

LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = static_cast<DialogState*>(::GetPropA(window, kStateProperty));
    if (state != nullptr) {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            switch (LOWORD(wParam)) {
                case IDOK: state->result = mrOk; return 0;
                case IDYES: state->result = mrYes; return 0;
                case IDNO: state->result = mrNo; return 0;
                case IDCANCEL:  // Escape
                    state->result = state->buttons == TMsgDlgButtons::mbOK ? mrOk : mrNo;
                    return 0;
                default: break;
            }
        } else if (message == WM_CLOSE) {
            state->result = mrCancel;
            return 0;
        }
    }
    return ::DefDlgProcA(window, message, wParam, lParam);
}

void RegisterDialogClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DialogProc;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kDialogClass;
    ::RegisterClassA(&wc);
    registered = true;
}

LPCSTR IconFor(TMsgDlgType type) {
    switch (type) {
        case TMsgDlgType::mtWarning: return IDI_EXCLAMATION;
        case TMsgDlgType::mtError: return IDI_HAND;
        case TMsgDlgType::mtInformation: return IDI_ASTERISK;
        case TMsgDlgType::mtConfirmation: return IDI_QUESTION;
    }
    return IDI_ASTERISK;
}

HWND MakeChild(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w,
               int h, int id, HFONT font) {
    HWND child = ::CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

int ShowDialogWindow(const DialogRequest& request) {
    RegisterDialogClass();
    TFont font;  // MS Sans Serif 8 pt
    const int margin = 8, iconSize = 32, buttonWidth = 75, buttonHeight = 25, gap = 8;

    RECT textRect{0, 0, 400, 0};
    {
        ScopedGetDC screen(nullptr);
        SelectObjectScope select(screen.Get(), font.Handle());
        ::DrawTextA(screen.Get(), request.text.c_str(), -1, &textRect,
                    DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    }
    const int textWidth = textRect.right - textRect.left;
    const int textHeight = textRect.bottom - textRect.top;
    const int buttonCount = request.buttons == TMsgDlgButtons::mbOK ? 1 : 2;
    const int buttonsWidth = buttonCount * buttonWidth + (buttonCount - 1) * gap;
    const int textLeft = margin + iconSize + margin;
    const int clientWidth = std::max(textLeft + textWidth + margin, buttonsWidth + 2 * margin);
    const int bodyHeight = std::max(iconSize, textHeight);
    const int clientHeight = margin + bodyHeight + 2 * margin + buttonHeight + margin;

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME;
    RECT outer{0, 0, clientWidth, clientHeight};
    ::AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;

    HWND owner = ::GetActiveWindow();
    if (owner == nullptr && Application() != nullptr) owner = Application()->Handle();
    HWND dialog = ::CreateWindowExA(exStyle, kDialogClass, request.caption.c_str(), style, x, y,
                                    width, height, owner, nullptr, ::GetModuleHandleA(nullptr),
                                    nullptr);
    if (dialog == nullptr) return mrCancel;
    DialogState state{request.buttons};
    ::SetPropA(dialog, kStateProperty, &state);
    ::SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font.Handle()), FALSE);

    HWND icon = MakeChild(dialog, "STATIC", "", SS_ICON, margin, margin, iconSize, iconSize, -1,
                          font.Handle());
    ::SendMessageA(icon, STM_SETICON,
                   reinterpret_cast<WPARAM>(::LoadIconA(nullptr, IconFor(request.type))), 0);
    MakeChild(dialog, "STATIC", request.text.c_str(), SS_LEFT | SS_NOPREFIX, textLeft, margin,
              textWidth, textHeight, 0xFFFF, font.Handle());
    int bx = (clientWidth - buttonsWidth) / 2;
    const int by = clientHeight - margin - buttonHeight;
    HWND first;
    if (request.buttons == TMsgDlgButtons::mbOK) {
        first = MakeChild(dialog, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, bx, by,
                          buttonWidth, buttonHeight, IDOK, font.Handle());
        ::SendMessageA(dialog, DM_SETDEFID, IDOK, 0);
    } else {
        first = MakeChild(dialog, "BUTTON", "&Yes", BS_DEFPUSHBUTTON | WS_TABSTOP, bx, by,
                          buttonWidth, buttonHeight, IDYES, font.Handle());
        bx += buttonWidth + gap;
        MakeChild(dialog, "BUTTON", "&No", BS_PUSHBUTTON | WS_TABSTOP, bx, by, buttonWidth,
                  buttonHeight, IDNO, font.Handle());
        ::SendMessageA(dialog, DM_SETDEFID, IDYES, 0);
    }

    TApplication* app = Application();
    std::vector<HWND> disabled = app->DisableTaskWindows(dialog);
    ::ShowWindow(dialog, SW_SHOWNORMAL);
    ::SetFocus(first);
    while (state.result == mrNone) {
        if (app->Terminated()) {
            state.result = mrCancel;
            break;
        }
        app->HandleMessage();
    }
    TApplication::EnableTaskWindows(disabled);
    ::RemovePropA(dialog, kStateProperty);
    ::DestroyWindow(dialog);
    return state.result;
}

}  // namespace

void SetDialogResponder(DialogResponder responder) { Responder() = std::move(responder); }

const DialogResponder& CurrentDialogResponder() { return Responder(); }

const char* DialogCaption(TMsgDlgType type) {
    switch (type) {
        case TMsgDlgType::mtWarning: return "Warning";
        case TMsgDlgType::mtError: return "Error";
        case TMsgDlgType::mtInformation: return "Information";
        case TMsgDlgType::mtConfirmation: return "Confirm";
    }
    return "";
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    DialogRequest request;
    request.caption = DialogCaption(type);
    request.text = text;
    request.type = type;
    request.buttons = buttons;
    // A quit request already fetched ends every later dialog at once.
    if (Application() != nullptr && Application()->FetchPendingQuit()) return mrCancel;
    if (const DialogResponder& responder = Responder()) return responder(request);
    return ShowDialogWindow(request);
}

}  // namespace ui
