#include "ui/control.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>

#include "ui/application.h"
#include "ui/exceptions.h"
#include "ui/form.h"
#include "ui/menus.h"
#include "ui/palette.h"

namespace ui {
namespace {

const char kControlProperty[] = "QuarnelControl";

// The window whose windowless child last had the mouse over it.
TWinControl* g_hoverWindow = nullptr;

bool Intersects(const RECT& a, const RECT& b) {
    RECT out;
    return ::IntersectRect(&out, &a, &b) != FALSE;
}

}  // namespace

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {
    font_.OnChange = [this] { FontChangedInternal(); };
}

TControl::~TControl() {
    dragging::ControlGone(this);
    if (parent_ != nullptr) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent_ != nullptr) parent_->RemoveControl(this);
    if (parent != nullptr) parent->InsertControl(this);
}

TForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c != nullptr) {
        if (c->InheritsFrom("TForm")) return static_cast<TForm*>(const_cast<TControl*>(c));
        c = c->parent_;
    }
    return nullptr;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    Invalidate();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    BoundsChanged();
    Invalidate();
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    if (!visible) Invalidate();
    visible_ = visible;
    VisibleChanged();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    EnabledChanged();
}

void TControl::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    TextChanged();
}

void TControl::SetColor(TColor color) {
    parentColor_ = false;
    if (color == color_) return;
    color_ = color;
    ColorChanged();
}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    align_ = align;
    RequestAlign();
}

void TControl::RequestAlign() {
    if (align_ == TAlign::alClient && parent_ != nullptr) {
        const RECT r = parent_->ClientRect();
        SetBounds(0, 0, r.right - r.left, r.bottom - r.top);
    }
}

void TControl::FontChangedInternal() {
    if (!settingParentFont_) parentFont_ = false;
    FontChanged();
    if (auto* self = dynamic_cast<TWinControl*>(this)) {
        for (TControl* child : self->Controls()) child->ParentFontChanged();
    }
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || parent_ == nullptr) return;
    settingParentFont_ = true;
    font_ = parent_->Font();
    settingParentFont_ = false;
}

void TControl::ParentColorChanged() {
    if (!parentColor_ || parent_ == nullptr) return;
    if (color_ == parent_->Color()) return;
    color_ = parent_->Color();
    ColorChanged();
}

void TControl::Invalidate() {}
void TControl::Repaint() {}

void TControl::FocusChanged(TWinControl*) {}

bool TControl::DialogChar(char) { return false; }

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    // The link to an earlier menu stays: the menu may still name this
    // control as its popup component and must hear when it goes.
    popupMenu_ = menu;
    if (menu != nullptr) FreeNotification(menu);
}

void TControl::Notification(TComponent* component, Operation operation) {
    TComponent::Notification(component, operation);
    if (operation == Operation::Remove && component == popupMenu_) popupMenu_ = nullptr;
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (!popupMenuName_.empty()) {
        SetPopupMenu(FindPopupMenu(*this, popupMenuName_));
        popupMenuName_.clear();
    }
}

bool TControl::SetPopupMenuProperty(const std::string& name, const PropertyValue& value) {
    if (name != "PopupMenu") return false;
    popupMenuName_ = value.AsIdent(name);
    return true;
}

void TControl::BeginDrag(bool immediate, int threshold) {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    dragging::Begin(this, immediate, threshold, cursor);
}

void TControl::EndDrag(bool drop) { dragging::End(this, drop); }

void TControl::DoStartDrag() {
    if (OnStartDrag) OnStartDrag(this);
}

void TControl::DoEndDrag(TControl* target, int x, int y) {
    if (OnEndDrag) OnEndDrag(this, target, x, y);
}

bool TControl::DragOver(TControl* source, int x, int y, TDragState state) {
    if (!OnDragOver) return false;
    bool accept = true;
    OnDragOver(this, source, x, y, state, accept);
    return accept;
}

void TControl::DragDrop(TControl* source, int x, int y) {
    if (OnDragDrop) OnDragDrop(this, source, x, y);
}

