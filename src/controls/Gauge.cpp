#include "controls/Gauge.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "ui/exceptions.h"
#include "ui/handles.h"

namespace controls {
namespace {

constexpr double kPi = 3.14159265358979323846;

[[noreturn]] void RaiseRangeError(std::int64_t low, std::int64_t high) {
    // The bounds are worked out in 64 bits: one past an extreme limit must
    // not wrap round into a nonsensical range.
    throw ui::EInvalidOperation("Value must be between " + std::to_string(low) + " and " +
                                std::to_string(high));
}

TGaugeKind KindFromIdent(const std::string& name) {
    if (name == "gkText") return TGaugeKind::gkText;
    if (name == "gkHorizontalBar") return TGaugeKind::gkHorizontalBar;
    if (name == "gkVerticalBar") return TGaugeKind::gkVerticalBar;
    if (name == "gkPie") return TGaugeKind::gkPie;
    if (name == "gkNeedle") return TGaugeKind::gkNeedle;
    throw ui::EResourceError("Unknown gauge kind " + name);
}

ui::TBorderStyle BorderStyleFromIdent(const std::string& name) {
    if (name == "bsNone") return ui::TBorderStyle::bsNone;
    if (name == "bsSingle") return ui::TBorderStyle::bsSingle;
    throw ui::EResourceError("Unsupported gauge border style " + name);
}

// Gives the kept picture the size and format of `like`'s and paints it black.
HDC BlackPicture(ui::OffscreenBitmap& picture, HDC like, int width, int height) {
    HDC dc = picture.Prepare(like, width, height);
    if (dc != nullptr) ::PatBlt(dc, 0, 0, width, height, BLACKNESS);
    return dc;
}

void FillWith(HDC dc, const RECT& r, ui::TColor color) {
    ui::ScopedBrush brush(::CreateSolidBrush(ui::ColorToRGB(color)));
    ::FillRect(dc, &r, brush.Get());
}

}  // namespace

TGauge::TGauge(ui::TComponent* owner) : ui::TGraphicControl(owner) {
    // Every pixel of its rectangle is its own: a repaint goes straight to
    // the window.
    SetControlStyle(ControlStyle() | ui::csOpaque);
    SetBounds(0, 0, 100, 100);
    color_ = ui::clWindow;
}

// ------------------------------------------------------------------ the range

int TGauge::PercentDone() const {
    const std::int64_t range = static_cast<std::int64_t>(maxValue_) - minValue_;
    if (range == 0) return 0;
    const std::int64_t done = static_cast<std::int64_t>(progress_) - minValue_;
    // Whole numbers in 64 bits: a range from a negative minimum to a large
    // maximum cannot overflow, a whole percentage of the range is never one
    // percent short, and the result cannot hang on the processor's rounding
    // precision, which the start-up code sets. Division truncates towards
    // zero, as the percentage does.
    return static_cast<int>(done * 100 / range);
}

void TGauge::SetMinValue(int value) {
    if (value == minValue_) return;
    if (value > maxValue_ && !IsLoading())
        RaiseRangeError(-2147483647, static_cast<std::int64_t>(maxValue_) - 1);
    minValue_ = value;
    if (progress_ < value) progress_ = value;
    Repaint();
}

void TGauge::SetMaxValue(int value) {
    if (value == maxValue_) return;
    if (value < minValue_ && !IsLoading())
        RaiseRangeError(static_cast<std::int64_t>(minValue_) + 1, 2147483647);
    maxValue_ = value;
    if (progress_ > value) progress_ = value;
    Repaint();
}

void TGauge::SetProgress(int value) {
    if (value < minValue_)
        value = minValue_;
    else if (value > maxValue_)
        value = maxValue_;
    if (value == progress_) return;
    const int before = PercentDone();
    progress_ = value;
    // A copy pushes its position once per block; painting only on a new whole
    // percentage keeps that to about a hundred paints per file.
    if (PercentDone() != before) Repaint();
}

// --------------------------------------------------------------- appearance

void TGauge::SetKind(TGaugeKind kind) {
    if (kind == kind_) return;
    kind_ = kind;
    Repaint();
}

void TGauge::SetShowText(bool show) {
    if (show == showText_) return;
    showText_ = show;
    Repaint();
}

void TGauge::SetBorderStyle(ui::TBorderStyle style) {
    if (style == borderStyle_) return;
    borderStyle_ = style;
    Repaint();
}

void TGauge::SetForeColor(ui::TColor color) {
    if (color == foreColor_) return;
    foreColor_ = color;
    Repaint();
}

void TGauge::SetBackColor(ui::TColor color) {
    if (color == backColor_) return;
    backColor_ = color;
    Repaint();
}

// ------------------------------------------------------------------- drawing

RECT TGauge::PaintRect() const {
    RECT r = ClientRect();
    // The margin left out stays black and is the frame.
    if (borderStyle_ == ui::TBorderStyle::bsSingle) ::InflateRect(&r, -1, -1);
    return r;
}

void TGauge::Paint(HDC dc) {
    ++paintCount_;
    const int width = Width();
    const int height = Height();
    if (width <= 0 || height <= 0) return;
    const RECT r = PaintRect();

    // The three pictures are kept between paints: a copy repaints the gauge
    // a hundred times per file, and making them each time cost most of that.
    HDC image = BlackPicture(image_, dc, width, height);
    HDC overlay = BlackPicture(overlay_, dc, width, height);
    if (image == nullptr || overlay == nullptr) return;
    PaintIndicator(overlay, r);
    ::BitBlt(image, 0, 0, width, height, overlay, 0, 0, SRCINVERT);
    if (showText_) {
        HDC letters = BlackPicture(letters_, dc, width, height);
        if (letters != nullptr) PaintPercentage(image, letters, r, width, height);
    }
    ::BitBlt(dc, 0, 0, width, height, image, 0, 0, SRCCOPY);
}

void TGauge::PaintIndicator(HDC dc, const RECT& r) const {
    switch (kind_) {
        case TGaugeKind::gkText:
            FillWith(dc, r, backColor_);
            break;
        case TGaugeKind::gkHorizontalBar:
        case TGaugeKind::gkVerticalBar:
            PaintBar(dc, r);
            break;
        case TGaugeKind::gkPie:
            PaintPie(dc, r);
            break;
        case TGaugeKind::gkNeedle:
            PaintNeedle(dc, r);
            break;
    }
}

void TGauge::PaintBar(HDC dc, const RECT& r) const {
    // Width and height count one pixel more than the rectangle holds, and the
    // filled part's right and bottom are these counts taken as coordinates:
    // inside a single frame the full bar then ends exactly at the frame.
    const int w = r.right - r.left + 1;
    const int h = r.bottom - r.top + 1;
    FillWith(dc, r, backColor_);
    // The bar's length is that share of the width or height, truncated, in
    // whole numbers: in floating point a whole share of 10 or 20 percent came
    // out a pixel short at one rounding precision and not at another.
    const std::int64_t percent = PercentDone();
    if (kind_ == TGaugeKind::gkHorizontalBar) {
        int filled = static_cast<int>(w * percent / 100);
        if (filled > w) filled = w;
        if (filled > 0) FillWith(dc, RECT{r.left, r.top, filled, h}, foreColor_);
    } else {
        int filled = static_cast<int>(h * percent / 100);
        if (filled >= h) filled = h - 1;
        FillWith(dc, RECT{r.left, h - filled, w, h}, foreColor_);
    }
}

void TGauge::PaintPie(HDC dc, const RECT& r) const {
    FillWith(dc, r, color_);
    ui::ScopedPen pen(::CreatePen(PS_SOLID, 1, ui::ColorToRGB(foreColor_)));
    ui::ScopedBrush back(::CreateSolidBrush(ui::ColorToRGB(backColor_)));
    ui::SelectObjectScope selectPen(dc, pen.Get());
    {
        ui::SelectObjectScope selectBrush(dc, back.Get());
        ::Ellipse(dc, r.left, r.top, r.right, r.bottom);
    }
    const int percent = PercentDone();
    if (percent <= 0) return;
    ui::ScopedBrush fore(::CreateSolidBrush(ui::ColorToRGB(foreColor_)));
    ui::SelectObjectScope selectBrush(dc, fore.Get());
    if (percent >= 100) {
        // A pie whose two radials meet would leave a line at twelve o'clock.
        ::Ellipse(dc, r.left, r.top, r.right, r.bottom);
        return;
    }
    // The sector grows clockwise from twelve o'clock; the platform draws a
    // pie counter-clockwise from its first radial to its second.
    const double cx = (r.left + r.right) / 2.0;
    const double cy = (r.top + r.bottom) / 2.0;
    const double rx = (r.right - r.left) / 2.0;
    const double ry = (r.bottom - r.top) / 2.0;
    const double start = kPi / 2 - 2 * kPi * percent / 100.0;
    ::Pie(dc, r.left, r.top, r.right, r.bottom, static_cast<int>(cx + rx * std::cos(start)),
          static_cast<int>(cy - ry * std::sin(start)), static_cast<int>(cx),
          static_cast<int>(cy - ry));
}

void TGauge::PaintNeedle(HDC dc, const RECT& r) const {
    FillWith(dc, r, color_);
    // A half disc standing on the bottom edge; the needle turns from its
    // left end (0 percent) to its right end (100 percent).
    const int cx = (r.left + r.right) / 2;
    const int cy = r.bottom - 1;
    const int rx = (r.right - r.left) / 2;
    const int ry = r.bottom - r.top - 1;
    ui::ScopedPen pen(::CreatePen(PS_SOLID, 1, ui::ColorToRGB(foreColor_)));
    ui::ScopedBrush back(::CreateSolidBrush(ui::ColorToRGB(backColor_)));
    ui::SelectObjectScope selectPen(dc, pen.Get());
    ui::SelectObjectScope selectBrush(dc, back.Get());
    ::Pie(dc, cx - rx, cy - ry, cx + rx, cy + ry, cx + rx, cy, cx - rx, cy);
    int percent = PercentDone();
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
    const double angle = kPi - kPi * percent / 100.0;
    ::MoveToEx(dc, cx, cy, nullptr);
    ::LineTo(dc, cx + static_cast<int>(rx * std::cos(angle)),
             cy - static_cast<int>(ry * std::sin(angle)));
}

void TGauge::PaintPercentage(HDC image, HDC dc, const RECT& r, int width, int height) {
    const std::string text = std::to_string(PercentDone()) + "%";
    if (!lettersFont_) {
        LOGFONTA font{};
        if (::GetObjectA(Font().Handle(), sizeof font, &font) != 0)
            lettersFont_.Reset(::CreateFontIndirectA(&font));
    }
    // Stays selected until the context or the font goes (FontChanged).
    if (lettersFont_ && ::GetCurrentObject(dc, OBJ_FONT) != lettersFont_.Get())
        ::SelectObject(dc, lettersFont_.Get());
    ::SetBkMode(dc, TRANSPARENT);
    // White letters combined by exclusive or show the inverse of whatever
    // lies under each of them, bar or background alike.
    ::SetTextColor(dc, RGB(255, 255, 255));
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    const int x = (r.right - r.left + 1 - size.cx) / 2;
    const int y = (r.bottom - r.top + 1 - size.cy) / 2;
    ::ExtTextOutA(dc, x, y, ETO_CLIPPED, &r, text.c_str(), static_cast<UINT>(text.size()), nullptr);
    ::BitBlt(image, 0, 0, width, height, dc, 0, 0, SRCINVERT);
}

void TGauge::FontChanged() {
    // The letters' context goes first: the font is not freed while selected.
    letters_.Reset();
    lettersFont_.Reset();
    Invalidate();
}

// ---------------------------------------------------------------- properties

bool TGauge::SetProperty(const std::string& name, const ui::PropertyValue& value) {
    if (name == "MinValue") {
        SetMinValue(value.AsInt(name));
    } else if (name == "MaxValue") {
        SetMaxValue(value.AsInt(name));
    } else if (name == "Progress") {
        SetProgress(value.AsInt(name));
    } else if (name == "Kind") {
        SetKind(KindFromIdent(value.AsIdent(name)));
    } else if (name == "ShowText") {
        SetShowText(value.AsBool(name));
    } else if (name == "BorderStyle") {
        SetBorderStyle(BorderStyleFromIdent(value.AsIdent(name)));
    } else if (name == "ForeColor") {
        SetForeColor(ui::ColorFromValue(name, value));
    } else if (name == "BackColor") {
        SetBackColor(ui::ColorFromValue(name, value));
    } else if (SetPopupMenuProperty(name, value)) {
        // found once the form is loaded
    } else {
        return ui::TGraphicControl::SetProperty(name, value);
    }
    return true;
}

bool TGauge::GetIntProperty(const std::string& name, int& value) const {
    if (name == "MinValue")
        value = minValue_;
    else if (name == "MaxValue")
        value = maxValue_;
    else if (name == "Progress")
        value = progress_;
    else
        return ui::TGraphicControl::GetIntProperty(name, value);
    return true;
}

void RegisterGaugeClass() {
    ui::RegisterComponentClass("TGauge", [](ui::TComponent* owner) { return new TGauge(owner); });
}

}  // namespace controls
