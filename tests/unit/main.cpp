// Test entry: the component-object runtime and the application object are
// held for the whole run, as the program holds them for its whole life.
#include <gtest/gtest.h>

#include "app/Classes.h"
#include "ui/application.h"
#include "ui/handles.h"

int main(int argc, char** argv) {
    ui::ComApartment apartment;
    ui::TApplication application;
    application.SetTitle("Quarnel Setup");
    app::RegisterClasses();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