bool TControl::SetDragProperty(const std::string& name, const PropertyValue& value) {
    if (name == "DragMode") {
        const std::string& mode = value.AsIdent(name);
        if (mode == "dmManual")
            dragMode_ = TDragMode::dmManual;
        else if (mode == "dmAutomatic")
            dragMode_ = TDragMode::dmAutomatic;
        else
            throw EResourceError("Unknown drag mode " + mode);
    } else if (name == "DragCursor") {
        dragCursor_ = CursorFromValue(name, value);
    } else {
        return false;
    }
    return true;
}

bool TControl::SetDragEvent(const std::string& event, const std::any& handler) {
    if (event == "OnStartDrag")
        OnStartDrag = std::any_cast<TStartDragEvent>(handler);
    else if (event == "OnDragOver")
        OnDragOver = std::any_cast<TDragOverEvent>(handler);
    else if (event == "OnDragDrop")
        OnDragDrop = std::any_cast<TDragDropEvent>(handler);
    else if (event == "OnEndDrag")
        OnEndDrag = std::any_cast<TEndDragEvent>(handler);
    else
        return false;
    return true;
}

bool TControl::SetEvent(const std::string& event, const std::any& handler) {
    if (event == "OnClick") {
        OnClick = std::any_cast<TNotifyEvent>(handler);
        return true;
    }
    return false;
}

bool TControl::SetProperty(const std::string& name, const PropertyValue& value) {
    if (name == "Left") {
        SetBounds(value.AsInt(name), top_, width_, height_);
    } else if (name == "Top") {
        SetBounds(left_, value.AsInt(name), width_, height_);
    } else if (name == "Width") {
        SetBounds(left_, top_, value.AsInt(name), height_);
    } else if (name == "Height") {
        SetBounds(left_, top_, width_, value.AsInt(name));
    } else if (name == "Caption" || name == "Text") {
        SetCaption(value.AsText(name));
    } else if (name == "Visible") {
        SetVisible(value.AsBool(name));
    } else if (name == "Enabled") {
        SetEnabled(value.AsBool(name));
    } else if (name == "Hint") {
        SetHint(value.AsText(name));
    } else if (name == "ShowHint") {
        showHint_ = value.AsBool(name);
    } else if (name == "ParentShowHint") {
        // Hints are shown per control; the parent's setting is not consulted.
    } else if (SetFontProperty(font_, name, value)) {
        // Font.Name, Font.Height, Font.Color, Font.Charset, Font.Style
    } else if (name == "ParentFont") {
        parentFont_ = value.AsBool(name);
        if (parentFont_) ParentFontChanged();
    } else if (name == "Color") {
        SetColor(ColorFromValue(name, value));
    } else if (name == "ParentColor") {
        parentColor_ = value.AsBool(name);
        if (parentColor_) ParentColorChanged();
    } else if (name == "Align") {
        const std::string& a = value.AsIdent(name);
        if (a == "alClient")
            SetAlign(TAlign::alClient);
        else if (a == "alNone")
            SetAlign(TAlign::alNone);
        else
            throw EResourceError("Unsupported alignment " + a);
    } else {
        return TComponent::SetProperty(name, value);
    }
    return true;
}

bool TControl::GetIntProperty(const std::string& name, int& value) const {
    if (name == "Left")
        value = left_;
    else if (name == "Top")
        value = top_;
    else if (name == "Width")
        value = width_;
    else if (name == "Height")
        value = height_;
    else
        return TComponent::GetIntProperty(name, value);
    return true;
}

// --------------------------------------------------------- TGraphicControl

void TGraphicControl::Invalidate() {
    TWinControl* p = Parent();
    if (p != nullptr && p->HandleAllocated() && Visible()) {
        const RECT r = BoundsRect();
        ::InvalidateRect(p->Handle(), &r, FALSE);
    }
}

