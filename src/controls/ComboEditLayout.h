// Where the button of a combo edit sits and how big the edit must be: rules
// that depend only on sizes, kept apart from the windows so that each border
// case can be checked by itself.
#pragma once

#include <windows.h>

namespace controls {

enum class TEditBorderStyle { bsNone, bsSingle };

// The button container's rectangle in the edit's client area. `platformMajor`
// is the platform's major version; systems before 4 draw no inner edge.
RECT ButtonContainerBounds(int platformMajor, bool ctl3d, TEditBorderStyle border, int width,
                           int height, int buttonWidth);

// The part of the client area that text may use: everything left of the
// button container and a two-pixel gap.
RECT EditTextArea(int clientWidth, int clientHeight, int containerWidth);

// The least height of the edit: the smaller of two character heights, four
// borders and one pixel.
int MinimumEditHeight(int systemCharHeight, int fontCharHeight, int borderHeight);

// The caret's width for a font of the given weight.
int EditCaretWidth(bool bold);

}  // namespace controls
