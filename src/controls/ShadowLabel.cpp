#include "controls/ShadowLabel.h"

#include "ui/application.h"
#include "ui/exceptions.h"
#include "ui/form.h"
#include "ui/std_controls.h"

namespace controls {

void DrawShadowText(HDC dc, const std::string& text, RECT& rect, TShadowPosition position,
                    COLORREF shadow, int size, UINT flags) {
    RECT textRect = rect;
    RECT shadowRect = rect;
    switch (position) {
        case TShadowPosition::spLeftTop:
            ::OffsetRect(&shadowRect, -size, -size);
            break;
        case TShadowPosition::spLeftBottom:
            ::OffsetRect(&shadowRect, -size, size);
            break;
        case TShadowPosition::spRightBottom:
            ::OffsetRect(&shadowRect, size, size);
            break;
        case TShadowPosition::spRightTop:
            ::OffsetRect(&shadowRect, size, -size);
            break;
    }
    const COLORREF textColour = ::SetTextColor(dc, shadow);
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &shadowRect, flags);
    ::SetTextColor(dc, textColour);
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect, flags);
    // Both copies have the same size, so their union is the span of the two.
    rect.left = textRect.left < shadowRect.left ? textRect.left : shadowRect.left;
    rect.top = textRect.top < shadowRect.top ? textRect.top : shadowRect.top;
    rect.right = textRect.right > shadowRect.right ? textRect.right : shadowRect.right;
    rect.bottom = textRect.bottom > shadowRect.bottom ? textRect.bottom : shadowRect.bottom;
}

// ------------------------------------------------------ TCustomShadowLabel

TCustomShadowLabel::TCustomShadowLabel(ui::TComponent* owner) : ui::TGraphicControl(owner) {
    SetControlStyle(ControlStyle() | ui::csOpaque | ui::csReplicatable);
    SetBounds(Left(), Top(), 65, 17);
}

TCustomShadowLabel::~TCustomShadowLabel() {
    if (focusControl_ != nullptr) RemoveFreeNotification(focusControl_);
}

void TCustomShadowLabel::SetAlignment(ui::TAlignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    Invalidate();
}

void TCustomShadowLabel::SetLayout(TTextLayout layout) {
    if (layout == layout_) return;
    layout_ = layout;
    Invalidate();
}

void TCustomShadowLabel::SetAutoSize(bool autoSize) {
    if (autoSize == autoSize_) return;
    autoSize_ = autoSize;
    AdjustBounds();
}

void TCustomShadowLabel::SetWordWrap(bool wordWrap) {
    if (wordWrap == wordWrap_) return;
    wordWrap_ = wordWrap;
    AdjustBounds();
}

void TCustomShadowLabel::SetShadowColor(ui::TColor color) {
    if (color == shadowColor_) return;
    shadowColor_ = color;
    Invalidate();
}

void TCustomShadowLabel::SetShadowSize(int size) {
    if (size < 0) size = 0;
    if (size > 255) size = 255;
    if (size == shadowSize_) return;
    shadowSize_ = size;
    AdjustBounds();
    Invalidate();
}

void TCustomShadowLabel::SetShadowPos(TShadowPosition position) {
    if (position == shadowPos_) return;
    shadowPos_ = position;
    Invalidate();
}

void TCustomShadowLabel::SetShowAccelChar(bool show) {
    if (show == showAccelChar_) return;
    showAccelChar_ = show;
    Invalidate();
}

void TCustomShadowLabel::SetShowFocus(bool show) {
    if (show == showFocus_) return;
    showFocus_ = show;
    Invalidate();
}

void TCustomShadowLabel::SetTransparent(bool transparent) {
    if (transparent == Transparent()) return;
    SetControlStyle(transparent ? ControlStyle() & ~ui::csOpaque : ControlStyle() | ui::csOpaque);
    Invalidate();
}

void TCustomShadowLabel::SetFocusControl(ui::TWinControl* control) {
    if (focusControl_ != nullptr && focusControl_ != control) RemoveFreeNotification(focusControl_);
    focusControl_ = control;
    if (control != nullptr) FreeNotification(control);
    if (showFocus_) Invalidate();
}

void TCustomShadowLabel::Notification(ui::TComponent* component, ui::Operation operation) {
    ui::TGraphicControl::Notification(component, operation);
    if (operation == ui::Operation::Remove && component == focusControl_) {
        focusControl_ = nullptr;
        focusControlFocused_ = false;
    }
}

void TCustomShadowLabel::Loaded() {
    ui::TGraphicControl::Loaded();
    if (!focusControlName_.empty()) {
        SetFocusControl(ui::FindFocusControl(*this, focusControlName_));
        focusControlName_.clear();
    }
    AdjustBounds();
}

