#include "ui/std_controls.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/exceptions.h"
#include "ui/form.h"

namespace ui {

// ------------------------------------------------------------------ TLabel

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 17); }

bool TLabel::SetProperty(const std::string& name, const PropertyValue& value) {
    if (name == "Alignment") {
        const std::string& a = value.AsIdent(name);
        if (a == "taLeftJustify")
            alignment_ = TAlignment::taLeftJustify;
        else if (a == "taRightJustify")
            alignment_ = TAlignment::taRightJustify;
        else if (a == "taCenter")
            alignment_ = TAlignment::taCenter;
        else
            throw EResourceError("Unknown alignment " + a);
        Invalidate();
    } else if (name == "Transparent") {
        transparent_ = value.AsBool(name);
        Invalidate();
    } else if (name == "FocusControl") {
        focusControlName_ = value.AsIdent(name);
    } else if (name == "AutoSize") {
        autoSize_ = value.AsBool(name);
        AdjustSize();
    } else if (name == "WordWrap") {
        wordWrap_ = value.AsBool(name);
        AdjustSize();
    } else {
        return TGraphicControl::SetProperty(name, value);
    }
    return true;
}

TWinControl* FindFocusControl(const TControl& label, const std::string& name) {
    TComponent* owner = label.Owner();
    auto* control =
        dynamic_cast<TWinControl*>(owner != nullptr ? owner->FindComponent(name) : nullptr);
    if (control == nullptr)
        throw EResourceError("FocusControl " + name + " of " + label.Name() + " not found");
    return control;
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    if (!focusControlName_.empty()) {
        SetFocusControl(FindFocusControl(*this, focusControlName_));
        focusControlName_.clear();
    }
    AdjustSize();
}

void TLabel::SetFocusControl(TWinControl* control) {
    if (focusControl_ != nullptr && focusControl_ != control) RemoveFreeNotification(focusControl_);
    focusControl_ = control;
    if (control != nullptr) FreeNotification(control);
}

void TLabel::Notification(TComponent* component, Operation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == Operation::Remove && component == focusControl_) focusControl_ = nullptr;
}

bool TLabel::DialogChar(char key) {
    if (focusControl_ == nullptr || !Enabled() || !IsAccelerator(key, Caption()) ||
        !focusControl_->CanFocus())
        return false;
    focusControl_->SetFocus();
    return true;
}

void TLabel::TextChanged() {
    Invalidate();
    AdjustSize();
}

void TLabel::FontChanged() {
    Invalidate();
    AdjustSize();
}

void TLabel::AdjustSize() {
    if (!autoSize_ || IsLoading()) return;
    ScopedGetDC screen(nullptr);
    SelectObjectScope select(screen.Get(), Font().Handle());
    RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
    const std::string text = Caption().empty() ? std::string(" ") : Caption();
    ::DrawTextA(screen.Get(), text.c_str(), -1, &r,
                DT_CALCRECT | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0));
    int left = Left();
    if (alignment_ == TAlignment::taRightJustify) left = Left() + Width() - r.right;
    SetBounds(left, Top(), r.right, r.bottom);
}

void TLabel::Paint(HDC dc) {
    RECT r = ClientRect();
    if (!transparent_) {
        ScopedBrush brush(::CreateSolidBrush(ColorToRGB(Color())));
        ::FillRect(dc, &r, brush.Get());
    }
    SelectObjectScope select(dc, Font().Handle());
    ::SetBkMode(dc, TRANSPARENT);
    UINT flags = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0);
    if (alignment_ == TAlignment::taRightJustify) flags |= DT_RIGHT;
    if (alignment_ == TAlignment::taCenter) flags |= DT_CENTER;
    if (Enabled()) {
        ::SetTextColor(dc, ColorToRGB(Font().Color()));
        ::DrawTextA(dc, Caption().c_str(), -1, &r, flags);
    } else {
        // Engraved: highlight one pixel lower right, grey text on top.
        RECT shadow = r;
        ::OffsetRect(&shadow, 1, 1);
        ::SetTextColor(dc, ColorToRGB(clBtnHighlight));
        ::DrawTextA(dc, Caption().c_str(), -1, &shadow, flags);
        ::SetTextColor(dc, ColorToRGB(clGrayText));
        ::DrawTextA(dc, Caption().c_str(), -1, &r, flags);
    }
}

