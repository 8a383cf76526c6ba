#include "controls/GradientCaption.h"

#include <cstring>

#include "controls/GradientFill.h"
#include "ui/application.h"
#include "ui/exceptions.h"

namespace controls {
namespace {

const char kEllipsis[] = "...";

int TextWidth(HDC dc, const std::string& text) {
    SIZE size{0, 0};
    if (!text.empty())
        ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

int WidthInFont(const ui::TFont& font, const std::string& text) {
    ui::ScopedGetDC screen(nullptr);
    ui::SelectObjectScope select(screen.Get(), font.Handle());
    return TextWidth(screen.Get(), text);
}

bool IsToolWindow(ui::TBorderStyle style) {
    return style == ui::TBorderStyle::bsToolWindow || style == ui::TBorderStyle::bsSizeToolWin;
}

}  // namespace

// ------------------------------------------------------------ the geometry

CaptionGeometry CaptionRectFor(const RECT& windowRect, ui::TBorderStyle style, unsigned icons) {
    using ui::TBorderStyle;
    switch (style) {
        case TBorderStyle::bsDialog:
            icons &= ui::biSystemMenu | ui::biHelp;
            break;
        case TBorderStyle::bsToolWindow:
        case TBorderStyle::bsSizeToolWin:
            icons &= ui::biSystemMenu;
            break;
        default:
            if ((icons & ui::biSystemMenu) == 0)
                icons &= ~unsigned{ui::biMinimize | ui::biMaximize};
            if ((icons & (ui::biMinimize | ui::biMaximize)) != 0) icons &= ~unsigned{ui::biHelp};
            break;
    }
    int buttons = 0;
    for (unsigned bit = 1; bit <= ui::biHelp; bit <<= 1)
        if (icons & bit) ++buttons;
    // With one of minimise and maximise the platform shows both buttons.
    if (((icons & ui::biMinimize) != 0) != ((icons & ui::biMaximize) != 0)) ++buttons;

    RECT r = windowRect;
    switch (style) {
        case TBorderStyle::bsSizeable:
        case TBorderStyle::bsSizeToolWin:
            ::InflateRect(&r, -::GetSystemMetrics(SM_CXFRAME), -::GetSystemMetrics(SM_CYFRAME));
            break;
        case TBorderStyle::bsSingle:
        case TBorderStyle::bsDialog:
        case TBorderStyle::bsToolWindow:
            ::InflateRect(&r, -::GetSystemMetrics(SM_CXDLGFRAME),
                          -::GetSystemMetrics(SM_CYDLGFRAME));
            break;
        default:
            break;
    }
    if (IsToolWindow(style)) {
        r.bottom = r.top + ::GetSystemMetrics(SM_CYSMCAPTION) - 1;
        r.right -= buttons * ::GetSystemMetrics(SM_CXSMSIZE);
    } else {
        r.bottom = r.top + ::GetSystemMetrics(SM_CYCAPTION) - 1;
        r.right -= buttons * ::GetSystemMetrics(SM_CXSIZE);
    }
    return {r, icons, buttons};
}

std::string ShortenCaptionText(HDC dc, const std::string& text, int available) {
    std::string result = text;
    const int length = static_cast<int>(text.size());
    for (int i = 2; i - 1 <= length && TextWidth(dc, result) > available; ++i)
        result = text.substr(0, static_cast<size_t>(length - i > 0 ? length - i : 0)) + kEllipsis;
    return result;
}

// --------------------------------------------------------- the segments

TCaptionSegment::TCaptionSegment(TCaptionList* list) : list_(list) {
    if (list_ != nullptr && list_->Owner() != nullptr) {
        font_ = list_->Owner()->Font();
    } else {
        font_.SetColor(ui::clCaptionText);
    }
    font_.OnChange = [this] {
        if (settingFont_) return;
        parentFont_ = false;
        Changed();
    };
}

void TCaptionSegment::Changed(bool onlyWhenInactive) {
    TGradientCaption* caption = list_ != nullptr ? list_->Owner() : nullptr;
    if (caption == nullptr || !caption->Active() || caption->IsLoading()) return;
    if (onlyWhenInactive && caption->WindowActive()) return;
    caption->Update();
}

void TCaptionSegment::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    Changed();
}

void TCaptionSegment::SetParentFont(bool parentFont) {
    if (parentFont == parentFont_) return;
    parentFont_ = parentFont;
    if (parentFont_ && list_ != nullptr && list_->Owner() != nullptr)
        TakeParentFont(list_->Owner()->Font());
    Changed();
}

void TCaptionSegment::TakeParentFont(const ui::TFont& font) {
    settingFont_ = true;
    font_ = font;
    settingFont_ = false;
}

void TCaptionSegment::SetInactiveColor(ui::TColor color) {
    if (color == inactiveColor_) return;
    inactiveColor_ = color;
    Changed(true);
}

void TCaptionSegment::SetGlueNext(bool glue) {
    if (glue == glueNext_) return;
    glueNext_ = glue;
    Changed();
}

void TCaptionSegment::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Changed();
}

