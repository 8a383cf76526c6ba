#include "controls/PleximoWallpaper.h"

#include "ui/form.h"
#include "ui/palette.h"
#include "ui/resource_data.h"

namespace controls {
namespace {

const ui::TColor kPaletteRelative = 0x02000000;

}  // namespace

std::optional<ui::TColor> TransparencyColorOf(const ui::TBitmap& bitmap) {
    if (bitmap.HasTransparentColor())
        return ui::ColorToRGB(bitmap.TransparentColor()) + kPaletteRelative;
    if (bitmap.Monochrome()) return 0xFFFFFF + kPaletteRelative;
    if (bitmap.Empty()) return std::nullopt;
    return bitmap.Pixel(0, bitmap.Height() - 1) + kPaletteRelative;
}

TPleximoWallpaper::TPleximoWallpaper(ui::TComponent* owner)
    : ui::TGraphicControl(owner), image_(std::make_unique<ui::TBitmap>()) {
    SetControlStyle(ControlStyle() | ui::csOpaque);
    SetBounds(Left(), Top(), 100, 100);
    SetAlign(ui::TAlign::alClient);
}

TPleximoWallpaper::~TPleximoWallpaper() = default;

void TPleximoWallpaper::SetImage(const ui::TBitmap* bitmap) {
    if (bitmap == nullptr) {
        image_->SetHeight(0);
        image_->SetWidth(0);
    } else {
        // A bitmap without pixels has no colour to give; TransColor stays.
        if (const auto color = TransparencyColorOf(*bitmap)) transColor_ = *color;
        image_->Assign(*bitmap);
    }
    // The old picture is not wiped on the screen first: the repaint puts
    // the new one there in a single copy.
    ImageChanged();
}

void TPleximoWallpaper::SetTransColor(ui::TColor color) {
    if (color == transColor_) return;
    transColor_ = color;
    Invalidate();
}

void TPleximoWallpaper::Loaded() {
    ui::TGraphicControl::Loaded();
    // The stored size is the designer's; the control covers the client area.
    RequestAlign();
    Invalidate();
}

void TPleximoWallpaper::Paint(HDC dc) {
    const int width = Width(), height = Height();
    const int tileWidth = image_->Width(), tileHeight = image_->Height();
    // A picture without rows cannot be tiled (the step down would be 0).
    if (width <= 0 || height <= 0 || tileWidth <= 0 || tileHeight <= 0) return;
    if (tileWidth >= width && tileHeight >= height) {
        // One tile covers the control (the backdrop): drawn straight from the
        // picture, with no copy of it kept.
        image_->Draw(dc, 0, 0, width, height, 0, 0);
        return;
    }
    // The tiles that meet the part being painted are copied from one tile
    // kept in the display's format (a plain copy each, where drawing from
    // the picture's own format converts every pixel); no picture of the laid
    // tiles is kept (a gauge in front repaints without the wallpaper, see
    // PaintGraphicControls).
    RECT clip{0, 0, width, height};
    if (::GetClipBox(dc, &clip) == ERROR) return;
    bool made = false;
    HDC tile = tile_.Prepare(dc, tileWidth, tileHeight, false, &made);
    if (tile == nullptr) return;
    if (made) {
        // On a display of 256 colours the tile's pixels are palette indices:
        // drawn through the context's own default palette, its greys would
        // become the nearest of the 20 static colours, and every copy of it
        // would keep them.
        const ui::PaletteScope colours(tile);
        image_->Draw(tile, 0, 0, tileWidth, tileHeight, 0, 0);
    }
    const int right = clip.right < width ? clip.right : width;
    const int bottom = clip.bottom < height ? clip.bottom : height;
    for (int y = clip.top > 0 ? clip.top / tileHeight * tileHeight : 0; y < bottom; y += tileHeight)
        for (int x = clip.left > 0 ? clip.left / tileWidth * tileWidth : 0; x < right;
             x += tileWidth)
            ::BitBlt(dc, x, y, tileWidth, tileHeight, tile, 0, 0, SRCCOPY);
}

void TPleximoWallpaper::ImageChanged() {
    tile_.Reset();
    Invalidate();
}

bool TPleximoWallpaper::SetProperty(const std::string& name, const ui::PropertyValue& value) {
    if (name == "Image.Data") {
        // Read straight into the owned picture: the image setter (and its
        // transparency rule) is not involved; TransColor comes as stored. A
        // picture in the program's resources is drawn from there.
        if (value.kind == ui::PropertyValue::Kind::Resource)
            image_->ShareData(ui::ResourceView(value.text));
        else
            image_->ReadData(ui::BinaryValue(name, value));
        ImageChanged();
    } else if (name == "TransColor") {
        SetTransColor(ui::ColorFromValue(name, value));
    } else {
        return ui::TGraphicControl::SetProperty(name, value);
    }
    return true;
}

bool TPleximoWallpaper::SetEvent(const std::string& event, const std::any& handler) {
    // The picture can take drops; it is not dragged itself.
    if (event == "OnDragDrop" || event == "OnDragOver" || event == "OnEndDrag")
        return SetDragEvent(event, handler);
    return ui::TGraphicControl::SetEvent(event, handler);
}

void RegisterPleximoWallpaperClass() {
    ui::RegisterComponentClass("TPleximoWallpaper",
                               [](ui::TComponent* owner) { return new TPleximoWallpaper(owner); });
}

}  // namespace controls