void TGraphicControl::Repaint() {
    TWinControl* p = Parent();
    if (p == nullptr || !p->HandleAllocated() || !Visible() || !::IsWindowVisible(p->Handle()))
        return;
    if ((ControlStyle() & csOpaque) != 0) {
        // It covers its whole rectangle: composed and copied to the window
        // straight away, with whatever lies over it.
        p->PaintAreaNow(BoundsRect());
    } else {
        // What shows through it, and what it covered before it shrank or
        // moved (a status line's longer text), is the window's to paint:
        // the window's invalid part is painted now, without the message loop.
        Invalidate();
        ::UpdateWindow(p->Handle());
    }
}

void TGraphicControl::BoundsChanged() {}

void TGraphicControl::VisibleChanged() {
    TWinControl* p = Parent();
    if (p != nullptr && p->HandleAllocated()) {
        const RECT r = BoundsRect();
        ::InvalidateRect(p->Handle(), &r, FALSE);
    }
}

void TGraphicControl::MouseDown(int button, int x, int y) {
    if (button == 0) pressed_ = true;
    if (OnMouseDown) OnMouseDown(this, button, x, y);
}

void TGraphicControl::MouseUp(int button, int x, int y) {
    if (button == 0 && pressed_) {
        pressed_ = false;
        if (x >= 0 && y >= 0 && x < Width() && y < Height()) Click();
    }
    if (OnMouseUp) OnMouseUp(this, button, x, y);
}

void TGraphicControl::MouseMove(int x, int y) {
    if (OnMouseMove) OnMouseMove(this, x, y);
}

void TGraphicControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

bool TGraphicControl::SetEvent(const std::string& event, const std::any& handler) {
    if (event == "OnDblClick")
        OnDblClick = std::any_cast<TNotifyEvent>(handler);
    else if (event == "OnMouseDown")
        OnMouseDown = std::any_cast<TMouseEvent>(handler);
    else if (event == "OnMouseUp")
        OnMouseUp = std::any_cast<TMouseEvent>(handler);
    else if (event == "OnMouseMove")
        OnMouseMove = std::any_cast<TMouseMoveEvent>(handler);
    else
        return TControl::SetEvent(event, handler);
    return true;
}

// ------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    MarkDestroying();
    if (g_hoverWindow == this) g_hoverWindow = nullptr;
    // Children that belong to this window but are owned elsewhere let go of it.
    std::vector<TControl*> children = controls_;
    for (TControl* c : children) RemoveControl(c);
    DestroyHandle();
    if (tooltip_ != nullptr) ::DestroyWindow(tooltip_);
}

TWinControl* TWinControl::FromHandle(HWND window) {
    return static_cast<TWinControl*>(::GetPropA(window, kControlProperty));
}

const char* TWinControl::OwnClassName() {
    static const char kName[] = "QuarnelWindow";
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &TWinControl::StaticWndProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.cbWndExtra = DLGWINDOWEXTRA;  // lets the dialog manager keep its focus data
        wc.lpszClassName = kName;
        ::RegisterClassA(&wc);
        registered = true;
    }
    return kName;
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    control->ParentFontChanged();
    control->ParentColorChanged();
    control->RequestAlign();
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        if (HandleAllocated()) w->HandleNeeded();
    } else {
        control->Invalidate();
    }
}

void TWinControl::RemoveControl(TControl* control) {
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end()) return;
    control->Invalidate();
    controls_.erase(it);
    if (mouseControl_ == control) mouseControl_ = nullptr;
    if (hoverControl_ == control) {
        hoverControl_ = nullptr;
        if (g_hoverWindow == this) g_hoverWindow = nullptr;
    }
    control->parent_ = nullptr;
    if (auto* w = dynamic_cast<TWinControl*>(control)) w->DestroyHandle();
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        const RECT r = c->BoundsRect();
        if (c->Visible() && (allowDisabled || c->Enabled()) && ::PtInRect(&r, p)) return c;
    }
    return nullptr;
}