// ------------------------------------------------------------------ TBevel

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 50, 50); }

bool TBevel::SetProperty(const std::string& name, const PropertyValue& value) {
    if (name == "Shape") {
        const std::string& s = value.AsIdent(name);
        if (s == "bsBox")
            shape_ = Shape::bsBox;
        else if (s == "bsFrame")
            shape_ = Shape::bsFrame;
        else if (s == "bsTopLine")
            shape_ = Shape::bsTopLine;
        else if (s == "bsBottomLine")
            shape_ = Shape::bsBottomLine;
        else if (s == "bsLeftLine")
            shape_ = Shape::bsLeftLine;
        else if (s == "bsRightLine")
            shape_ = Shape::bsRightLine;
        else if (s == "bsSpacer")
            shape_ = Shape::bsSpacer;
        else
            throw EResourceError("Unknown bevel shape " + s);
    } else if (name == "Style") {
        raised_ = value.AsIdent(name) == "bsRaised";
    } else {
        return TGraphicControl::SetProperty(name, value);
    }
    Invalidate();
    return true;
}

void TBevel::Paint(HDC dc) {
    const COLORREF dark = ColorToRGB(clBtnShadow);
    const COLORREF light = ColorToRGB(clBtnHighlight);
    const COLORREF first = raised_ ? light : dark;
    const COLORREF second = raised_ ? dark : light;
    const int w = Width(), h = Height();
    auto line = [dc](int x1, int y1, int x2, int y2, COLORREF c) {
        ScopedPen pen(::CreatePen(PS_SOLID, 1, c));
        SelectObjectScope select(dc, pen.Get());
        ::MoveToEx(dc, x1, y1, nullptr);
        ::LineTo(dc, x2, y2);
    };
    switch (shape_) {
        case Shape::bsBottomLine:
            line(0, h - 2, w, h - 2, first);
            line(0, h - 1, w, h - 1, second);
            break;
        case Shape::bsTopLine:
            line(0, 0, w, 0, first);
            line(0, 1, w, 1, second);
            break;
        case Shape::bsLeftLine:
            line(0, 0, 0, h, first);
            line(1, 0, 1, h, second);
            break;
        case Shape::bsRightLine:
            line(w - 2, 0, w - 2, h, first);
            line(w - 1, 0, w - 1, h, second);
            break;
        case Shape::bsBox:
        case Shape::bsFrame:
            line(0, 0, w - 1, 0, first);
            line(0, 0, 0, h - 1, first);
            line(w - 1, 0, w - 1, h, second);
            line(0, h - 1, w, h - 1, second);
            break;
        case Shape::bsSpacer:
            break;
    }
}

// ----------------------------------------------------------------- TButton

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 75, 25);
    SetProperty("TabStop", PropertyValue::Ident("true"));
}

void TButton::FillCreateParams(CreateParams& params) {
    TWinControl::FillCreateParams(params);
    params.className = "BUTTON";
    params.style |= WS_TABSTOP | (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

bool TButton::SetProperty(const std::string& name, const PropertyValue& value) {
    if (name == "Default") {
        default_ = value.AsBool(name);
    } else if (name == "Cancel") {
        cancel_ = value.AsBool(name);
    } else if (name == "ModalResult") {
        const PropertyValue& v = value;
        if (v.kind == PropertyValue::Kind::Integer) {
            modalResult_ = v.AsInt(name);
        } else {
            static const struct {
                const char* name;
                int value;
            } kResults[] = {{"mrNone", mrNone},   {"mrOk", mrOk},       {"mrCancel", mrCancel},
                            {"mrAbort", mrAbort}, {"mrRetry", mrRetry}, {"mrIgnore", mrIgnore},
                            {"mrYes", mrYes},     {"mrNo", mrNo}};
            bool found = false;
            for (const auto& r : kResults) {
                if (v.AsIdent(name) == r.name) {
                    modalResult_ = r.value;
                    found = true;
                }
            }
            if (!found) throw EResourceError("Unknown modal result " + v.text);
        }
    } else {
        return TWinControl::SetProperty(name, value);
    }
    return true;
}

void TButton::Click() {
    if (modalResult_ != mrNone) {
        if (TForm* form = ParentForm()) form->SetModalResult(modalResult_);
    }
    TWinControl::Click();
}

bool TButton::HandleReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        Click();
        result = 0;
        return true;
    }
    return false;
}

