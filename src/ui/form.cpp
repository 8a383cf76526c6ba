#include "ui/form.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/exceptions.h"
#include "ui/form_data.h"
#include "ui/handles.h"
#include "ui/placement.h"
#include "ui/resource_data.h"
#include "ui/std_controls.h"

namespace ui {
namespace {

std::map<std::string, ComponentFactory>& Factories() {
    static std::map<std::string, ComponentFactory> factories;
    return factories;
}

void CollectWindowed(TWinControl* parent, std::vector<TWinControl*>& out) {
    for (TControl* c : parent->Controls()) {
        if (auto* w = dynamic_cast<TWinControl*>(c)) out.push_back(w);
    }
}

}  // namespace

void RegisterComponentClass(const std::string& className, ComponentFactory factory) {
    Factories()[className] = std::move(factory);
}

TComponent* CreateComponentOfClass(const std::string& className, TComponent* owner) {
    auto it = Factories().find(className);
    if (it == Factories().end()) throw EResourceError("Class " + className + " not found");
    return it->second(owner);
}

TForm::TForm() : TWinControl(nullptr) {
    SetVisible(false);
    SetColor(clBtnFace);
    if (Application() != nullptr) Application()->AddForm(this);
}

TForm::~TForm() {
    DestroyComponents();
    if (Application() != nullptr) Application()->RemoveForm(this);
}

void TForm::ThrowMissing(const std::string& name) const {
    throw EResourceError("Component " + name + " of " + Name() + " not found");
}

void TForm::RegisterEventHandler(const std::string& name, std::any handler) {
    handlers_[name] = std::move(handler);
}

void TForm::CreateFromResource(const std::string& resourceName) {
    // The build pads each resource with zero bytes to the loader's unit
    // (tools/rsrcalign): the text ends at the first of them.
    std::string text = LoadResourceData(resourceName);
    const size_t end = text.find('\0');
    if (end != std::string::npos) text.resize(end);
    CreateFromText(text);
}

void TForm::CreateFromText(const std::string& formData) {
    const FormNode root = ParseFormData(formData);
    if (root.className != ClassName())
        throw EResourceError("Form data of " + root.className + " given to " + ClassName());
    SetName(root.name);
    BeginLoading();
    ApplyProperties(this, root);
    LoadChildren(root, this);
    // A form laid out at one screen font size keeps its proportions at another.
    const int screen = ScreenPixelsPerInch();
    if (scaled_ && screen != designPixelsPerInch_) ScaleBy(screen, designPixelsPerInch_);
    Loaded();
    for (TComponent* c : std::vector<TComponent*>(Components())) c->Loaded();
    HandleNeeded();
    OrderTabStops();
    if (OnCreate) {
        // An error in the creation handler ends the handler; the window stays.
        try {
            OnCreate(this);
        } catch (const std::exception& error) {
            Application()->HandleException(error);
        }
    }
}

int TForm::ScreenPixelsPerInch() {
    ScopedGetDC screen(nullptr);
    return screen.Get() != nullptr ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
}

SIZE TForm::ClientSizeFromOuter(int multiplier, int divider) {
    CreateParams params;
    FillCreateParams(params);
    RECT frame{0, 0, 0, 0};
    ::AdjustWindowRectEx(&frame, params.style, FALSE, params.exStyle);
    int frameHeight = frame.bottom - frame.top;
    // The title bar grows with the screen's font size and the borders do not:
    // the stored outer size held the title bar of the resolution it was laid
    // out at, a divider / multiplier part of today's.
    if ((params.style & WS_CAPTION) == WS_CAPTION) {
        const int caption = ::GetSystemMetrics(
            (params.exStyle & WS_EX_TOOLWINDOW) != 0 ? SM_CYSMCAPTION : SM_CYCAPTION);
        frameHeight += ::MulDiv(caption, divider, multiplier) - caption;
    }
    return SIZE{std::max(0, Width() - static_cast<int>(frame.right - frame.left)),
                std::max(0, Height() - frameHeight)};
}

void TForm::ScaleBy(int multiplier, int divider) {
    const auto scale = [&](int value) { return ::MulDiv(value, multiplier, divider); };
    // A form whose data gives its outer size has no client size before its
    // window exists; the client size it was laid out with is what scales.
    if (!HandleAllocated() && clientWidth_ == 0 && clientHeight_ == 0) {
        const SIZE client = ClientSizeFromOuter(multiplier, divider);
        clientWidth_ = client.cx;
        clientHeight_ = client.cy;
    }
    for (TComponent* component : Components()) {
        auto* control = dynamic_cast<TControl*>(component);
        if (control == nullptr) continue;
        control->SetBounds(scale(control->Left()), scale(control->Top()), scale(control->Width()),
                           scale(control->Height()));
        if (!control->ParentFont()) control->Font().SetHeight(scale(control->Font().Height()));
    }
    Font().SetHeight(scale(Font().Height()));
    SetClientSize(scale(clientWidth_), scale(clientHeight_));
}

void TForm::LoadChildren(const FormNode& node, TComponent* parent) {
    for (const FormNode& child : node.children) {
        TComponent* component = CreateComponentOfClass(child.className, this);
        component->SetName(child.name);
        component->BeginLoading();
        if (auto* control = dynamic_cast<TControl*>(component)) {
            auto* container = dynamic_cast<TWinControl*>(parent);
            if (container == nullptr)
                throw EResourceError(child.name + " placed on " + node.name +
                                     ", which cannot hold controls");
            control->SetParent(container);
        } else if (parent != this && !parent->AdoptChild(component)) {
            throw EResourceError(child.name + " placed on " + node.name + ", which cannot hold it");
        }
        ApplyProperties(component, child);
        LoadChildren(child, component);
    }
}

void TForm::ApplyProperties(TComponent* component, const FormNode& node) {
    for (const auto& [name, value] : node.properties) {
        if (name.size() > 2 && name[0] == 'O' && name[1] == 'n') {
            const std::string& handlerName = value.AsIdent(name);
            auto it = handlers_.find(handlerName);
            if (it == handlers_.end())
                throw EResourceError("Handler " + handlerName + " of " + node.name + " not found");
            bool bound = false;
            try {
                bound = component->SetEvent(name, it->second);
            } catch (const std::bad_any_cast&) {
                throw EResourceError("Handler " + handlerName + " does not fit " + node.name + "." +
                                     name);
            }
            if (!bound) throw EResourceError("Unknown event " + node.name + "." + name);
        } else if (!component->SetProperty(name, value)) {
            throw EResourceError(Format("Form data, line %d: unknown property %s of %s", node.line,
                                        name.c_str(), node.name.c_str()));
        }
    }
}

bool TForm::SetProperty(const std::string& name, const PropertyValue& value) {
    if (name == "ClientWidth") {
        SetClientSize(value.AsInt(name), clientHeight_);
    } else if (name == "ClientHeight") {
        SetClientSize(clientWidth_, value.AsInt(name));
    } else if (name == "BorderStyle") {
        const std::string& s = value.AsIdent(name);
        if (s == "bsNone")
            borderStyle_ = TBorderStyle::bsNone;
        else if (s == "bsSingle")
            borderStyle_ = TBorderStyle::bsSingle;
        else if (s == "bsSizeable")
            borderStyle_ = TBorderStyle::bsSizeable;
        else if (s == "bsDialog")
            borderStyle_ = TBorderStyle::bsDialog;
        else if (s == "bsToolWindow")
            borderStyle_ = TBorderStyle::bsToolWindow;
        else if (s == "bsSizeToolWin")
            borderStyle_ = TBorderStyle::bsSizeToolWin;
        else
            throw EResourceError("Unknown border style " + s);
    } else if (name == "BorderIcons") {
        unsigned icons = 0;
        for (const std::string& s : value.AsIdentSet(name)) {
            if (s == "biSystemMenu")
                icons |= biSystemMenu;
            else if (s == "biMinimize")
                icons |= biMinimize;
            else if (s == "biMaximize")
                icons |= biMaximize;
            else if (s == "biHelp")
                icons |= biHelp;
            else
                throw EResourceError("Unknown border icon " + s);
        }
        borderIcons_ = icons;
    } else if (name == "Position") {
        const std::string& s = value.AsIdent(name);
        if (s == "poScreenCenter")
            position_ = TPosition::poScreenCenter;
        else if (s == "poDesigned")
            position_ = TPosition::poDesigned;
        else
            throw EResourceError("Unknown position " + s);
    } else if (name == "Icon") {
        if (value.kind != PropertyValue::Kind::Resource)
            throw EResourceError("Icon: a resource reference expected");
        icon_ = ::LoadIconA(::GetModuleHandleA(nullptr), value.text.c_str());
    } else if (name == "Scaled") {
        scaled_ = value.AsBool(name);
    } else if (name == "PixelsPerInch") {
        designPixelsPerInch_ = value.AsInt(name);
        if (designPixelsPerInch_ <= 0) throw EResourceError("PixelsPerInch must be positive");
    } else {
        return TWinControl::SetProperty(name, value);
    }
    return true;
}

bool TForm::SetEvent(const std::string& event, const std::any& handler) {
    if (event == "OnCreate") {
        OnCreate = std::any_cast<TNotifyEvent>(handler);
    } else if (event == "OnClose") {
        OnClose = std::any_cast<TCloseEvent>(handler);
    } else {
        return TWinControl::SetEvent(event, handler);
    }
    return true;
}

void TForm::SetClientSize(int width, int height) {
    clientWidth_ = width;
    clientHeight_ = height;
    CreateParams params;
    FillCreateParams(params);
    RECT r{0, 0, width, height};
    ::AdjustWindowRectEx(&r, params.style, FALSE, params.exStyle);
    SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
}

void TForm::BoundsChanged() {
    if (HandleAllocated()) {
        ::MoveWindow(Handle(), Left(), Top(), Width(), Height(), TRUE);
        RECT client;
        ::GetClientRect(Handle(), &client);
        clientWidth_ = client.right;
        clientHeight_ = client.bottom;
    }
    for (TControl* c : Controls()) c->ParentFontChanged();
    TWinControl::BoundsChanged();
}

void TForm::FillCreateParams(CreateParams& params) {
    params.className = nullptr;
    params.parent = Application() != nullptr ? Application()->Handle() : nullptr;
    params.style = WS_CLIPCHILDREN;
    params.exStyle = 0;
    switch (borderStyle_) {
        case TBorderStyle::bsNone:
            params.style |= WS_POPUP;
            break;
        case TBorderStyle::bsSingle:
            params.style |= WS_CAPTION;
            break;
        case TBorderStyle::bsSizeable:
            params.style |= WS_CAPTION | WS_THICKFRAME;
            break;
        case TBorderStyle::bsDialog:
            params.style |= WS_POPUP | WS_CAPTION;
            params.exStyle |= WS_EX_DLGMODALFRAME;
            break;
        case TBorderStyle::bsToolWindow:
            params.style |= WS_CAPTION;
            params.exStyle |= WS_EX_TOOLWINDOW;
            break;
        case TBorderStyle::bsSizeToolWin:
            params.style |= WS_CAPTION | WS_THICKFRAME;
            params.exStyle |= WS_EX_TOOLWINDOW;
            break;
    }
    if (borderStyle_ != TBorderStyle::bsNone && (borderIcons_ & biSystemMenu) != 0) {
        params.style |= WS_SYSMENU;
        if (borderStyle_ != TBorderStyle::bsDialog && borderStyle_ != TBorderStyle::bsToolWindow &&
            borderStyle_ != TBorderStyle::bsSizeToolWin) {
            if (borderIcons_ & biMinimize) params.style |= WS_MINIMIZEBOX;
            if (borderIcons_ & biMaximize) params.style |= WS_MAXIMIZEBOX;
        }
    }
    if (!Enabled()) params.style |= WS_DISABLED;
    params.x = Left();
    params.y = Top();
    params.width = Width();
    params.height = Height();
}

void TForm::HandleCreated() {
    // The platform holds a new window to the screen's size plus its frame; a
    // form scaled for large fonts may be larger and keeps its size.
    RECT window;
    ::GetWindowRect(Handle(), &window);
    if (window.right - window.left != Width() || window.bottom - window.top != Height())
        ::MoveWindow(Handle(), Left(), Top(), Width(), Height(), FALSE);
    HICON icon = icon_ != nullptr ? icon_ : ::LoadIconA(::GetModuleHandleA(nullptr), "APPICON");
    if (icon != nullptr)
        ::SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    TWinControl::HandleCreated();
    RECT client;
    ::GetClientRect(Handle(), &client);
    if (clientWidth_ == 0 && clientHeight_ == 0) {
        clientWidth_ = client.right;
        clientHeight_ = client.bottom;
    }
    AlignControls();
}

void TForm::OrderTabStops() {
    std::vector<TWinControl*> windows;
    CollectWindowed(this, windows);
    std::stable_sort(windows.begin(), windows.end(), [](TWinControl* a, TWinControl* b) {
        const int ta = a->TabOrder() < 0 ? 1 << 30 : a->TabOrder();
        const int tb = b->TabOrder() < 0 ? 1 << 30 : b->TabOrder();
        return ta < tb;
    });
    HWND after = HWND_TOP;
    for (TWinControl* w : windows) {
        if (!w->HandleAllocated()) continue;
        ::SetWindowPos(w->Handle(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = w->Handle();
    }
}

void TForm::PlaceWindow() {
    if (position_ == TPosition::poScreenCenter) {
        const int x = (::GetSystemMetrics(SM_CXSCREEN) - Width()) / 2;
        const int y = (::GetSystemMetrics(SM_CYSCREEN) - Height()) / 2;
        SetBounds(x, y, Width(), Height());
    }
}

void TForm::KeepOnWorkArea() {
    // The window's own rectangle: frame and title bar count, as on screen.
    RECT bounds;
    HandleNeeded();
    if (!::GetWindowRect(Handle(), &bounds)) return;
    const POINT placed = PlacedWithin(bounds, WorkArea());
    if (placed.x != bounds.left || placed.y != bounds.top) {
        SetBounds(placed.x, placed.y, bounds.right - bounds.left, bounds.bottom - bounds.top);
    }
}

void TForm::Show() {
    HandleNeeded();
    if (!Visible()) PlaceWindow();
    SetVisible(true);
    ::ShowWindow(Handle(), windowState_ == SW_SHOWNORMAL ? SW_SHOW : windowState_);
    windowState_ = SW_SHOWNORMAL;
    ::SetForegroundWindow(Handle());
    // The first control in tab order takes the focus.
    HWND first = ::GetNextDlgTabItem(Handle(), nullptr, FALSE);
    if (first != nullptr && ::GetFocus() != first && !::IsChild(Handle(), ::GetFocus()))
        ::SetFocus(first);
    ::UpdateWindow(Handle());
}

void TForm::Hide() {
    SetVisible(false);
    if (HandleAllocated()) ::ShowWindow(Handle(), SW_HIDE);
}

TButton* TForm::FindButton(bool wantDefault) const {
    for (TComponent* c : Components()) {
        auto* b = dynamic_cast<TButton*>(c);
        if (b != nullptr && (wantDefault ? b->IsDefault() : b->IsCancel())) return b;
    }
    return nullptr;
}

void TForm::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    TCloseAction action = TCloseAction::caHide;
    if (OnClose) OnClose(this, action);
    if (action == TCloseAction::caNone) return;
    if (Application() != nullptr && Application()->MainForm() == this) {
        Application()->Terminate();
        return;
    }
    if (action == TCloseAction::caMinimize)
        ::ShowWindow(Handle(), SW_MINIMIZE);
    else
        Hide();
}

void TForm::CloseModal() {
    TCloseAction action = TCloseAction::caHide;
    if (OnClose) OnClose(this, action);
    if (action == TCloseAction::caNone) modalResult_ = mrNone;
}

int TForm::ShowModal() {
    TApplication* app = Application();
    HandleNeeded();
    modal_ = true;
    modalResult_ = mrNone;
    std::vector<HWND> disabled = app->DisableTaskWindows(Handle());
    Show();
    while (true) {
        if (app->Terminated()) {
            // A fetched quit request ends the loop without the close handler.
            modalResult_ = mrCancel;
            break;
        }
        if (modalResult_ != mrNone) {
            try {
                CloseModal();
            } catch (const std::exception& error) {
                app->HandleException(error);
            }
            if (modalResult_ != mrNone) break;
        }
        app->HandleMessage();
    }
    TApplication::EnableTaskWindows(disabled);
    Hide();
    modal_ = false;
    return modalResult_;
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            Close();
            return 0;
        case WM_SIZE:
            // The user resized the window (or the platform did): aligned
            // controls follow the client area.
            if (wParam != SIZE_MINIMIZED) {
                clientWidth_ = LOWORD(lParam);
                clientHeight_ = HIWORD(lParam);
                AlignControls();
            }
            break;
        case WM_ACTIVATE:
            // The control that had the focus gets it back when the window is
            // activated again (switched to, or restored with the program).
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = ::GetFocus();
                if (focus != nullptr && ::IsChild(Handle(), focus)) focusedControl_ = focus;
            } else if (HIWORD(wParam) == 0 && focusedControl_ != nullptr &&
                       ::IsChild(Handle(), focusedControl_) && ::IsWindowVisible(focusedControl_) &&
                       ::IsWindowEnabled(focusedControl_)) {
                ::SetFocus(focusedControl_);
                return 0;
            }
            break;
        case WM_GETMINMAXINFO: {
            const LRESULT result = TWinControl::WndProc(message, wParam, lParam);
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMaxTrackSize.x = std::max<LONG>(info->ptMaxTrackSize.x, Width());
            info->ptMaxTrackSize.y = std::max<LONG>(info->ptMaxTrackSize.y, Height());
            return result;
        }
        case DM_GETDEFID: {
            TButton* b = FindButton(true);
            if (b != nullptr && b->HandleAllocated() && b->Enabled() && b->Visible())
                return MAKELRESULT(b->ControlId(), DC_HASDEFID);
            return 0;
        }
        case WM_COMMAND:
            if (lParam == 0 && HIWORD(wParam) == BN_CLICKED) {
                if (LOWORD(wParam) == IDCANCEL) {
                    TButton* b = FindButton(false);
                    if (b != nullptr && b->Enabled() && b->Visible()) b->Click();
                }
                return 0;
            }
            break;
        default:
            break;
    }
    return TWinControl::WndProc(message, wParam, lParam);
}

}  // namespace ui
