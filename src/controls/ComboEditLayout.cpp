#include "controls/ComboEditLayout.h"

#include <algorithm>

namespace controls {

RECT ButtonContainerBounds(int platformMajor, bool ctl3d, TEditBorderStyle border, int width,
                           int height, int buttonWidth) {
    if (platformMajor >= 4 && border == TEditBorderStyle::bsSingle) {
        if (ctl3d) return RECT{width - buttonWidth - 4, 0, width - 4, height - 4};
        return RECT{width - buttonWidth - 2, 2, width - 2, 2 + height - 4};
    }
    return RECT{width - buttonWidth, 0, width, height};
}

RECT EditTextArea(int clientWidth, int clientHeight, int containerWidth) {
    return RECT{0, 0, clientWidth - containerWidth - 2, clientHeight + 1};
}

int MinimumEditHeight(int systemCharHeight, int fontCharHeight, int borderHeight) {
    return std::min(systemCharHeight, fontCharHeight) + 4 * borderHeight + 1;
}

int EditCaretWidth(bool bold) { return bold ? 2 : 1; }

}  // namespace controls
