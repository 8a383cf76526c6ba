#include "ui/placement.h"

namespace ui {

namespace {

LONG PlacedOnAxis(LONG start, LONG end, LONG areaStart, LONG areaEnd) {
    const LONG size = end - start;
    if (start + size > areaEnd) start = areaEnd - size;
    if (start < areaStart) start = areaStart;
    return start;
}

}  // namespace

POINT PlacedWithin(const RECT& window, const RECT& area) {
    return {PlacedOnAxis(window.left, window.right, area.left, area.right),
            PlacedOnAxis(window.top, window.bottom, area.top, area.bottom)};
}

RECT WorkArea() {
    RECT area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

}  // namespace ui
