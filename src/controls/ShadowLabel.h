// A windowless label that draws its caption twice: a shadow copy in the
// shadow colour, displaced by a few pixels, then the text in the font colour.
// Transparent labels let the parent's picture show between the letters.
#pragma once

#include <windows.h>

#include <string>

#include "ui/control.h"

namespace controls {

enum class TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };
enum class TTextLayout { tlTop, tlCenter, tlBottom };

// Draws `text` into rect with DrawText and `flags`, first a copy moved
// `size` pixels towards `position` in `shadow`, then the text in the DC's
// text colour. Afterwards rect is the union of both copies, which is what a
// measuring call (DT_CALCRECT) reports.
void DrawShadowText(HDC dc, const std::string& text, RECT& rect, TShadowPosition position,
                    COLORREF shadow, int size, UINT flags);

class TCustomShadowLabel : public ui::TGraphicControl {
    QUARNEL_COMPONENT(TCustomShadowLabel, ui::TGraphicControl)
public:
    explicit TCustomShadowLabel(ui::TComponent* owner);
    ~TCustomShadowLabel() override;

    ui::TAlignment Alignment() const { return alignment_; }
    void SetAlignment(ui::TAlignment alignment);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    ui::TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(ui::TColor color);
    int ShadowSize() const { return shadowSize_; }
    void SetShadowSize(int size);
    TShadowPosition ShadowPos() const { return shadowPos_; }
    void SetShadowPos(TShadowPosition position);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool show);
    bool ShowFocus() const { return showFocus_; }
    void SetShowFocus(bool show);
    // True exactly while the control style lacks csOpaque.
    bool Transparent() const { return (ControlStyle() & ui::csOpaque) == 0; }
    void SetTransparent(bool transparent);
    ui::TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(ui::TWinControl* control);
    bool MouseInside() const { return mouseInside_; }

    ui::TNotifyEvent OnMouseEnter;
    ui::TNotifyEvent OnMouseLeave;

    void Paint(HDC dc) override;
    void Loaded() override;
    void FocusChanged(ui::TWinControl* focused) override;
    bool DialogChar(char key) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(int button, int x, int y) override;
    void MouseUp(int button, int x, int y) override;

protected:
    void TextChanged() override;
    void FontChanged() override;
    void EnabledChanged() override;
    void VisibleChanged() override;
    void Notification(ui::TComponent* component, ui::Operation operation) override;

    // Takes the caption's size when AutoSize is on.
    void AdjustBounds();
    // Draws (or measures, with DT_CALCRECT) the caption with its shadow.
    void DoDrawText(HDC dc, RECT& rect, UINT flags);
    // Looks again whether the mouse is over the label, and tells when that
    // changed.
    void CheckMouseInside();
    void SetMouseInside(bool inside);

    std::string focusControlName_;  // named in form data, found after loading

private:
    ui::TAlignment alignment_ = ui::TAlignment::taLeftJustify;
    TTextLayout layout_ = TTextLayout::tlTop;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    ui::TColor shadowColor_ = ui::clBtnHighlight;
    int shadowSize_ = 1;
    TShadowPosition shadowPos_ = TShadowPosition::spLeftTop;
    bool showAccelChar_ = true;
    bool showFocus_ = false;
    ui::TWinControl* focusControl_ = nullptr;
    bool mouseInside_ = false;
    bool leftPressed_ = false;
    bool focusControlFocused_ = false;
    // Text margins; no window of the program sets them.
    int leftMargin_ = 0;
    int rightMargin_ = 0;
};

// The label as the form data knows it: every property and event published.
class TShadowLabel : public TCustomShadowLabel {
    QUARNEL_COMPONENT(TShadowLabel, TCustomShadowLabel)
public:
    using TCustomShadowLabel::TCustomShadowLabel;
    bool SetProperty(const std::string& name, const ui::PropertyValue& value) override;
    bool SetEvent(const std::string& event, const std::any& handler) override;
};

void RegisterShadowLabelClass();

}  // namespace controls