bool TWinControl::CanFocus() const {
    if (!Visible() || !Enabled()) return false;
    for (TWinControl* p = Parent(); p != nullptr; p = p->Parent())
        if (!p->Visible() || !p->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() const { return handle_ != nullptr && ::GetFocus() == handle_; }

void TWinControl::SetFocus() {
    if (handle_ != nullptr) ::SetFocus(handle_);
}

void TWinControl::FillCreateParams(CreateParams& params) {
    params.className = nullptr;
    params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (Visible()) params.style |= WS_VISIBLE;
    if (!Enabled()) params.style |= WS_DISABLED;
    if (tabStop_) params.style |= WS_TABSTOP;
    params.parent = Parent() != nullptr ? Parent()->Handle() : nullptr;
    params.x = Left();
    params.y = Top();
    params.width = Width();
    params.height = Height();
}

void TWinControl::HandleNeeded() {
    if (handle_ == nullptr) {
        if (Parent() != nullptr) Parent()->HandleNeeded();
        CreateWnd();
    }
}

void TWinControl::CreateWnd() {
    CreateParams params;
    FillCreateParams(params);
    static int nextId = 100;
    if (controlId_ == 0 && (params.style & WS_CHILD) != 0) controlId_ = nextId++;
    HMENU id = (params.style & WS_CHILD) != 0
                   ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId_))
                   : nullptr;
    const bool own = params.className == nullptr;
    handle_ = ::CreateWindowExA(params.exStyle, own ? OwnClassName() : params.className,
                                Caption().c_str(), params.style, params.x, params.y, params.width,
                                params.height, params.parent, id, ::GetModuleHandleA(nullptr),
                                own ? this : nullptr);
    if (handle_ == nullptr) throw Exception("Error creating window");
    ::SetPropA(handle_, kControlProperty, this);
    if (!own) {
        previousProc_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
            handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinControl::StaticWndProc)));
    } else {
        previousProc_ = &::DefWindowProcA;
    }
    HandleCreated();
}

void TWinControl::HandleCreated() {
    ::SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
    UpdateTooltip();
    RecreateChildren();
}

void TWinControl::RecreateChildren() {
    for (TControl* c : controls_) {
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->HandleNeeded();
    }
}

void TWinControl::DestroyHandle() {
    if (handle_ == nullptr) return;
    for (TControl* c : controls_) {
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
    }
    HandleDestroying();
    HWND h = handle_;
    ::DestroyWindow(h);
    handle_ = nullptr;
}

void TWinControl::RecreateWnd() {
    if (handle_ == nullptr) return;
    DestroyHandle();
    HandleNeeded();
}