// ----------------------------------------------------------------- TBitBtn

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::SetKind(Kind kind) {
    kind_ = kind;
    switch (kind) {
        case Kind::bkOK:
            default_ = true;
            modalResult_ = mrOk;
            break;
        case Kind::bkCancel:
            cancel_ = true;
            modalResult_ = mrCancel;
            break;
        case Kind::bkAbort:
            modalResult_ = mrAbort;
            break;
        case Kind::bkNo:
            cancel_ = true;
            modalResult_ = mrNo;
            break;
        case Kind::bkYes:
            default_ = true;
            modalResult_ = mrYes;
            break;
        case Kind::bkClose:
        case Kind::bkCustom:
            break;
    }
    Invalidate();
}

bool TBitBtn::SetProperty(const std::string& name, const PropertyValue& value) {
    if (name == "Kind") {
        const std::string& k = value.AsIdent(name);
        if (k == "bkOK")
            SetKind(Kind::bkOK);
        else if (k == "bkCancel")
            SetKind(Kind::bkCancel);
        else if (k == "bkAbort")
            SetKind(Kind::bkAbort);
        else if (k == "bkNo")
            SetKind(Kind::bkNo);
        else if (k == "bkYes")
            SetKind(Kind::bkYes);
        else if (k == "bkClose")
            SetKind(Kind::bkClose);
        else if (k == "bkCustom")
            SetKind(Kind::bkCustom);
        else
            throw EResourceError("Unknown button kind " + k);
        return true;
    }
    return TButton::SetProperty(name, value);
}

void TBitBtn::FillCreateParams(CreateParams& params) {
    TButton::FillCreateParams(params);
    params.style = (params.style & ~(BS_DEFPUSHBUTTON | BS_PUSHBUTTON)) | BS_OWNERDRAW;
}

namespace {

// The kind's picture, about 16 pixels square, centred on (cx, cy).
void DrawKindGlyph(HDC dc, TBitBtn::Kind kind, int cx, int cy, bool enabled) {
    COLORREF colour = RGB(0, 128, 0);
    if (kind == TBitBtn::Kind::bkAbort || kind == TBitBtn::Kind::bkNo ||
        kind == TBitBtn::Kind::bkCancel)
        colour = RGB(192, 0, 0);
    if (!enabled) colour = ColorToRGB(clGrayText);
    ScopedPen pen(::CreatePen(PS_SOLID, 3, colour));
    SelectObjectScope selectPen(dc, pen.Get());
    SelectObjectScope selectBrush(dc, ::GetStockObject(NULL_BRUSH));
    switch (kind) {
        case TBitBtn::Kind::bkOK:
        case TBitBtn::Kind::bkYes: {
            POINT tick[] = {{cx - 6, cy}, {cx - 2, cy + 5}, {cx + 6, cy - 5}};
            ::Polyline(dc, tick, 3);
            break;
        }
        case TBitBtn::Kind::bkAbort:
        case TBitBtn::Kind::bkCancel:
            ::MoveToEx(dc, cx - 5, cy - 5, nullptr);
            ::LineTo(dc, cx + 5, cy + 5);
            ::MoveToEx(dc, cx + 5, cy - 5, nullptr);
            ::LineTo(dc, cx - 5, cy + 5);
            break;
        case TBitBtn::Kind::bkNo:
            ::Ellipse(dc, cx - 7, cy - 7, cx + 7, cy + 7);
            ::MoveToEx(dc, cx - 4, cy + 4, nullptr);
            ::LineTo(dc, cx + 4, cy - 4);
            break;
        default:
            break;
    }
}

}  // namespace

