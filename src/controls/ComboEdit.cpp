#include "controls/ComboEdit.h"

#include <algorithm>

#include "controls/EditButtonGlyphs.h"
#include "ui/exceptions.h"

namespace controls {
namespace {

int CharHeight(HFONT font) {
    ui::ScopedGetDC screen(nullptr);
    ui::SelectObjectScope select(screen.Get(), font);
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(screen.Get(), &metrics);
    return metrics.tmHeight;
}

// The smaller of the system font's and the edit font's character heights.
int SmallerCharHeight(const ui::TFont& font) {
    return std::min(CharHeight(static_cast<HFONT>(::GetStockObject(SYSTEM_FONT))),
                    CharHeight(font.Handle()));
}

HWND TopLevelOf(HWND window) {
    while (window != nullptr && (::GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0)
        window = ::GetParent(window);
    return window;
}

}  // namespace

// ------------------------------------------------------------- TEditButton

TEditButton::TEditButton(ui::TComponent* owner, TCustomComboEdit* edit)
    : ui::TSpeedButton(owner), edit_(edit) {}

void TEditButton::PaintFace(HDC dc, bool pressed) {
    ui::TSpeedButton::PaintFace(dc, pressed);
    if (pressed) return;
    // Two lines join the face to the edit's sunken border on its left.
    const int h = Height();
    const ui::TColor outer =
        TCustomComboEdit::PlatformMajorVersion() >= 4 ? ui::clBtnFace : ui::clBtnShadow;
    ui::ScopedPen outerPen(::CreatePen(PS_SOLID, 1, ui::ColorToRGB(outer)));
    ui::ScopedPen innerPen(::CreatePen(PS_SOLID, 1, ui::ColorToRGB(ui::clBtnHighlight)));
    {
        ui::SelectObjectScope select(dc, outerPen.Get());
        ::MoveToEx(dc, 0, 0, nullptr);
        ::LineTo(dc, 0, h - 1);
    }
    ui::SelectObjectScope select(dc, innerPen.Get());
    ::MoveToEx(dc, 1, 1, nullptr);
    ::LineTo(dc, 1, h - 2);
}

void TEditButton::MouseDown(int button, int x, int y) {
    if (button == 0 && edit_->TabStop() && edit_->CanFocus() && !edit_->Focused())
        edit_->SetFocus();
    ui::TSpeedButton::MouseDown(button, x, y);
}

void TEditButton::Click() {
    ui::TSpeedButton::Click();
    edit_->DoClick();
}

// -------------------------------------------------------- TCustomComboEdit

TCustomComboEdit::TCustomComboEdit(ui::TComponent* owner) : ui::TEdit(owner) {
    SetBounds(Left(), Top(), Width(), 21);
    container_ = new ui::TWinControl(this);
    container_->SetColor(ui::clBtnFace);
    container_->SetBounds(0, 0, 21, 17);
    container_->SetParent(this);
    button_ = new TEditButton(container_, this);
    button_->SetBounds(0, 0, 21, 17);
    button_->SetParent(container_);
    constructing_ = false;
}

int TCustomComboEdit::PlatformMajorVersion() {
    return static_cast<int>(LOBYTE(LOWORD(::GetVersion())));
}

void TCustomComboEdit::SetButtonWidth(int width) {
    if (width == buttonWidth_) return;
    if (!constructing_ && width >= ClientWidthNow()) return;
    buttonWidth_ = width;
    container_->SetVisible(width > 1);
    RecreateGlyph();
    UpdateButtonPlacement();
}

void TCustomComboEdit::SetGlyphKind(TGlyphKind kind) {
    if (kind == glyphKind_) return;
    glyphKind_ = kind;
    RecreateGlyph();
    UpdateButtonPlacement();
}

void TCustomComboEdit::SetGlyph(HBITMAP glyph) {
    glyphKind_ = TGlyphKind::gkCustom;
    button_->SetGlyph(glyph);
}

void TCustomComboEdit::SetButtonHint(const std::string& hint) {
    buttonHint_ = hint;
    container_->SetProperty("ShowHint", ui::PropertyValue::Ident(ShowHint() ? "true" : "false"));
    container_->SetHint(hint);
}

void TCustomComboEdit::RecreateGlyph() {
    switch (glyphKind_) {
        case TGlyphKind::gkDefault:
            if (HBITMAP glyph = DefaultGlyph()) {
                button_->SetGlyph(glyph);
                buttonWidth_ = std::max(buttonWidth_, button_->GlyphWidth() + 6);
            }
            break;
        case TGlyphKind::gkDropDown:
            button_->SetGlyph(LoadDropDownGlyph());
            button_->SetNumGlyphs(1);
            buttonWidth_ = ::GetSystemMetrics(SM_CXVSCROLL);
            break;
        case TGlyphKind::gkEllipsis:
            button_->SetGlyph(MakeEllipsisGlyph(buttonWidth_));
            button_->SetNumGlyphs(1);
            break;
        case TGlyphKind::gkCustom:
            break;
    }
}

int TCustomComboEdit::BorderWidth() const {
    if (borderStyle_ == TEditBorderStyle::bsNone) return 0;
    return ctl3d_ ? 2 : 1;
}

int TCustomComboEdit::ClientWidthNow() const {
    if (HandleAllocated()) {
        RECT client{};
        ::GetClientRect(Handle(), &client);
        return client.right;
    }
    return Width() - 2 * BorderWidth();
}

void TCustomComboEdit::UpdateButtonPlacement() {
    const RECT r = ButtonContainerBounds(PlatformMajorVersion(), ctl3d_, borderStyle_, Width(),
                                         Height(), buttonWidth_);
    container_->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    button_->SetBounds(0, 0, container_->Width(), container_->Height());
    ApplyTextArea();
}

void TCustomComboEdit::ApplyTextArea() {
    if (!HandleAllocated() || container_ == nullptr) return;
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const int used = container_->Visible() ? container_->Width() : 0;
    RECT area = EditTextArea(client.right, client.bottom, used);
    ::SendMessageA(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&area));
}

void TCustomComboEdit::RaiseToMinimumHeight() {
    if (IsLoading()) return;
    const int least =
        MinimumEditHeight(CharHeight(static_cast<HFONT>(::GetStockObject(SYSTEM_FONT))),
                          CharHeight(Font().Handle()), ::GetSystemMetrics(SM_CYBORDER));
    if (Height() < least) SetBounds(Left(), Top(), Width(), least);
}

void TCustomComboEdit::BoundsChanged() {
    ui::TEdit::BoundsChanged();
    if (container_ == nullptr) return;  // still being constructed
    RaiseToMinimumHeight();
    UpdateButtonPlacement();
}

void TCustomComboEdit::SetReadOnly(bool on) {
    readOnly_ = on;
    if (HandleAllocated()) ::SendMessageA(Handle(), EM_SETREADONLY, on ? TRUE : FALSE, 0);
}

void TCustomComboEdit::SetCtl3D(bool on) {
    if (on == ctl3d_) return;
    ctl3d_ = on;
    RecreateWnd();
    UpdateButtonPlacement();
}

void TCustomComboEdit::SetBorderStyle(TEditBorderStyle style) {
    if (style == borderStyle_) return;
    borderStyle_ = style;
    RecreateWnd();
    UpdateButtonPlacement();
}

void TCustomComboEdit::SetOemConvert(bool on) {
    if (on == oemConvert_) return;
    oemConvert_ = on;
    RecreateWnd();
}

void TCustomComboEdit::FillCreateParams(CreateParams& params) {
    ui::TEdit::FillCreateParams(params);
    // Multi-line, so that the text area can stop short of the button; the
    // button's window is not painted over.
    params.style |= ES_MULTILINE | WS_CLIPCHILDREN;
    params.exStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    if (borderStyle_ == TEditBorderStyle::bsSingle) {
        if (ctl3d_)
            params.exStyle |= WS_EX_CLIENTEDGE;
        else
            params.style |= WS_BORDER;
    }
    if (alignment_ == ui::TAlignment::taRightJustify) params.style |= ES_RIGHT;
    if (alignment_ == ui::TAlignment::taCenter) params.style |= ES_CENTER;
    if (readOnly_) params.style |= ES_READONLY;
    if (oemConvert_) params.style |= ES_OEMCONVERT;
}

void TCustomComboEdit::HandleCreated() {
    ui::TEdit::HandleCreated();
    UpdateButtonPlacement();
}

void TCustomComboEdit::Loaded() {
    ui::TEdit::Loaded();
    UpdateButtonPlacement();
}

void TCustomComboEdit::EnabledChanged() {
    ui::TEdit::EnabledChanged();
    button_->SetEnabled(Enabled());
    Invalidate();
}

void TCustomComboEdit::TextChanged() {
    if (reflecting_ || !HandleAllocated()) {
        ui::TEdit::TextChanged();
        return;
    }
    // A multi-line edit does not report text set by the program; the change
    // is reported here when the window kept quiet.
    changeSeen_ = false;
    ui::TEdit::TextChanged();
    if (!changeSeen_) Change();
}

void TCustomComboEdit::DoClick() {
    if (!readOnly_) ButtonClick();
}

void TCustomComboEdit::ButtonClick() {
    if (OnButtonClick) OnButtonClick(this);
}

bool TCustomComboEdit::IsClickKey(UINT message, WPARAM key, LPARAM data) const {
    int shortcut = static_cast<int>(key & 0xFF);
    const bool alt =
        (message == WM_SYSKEYDOWN && (data & (1 << 29)) != 0) || ::GetKeyState(VK_MENU) < 0;
    if (alt) shortcut |= scAlt;
    if (::GetKeyState(VK_SHIFT) < 0) shortcut |= scShift;
    if (::GetKeyState(VK_CONTROL) < 0) shortcut |= scCtrl;
    return clickKey_ != 0 && shortcut == clickKey_;
}

void TCustomComboEdit::HandDialogKey(WPARAM key) {
    HWND window = TopLevelOf(Handle());
    if (window == nullptr) return;
    if (key == VK_ESCAPE) {
        ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    }
    const LRESULT def = ::SendMessageA(window, DM_GETDEFID, 0, 0);
    if (HIWORD(def) != DC_HASDEFID) return;
    const int id = LOWORD(def);
    HWND button = ::GetDlgItem(window, id);
    if (button != nullptr && ::IsWindowEnabled(button))
        ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
}

bool TCustomComboEdit::WantsTypedChar(WPARAM ch) const {
    // One line only: line breaks, tabs and Escape never become text.
    if (ch == '\r' || ch == '\n' || ch == '\t' || ch == 27) return false;
    // Copy (Ctrl+C) stays; everything that changes the text needs direct input.
    if (!directInput_ && ch != 3) return false;
    return true;
}

void TCustomComboEdit::CreateOwnCaret() {
    POINT at{};
    ::GetCaretPos(&at);
    ::CreateCaret(Handle(), nullptr, EditCaretWidth(Font().IsBold()), SmallerCharHeight(Font()));
    ::SetCaretPos(at.x, at.y);
    ::ShowCaret(Handle());
}

LRESULT TCustomComboEdit::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            // Tab, Enter and Escape stay with the window, as in a one-line edit.
            return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (IsClickKey(message, wParam, lParam) && buttonWidth_ > 0) {
                DoClick();
                return 0;
            }
            if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
                HandDialogKey(wParam);
                return 0;
            }
            if (message == WM_KEYDOWN && wParam == VK_DELETE && !directInput_) return 0;
            break;
        case WM_CHAR:
            if (!WantsTypedChar(wParam)) return 0;
            if (oemConvert_ && wParam >= 0x80 && wParam <= 0xFF) {
                // Only characters that the OEM character set can hold remain.
                char c[2] = {static_cast<char>(wParam), 0};
                ::CharToOemBuffA(c, c, 1);
                ::OemToCharBuffA(c, c, 1);
                wParam = static_cast<unsigned char>(c[0]);
            }
            break;
        case WM_CUT:
        case WM_PASTE:
        case WM_CLEAR:
            if (!directInput_ || readOnly_) return 0;
            break;
        case WM_SETTEXT: {
            // Text set from anywhere is shown in the edit's case, and, since a
            // multi-line window keeps quiet about it, reported here.
            const std::string text =
                ApplyCase(lParam != 0 ? reinterpret_cast<const char*>(lParam) : "");
            changeSeen_ = false;
            const LRESULT r =
                DefaultHandler(message, wParam, reinterpret_cast<LPARAM>(text.c_str()));
            // As a one-line edit does, every setting counts as a change.
            if (!changeSeen_) {
                LRESULT ignored = 0;
                HandleReflected(WM_COMMAND, MAKEWPARAM(ControlId(), EN_CHANGE),
                                reinterpret_cast<LPARAM>(Handle()), ignored);
            }
            return r;
        }
        case WM_LBUTTONDOWN: {
            mouseEntry_ = true;
            const LRESULT r = DefaultHandler(message, wParam, lParam);
            mouseEntry_ = false;
            return r;
        }
        case WM_SETFOCUS: {
            const LRESULT r = DefaultHandler(message, wParam, lParam);
            CreateOwnCaret();
            if (!mouseEntry_ && directInput_) ::SendMessageA(Handle(), EM_SETSEL, 0, -1);
            return r;
        }
        case WM_SIZE:
        case WM_SETFONT: {
            // The platform resets the text area to the whole client area.
            const LRESULT r = DefaultHandler(message, wParam, lParam);
            ApplyTextArea();
            return r;
        }
        default:
            break;
    }
    return ui::TEdit::WndProc(message, wParam, lParam);
}

