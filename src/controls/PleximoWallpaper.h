// A windowless control that covers its parent's client area with a picture
// repeated in tiles from the top-left corner. The windows place one beneath
// all their other controls.
#pragma once

#include <memory>
#include <optional>

#include "ui/bitmap.h"
#include "ui/control.h"
#include "ui/handles.h"
#include "ui/offscreen.h"

namespace controls {

class TPleximoWallpaper : public ui::TGraphicControl {
    QUARNEL_COMPONENT(TPleximoWallpaper, ui::TGraphicControl)
public:
    explicit TPleximoWallpaper(ui::TComponent* owner);
    ~TPleximoWallpaper() override;

    const ui::TBitmap& Image() const { return *image_; }
    // Keeps a copy of `bitmap` and takes its transparency colour as
    // TransColor; none empties the picture and keeps TransColor.
    void SetImage(const ui::TBitmap* bitmap);
    ui::TColor TransColor() const { return transColor_; }
    void SetTransColor(ui::TColor color);

    void Paint(HDC dc) override;
    void Loaded() override;
    bool SetProperty(const std::string& name, const ui::PropertyValue& value) override;
    bool SetEvent(const std::string& event, const std::any& handler) override;

private:
    // A new picture is painted at the next repaint.
    void ImageChanged();

    std::unique_ptr<ui::TBitmap> image_;
    // One tile in the display's format, for a picture smaller than the control.
    ui::OffscreenBitmap tile_;
    ui::TColor transColor_ = 0;
};

// The colour a bitmap stands for as transparent, palette-relative: its own
// transparency colour when one is set, white for a monochrome bitmap, else
// its bottom-left pixel. None for a bitmap without pixels.
std::optional<ui::TColor> TransparencyColorOf(const ui::TBitmap& bitmap);

void RegisterPleximoWallpaperClass();

}  // namespace controls