TCaptionSegment& TCaptionList::Add() {
    items_.push_back(std::make_unique<TCaptionSegment>(this));
    return *items_.back();
}

void TCaptionList::Clear() { items_.clear(); }

// ------------------------------------------------------- TGradientCaption

TGradientCaption::TGradientCaption(ui::TComponent* owner)
    : ui::TComponent(owner), captions_(this), hook_(new TWindowHook(this)) {
    hook_->BeforeMessage = [this](ui::TComponent*, THookMessage& m, bool& handled) {
        BeforeMessage(m, handled);
    };
    hook_->AfterMessage = [this](ui::TComponent*, THookMessage& m, bool& handled) {
        AfterMessage(m, handled);
    };
    font_.OnChange = [this] { FontChanged(); };
    SetSystemCaptionFont();
}

TGradientCaption::~TGradientCaption() {
    OnActivate = nullptr;
    OnDeactivate = nullptr;
    hook_->BeforeMessage = nullptr;
    hook_->AfterMessage = nullptr;
    hook_->SetWinControl(nullptr);
    font_.OnChange = nullptr;
    captions_.Clear();
}

ui::TForm* TGradientCaption::OwnerForm() const { return dynamic_cast<ui::TForm*>(Owner()); }

bool TGradientCaption::CountsAsActive() const {
    return active_ && ui::NewStylePlatform() && OwnerForm() != nullptr;
}

void TGradientCaption::Loaded() {
    const bool wasLoading = IsLoading();
    ui::TComponent::Loaded();
    if (!popupMenuName_.empty()) {
        SetPopupMenu(ui::FindPopupMenu(*this, popupMenuName_));
        popupMenuName_.clear();
    }
    if (wasLoading && OwnerForm() != nullptr) Update();
}

void TGradientCaption::Update() {
    ui::TForm* form = OwnerForm();
    if (IsLoading() || form == nullptr) return;
    hook_->SetWinControl(CountsAsActive() ? form : nullptr);
    windowActive_ = false;
    if (form->HandleAllocated() && form->Visible() && ::IsWindowVisible(form->Handle())) {
        if (CountsAsActive())
            windowActive_ = ::GetActiveWindow() == form->Handle() && ui::ActiveWindowOfThisThread();
        RECT bounds{};
        ::GetWindowRect(form->Handle(), &bounds);
        ui::ScopedRegion region(
            ::CreateRectRgn(bounds.left, bounds.top, bounds.right, bounds.bottom));
        ::SendMessageA(form->Handle(), WM_NCPAINT, reinterpret_cast<WPARAM>(region.Get()), 0);
    }
}

void TGradientCaption::SetActive(bool active) {
    if (active == active_) return;
    active_ = active;
    rightButtonDown_ = false;
    Update();
    if (IsLoading() || IsDestroying()) return;
    if (active_ && OnActivate) OnActivate(this);
    if (!active_ && OnDeactivate) OnDeactivate(this);
}

void TGradientCaption::SetFormCaption(const std::string& caption) {
    if (caption == formCaption_) return;
    formCaption_ = caption;
    if (CountsAsActive()) Update();
}

void TGradientCaption::SetStartColor(ui::TColor color) {
    if (color == startColor_) return;
    startColor_ = color;
    if (CountsAsActive()) Update();
}

void TGradientCaption::SetPopupMenu(ui::TPopupMenu* menu) {
    // A link to an earlier menu stays: that menu may name this component
    // as its popup component.
    popupMenu_ = menu;
    if (menu != nullptr) FreeNotification(menu);
}

void TGradientCaption::Notification(ui::TComponent* component, ui::Operation operation) {
    ui::TComponent::Notification(component, operation);
    if (operation == ui::Operation::Remove && component == popupMenu_) popupMenu_ = nullptr;
}