void TCustomShadowLabel::TextChanged() {
    Invalidate();
    AdjustBounds();
}

void TCustomShadowLabel::FontChanged() {
    ui::TGraphicControl::FontChanged();
    Invalidate();
    AdjustBounds();
}

void TCustomShadowLabel::EnabledChanged() {
    ui::TGraphicControl::EnabledChanged();
    CheckMouseInside();
}

void TCustomShadowLabel::VisibleChanged() {
    ui::TGraphicControl::VisibleChanged();
    if (Visible()) CheckMouseInside();
}

void TCustomShadowLabel::DoDrawText(HDC dc, RECT& rect, UINT flags) {
    std::string text = Caption();
    if ((flags & DT_CALCRECT) != 0 && (text.empty() || (showAccelChar_ && text == "&")))
        text += ' ';  // one line is measured even without text
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    ui::SelectObjectScope font(dc, Font().Handle());
    ui::TColor textColour = Font().Color();
    ui::TColor shadowColour = shadowColor_;
    int size = shadowSize_;
    TShadowPosition position = shadowPos_;
    if (!Enabled()) {
        // Engraved: grey text over a highlight copy.
        if (size == 0 && ui::NewStylePlatform()) {
            size = 1;
            position = TShadowPosition::spRightBottom;
        }
        textColour = ui::clGrayText;
        shadowColour = ui::clBtnHighlight;
    }
    ::SetTextColor(dc, ui::ColorToRGB(textColour));
    DrawShadowText(dc, text, rect, position, ui::ColorToRGB(shadowColour), size, flags);
}

void TCustomShadowLabel::Paint(HDC dc) {
    if (!Enabled()) leftPressed_ = false;
    const RECT client = ClientRect();
    if (!Transparent()) {
        ui::ScopedBrush brush(::CreateSolidBrush(ui::ColorToRGB(Color())));
        ::FillRect(dc, &client, brush.Get());
    }
    ::SetBkMode(dc, TRANSPARENT);
    RECT rect{client.left + leftMargin_ + 1, client.top, client.right - rightMargin_ - 1,
              client.bottom};
    UINT flags = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0);
    if (alignment_ == ui::TAlignment::taRightJustify) flags |= DT_RIGHT;
    if (alignment_ == ui::TAlignment::taCenter) flags |= DT_CENTER;
    if (layout_ != TTextLayout::tlTop) {
        DoDrawText(dc, rect, flags | DT_CALCRECT);
        rect.left = client.left + leftMargin_;
        rect.right = client.right - rightMargin_;
        int offset = Height() - rect.bottom;
        if (layout_ == TTextLayout::tlCenter) offset /= 2;
        ::OffsetRect(&rect, 0, offset);
    }
    DoDrawText(dc, rect, flags);
    if (showFocus_ && focusControl_ != nullptr && focusControl_->Focused()) {
        ::InflateRect(&rect, 1, 0);
        ui::ScopedBrush brush(::CreateSolidBrush(ui::ColorToRGB(Color())));
        ui::SelectObjectScope select(dc, brush.Get());
        ::DrawFocusRect(dc, &rect);
    }
}

void TCustomShadowLabel::AdjustBounds() {
    if (!autoSize_ || IsLoading()) return;
    RECT rect{leftMargin_ + 1, 0, Width() - rightMargin_ - 1, Height()};
    {
        ui::ScopedGetDC screen(nullptr);
        DoDrawText(screen.Get(), rect,
                   DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0));
    }
    ::InflateRect(&rect, 1, 0);
    int left = Left();
    // A right-justified label keeps its right edge where it is.
    if (alignment_ == ui::TAlignment::taRightJustify) left = Left() + Width() - rect.right;
    SetBounds(left, Top(), rect.right, rect.bottom);
}

void TCustomShadowLabel::FocusChanged(ui::TWinControl* focused) {
    const bool now = focusControl_ != nullptr && focused == focusControl_;
    if (now != focusControlFocused_) {
        focusControlFocused_ = now;
        if (showFocus_) Invalidate();
    }
    ui::TGraphicControl::FocusChanged(focused);
}

bool TCustomShadowLabel::DialogChar(char key) {
    if (focusControl_ == nullptr || !Enabled() || !showAccelChar_ ||
        !ui::IsAccelerator(key, Caption()) || !focusControl_->CanFocus())
        return false;
    focusControl_->SetFocus();
    return true;
}

void TCustomShadowLabel::SetMouseInside(bool inside) {
    if (inside == mouseInside_) return;
    mouseInside_ = inside;
    if (inside && OnMouseEnter) OnMouseEnter(this);
    if (!inside && OnMouseLeave) OnMouseLeave(this);
}

