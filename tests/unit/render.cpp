#include "render.h"

namespace testdata {

Rendered::Rendered(ui::TWinControl& window, int width, int height)
    : width_(width), height_(height), memory_(nullptr) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    old_ = ::SelectObject(memory_.Get(), bitmap_.Get());
    window.PaintGraphicControls(memory_.Get(), RECT{0, 0, width, height});
}

}  // namespace testdata