void TGradientCaption::SetHideDirection(THideDirection direction) {
    if (direction == hideDirection_) return;
    hideDirection_ = direction;
    if (CountsAsActive()) Update();
}

void TGradientCaption::SetDefaultFont(bool defaultFont) {
    if (defaultFont == defaultFont_) return;
    defaultFont_ = defaultFont;
    if (defaultFont_) SetSystemCaptionFont();
    if (CountsAsActive()) Update();
}

void TGradientCaption::SetGradientSteps(int steps) {
    if (steps == gradientSteps_) return;
    gradientSteps_ = steps;
    const bool gradientShown = windowActive_ ? gradientActive_ : gradientInactive_;
    if (gradientShown && CountsAsActive()) Update();
}

void TGradientCaption::SetGradientActive(bool gradient) {
    if (gradient == gradientActive_) return;
    gradientActive_ = gradient;
    if (windowActive_ && CountsAsActive()) Update();
}

void TGradientCaption::SetGradientInactive(bool gradient) {
    if (gradient == gradientInactive_) return;
    gradientInactive_ = gradient;
    if (!windowActive_ && CountsAsActive()) Update();
}

void TGradientCaption::SetFontInactiveColor(ui::TColor color) {
    if (color == fontInactiveColor_) return;
    fontInactiveColor_ = color;
    if (!windowActive_ && CountsAsActive()) Update();
}

void TGradientCaption::SetSystemCaptionFont() {
    settingFont_ = true;
    // The record the Windows 95 family knows; the later one of 344 bytes
    // (from a WINVER of 0x0600) is refused there.
    static_assert(sizeof(NONCLIENTMETRICSA) == 340, "the Windows 95 non-client metrics");
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    ui::TForm* form = OwnerForm();
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        const bool tool = form != nullptr && IsToolWindow(form->BorderStyle());
        font_.SetFromLogFont(tool ? metrics.lfSmCaptionFont : metrics.lfCaptionFont);
    } else {
        font_.SetName("MS Sans Serif");
        font_.SetHeight(-11);  // 8 points at 96 pixels per inch
        font_.SetStyle(ui::fsBold);
    }
    font_.SetColor(ui::clCaptionText);
    font_.SetCharset(DEFAULT_CHARSET);
    settingFont_ = false;
    defaultFont_ = true;
}

void TGradientCaption::FontChanged() {
    if (settingFont_) return;
    defaultFont_ = false;
    for (int i = 0; i < captions_.Count(); ++i) {
        TCaptionSegment& segment = captions_.Item(i);
        if (segment.ParentFont()) segment.TakeParentFont(font_);
    }
    if (CountsAsActive() && !IsLoading()) Update();
}

// -------------------------------------------------------- the messages

void TGradientCaption::BeforeMessage(THookMessage& message, bool& handled) {
    ui::TForm* form = OwnerForm();
    // Should another client have kept the activation message from its after
    // handlers, the window is shown again here.
    if (form != nullptr && message.Msg != WM_NCACTIVATE) ShowAfterActivation(form->Handle());
    if (!CountsAsActive()) return;
    if (message.Msg == WM_NCPAINT) {
        savedRegion_ = reinterpret_cast<HRGN>(message.WParam);
        regionReplaced_ = false;
        RECT window{};
        ::GetWindowRect(form->Handle(), &window);
        const RECT caption = CaptionRectFor(window, form->BorderStyle(), form->BorderIcons()).rect;
        // wParam 1 stands for the whole window and is no region at all.
        if (message.WParam > 1 && ::RectInRegion(savedRegion_, &caption)) {
            // The platform paints everything but the caption, which is
            // painted once, afterwards, from the composed picture.
            ui::ScopedRegion captionRegion(
                ::CreateRectRgn(caption.left, caption.top, caption.right, caption.bottom));
            HRGN rest = ::CreateRectRgn(0, 0, 0, 0);
            ::CombineRgn(rest, savedRegion_, captionRegion.Get(), RGN_DIFF);
            message.WParam = reinterpret_cast<WPARAM>(rest);
            regionReplaced_ = true;
        }
    } else if (message.Msg == WM_NCRBUTTONDOWN) {
        if (ui::ShowsOnRightClick(popupMenu_)) {
            rightButtonDown_ = true;
            message.Result = 0;
            handled = true;
        }
    } else if (message.Msg == WM_NCRBUTTONUP) {
        if (!rightButtonDown_) return;
        rightButtonDown_ = false;
        if (!ui::ShowsOnRightClick(popupMenu_)) return;
        // The menu in place of the platform's window menu, at the click.
        popupMenu_->SetPopupComponent(this);
        if (::GetCapture() != nullptr) ::ReleaseCapture();
        popupMenu_->Popup(static_cast<short>(LOWORD(message.LParam)),
                          static_cast<short>(HIWORD(message.LParam)));
        message.Result = 0;
        handled = true;
    } else if (message.Msg == WM_NCACTIVATE) {
        windowActive_ = message.WParam != 0;
        // Marked invisible for a moment, the window's default handling only
        // records the new state: it draws no caption of its own that the
        // painted one would cover a moment later.
        HWND window = form->Handle();
        const LONG style = ::GetWindowLongA(window, GWL_STYLE);
        if ((style & WS_VISIBLE) != 0) {
            ::SetWindowLongA(window, GWL_STYLE, style & ~WS_VISIBLE);
            hiddenForActivation_ = true;
        }
    }
}

