// A windowless progress indicator: a framed rectangle with a bar that fills in
// proportion to a value within a range, and the percentage written over it in
// inverted colours. The picture is composed off screen and copied in one
// operation; a change of the value repaints at once, without waiting for the
// message loop, because the file copy that drives it pumps no messages.
#pragma once

#include <windows.h>

#include <string>

#include "ui/control.h"
#include "ui/form.h"
#include "ui/offscreen.h"

namespace controls {

enum class TGaugeKind { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };

class TGauge : public ui::TGraphicControl {
    QUARNEL_COMPONENT(TGauge, ui::TGraphicControl)
public:
    explicit TGauge(ui::TComponent* owner);

    int MinValue() const { return minValue_; }
    int MaxValue() const { return maxValue_; }
    int Progress() const { return progress_; }
    // A value outside the range raises ui::EInvalidOperation, except while
    // the form data is being read (the other end may not have been read yet).
    void SetMinValue(int value);
    void SetMaxValue(int value);
    // Clamped into the range; paints only when the whole percentage moves.
    void SetProgress(int value);
    // The whole percentage of the range that the value has reached; 0 for an
    // empty range.
    int PercentDone() const;

    TGaugeKind Kind() const { return kind_; }
    void SetKind(TGaugeKind kind);
    bool ShowText() const { return showText_; }
    void SetShowText(bool show);
    ui::TBorderStyle BorderStyle() const { return borderStyle_; }
    // Only bsNone and bsSingle are meaningful; bsSingle draws a black frame.
    void SetBorderStyle(ui::TBorderStyle style);
    ui::TColor ForeColor() const { return foreColor_; }
    void SetForeColor(ui::TColor color);
    ui::TColor BackColor() const { return backColor_; }
    void SetBackColor(ui::TColor color);

    // How many times the gauge has drawn itself, for whatever reason (an
    // immediate repaint or the parent's paint cycle). The parent draws only
    // while its window is visible, so a gauge on a hidden window counts none.
    long PaintCount() const { return paintCount_; }

    void Paint(HDC dc) override;

    bool SetProperty(const std::string& name, const ui::PropertyValue& value) override;
    bool GetIntProperty(const std::string& name, int& value) const override;

protected:
    void FontChanged() override;

private:
    RECT PaintRect() const;
    void PaintIndicator(HDC dc, const RECT& r) const;
    void PaintBar(HDC dc, const RECT& r) const;
    void PaintPie(HDC dc, const RECT& r) const;
    void PaintNeedle(HDC dc, const RECT& r) const;
    // Writes the percentage on `letters` and combines it into `image`.
    void PaintPercentage(HDC image, HDC letters, const RECT& r, int width, int height);

    int minValue_ = 0;
    int maxValue_ = 100;
    int progress_ = 0;
    TGaugeKind kind_ = TGaugeKind::gkHorizontalBar;
    bool showText_ = true;
    ui::TBorderStyle borderStyle_ = ui::TBorderStyle::bsSingle;
    ui::TColor foreColor_ = ui::clBlack;
    ui::TColor backColor_ = ui::clWhite;
    long paintCount_ = 0;
    // The image, the indicator's overlay and the letters, kept between paints.
    // The letters' picture keeps a font of its own selected: the control's
    // font object may be made again while it is selected there, and selecting
    // a font for every paint costs more than the rest of the paint.
    ui::OffscreenBitmap image_;
    ui::OffscreenBitmap overlay_;
    ui::ScopedFont lettersFont_;
    ui::OffscreenBitmap letters_;
};

void RegisterGaugeClass();

}  // namespace controls