void TWinControl::Invalidate() {
    if (handle_ != nullptr) ::InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Repaint() {
    if (handle_ != nullptr) {
        ::InvalidateRect(handle_, nullptr, TRUE);
        ::UpdateWindow(handle_);
    }
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
}

void TWinControl::BoundsChanged() {
    if (handle_ != nullptr && (::GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD) != 0)
        ::MoveWindow(handle_, Left(), Top(), Width(), Height(), TRUE);
    AlignControls();
}

void TWinControl::AlignControls() {
    for (TControl* c : controls_) c->RequestAlign();
}

void TWinControl::FocusChanged(TWinControl* focused) {
    for (TControl* c : std::vector<TControl*>(controls_)) c->FocusChanged(focused);
}

bool TWinControl::DialogChar(char key) {
    for (TControl* c : std::vector<TControl*>(controls_)) {
        if (c->Visible() && c->DialogChar(key)) return true;
    }
    return false;
}

void TWinControl::SetHoverControl(TGraphicControl* control) {
    if (control == hoverControl_) return;
    TGraphicControl* left = hoverControl_;
    hoverControl_ = control;
    g_hoverWindow = control != nullptr ? this : nullptr;
    if (left != nullptr) left->MouseLeave();
    if (control != nullptr) control->MouseEnter();
}

void TWinControl::CheckMouseLeft() {
    TWinControl* window = g_hoverWindow;
    if (window == nullptr) return;
    POINT cursor{};
    if (window->handle_ == nullptr || !::GetCursorPos(&cursor) ||
        ::WindowFromPoint(cursor) != window->handle_)
        window->SetHoverControl(nullptr);
}

void TWinControl::TextChanged() {
    if (handle_ != nullptr) ::SetWindowTextA(handle_, Caption().c_str());
}

void TWinControl::EnabledChanged() {
    if (handle_ != nullptr) ::EnableWindow(handle_, Enabled());
}

void TWinControl::VisibleChanged() {
    if (handle_ != nullptr) ::ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::FontChanged() {
    if (handle_ != nullptr)
        ::SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
}

void TWinControl::ColorChanged() {
    Invalidate();
    for (TControl* c : controls_) c->ParentColorChanged();
}

void TWinControl::SetHint(const std::string& hint) {
    TControl::SetHint(hint);
    UpdateTooltip();
}

void TWinControl::UpdateTooltip() {
    if (handle_ == nullptr || !ShowHint()) return;
    // The first layout's size: the common controls of Windows 95 (4.00)
    // know only that one, and may refuse a later, larger record.
    static_assert(sizeof(void*) != 4 || offsetof(TOOLINFOA, lParam) == 40,
                  "COMCTL32 4.00's record");
    TOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = handle_;
    info.uId = reinterpret_cast<UINT_PTR>(handle_);
    info.lpszText = const_cast<char*>(Hint().c_str());
    if (tooltip_ == nullptr) {
        if (Hint().empty()) return;
        tooltip_ = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0,
                                     0, handle_, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        ::SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    } else {
        ::SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    }
}

bool TWinControl::SetProperty(const std::string& name, const PropertyValue& value) {
    if (name == "TabOrder") {
        tabOrder_ = value.AsInt(name);
        tabStop_ = true;
    } else if (name == "TabStop") {
        tabStop_ = value.AsBool(name);
    } else {
        return TControl::SetProperty(name, value);
    }
    return true;
}

HBRUSH TWinControl::BackgroundBrush() {
    if (!background_ || backgroundColor_ != Color()) {
        backgroundColor_ = Color();
        background_.Reset(::CreateSolidBrush(ColorToRGB(Color())));
    }
    return background_.Get();
}

namespace {

// The most a band of a composed paint holds, at 32 bits per pixel.
constexpr int kComposedBandBytes = 256 * 1024;

}  // namespace

void TWinControl::PaintGraphicControls(HDC dc, const RECT& area) {
    // What lies under an opaque control that covers the whole area is not
    // seen: painting starts at the topmost such control (a gauge repainted
    // at every percent does not repaint the wallpaper beneath it).
    auto first = controls_.begin();
    for (auto it = controls_.begin(); it != controls_.end(); ++it) {
        auto* g = dynamic_cast<TGraphicControl*>(*it);
        if (g == nullptr || !g->Visible() || (g->ControlStyle() & csOpaque) == 0) continue;
        const RECT b = g->BoundsRect();
        if (b.left <= area.left && b.top <= area.top && b.right >= area.right &&
            b.bottom >= area.bottom)
            first = it;
    }
    if (first == controls_.begin()) {
        ScopedBrush fill(::CreateSolidBrush(ColorToRGB(Color())));
        ::FillRect(dc, &area, fill.Get());
    }
    POINT origin;
    ::GetViewportOrgEx(dc, &origin);
    for (auto it = first; it != controls_.end(); ++it) {
        auto* g = dynamic_cast<TGraphicControl*>(*it);
        if (g == nullptr || !g->Visible()) continue;
        const RECT bounds = g->BoundsRect();
        if (!Intersects(bounds, area)) continue;
        // Each control puts back the objects it selects; what is changed here
        // for it, the origin and the clipping, is put back here.
        SavedOriginAndClip state(dc);
        ::SetViewportOrgEx(dc, origin.x + bounds.left, origin.y + bounds.top, nullptr);
        ::IntersectClipRect(dc, 0, 0, g->Width(), g->Height());
        g->Paint(dc);
    }
}

void TWinControl::ComposeInto(HDC target, const RECT& area) {
    const int w = area.right - area.left;
    const int h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return;
    // The platform itself keeps a window that is not in front in the
    // background, whatever is asked here.
    const PaletteScope targetColours(target);
    // Composed in bands of a few rows, each copied to the window whole: every
    // pixel still reaches the screen once, and a window-sized paint does not
    // need a picture of the whole window (1.7 MB for the background window).
    const int band = std::max(1, std::min(h, kComposedBandBytes / (w * 4)));
    MemoryDC memory(target);
    ScopedBitmap bitmap(::CreateCompatibleBitmap(target, w, band));
    SelectObjectScope select(memory.Get(), bitmap.Get());
    const PaletteScope memoryColours(memory.Get());
    for (int top = area.top; top < area.bottom; top += band) {
        const RECT part{area.left, top, area.right, std::min<LONG>(area.bottom, top + band)};
        ComposeArea(memory.Get(), part);
        ::BitBlt(target, part.left, part.top, w, part.bottom - part.top, memory.Get(), 0, 0,
                 SRCCOPY);
    }
}

void TWinControl::ComposeArea(HDC memory, const RECT& area) {
    SavedOriginAndClip state(memory);
    ::SetViewportOrgEx(memory, -area.left, -area.top, nullptr);
    // A kept picture may be larger than the area: nothing is drawn past it.
    ::IntersectClipRect(memory, area.left, area.top, area.right, area.bottom);
    PaintGraphicControls(memory, area);
}

void TWinControl::PaintAreaNow(const RECT& area) {
    if (handle_ == nullptr) return;
    const int w = area.right - area.left;
    const int h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return;
    ScopedGetDC dc(handle_);
    const PaletteScope targetColours(dc.Get());
    // Immediate repaints come in runs (a gauge following a copy): they share
    // one kept picture instead of making one each time.
    HDC memory = immediatePicture_.Prepare(dc.Get(), w, h, true);
    if (memory == nullptr) return;
    const PaletteScope memoryColours(memory);
    ComposeArea(memory, area);
    ::BitBlt(dc.Get(), area.left, area.top, w, h, memory, 0, 0, SRCCOPY);
}

std::string TWinControl::WindowText() const {
    if (handle_ == nullptr) return Caption();
    const int length = ::GetWindowTextLengthA(handle_);
    std::string buffer(static_cast<size_t>(length) + 1, '\0');
    const int got = ::GetWindowTextA(handle_, buffer.data(), length + 1);
    buffer.resize(static_cast<size_t>(got > 0 ? got : 0));
    return buffer;
}

bool TWinControl::HandleReflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool TWinControl::ShowPopupMenu(LPARAM lParam) {
    POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    TControl* shown = nullptr;
    if (screen.x == -1 && screen.y == -1) {
        // From the keyboard: this window's menu, at its top-left corner.
        screen = POINT{0, 0};
        ::ClientToScreen(handle_, &screen);
        shown = this;
    } else {
        POINT client = screen;
        ::ScreenToClient(handle_, &client);
        auto* child = dynamic_cast<TGraphicControl*>(ControlAtPos(client, false));
        shown = this;
        if (child != nullptr && child->PopupMenu() != nullptr) shown = child;
    }
    TPopupMenu* menu = shown->PopupMenu();
    if (!ShowsOnRightClick(menu)) return false;
    menu->SetPopupComponent(shown);
    menu->Popup(screen.x, screen.y);
    return true;
}

LRESULT TWinControl::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    if (previousProc_ != nullptr)
        return ::CallWindowProcA(previousProc_, handle_, message, wParam, lParam);
    return ::DefWindowProcA(handle_, message, wParam, lParam);
}

LRESULT TWinControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DISPLAYCHANGE:
            DisplayFormatChanged();
            break;
        case WM_QUERYNEWPALETTE:
        case WM_PALETTECHANGED: {
            LRESULT result = 0;
            if (HandlePaletteMessage(handle_, message, wParam, result)) return result;
            break;
        }
        case WM_COMMAND:
            if (lParam != 0) {
                if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
                    LRESULT result = 0;
                    if (child != this && child->HandleReflected(message, wParam, lParam, result))
                        return result;
                }
            }
            break;
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (TWinControl* child = FromHandle(item->hwndItem)) {
                LRESULT result = TRUE;
                if (child->HandleReflected(message, wParam, lParam, result)) return result;
            }
            break;
        }
        case WM_MEASUREITEM: {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            for (TControl* c : controls_) {
                auto* w = dynamic_cast<TWinControl*>(c);
                if (w != nullptr && w->controlId_ == static_cast<int>(item->CtlID)) {
                    LRESULT result = TRUE;
                    if (w->HandleReflected(message, wParam, lParam, result)) return result;
                }
            }
            break;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
            if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
                LRESULT result = 0;
                if (child->HandleReflected(message, wParam, lParam, result)) return result;
            }
            break;
        case WM_ERASEBKGND:
            if (previousProc_ == &::DefWindowProcA) return 1;  // WM_PAINT covers every pixel
            break;
        case WM_PAINT:
            if (previousProc_ == &::DefWindowProcA) {
                PAINTSTRUCT ps;
                HDC dc = ::BeginPaint(handle_, &ps);
                ComposeInto(dc, ps.rcPaint);
                ::EndPaint(handle_, &ps);
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (previousProc_ == &::DefWindowProcA) {
                POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                auto* pressed = dynamic_cast<TGraphicControl*>(ControlAtPos(p, false));
                if (pressed != nullptr && message == WM_LBUTTONDOWN &&
                    pressed->DragMode() == TDragMode::dmAutomatic) {
                    // The press is the start of a drag, not a click.
                    POINT screen = p;
                    ::ClientToScreen(handle_, &screen);
                    dragging::Begin(pressed, false, -1, screen);
                    break;
                }
                mouseControl_ = pressed;
                if (mouseControl_ != nullptr) {
                    ::SetCapture(handle_);
                    const int button = message == WM_LBUTTONDOWN   ? 0
                                       : message == WM_RBUTTONDOWN ? 1
                                                                   : 2;
                    mouseControl_->MouseDown(button, p.x - mouseControl_->Left(),
                                             p.y - mouseControl_->Top());
                }
            }
            break;
        case WM_LBUTTONDBLCLK:
            if (previousProc_ == &::DefWindowProcA) {
                POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                if (auto* g = dynamic_cast<TGraphicControl*>(ControlAtPos(p, false))) g->DblClick();
            }
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            if (previousProc_ == &::DefWindowProcA && mouseControl_ != nullptr) {
                POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                TGraphicControl* target = mouseControl_;
                mouseControl_ = nullptr;
                ::ReleaseCapture();
                const int button = message == WM_LBUTTONUP ? 0 : message == WM_RBUTTONUP ? 1 : 2;
                target->MouseUp(button, p.x - target->Left(), p.y - target->Top());
            }
            break;
        case WM_MOUSEMOVE:
            if (previousProc_ == &::DefWindowProcA) {
                POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                auto* over = dynamic_cast<TGraphicControl*>(ControlAtPos(p, true));
                SetHoverControl(over);
                if (over != nullptr) over->MouseMove(p.x - over->Left(), p.y - over->Top());
            }
            break;
        case WM_CONTEXTMENU:
            if (previousProc_ == &::DefWindowProcA && ShowPopupMenu(lParam)) return 0;
            break;
        case WM_SETFOCUS:
            if (TForm* form = ParentForm()) form->FocusChanged(this);
            break;
        case WM_NCDESTROY: {
            LRESULT r = DefaultHandler(message, wParam, lParam);
            ::RemovePropA(handle_, kControlProperty);
            handle_ = nullptr;
            return r;
        }
        default:
            break;
    }
    return DefaultHandler(message, wParam, lParam);
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    TWinControl* control = FromHandle(window);
    if (control == nullptr && message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        control = static_cast<TWinControl*>(create->lpCreateParams);
        if (control != nullptr) {
            control->handle_ = window;
            control->previousProc_ = &::DefWindowProcA;
            ::SetPropA(window, kControlProperty, control);
        }
    }
    if (control == nullptr) return ::DefWindowProcA(window, message, wParam, lParam);
    try {
        if (dragging::HandleMessage(window, message, wParam, lParam)) return 0;
        return control->WndProc(message, wParam, lParam);
    } catch (const std::exception& error) {
        Application()->HandleException(error);
        return 0;
    }
}

}  // namespace ui