void TGradientCaption::ShowAfterActivation(HWND window) {
    if (!hiddenForActivation_) return;
    hiddenForActivation_ = false;
    ::SetWindowLongA(window, GWL_STYLE, ::GetWindowLongA(window, GWL_STYLE) | WS_VISIBLE);
}

void TGradientCaption::AfterMessage(THookMessage& message, bool&) {
    if (!CountsAsActive()) return;
    if (message.Msg == WM_NCPAINT) {
        if (regionReplaced_) {
            ::DeleteObject(reinterpret_cast<HRGN>(message.WParam));
            message.WParam = reinterpret_cast<WPARAM>(savedRegion_);
            regionReplaced_ = false;
        }
        PaintNow(OwnerForm()->Handle());
    } else if (message.Msg == WM_NCACTIVATE) {
        HWND window = OwnerForm()->Handle();
        if (hiddenForActivation_) {
            ShowAfterActivation(window);
            // The frame in its new state with the caption area left out, then
            // the caption: each pixel is painted once.
            RECT bounds{};
            ::GetWindowRect(window, &bounds);
            ui::ScopedRegion region(
                ::CreateRectRgn(bounds.left, bounds.top, bounds.right, bounds.bottom));
            ::SendMessageA(window, WM_NCPAINT, reinterpret_cast<WPARAM>(region.Get()), 0);
        } else {
            PaintNow(window);
        }
    }
}

void TGradientCaption::PaintNow(HWND window) {
    ui::ScopedGetDC dc(window, true);  // released also when drawing fails
    if (dc.Get() != nullptr) DrawCaption(dc.Get());
}

// ---------------------------------------------------------- the drawing

void TGradientCaption::DrawCaption(HDC dc) {
    ui::TForm* form = OwnerForm();
    if (form == nullptr || !form->HandleAllocated() ||
        form->BorderStyle() == ui::TBorderStyle::bsNone)
        return;
    RECT window{};
    ::GetWindowRect(form->Handle(), &window);
    const CaptionGeometry geometry =
        CaptionRectFor(window, form->BorderStyle(), form->BorderIcons());
    RECT target = geometry.rect;
    ::OffsetRect(&target, -window.left, -window.top);
    const int width = target.right - target.left;
    const int height = target.bottom - target.top;
    if (width <= 0 || height <= 0) return;

    ui::MemoryDC memory(dc);
    ui::ScopedBitmap picture(::CreateCompatibleBitmap(dc, width, height));
    if (!picture) return;
    ui::SelectObjectScope select(memory.Get(), picture.Get());

    // The ramp starts a quarter of the width left of the visible part.
    const RECT ramp{-(width / 4), 0, width, height};
    const ui::TColor end = windowActive_ ? ui::clActiveCaption : ui::clInactiveCaption;
    if (windowActive_ ? gradientActive_ : gradientInactive_) {
        GradientFillRect(memory.Get(), ramp, startColor_, end, TFillDirection::fdLeftToRight,
                         gradientSteps_ & 0xFF);
    } else {
        ui::ScopedBrush brush(::CreateSolidBrush(ui::ColorToRGB(end)));
        ::FillRect(memory.Get(), &ramp, brush.Get());
    }

    int x = 0;
    const ui::TBorderStyle style = form->BorderStyle();
    if ((geometry.icons & ui::biSystemMenu) != 0 &&
        (style == ui::TBorderStyle::bsSingle || style == ui::TBorderStyle::bsSizeable)) {
        DrawSmallIcon(memory.Get(), x, height);
        x += height;
    }
    if (!formCaption_.empty() || captions_.Count() > 0) {
        ::SetBkMode(memory.Get(), TRANSPARENT);
        x += 2;
        if (captions_.Count() > 0)
            DrawSegments(memory.Get(), x, width, height);
        else
            DrawText(memory.Get(), formCaption_, font_, fontInactiveColor_, x, width, height);
    }
    // The whole caption reaches the screen in this one copy.
    ::BitBlt(dc, target.left, target.top, width, height, memory.Get(), 0, 0, SRCCOPY);
}

