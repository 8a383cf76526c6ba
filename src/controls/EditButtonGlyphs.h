// The pictures of a combo edit's button: the three dots of an ellipsis,
// built for the button's width, and the platform's drop-down arrow.
#pragma once

#include <windows.h>

namespace controls {

// Where the ellipsis dots go in a glyph made for a button of the given width.
struct EllipsisLayout {
    int width = 1;
    int height = 4;
    int dotLeft[3] = {0, 0, 0};
    int dotTop = 1;
    int dotSize = 2;
};
EllipsisLayout EllipsisGlyphLayout(int buttonWidth);

// A monochrome bitmap of the ellipsis: black dots on white. The caller owns it.
HBITMAP MakeEllipsisGlyph(int buttonWidth);

// The platform's combo-box arrow bitmap. The caller owns it.
HBITMAP LoadDropDownGlyph();

}  // namespace controls
