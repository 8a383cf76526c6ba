#include "controls/FolderIcons.h"

#include "ui/handles.h"

namespace controls {
namespace {

void Box(HDC dc, int left, int top, int right, int bottom, COLORREF fill, COLORREF edge) {
    ui::ScopedBrush brush(::CreateSolidBrush(fill));
    ui::ScopedPen pen(::CreatePen(PS_SOLID, 1, edge));
    ui::SelectObjectScope selectBrush(dc, brush.Get());
    ui::SelectObjectScope selectPen(dc, pen.Get());
    ::Rectangle(dc, left, top, right, bottom);
}

void Shape(HDC dc, const POINT* points, int count, COLORREF fill, COLORREF edge) {
    ui::ScopedBrush brush(::CreateSolidBrush(fill));
    ui::ScopedPen pen(::CreatePen(PS_SOLID, 1, edge));
    ui::SelectObjectScope selectBrush(dc, brush.Get());
    ui::SelectObjectScope selectPen(dc, pen.Get());
    ::Polygon(dc, points, count);
}

const COLORREF kOutline = RGB(0, 0, 0);
const COLORREF kFolderBack = RGB(128, 128, 0);
const COLORREF kFolderFront = RGB(255, 255, 0);
const COLORREF kCase = RGB(192, 192, 192);
const COLORREF kDark = RGB(128, 128, 128);

}  // namespace

void DrawFolderIcon(HDC dc, int x, int y, bool open) {
    // The tab and back of the folder, then its front.
    const POINT back[] = {{x + 0, y + 2},  {x + 2, y + 0},   {x + 6, y + 0}, {x + 8, y + 2},
                          {x + 14, y + 2}, {x + 14, y + 12}, {x + 0, y + 12}};
    Shape(dc, back, 7, open ? kFolderBack : kFolderFront, kOutline);
    if (open) {
        const POINT front[] = {{x + 3, y + 5}, {x + 15, y + 5}, {x + 12, y + 12}, {x + 0, y + 12}};
        Shape(dc, front, 4, kFolderFront, kOutline);
    } else {
        ui::ScopedPen light(::CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
        ui::SelectObjectScope select(dc, light.Get());
        ::MoveToEx(dc, x + 1, y + 4, nullptr);
        ::LineTo(dc, x + 14, y + 4);
    }
}

void DrawDriveIcon(HDC dc, int x, int y, UINT driveType) {
    switch (driveType) {
        case DRIVE_REMOVABLE:
            Box(dc, x + 2, y + 0, x + 14, y + 11, kDark, kOutline);
            Box(dc, x + 5, y + 0, x + 11, y + 4, kCase, kOutline);
            Box(dc, x + 4, y + 6, x + 12, y + 11, RGB(255, 255, 255), kOutline);
            break;
        case DRIVE_CDROM:
            Box(dc, x + 0, y + 3, x + 16, y + 11, kCase, kOutline);
            {
                ui::ScopedBrush disc(::CreateSolidBrush(RGB(0, 255, 255)));
                ui::SelectObjectScope select(dc, disc.Get());
                ::Ellipse(dc, x + 4, y + 0, x + 12, y + 8);
            }
            break;
        case DRIVE_REMOTE:
            Box(dc, x + 0, y + 2, x + 16, y + 8, kCase, kOutline);
            Box(dc, x + 7, y + 8, x + 9, y + 11, RGB(0, 128, 0), RGB(0, 128, 0));
            Box(dc, x + 2, y + 10, x + 14, y + 11, RGB(0, 128, 0), RGB(0, 128, 0));
            break;
        case DRIVE_RAMDISK:
            Box(dc, x + 1, y + 2, x + 15, y + 9, RGB(0, 128, 0), kOutline);
            for (int i = 0; i < 5; ++i)
                Box(dc, x + 3 + 2 * i, y + 9, x + 4 + 2 * i, y + 11, kDark, kDark);
            break;
        default:  // a fixed disk and anything unknown
            Box(dc, x + 0, y + 3, x + 16, y + 10, kCase, kOutline);
            Box(dc, x + 11, y + 6, x + 13, y + 8, RGB(0, 255, 0), RGB(0, 128, 0));
            break;
    }
}

}  // namespace controls
