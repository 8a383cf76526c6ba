// The program on a screen set to large fonts (120 pixels per inch): the
// windows laid out at 96 grow with the font size, the setup window, which
// does not scale, keeps its size.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "registry_state.h"
#include "setup_scenario.h"

namespace e2e {
namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kLogPixels[] = "LogPixels";

class LargeFonts : public SetupScenario {
protected:
    // The screen's font size is read by each program as it starts; the
    // prefix gets its own setting back for the scenarios after this one.
    void SetUp() override {
        SetupScenario::SetUp();
        saved_ = ReadRawValue(HKEY_CURRENT_USER, kDesktopKey, kLogPixels);
        WriteDwordValue(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, 120);
    }

    void TearDown() override {
        SetupScenario::TearDown();
        if (saved_ && saved_->type == REG_DWORD && saved_->bytes.size() == sizeof(DWORD)) {
            DWORD value = 0;
            std::memcpy(&value, saved_->bytes.data(), sizeof value);
            WriteDwordValue(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, value);
        } else {
            DeleteValue(HKEY_CURRENT_USER, kDesktopKey, kLogPixels);
        }
    }

private:
    std::optional<RawValue> saved_;
};

TEST_F(LargeFonts, StoredFormsScaleFromEitherKindOfStoredSizeAndTheSetupWindowKeepsItsSize) {
    Launch();
    HWND agreement = WaitForAgreementWindow();
    Screenshot(agreement, "agreement-120ppi");
    // Stored as a client size of 406 x 237.
    const SIZE terms = ClientSizeOf(agreement);
    EXPECT_EQ(508, terms.cx);
    EXPECT_EQ(296, terms.cy);

    Click(RequireButton(agreement, "Accept"));
    HWND setup = WaitForSetupWindow();
    HWND background = WaitForBackgroundWindow();
    Screenshot(background, "setup-over-background-120ppi");
    // Stored as an outer size of 808 x 580 around an 800 x 553 client area.
    const SIZE backdrop = ClientSizeOf(background);
    EXPECT_EQ(1000, backdrop.cx);
    EXPECT_EQ(691, backdrop.cy);
    const SIZE setupClient = ClientSizeOf(setup);
    EXPECT_EQ(457, setupClient.cx);
    EXPECT_EQ(262, setupClient.cy);

    Click(ControlsOf(setup).exitButton);
    ExpectCleanExit();
}

}  // namespace
}  // namespace e2e
