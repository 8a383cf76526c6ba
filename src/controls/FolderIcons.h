// Small pictures of the select-directory dialog's lists: folders, open and
// closed, and drives of each kind. Drawn with plain GDI calls.
#pragma once

#include <windows.h>

namespace controls {

constexpr int kFolderIconWidth = 16;
constexpr int kFolderIconHeight = 13;
constexpr int kDriveIconWidth = 16;
constexpr int kDriveIconHeight = 11;

// With (x, y) the top-left corner of the picture.
void DrawFolderIcon(HDC dc, int x, int y, bool open);
// `driveType` as the platform's drive-type query answers it.
void DrawDriveIcon(HDC dc, int x, int y, UINT driveType);

}  // namespace controls
