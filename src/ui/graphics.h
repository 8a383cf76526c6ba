// Colours and fonts as the form data names them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "ui/handles.h"
#include "ui/property_value.h"

namespace ui {

// 0x00BBGGRR plain, 0x02BBGGRR palette-relative, 0x800000nn a system colour.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clActiveCaption = 0x80000002;
constexpr TColor clInactiveCaption = 0x80000003;
constexpr TColor clMenu = 0x80000004;
constexpr TColor clWindow = 0x80000005;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clCaptionText = 0x80000009;
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clBtnShadow = 0x80000010;
constexpr TColor clGrayText = 0x80000011;
constexpr TColor clBtnText = 0x80000012;
constexpr TColor clInactiveCaptionText = 0x80000013;
constexpr TColor clBtnHighlight = 0x80000014;
constexpr TColor clHighlight = 0x8000000D;
constexpr TColor clHighlightText = 0x8000000E;

// The plain RGB value to hand to GDI: system colours are looked up now.
COLORREF ColorToRGB(TColor color);

// A colour name of the form data (clNavy, clBtnFace, ...); false if unknown.
bool ColorFromIdent(const std::string& name, TColor& color);
// A colour of the form data: a colour name or a number.
TColor ColorFromValue(const std::string& property, const PropertyValue& value);

enum FontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// A font description with a lazily made handle. Changing any attribute drops
// the handle and tells the owner through OnChange.
class TFont {
public:
    TFont();
    TFont(const TFont& other);
    TFont& operator=(const TFont& other);

    const std::string& Name() const { return name_; }
    int Height() const { return height_; }
    unsigned Style() const { return style_; }
    TColor Color() const { return color_; }
    int Charset() const { return charset_; }

    void SetName(const std::string& name);
    void SetHeight(int height);
    void SetStyle(unsigned style);
    void SetColor(TColor color);
    void SetCharset(int charset);
    // Takes every attribute of a platform font description.
    void SetFromLogFont(const LOGFONTA& logFont);

    HFONT Handle() const;
    bool IsBold() const { return (style_ & fsBold) != 0; }

    std::function<void()> OnChange;

private:
    void Changed();

    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    unsigned style_ = 0;
    TColor color_ = clWindowText;
    int charset_ = DEFAULT_CHARSET;
    mutable ScopedFont handle_;
};

// Sets the font attribute that a form data property names (Font.Name,
// Font.Height, Font.Color, Font.Charset, Font.Style); false for other names.
bool SetFontProperty(TFont& font, const std::string& name, const PropertyValue& value);

// Width and height of a text in a font on a screen device context.
SIZE MeasureText(const TFont& font, const std::string& text);

// Whether `key` is the accelerator that an "&" marks in `caption`
// (letters compared without regard to case; "&&" is a plain "&").
bool IsAccelerator(char key, const std::string& caption);

}  // namespace ui
