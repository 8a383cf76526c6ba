// Colour ramps drawn as bands of solid colour: the gradient of the caption.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/graphics.h"

namespace controls {

enum class TFillDirection { fdLeftToRight, fdRightToLeft, fdTopToBottom, fdBottomToTop };

// One band of a ramp: from `from` to `to` along the ramp's direction (x for
// the horizontal directions, y for the vertical ones), in one colour.
struct GradientBand {
    int from;
    int to;
    COLORREF colour;
};

// The bands of a ramp over `rect` from `begin` to `end` in `colours`
// colours (taken as an 8-bit count): N = max(1, min(colours, length))
// bands of length div N, band i in begin + MulDiv(i, end - begin, N - 1) per
// channel. What the bands leave over at the far end is not among them: it
// takes the end colour.
std::vector<GradientBand> GradientBands(const RECT& rect, COLORREF begin, COLORREF end, int colours,
                                        bool vertical);

// Fills rect with the ramp from `start` to `finish` (system colours are
// looked up); the leftover strip at the far end is filled with the finish
// colour.
void GradientFillRect(HDC dc, const RECT& rect, ui::TColor start, ui::TColor finish,
                      TFillDirection direction, int colours);

// a * b / c rounded to the nearest integer, halves away from zero, as the
// platform's MulDiv does; -1 when c is 0.
int MulDivRounded(int a, int b, int c);

}  // namespace controls
