// Where a window stands on a screen smaller than the one it was laid out for.
#pragma once

#include <windows.h>

namespace ui {

// The top-left corner that puts `window` wholly on `area`, moved no further
// than needed on each axis: a window that lies on the area already stays
// where it is. A window wider or taller than the area lines up with the
// area's left or top edge, so that its title bar stays reachable.
POINT PlacedWithin(const RECT& window, const RECT& area);

// The screen less the task bar and the desktop tool bars.
RECT WorkArea();

}  // namespace ui
