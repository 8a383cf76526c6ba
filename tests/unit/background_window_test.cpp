// The background window as its form data makes it: placement, the backdrop
// filling the client area, the five labels and their swapped colour pairs.
#include <gtest/gtest.h>

#include <memory>

#include "app/setupf.h"
#include "controls/GradientCaption.h"
#include "controls/PleximoWallpaper.h"
#include "controls/ShadowLabel.h"

namespace {

using controls::TShadowLabel;

TEST(BackgroundWindow, PlacementBackdropAndTitlesAsStored) {
    auto form = std::make_unique<app::TForm1>();
    form->Create();
    RECT window{};
    ::GetWindowRect(form->Handle(), &window);
    EXPECT_EQ(window.left, -5);
    EXPECT_EQ(window.top, -3);
    EXPECT_EQ(window.right - window.left, 808);
    EXPECT_EQ(window.bottom - window.top, 580);
    RECT client{};
    ::GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.right, 800);
    EXPECT_EQ(client.bottom, 553);

    auto* backdrop = form->Find<controls::TPleximoWallpaper>("PleximoWallpaper1");
    EXPECT_EQ(backdrop->Width(), 800);
    EXPECT_EQ(backdrop->Height(), 553);
    EXPECT_EQ(backdrop->Image().Height(), 600);
    EXPECT_EQ(backdrop->TransColor(), 33751297u);
    EXPECT_EQ(form->Controls().front(), backdrop) << "the backdrop must lie beneath the titles";

    const struct {
        const char* name;
        ui::TColor colour;
        int height;
    } labels[] = {{"ShadowLabel1", ui::clNavy, -48},
                  {"ShadowLabel2", ui::clWhite, -48},
                  {"ShadowLabel3", ui::clWhite, -27},
                  {"ShadowLabel4", ui::clNavy, -27},
                  {"ShadowLabel5", ui::clBlue, -21}};
    for (const auto& expected : labels) {
        auto* label = form->Find<TShadowLabel>(expected.name);
        EXPECT_TRUE(label->Transparent()) << expected.name;
        EXPECT_EQ(label->Font().Name(), "Arial") << expected.name;
        EXPECT_EQ(label->Font().Style(), unsigned{ui::fsBold | ui::fsItalic}) << expected.name;
        EXPECT_EQ(label->Font().Charset(), 204) << expected.name;
        EXPECT_EQ(label->Font().Color(), expected.colour) << expected.name;
        EXPECT_EQ(label->Font().Height(), expected.height) << expected.name;
        EXPECT_EQ(label->ShadowSize(), 1) << expected.name;
        EXPECT_EQ(label->ShadowColor(), ui::clBtnHighlight) << expected.name;
    }
    // The lower copies lie right of and below the upper ones.
    auto* title = form->Find<TShadowLabel>("ShadowLabel2");
    auto* titleCopy = form->Find<TShadowLabel>("ShadowLabel1");
    EXPECT_EQ(titleCopy->Left() - title->Left(), 4);
    EXPECT_EQ(titleCopy->Top() - title->Top(), 8);
    EXPECT_EQ(titleCopy->Width(), title->Width());

    auto* caption = form->Find<controls::TGradientCaption>("GradientCaption1");
    EXPECT_EQ(caption->FormCaption(), "Quarnel Setup");
    EXPECT_EQ(caption->Captions().Count(), 0);
    EXPECT_EQ(caption->Hook()->WinControl(), form.get()) << "the title bar is not hooked";
}

}  // namespace
