// Pictures of the program's windows as they stand on the screen, written as
// 24-bit BMP files (a host script turns them into PNG for the docs).
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// Copies the screen rectangle of `window` (frame included) into a BMP file.
// Throws DriverError when the picture cannot be taken or written.
void CaptureWindow(HWND window, const std::string& path);

// Copies a rectangle of the screen into a BMP file.
void CaptureScreenRect(const RECT& rect, const std::string& path);

// Writes a bitmap as a bottom-up 24-bit BMP file.
void WriteBitmapFile(HBITMAP bitmap, const std::string& path);

}  // namespace e2e