void TBitBtn::DrawFace(HDC dc, const RECT& rect, bool pressed, bool focused, bool isDefault) const {
    RECT r = rect;
    ScopedBrush face(::CreateSolidBrush(ColorToRGB(clBtnFace)));
    ::FillRect(dc, &r, face.Get());
    if (isDefault) {
        ScopedBrush black(::CreateSolidBrush(RGB(0, 0, 0)));
        ::FrameRect(dc, &r, black.Get());
        ::InflateRect(&r, -1, -1);
    }
    if (pressed) {
        ScopedBrush shadow(::CreateSolidBrush(ColorToRGB(clBtnShadow)));
        ::FrameRect(dc, &r, shadow.Get());
    } else {
        ::DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
    }
    const int offset = pressed ? 1 : 0;
    SelectObjectScope select(dc, Font().Handle());
    ::SetBkMode(dc, TRANSPARENT);
    SIZE text{0, 0};
    ::GetTextExtentPoint32A(dc, Caption().c_str(), static_cast<int>(Caption().size()), &text);
    const bool hasGlyph = kind_ != Kind::bkCustom && kind_ != Kind::bkClose;
    const int glyph = hasGlyph ? 18 : 0;
    const int spacing = hasGlyph ? 4 : 0;
    const int total = glyph + spacing + text.cx;
    const int left = rect.left + (rect.right - rect.left - total) / 2 + offset;
    const int middle = rect.top + (rect.bottom - rect.top) / 2 + offset;
    if (hasGlyph) DrawKindGlyph(dc, kind_, left + glyph / 2, middle, Enabled());
    RECT textRect{left + glyph + spacing, rect.top + offset, left + total + 1,
                  rect.bottom + offset};
    if (Enabled()) {
        ::SetTextColor(dc, ColorToRGB(clBtnText));
        ::DrawTextA(dc, Caption().c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    } else {
        RECT shadow = textRect;
        ::OffsetRect(&shadow, 1, 1);
        ::SetTextColor(dc, ColorToRGB(clBtnHighlight));
        ::DrawTextA(dc, Caption().c_str(), -1, &shadow, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        ::SetTextColor(dc, ColorToRGB(clBtnShadow));
        ::DrawTextA(dc, Caption().c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    }
    if (focused) {
        RECT focus = rect;
        ::InflateRect(&focus, -4, -4);
        ::DrawFocusRect(dc, &focus);
    }
}

bool TBitBtn::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_DRAWITEM) {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        const bool pressed = (item->itemState & ODS_SELECTED) != 0;
        const bool focused = (item->itemState & ODS_FOCUS) != 0;
        // The default button shows its frame while no other button has the focus.
        HWND focus = ::GetFocus();
        TWinControl* focusedControl = focus != nullptr ? FromHandle(focus) : nullptr;
        const bool otherButtonFocused = focusedControl != nullptr && focusedControl != this &&
                                        focusedControl->InheritsFrom("TButton");
        const bool showDefault = focused || (default_ && !otherButtonFocused);
        const RECT r = item->rcItem;
        const int w = r.right - r.left, h = r.bottom - r.top;
        MemoryDC memory(item->hDC);
        ScopedBitmap bitmap(::CreateCompatibleBitmap(item->hDC, w, h));
        SelectObjectScope select(memory.Get(), bitmap.Get());
        DrawFace(memory.Get(), RECT{0, 0, w, h}, pressed, focused, showDefault);
        ::BitBlt(item->hDC, r.left, r.top, w, h, memory.Get(), 0, 0, SRCCOPY);
        result = TRUE;
        return true;
    }
    return TButton::HandleReflected(message, wParam, lParam, result);
}

// --------------------------------------------------------------- TCheckBox

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 97, 17);
    SetProperty("TabStop", PropertyValue::Ident("true"));
}

