// Where a window laid out for 800 x 600 stands on a smaller work area.
#include "ui/placement.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct PlacementCase {
    const char* what;
    RECT window;
    RECT area;
    POINT expected;
};

TEST(Placement, MovesOnlyAsFarAsTheWorkAreaNeeds) {
    // The setup window as it stands at 162, 285: 463 x 287 with its frame.
    const RECT setup{162, 285, 162 + 463, 285 + 287};
    const std::vector<PlacementCase> cases = {
        {"800 x 600: stays", setup, {0, 0, 800, 600}, {162, 285}},
        {"640 x 480: up just enough", setup, {0, 0, 640, 480}, {162, 193}},
        {"640 x 480 less a task bar", setup, {0, 0, 640, 452}, {162, 165}},
        {"task bar on the left", setup, {200, 0, 800, 600}, {200, 285}},
        {"narrow: left just enough", setup, {0, 0, 600, 600}, {137, 285}},
        {"larger than the area: its top-left corner stays on it",
         {-40, -30, 760, 570},
         {0, 0, 640, 480},
         {0, 0}},
    };
    for (const PlacementCase& c : cases) {
        const POINT placed = ui::PlacedWithin(c.window, c.area);
        EXPECT_EQ(c.expected.x, placed.x) << c.what;
        EXPECT_EQ(c.expected.y, placed.y) << c.what;
    }
}

}  // namespace