void TGradientCaption::DrawSmallIcon(HDC dc, int x, int height) {
    const int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    ui::TForm* form = OwnerForm();
    HICON icon = form->Icon();
    HICON loaded = nullptr;  // a small copy of the program's icon, destroyed after drawing
    if (icon == nullptr) {
        HICON programIcon = ::LoadIconA(module, "APPICON");
        if (programIcon != nullptr) {
            loaded = static_cast<HICON>(
                ::LoadImageA(module, "APPICON", IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
            icon = loaded != nullptr ? loaded : programIcon;
        } else {
            icon = ::LoadIconA(nullptr, IDI_APPLICATION);
        }
    }
    ::DrawIconEx(dc, x + 1 + (height - cx) / 2, (height - cy) / 2, icon, cx, cy, 0, nullptr,
                 DI_NORMAL);
    if (loaded != nullptr) ::DestroyIcon(loaded);
}

// Draws text shortened to the room from x to right; answers its width.
int TGradientCaption::DrawText(HDC dc, const std::string& text, const ui::TFont& font,
                               ui::TColor inactive, int x, int right, int height) {
    ui::SelectObjectScope select(dc, font.Handle());
    ::SetTextColor(dc, ui::ColorToRGB(windowActive_ ? font.Color() : inactive));
    const std::string shown = ShortenCaptionText(dc, text, right - x);
    RECT r{x, 0, right, height};
    ::DrawTextA(dc, shown.c_str(), static_cast<int>(shown.size()), &r, DT_SINGLELINE | DT_VCENTER);
    return TextWidth(dc, shown);
}

void TGradientCaption::DrawSegments(HDC dc, int x, int right, int height) {
    std::vector<const TCaptionSegment*> segments;
    for (int i = 0; i < captions_.Count(); ++i)
        if (captions_.Item(i).Visible()) segments.push_back(&captions_.Item(i));
    auto width = [](const TCaptionSegment* s) { return WidthInFont(s->Font(), s->Caption()); };
    if (hideDirection_ == THideDirection::hdLeftToRight) {
        const int available = right - x;
        size_t first = 0;
        int total = WidthInFont(font_, formCaption_);
        for (const TCaptionSegment* s : segments) total += width(s);
        // Segments give way from the front, a glued one with its follower.
        while (total > available && first < segments.size()) {
            bool glued;
            do {
                glued = segments[first]->GlueNext();
                total -= width(segments[first]);
                ++first;
            } while (glued && first < segments.size());
        }
        for (size_t i = first; i < segments.size() && x < right; ++i) {
            const TCaptionSegment* s = segments[i];
            ui::SelectObjectScope select(dc, s->Font().Handle());
            if (ShortenCaptionText(dc, s->Caption(), right - x) == kEllipsis) continue;
            x += DrawText(dc, s->Caption(), s->Font(), s->InactiveColor(), x, right, height);
        }
        if (x < right) DrawText(dc, formCaption_, font_, fontInactiveColor_, x, right, height);
        return;
    }
    // Right to left: segments are taken from the front while room is left.
    bool stopped = false;
    for (size_t i = 0; i < segments.size() && !stopped; ++i) {
        if (x >= right) {
            stopped = true;
            break;
        }
        const TCaptionSegment* s = segments[i];
        const int w = width(s);
        const int dot = WidthInFont(s->Font(), ".");
        if (w > right - x) {
            x += DrawText(dc, s->Caption(), s->Font(), s->InactiveColor(), x, right, height);
            stopped = true;
        } else if (s->GlueNext() && right - x - w < dot) {
            const bool replace = i == 0 || segments[i - 1]->GlueNext();
            const std::string text = replace ? std::string(kEllipsis) : s->Caption() + kEllipsis;
            x += DrawText(dc, text, s->Font(), s->InactiveColor(), x, right, height);
            stopped = true;
        } else {
            x += DrawText(dc, s->Caption(), s->Font(), s->InactiveColor(), x, right, height);
            if (!s->GlueNext() && x >= right) stopped = true;
        }
    }
    if (!stopped && x < right)
        DrawText(dc, formCaption_, font_, fontInactiveColor_, x, right, height);
}

// ------------------------------------------------------------ form data

namespace {

void ReadSegment(TCaptionSegment& segment, const ui::PropertyValue& item) {
    if (item.kind == ui::PropertyValue::Kind::Text) {
        segment.SetCaption(item.text);
        return;
    }
    if (item.kind != ui::PropertyValue::Kind::List || item.items.size() % 2 != 0)
        throw ui::EResourceError(
            "Property Captions: a text or a list of names and values expected for each segment");
    for (size_t i = 0; i < item.items.size(); i += 2) {
        const std::string& name = item.items[i].AsIdent("Captions");
        const ui::PropertyValue& value = item.items[i + 1];
        if (name == "Caption")
            segment.SetCaption(value.AsText(name));
        else if (name == "ParentFont")
            segment.SetParentFont(value.AsBool(name));
        else if (name == "InactiveColor")
            segment.SetInactiveColor(ui::ColorFromValue(name, value));
        else if (name == "GlueNext")
            segment.SetGlueNext(value.AsBool(name));
        else if (name == "Visible")
            segment.SetVisible(value.AsBool(name));
        else if (!ui::SetFontProperty(segment.Font(), name, value))
            throw ui::EResourceError("Property Captions: unknown segment property " + name);
    }
}

}  // namespace

bool TGradientCaption::SetProperty(const std::string& name, const ui::PropertyValue& value) {
    if (name == "Active") {
        SetActive(value.AsBool(name));
    } else if (name == "DefaultFont") {
        SetDefaultFont(value.AsBool(name));
    } else if (name == "FormCaption") {
        SetFormCaption(value.AsText(name));
    } else if (name == "FontInactiveColor") {
        SetFontInactiveColor(ui::ColorFromValue(name, value));
    } else if (name == "GradientActive") {
        SetGradientActive(value.AsBool(name));
    } else if (name == "GradientInactive") {
        SetGradientInactive(value.AsBool(name));
    } else if (name == "GradientSteps") {
        SetGradientSteps(value.AsInt(name));
    } else if (name == "HideDirection") {
        const std::string& d = value.AsIdent(name);
        if (d == "hdLeftToRight")
            SetHideDirection(THideDirection::hdLeftToRight);
        else if (d == "hdRightToLeft")
            SetHideDirection(THideDirection::hdRightToLeft);
        else
            throw ui::EResourceError("Unknown hide direction " + d);
    } else if (name == "StartColor") {
        SetStartColor(ui::ColorFromValue(name, value));
    } else if (name == "PopupMenu") {
        popupMenuName_ = value.AsIdent(name);
    } else if (name == "Captions") {
        // Each item is one segment: a text alone (in the caption's font), or
        // a list of the segment's property names and values, such as
        // [Caption "Beta" GlueNext true Font.Style [fsBold]].
        if (value.kind != ui::PropertyValue::Kind::List)
            throw ui::EResourceError("Property Captions: a list expected");
        captions_.Clear();
        for (const ui::PropertyValue& item : value.items) ReadSegment(captions_.Add(), item);
    } else if (ui::SetFontProperty(font_, name, value)) {
        // a font of its own: DefaultFont is off from here on
    } else {
        return ui::TComponent::SetProperty(name, value);
    }
    return true;
}

bool TGradientCaption::SetEvent(const std::string& event, const std::any& handler) {
    if (event == "OnActivate")
        OnActivate = std::any_cast<ui::TNotifyEvent>(handler);
    else if (event == "OnDeactivate")
        OnDeactivate = std::any_cast<ui::TNotifyEvent>(handler);
    else
        return ui::TComponent::SetEvent(event, handler);
    return true;
}

void RegisterGradientCaptionClass() {
    ui::RegisterComponentClass("TGradientCaption",
                               [](ui::TComponent* owner) { return new TGradientCaption(owner); });
}

}  // namespace controls