void TCheckBox::FillCreateParams(CreateParams& params) {
    TWinControl::FillCreateParams(params);
    params.className = "BUTTON";
    params.style |= BS_AUTOCHECKBOX | WS_TABSTOP;
}

void TCheckBox::HandleCreated() {
    TWinControl::HandleCreated();
    ::SendMessageA(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::HandleDestroying() { checked_ = Checked(); }

bool TCheckBox::Checked() const {
    if (HandleAllocated()) return ::SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
    return checked_;
}

void TCheckBox::SetChecked(bool checked) {
    checked_ = checked;
    if (HandleAllocated())
        ::SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCheckBox::SetProperty(const std::string& name, const PropertyValue& value) {
    if (name == "Checked") {
        SetChecked(value.AsBool(name));
        return true;
    }
    return TWinControl::SetProperty(name, value);
}

bool TCheckBox::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkColor(dc, ColorToRGB(Color()));
        ::SetTextColor(dc, ColorToRGB(Font().Color()));
        result = reinterpret_cast<LRESULT>(BackgroundBrush());
        return true;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        checked_ = Checked();
        Click();
        result = 0;
        return true;
    }
    return TWinControl::HandleReflected(message, wParam, lParam, result);
}

// ------------------------------------------------------------------- TMemo

TMemo::TMemo(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 185, 89);
    SetProperty("TabStop", PropertyValue::Ident("true"));
    color_ = clWindow;
    parentColor_ = false;
}

void TMemo::FillCreateParams(CreateParams& params) {
    TWinControl::FillCreateParams(params);
    params.className = "EDIT";
    params.exStyle |= WS_EX_CLIENTEDGE;
    params.style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_TABSTOP;
    if (readOnly_) params.style |= ES_READONLY;
    if (wantReturns_) params.style |= ES_WANTRETURN;
    if (vertical_) params.style |= WS_VSCROLL;
    if (horizontal_) params.style |= WS_HSCROLL;
    if (!wordWrap_) params.style |= ES_AUTOHSCROLL;
}

std::vector<std::string> TMemo::Lines() const {
    std::vector<std::string> lines;
    const std::string text = WindowText();
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            if (start < text.size()) lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

void TMemo::SetLines(const std::vector<std::string>& lines) {
    // Line breaks between the lines, not after the last: one there would
    // show as an empty line of its own below them.
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i > 0 ? "\r\n" : "") + lines[i];
    SetCaption(text);
}

bool TMemo::SetProperty(const std::string& name, const PropertyValue& value) {
    if (name == "ReadOnly") {
        readOnly_ = value.AsBool(name);
    } else if (name == "WordWrap") {
        wordWrap_ = value.AsBool(name);
    } else if (name == "WantTabs") {
        wantTabs_ = value.AsBool(name);
    } else if (name == "WantReturns") {
        wantReturns_ = value.AsBool(name);
    } else if (name == "ScrollBars") {
        const std::string& s = value.AsIdent(name);
        vertical_ = s == "ssVertical" || s == "ssBoth";
        horizontal_ = s == "ssHorizontal" || s == "ssBoth";
    } else if (name == "Lines") {
        SetLines(value.AsTextList(name));
    } else {
        return TWinControl::SetProperty(name, value);
    }
    return true;
}

bool TMemo::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_CTLCOLORSTATIC || message == WM_CTLCOLOREDIT) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkColor(dc, ColorToRGB(Color()));
        ::SetTextColor(dc, ColorToRGB(Font().Color()));
        result = reinterpret_cast<LRESULT>(BackgroundBrush());
        return true;
    }
    return TWinControl::HandleReflected(message, wParam, lParam, result);
}