bool TCustomComboEdit::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT& result) {
    switch (message) {
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            const bool grey = !Enabled() && Color() != ui::clGrayText;
            ::SetTextColor(dc, ui::ColorToRGB(grey ? ui::clGrayText : Font().Color()));
            ::SetBkColor(dc, ui::ColorToRGB(Color()));
            result = reinterpret_cast<LRESULT>(BackgroundBrush());
            return true;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == EN_CHANGE) {
                changeSeen_ = true;
                reflecting_ = true;
                struct Reset {
                    bool& flag;
                    ~Reset() { flag = false; }
                } reset{reflecting_};
                return ui::TEdit::HandleReflected(message, wParam, lParam, result);
            }
            break;
        default:
            break;
    }
    return ui::TEdit::HandleReflected(message, wParam, lParam, result);
}

bool TCustomComboEdit::SetProperty(const std::string& name, const ui::PropertyValue& value) {
    if (name == "ButtonWidth") {
        SetButtonWidth(value.AsInt(name));
    } else if (name == "GlyphKind") {
        const std::string& k = value.AsIdent(name);
        if (k == "gkCustom")
            SetGlyphKind(TGlyphKind::gkCustom);
        else if (k == "gkDefault")
            SetGlyphKind(TGlyphKind::gkDefault);
        else if (k == "gkDropDown")
            SetGlyphKind(TGlyphKind::gkDropDown);
        else if (k == "gkEllipsis")
            SetGlyphKind(TGlyphKind::gkEllipsis);
        else
            throw ui::EResourceError("Unknown glyph kind " + k);
    } else if (name == "NumGlyphs") {
        SetNumGlyphs(value.AsInt(name));
    } else if (name == "ButtonHint") {
        SetButtonHint(value.AsText(name));
    } else if (name == "ClickKey") {
        SetClickKey(value.AsInt(name));
    } else if (name == "DirectInput") {
        SetDirectInput(value.AsBool(name));
    } else if (name == "ReadOnly") {
        SetReadOnly(value.AsBool(name));
    } else if (name == "Ctl3D") {
        SetCtl3D(value.AsBool(name));
    } else if (name == "BorderStyle") {
        const std::string& s = value.AsIdent(name);
        if (s == "bsSingle")
            SetBorderStyle(TEditBorderStyle::bsSingle);
        else if (s == "bsNone")
            SetBorderStyle(TEditBorderStyle::bsNone);
        else
            throw ui::EResourceError("Unknown border style " + s);
    } else if (name == "Alignment") {
        const std::string& a = value.AsIdent(name);
        if (a == "taLeftJustify")
            alignment_ = ui::TAlignment::taLeftJustify;
        else if (a == "taRightJustify")
            alignment_ = ui::TAlignment::taRightJustify;
        else if (a == "taCenter")
            alignment_ = ui::TAlignment::taCenter;
        else
            throw ui::EResourceError("Unknown alignment " + a);
        RecreateWnd();
    } else {
        return ui::TEdit::SetProperty(name, value);
    }
    return true;
}

bool TCustomComboEdit::SetEvent(const std::string& event, const std::any& handler) {
    if (event == "OnButtonClick") {
        OnButtonClick = std::any_cast<ui::TNotifyEvent>(handler);
        return true;
    }
    return ui::TEdit::SetEvent(event, handler);
}

}  // namespace controls
