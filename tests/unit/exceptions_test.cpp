#include <gtest/gtest.h>

#include "ui/exceptions.h"

TEST(Format, FillsPlaceholdersOfAnyLength) {
    EXPECT_EQ(ui::Format("Value must be between %d and %d", -2147483647, 99),
              "Value must be between -2147483647 and 99");
    EXPECT_EQ(ui::Format("%s", std::string(600, 'x').c_str()).size(), 600u);
    EXPECT_EQ(ui::Format("%s", ""), "");
}
