#include "controls/GradientFill.h"

#include <cstdint>
#include <utility>

#include "ui/handles.h"

namespace controls {

int MulDivRounded(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const std::uint64_t magnitude = product < 0 ? -static_cast<std::uint64_t>(product) : product;
    const std::uint64_t divisor = c < 0 ? -static_cast<std::int64_t>(c) : c;
    const std::uint64_t quotient = (magnitude + divisor / 2) / divisor;
    return negative ? -static_cast<int>(quotient) : static_cast<int>(quotient);
}

std::vector<GradientBand> GradientBands(const RECT& rect, COLORREF begin, COLORREF end, int colours,
                                        bool vertical) {
    std::vector<GradientBand> bands;
    const int from = vertical ? rect.top : rect.left;
    const int length = vertical ? rect.bottom - rect.top : rect.right - rect.left;
    if (length <= 0) return bands;
    colours &= 0xFF;
    int n = colours < length ? colours : length;
    if (n < 1) n = 1;
    const int band = length / n;
    if (band <= 0) return bands;
    const int begins[3] = {GetRValue(begin), GetGValue(begin), GetBValue(begin)};
    const int deltas[3] = {GetRValue(end) - begins[0], GetGValue(end) - begins[1],
                           GetBValue(end) - begins[2]};
    for (int i = 0; i < n; ++i) {
        int channel[3];
        for (int k = 0; k < 3; ++k)
            channel[k] = (begins[k] + (n > 1 ? MulDivRounded(i, deltas[k], n - 1) : 0)) & 0xFF;
        bands.push_back(
            {from + i * band, from + i * band + band, RGB(channel[0], channel[1], channel[2])});
    }
    return bands;
}

void GradientFillRect(HDC dc, const RECT& rect, ui::TColor start, ui::TColor finish,
                      TFillDirection direction, int colours) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    const bool vertical =
        direction == TFillDirection::fdTopToBottom || direction == TFillDirection::fdBottomToTop;
    const bool reverse =
        direction == TFillDirection::fdRightToLeft || direction == TFillDirection::fdBottomToTop;
    COLORREF first = ui::ColorToRGB(start), last = ui::ColorToRGB(finish);
    if (reverse) std::swap(first, last);
    auto fill = [&](int from, int to, COLORREF colour) {
        const RECT r = vertical ? RECT{rect.left, from, rect.right, to}
                                : RECT{from, rect.top, to, rect.bottom};
        ui::ScopedBrush brush(::CreateSolidBrush(colour));
        ::FillRect(dc, &r, brush.Get());
    };
    const std::vector<GradientBand> bands = GradientBands(rect, first, last, colours, vertical);
    for (const GradientBand& band : bands) fill(band.from, band.to, band.colour);
    const int farEnd = vertical ? rect.bottom : rect.right;
    const int covered = bands.empty() ? (vertical ? rect.top : rect.left) : bands.back().to;
    // The leftover strip takes the end colour, as a palette-relative colour.
    if (covered < farEnd) fill(covered, farEnd, ui::ColorToRGB(finish) | 0x02000000);
}

}  // namespace controls
