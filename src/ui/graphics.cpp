#include "ui/graphics.h"

#include <cstring>

#include "ui/exceptions.h"

namespace ui {

COLORREF ColorToRGB(TColor color) {
    if ((color & 0xFF000000u) == 0x80000000u) return ::GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0x00FFFFFFu;
}

bool ColorFromIdent(const std::string& name, TColor& color) {
    static const struct {
        const char* name;
        TColor value;
    } kColors[] = {
        {"clBlack", clBlack},
        {"clMaroon", 0x000080},
        {"clGreen", 0x008000},
        {"clOlive", 0x008080},
        {"clNavy", clNavy},
        {"clPurple", 0x800080},
        {"clTeal", 0x808000},
        {"clGray", 0x808080},
        {"clSilver", clSilver},
        {"clRed", 0x0000FF},
        {"clLime", 0x00FF00},
        {"clYellow", 0x00FFFF},
        {"clBlue", clBlue},
        {"clFuchsia", 0xFF00FF},
        {"clAqua", 0xFFFF00},
        {"clWhite", clWhite},
        {"clActiveCaption", clActiveCaption},
        {"clInactiveCaption", clInactiveCaption},
        {"clMenu", clMenu},
        {"clWindow", clWindow},
        {"clWindowText", clWindowText},
        {"clCaptionText", clCaptionText},
        {"clBtnFace", clBtnFace},
        {"clBtnShadow", clBtnShadow},
        {"clGrayText", clGrayText},
        {"clBtnText", clBtnText},
        {"clInactiveCaptionText", clInactiveCaptionText},
        {"clBtnHighlight", clBtnHighlight},
        {"clHighlight", clHighlight},
        {"clHighlightText", clHighlightText},
    };
    for (const auto& c : kColors) {
        if (name == c.name) {
            color = c.value;
            return true;
        }
    }
    return false;
}

TColor ColorFromValue(const std::string& property, const PropertyValue& value) {
    TColor c = 0;
    if (value.kind == PropertyValue::Kind::Identifier && ColorFromIdent(value.text, c)) return c;
    return value.As32Bits(property);
}

TFont::TFont() = default;

TFont::TFont(const TFont& other)
    : name_(other.name_),
      height_(other.height_),
      style_(other.style_),
      color_(other.color_),
      charset_(other.charset_) {}

TFont& TFont::operator=(const TFont& other) {
    if (this != &other) {
        name_ = other.name_;
        height_ = other.height_;
        style_ = other.style_;
        color_ = other.color_;
        charset_ = other.charset_;
        Changed();
    }
    return *this;
}

void TFont::SetName(const std::string& name) {
    if (name == name_) return;
    name_ = name;
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    Changed();
}

void TFont::SetStyle(unsigned style) {
    if (style == style_) return;
    style_ = style;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}

void TFont::SetCharset(int charset) {
    if (charset == charset_) return;
    charset_ = charset;
    Changed();
}

void TFont::SetFromLogFont(const LOGFONTA& logFont) {
    name_ = logFont.lfFaceName;
    height_ = logFont.lfHeight;
    style_ = (logFont.lfWeight >= FW_BOLD ? unsigned{fsBold} : 0u) |
             (logFont.lfItalic ? unsigned{fsItalic} : 0u) |
             (logFont.lfUnderline ? unsigned{fsUnderline} : 0u) |
             (logFont.lfStrikeOut ? unsigned{fsStrikeOut} : 0u);
    charset_ = logFont.lfCharSet;
    Changed();
}

void TFont::Changed() {
    handle_.Reset();
    if (OnChange) OnChange();
}

HFONT TFont::Handle() const {
    if (!handle_) {
        LOGFONTA lf{};
        lf.lfHeight = height_;
        lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style_ & fsItalic) ? TRUE : FALSE;
        lf.lfUnderline = (style_ & fsUnderline) ? TRUE : FALSE;
        lf.lfStrikeOut = (style_ & fsStrikeOut) ? TRUE : FALSE;
        lf.lfCharSet = static_cast<BYTE>(charset_);
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = DEFAULT_PITCH;
        std::strncpy(lf.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
        handle_.Reset(::CreateFontIndirectA(&lf));
    }
    return handle_.Get();
}

bool SetFontProperty(TFont& font, const std::string& name, const PropertyValue& value) {
    if (name == "Font.Name") {
        font.SetName(value.AsText(name));
    } else if (name == "Font.Height") {
        font.SetHeight(value.AsInt(name));
    } else if (name == "Font.Color") {
        font.SetColor(ColorFromValue(name, value));
    } else if (name == "Font.Charset") {
        font.SetCharset(value.AsInt(name));
    } else if (name == "Font.Style") {
        unsigned style = 0;
        for (const std::string& s : value.AsIdentSet(name)) {
            if (s == "fsBold")
                style |= fsBold;
            else if (s == "fsItalic")
                style |= fsItalic;
            else if (s == "fsUnderline")
                style |= fsUnderline;
            else if (s == "fsStrikeOut")
                style |= fsStrikeOut;
            else
                throw EResourceError("Unknown font style " + s);
        }
        font.SetStyle(style);
    } else {
        return false;
    }
    return true;
}

SIZE MeasureText(const TFont& font, const std::string& text) {
    SIZE size{0, 0};
    ScopedGetDC screen(nullptr);
    SelectObjectScope select(screen.Get(), font.Handle());
    RECT r{0, 0, 0, 0};
    ::DrawTextA(screen.Get(), text.c_str(), static_cast<int>(text.size()), &r,
                DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    size.cx = r.right - r.left;
    size.cy = r.bottom - r.top;
    return size;
}

bool IsAccelerator(char key, const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;  // "&&" stands for a plain "&"
            continue;
        }
        char a[2] = {caption[i + 1], 0}, b[2] = {key, 0};
        ::CharUpperBuffA(a, 1);
        ::CharUpperBuffA(b, 1);
        return a[0] == b[0];
    }
    return false;
}

}  // namespace ui
