#include "ui/offscreen.h"

namespace ui {

namespace {

// The display's format, asked once for each change of the display: under
// Wine, asking a window's context for its depth costs three round trips to
// the Wine server, more than all the rest of a gauge's repaint.
unsigned displayFormat = 1;
unsigned displayFormatAsked = 0;
int displayBits = 0;

}  // namespace

void DisplayFormatChanged() { ++displayFormat; }

bool OffscreenBitmap::Format::operator==(const Format& other) const {
    return bits == other.bits && masks[0] == other.masks[0] && masks[1] == other.masks[1] &&
           masks[2] == other.masks[2] && display == other.display;
}

OffscreenBitmap::Format OffscreenBitmap::FormatOf(HDC dc) {
    Format format;
    const DWORD type = ::GetObjectType(dc);
    if (type == OBJ_MEMDC) {
        // A memory context makes bitmaps like the one selected into it.
        DIBSECTION section{};
        const HGDIOBJ selected = ::GetCurrentObject(dc, OBJ_BITMAP);
        const int got = ::GetObject(selected, sizeof section, &section);
        if (got == sizeof section) {
            format.bits = section.dsBm.bmBitsPixel * section.dsBm.bmPlanes;
            if (section.dsBmih.biCompression == BI_BITFIELDS) {
                for (int i = 0; i < 3; ++i) format.masks[i] = section.dsBitfields[i];
            }
            return format;
        }
        if (got >= static_cast<int>(sizeof(BITMAP))) {
            // A device-dependent bitmap is in the display's format, which its
            // depth alone does not tell (5-5-5 and 5-6-5 are both 16 bits).
            format.bits = section.dsBm.bmBitsPixel * section.dsBm.bmPlanes;
            format.display = displayFormat;
            return format;
        }
    }
    if (type == OBJ_DC && ::GetDeviceCaps(dc, TECHNOLOGY) == DT_RASDISPLAY) {
        if (displayFormatAsked != displayFormat) {
            displayBits = ::GetDeviceCaps(dc, BITSPIXEL) * ::GetDeviceCaps(dc, PLANES);
            displayFormatAsked = displayFormat;
        }
        format.bits = displayBits;
        format.display = displayFormat;
        return format;
    }
    format.bits = ::GetDeviceCaps(dc, BITSPIXEL) * ::GetDeviceCaps(dc, PLANES);
    return format;
}

HDC OffscreenBitmap::Prepare(HDC like, int width, int height, bool atLeast, bool* made) {
    if (made != nullptr) *made = false;
    if (width <= 0 || height <= 0) return nullptr;
    const Format format = FormatOf(like);
    // With a palette the colours of a bitmap hang on its colour table, which
    // the format above does not tell apart: such a picture is made afresh.
    const bool keep = format.bits > 8;
    const bool fits =
        atLeast ? width <= width_ && height <= height_ : width == width_ && height == height_;
    if (keep && bitmap_ && fits && format == format_) return dc_->Get();

    // A kept picture only grows, so that two areas of different shapes
    // painted in turn do not make it again each time.
    if (atLeast && keep && bitmap_ && format == format_) {
        if (width < width_) width = width_;
        if (height < height_) height = height_;
    }
    Reset();
    auto dc = std::make_unique<MemoryDC>(like);
    ScopedBitmap bitmap(::CreateCompatibleBitmap(like, width, height));
    if (dc->Get() == nullptr || !bitmap) return nullptr;
    dc_ = std::move(dc);
    bitmap_ = std::move(bitmap);
    select_ = std::make_unique<SelectObjectScope>(dc_->Get(), bitmap_.Get());
    width_ = width;
    height_ = height;
    format_ = format;
    if (!keep) width_ = height_ = 0;  // never matches: made again next time
    if (made != nullptr) *made = true;
    return dc_->Get();
}

void OffscreenBitmap::Reset() {
    // The old bitmap goes back into the context before either is freed.
    select_.reset();
    bitmap_.Reset();
    dc_.reset();
    width_ = height_ = 0;
}

}  // namespace ui
