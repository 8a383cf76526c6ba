// Test entry: the component-object runtime is held for the whole run, as the
// program holds it for its whole life.
#include <gtest/gtest.h>

#include "ui/handles.h"

int main(int argc, char** argv) {
    ui::ComApartment apartment;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
