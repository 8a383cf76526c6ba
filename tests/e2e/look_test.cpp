// The look of the shipped program on the screen: the title bars that the
// setup and background windows paint themselves over the platform's own.
#include <gtest/gtest.h>

#include "setup_scenario.h"
#include "ui/handles.h"
#include "window_driver.h"

namespace e2e {
namespace {

class Look : public SetupScenario {};

// The first and last pixel of the top row of a painted caption: the caption
// lies inside the frame, one caption high, and stops before the buttons.
struct CaptionEnds {
    POINT left;
    POINT right;
};

CaptionEnds CaptionEndsOf(HWND window, int frameX, int frameY, int buttons) {
    RECT r{};
    ::GetWindowRect(window, &r);
    const int top = r.top + frameY;
    return {POINT{r.left + frameX + 1, top},
            POINT{r.right - frameX - buttons * ::GetSystemMetrics(SM_CXSIZE) - 1, top}};
}

COLORREF ScreenPixel(POINT p) {
    ui::ScopedGetDC screen(nullptr);
    return ::GetPixel(screen.Get(), p.x, p.y);
}

TEST_F(Look, TitleBarsAreRampsEndingInTheCaptionColours) {
    Launch();
    HWND setup = AcceptAgreement();
    HWND background = WaitForBackgroundWindow();
    // The platform's own title bars end in its second gradient colours; the
    // painted ones end in the caption colours and start dark.
    const COLORREF active = ::GetSysColor(COLOR_ACTIVECAPTION);
    const COLORREF inactive = ::GetSysColor(COLOR_INACTIVECAPTION);
    const CaptionEnds setupEnds = CaptionEndsOf(setup, ::GetSystemMetrics(SM_CXDLGFRAME),
                                                ::GetSystemMetrics(SM_CYDLGFRAME), 1);
    const CaptionEnds backgroundEnds = CaptionEndsOf(background, ::GetSystemMetrics(SM_CXFRAME),
                                                     ::GetSystemMetrics(SM_CYFRAME), 3);
    WaitUntil(
        [&] {
            return ScreenPixel(setupEnds.right) == active &&
                   ScreenPixel(backgroundEnds.right) == inactive;
        },
        "the painted title bars", &Process());
    EXPECT_NE(ScreenPixel(setupEnds.left), active);
    EXPECT_NE(ScreenPixel(backgroundEnds.left), inactive);
    EXPECT_LT(GetBValue(ScreenPixel(setupEnds.left)), GetBValue(active)) << "no ramp from dark";
    Screenshot(setup, "painted-title-bars");

    Click(ControlsOf(setup).exitButton);
    ExpectCleanExit();
}

}  // namespace
}  // namespace e2e