LRESULT TMemo::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) {
        // A multi-line edit asks for every key, Escape included, which it
        // would turn into a close request for the window. The memo keeps the
        // arrows, the page keys and its characters; Tab, Enter and Escape go
        // to the form unless the memo wants them.
        LRESULT code = DefaultHandler(message, wParam, lParam) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
        if (wantTabs_) code |= DLGC_WANTTAB;
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (wantReturns_ && msg != nullptr && msg->message == WM_KEYDOWN &&
            msg->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    return TWinControl::WndProc(message, wParam, lParam);
}

// ------------------------------------------------------------------- TEdit

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 21);
    SetProperty("TabStop", PropertyValue::Ident("true"));
    color_ = clWindow;
    parentColor_ = false;
}

void TEdit::FillCreateParams(CreateParams& params) {
    TWinControl::FillCreateParams(params);
    params.className = "EDIT";
    params.exStyle |= WS_EX_CLIENTEDGE;
    params.style |= ES_AUTOHSCROLL | WS_TABSTOP;
    if (charCase_ == CharCase::ecUpperCase) params.style |= ES_UPPERCASE;
    if (charCase_ == CharCase::ecLowerCase) params.style |= ES_LOWERCASE;
}

std::string TEdit::ApplyCase(const std::string& text) const {
    std::string out = text;
    if (out.empty()) return out;
    if (charCase_ == CharCase::ecUpperCase)
        ::CharUpperBuffA(out.data(), static_cast<DWORD>(out.size()));
    if (charCase_ == CharCase::ecLowerCase)
        ::CharLowerBuffA(out.data(), static_cast<DWORD>(out.size()));
    return out;
}

void TEdit::SetText(const std::string& text) { SetCaption(ApplyCase(text)); }

void TEdit::TextChanged() {
    if (readingWindow_) return;
    if (HandleAllocated()) {
        // The window reports the change back through EN_CHANGE.
        ::SetWindowTextA(Handle(), Caption().c_str());
    } else {
        Change();
    }
}

void TEdit::Change() {
    if (OnChange && !IsLoading()) OnChange(this);
}

bool TEdit::SetProperty(const std::string& name, const PropertyValue& value) {
    if (name == "CharCase") {
        const std::string& c = value.AsIdent(name);
        if (c == "ecUpperCase")
            charCase_ = CharCase::ecUpperCase;
        else if (c == "ecLowerCase")
            charCase_ = CharCase::ecLowerCase;
        else if (c == "ecNormal")
            charCase_ = CharCase::ecNormal;
        else
            throw EResourceError("Unknown character case " + c);
        SetCaption(ApplyCase(Caption()));
        return true;
    }
    if (name == "Text") {
        SetText(value.AsText(name));
        return true;
    }
    return TWinControl::SetProperty(name, value);
}

bool TEdit::SetEvent(const std::string& event, const std::any& handler) {
    if (event == "OnChange") {
        OnChange = std::any_cast<TNotifyEvent>(handler);
        return true;
    }
    return TWinControl::SetEvent(event, handler);
}

bool TEdit::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        readingWindow_ = true;
        SetCaption(WindowText());
        readingWindow_ = false;
        Change();
        result = 0;
        return true;
    }
    return TWinControl::HandleReflected(message, wParam, lParam, result);
}

// ------------------------------------------------------------ registration

void RegisterStandardClasses() {
    RegisterComponentClass("TLabel", [](TComponent* o) { return new TLabel(o); });
    RegisterComponentClass("TBevel", [](TComponent* o) { return new TBevel(o); });
    RegisterComponentClass("TButton", [](TComponent* o) { return new TButton(o); });
    RegisterComponentClass("TBitBtn", [](TComponent* o) { return new TBitBtn(o); });
    RegisterComponentClass("TCheckBox", [](TComponent* o) { return new TCheckBox(o); });
    RegisterComponentClass("TMemo", [](TComponent* o) { return new TMemo(o); });
    RegisterComponentClass("TEdit", [](TComponent* o) { return new TEdit(o); });
}

}  // namespace ui