void TCustomShadowLabel::MouseEnter() {
    if (!mouseInside_ && Enabled() && ui::ActiveWindowOfThisThread()) SetMouseInside(true);
}

void TCustomShadowLabel::MouseLeave() {
    // While the left button holds the label, the mouse still belongs to it.
    if (mouseInside_ && Enabled() && !leftPressed_) SetMouseInside(false);
}

void TCustomShadowLabel::MouseDown(int button, int x, int y) {
    if (button == 0 && Enabled()) leftPressed_ = true;
    ui::TGraphicControl::MouseDown(button, x, y);
    if (button == 1) CheckMouseInside();
}

void TCustomShadowLabel::MouseUp(int button, int x, int y) {
    ui::TGraphicControl::MouseUp(button, x, y);
    if (button == 0 && leftPressed_) leftPressed_ = false;
    if (button == 0 || button == 1) CheckMouseInside();
}

void TCustomShadowLabel::CheckMouseInside() {
    ui::TWinControl* parent = Parent();
    bool inside = false;
    POINT cursor{};
    if (Enabled() && parent != nullptr && parent->HandleAllocated() && ::GetCursorPos(&cursor)) {
        ::ScreenToClient(parent->Handle(), &cursor);
        inside = parent->ControlAtPos(cursor, true) == this && ui::ActiveWindowOfThisThread();
    }
    SetMouseInside(inside);
}

// ------------------------------------------------------------ TShadowLabel

namespace {

template <typename T, size_t N>
T FromIdent(const std::string& property, const ui::PropertyValue& value,
            const std::pair<const char*, T> (&names)[N]) {
    const std::string& ident = value.AsIdent(property);
    for (const auto& [name, v] : names) {
        if (ident == name) return v;
    }
    throw ui::EResourceError("Property " + property + ": unknown value " + ident);
}

}  // namespace

bool TShadowLabel::SetProperty(const std::string& name, const ui::PropertyValue& value) {
    using ui::TAlignment;
    if (name == "Alignment") {
        static const std::pair<const char*, TAlignment> kNames[] = {
            {"taLeftJustify", TAlignment::taLeftJustify},
            {"taRightJustify", TAlignment::taRightJustify},
            {"taCenter", TAlignment::taCenter}};
        SetAlignment(FromIdent(name, value, kNames));
    } else if (name == "Layout") {
        static const std::pair<const char*, TTextLayout> kNames[] = {
            {"tlTop", TTextLayout::tlTop},
            {"tlCenter", TTextLayout::tlCenter},
            {"tlBottom", TTextLayout::tlBottom}};
        SetLayout(FromIdent(name, value, kNames));
    } else if (name == "ShadowPos") {
        static const std::pair<const char*, TShadowPosition> kNames[] = {
            {"spLeftTop", TShadowPosition::spLeftTop},
            {"spLeftBottom", TShadowPosition::spLeftBottom},
            {"spRightBottom", TShadowPosition::spRightBottom},
            {"spRightTop", TShadowPosition::spRightTop}};
        SetShadowPos(FromIdent(name, value, kNames));
    } else if (name == "AutoSize") {
        SetAutoSize(value.AsBool(name));
    } else if (name == "WordWrap") {
        SetWordWrap(value.AsBool(name));
    } else if (name == "ShadowColor") {
        SetShadowColor(ui::ColorFromValue(name, value));
    } else if (name == "ShadowSize") {
        const int size = value.AsInt(name);
        if (size < 0 || size > 255) throw ui::EResourceError("Property ShadowSize out of range");
        SetShadowSize(size);
    } else if (name == "ShowAccelChar") {
        SetShowAccelChar(value.AsBool(name));
    } else if (name == "ShowFocus") {
        SetShowFocus(value.AsBool(name));
    } else if (name == "Transparent") {
        SetTransparent(value.AsBool(name));
    } else if (name == "FocusControl") {
        focusControlName_ = value.AsIdent(name);
    } else if (SetPopupMenuProperty(name, value) || SetDragProperty(name, value)) {
        // PopupMenu, DragMode, DragCursor
    } else {
        return TCustomShadowLabel::SetProperty(name, value);
    }
    return true;
}

bool TShadowLabel::SetEvent(const std::string& event, const std::any& handler) {
    if (event == "OnMouseEnter")
        OnMouseEnter = std::any_cast<ui::TNotifyEvent>(handler);
    else if (event == "OnMouseLeave")
        OnMouseLeave = std::any_cast<ui::TNotifyEvent>(handler);
    else if (!SetDragEvent(event, handler))
        return TCustomShadowLabel::SetEvent(event, handler);
    return true;
}

void RegisterShadowLabelClass() {
    ui::RegisterComponentClass("TShadowLabel",
                               [](ui::TComponent* owner) { return new TShadowLabel(owner); });
}

}  // namespace controls
