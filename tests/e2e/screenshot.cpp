#include "screenshot.h"

#include <vector>

#include "driver_error.h"
#include "ui/handles.h"

namespace e2e {

void CaptureWindow(HWND window, const std::string& path) {
    RECT rect{};
    if (!::GetWindowRect(window, &rect)) throw DriverError("cannot place the window for " + path);
    // The background window's frame lies just outside the screen; the screen
    // DC has nothing to give there, and Wine then copies nothing at all.
    const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    RECT visible{};
    if (!::IntersectRect(&visible, &rect, &screen))
        throw DriverError("the window is off the screen for " + path);
    CaptureScreenRect(visible, path);
}

void CaptureScreenRect(const RECT& rect, const std::string& path) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) throw DriverError("empty rectangle for " + path);
    ui::ScopedGetDC screen(nullptr);
    ui::MemoryDC memory(screen.Get());
    ui::ScopedBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), width, height));
    if (!bitmap) throw DriverError("cannot make a bitmap for " + path);
    {
        ui::SelectObjectScope selected(memory.Get(), bitmap.Get());
        if (!::BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), rect.left, rect.top,
                      SRCCOPY))
            throw DriverError("cannot copy the screen for " + path);
    }
    WriteBitmapFile(bitmap.Get(), path);
}

void WriteBitmapFile(HBITMAP bitmap, const std::string& path) {
    BITMAP info{};
    if (!::GetObjectA(bitmap, sizeof info, &info)) throw DriverError("not a bitmap: " + path);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;  // positive: rows bottom-up, as BMP files keep them
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(info.bmWidth) * 3 + 3) & ~3u;
    header.biSizeImage = stride * static_cast<DWORD>(info.bmHeight);
    std::vector<BYTE> pixels(header.biSizeImage);
    {
        ui::ScopedGetDC screen(nullptr);
        if (::GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(),
                        reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == 0)
            throw DriverError("cannot read the pixels for " + path);
    }
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;

    ui::ScopedHandle out(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out.IsValid()) throw DriverError("cannot create " + path);
    DWORD written = 0;
    const bool ok = ::WriteFile(out.Get(), &file, sizeof file, &written, nullptr) &&
                    written == sizeof file &&
                    ::WriteFile(out.Get(), &header, sizeof header, &written, nullptr) &&
                    written == sizeof header &&
                    ::WriteFile(out.Get(), pixels.data(), header.biSizeImage, &written, nullptr) &&
                    written == header.biSizeImage;
    if (!ok) throw DriverError("cannot write " + path);
}

}  // namespace e2e
