// The canvas reaches the window crisp when the letterbox scale is a whole number and smooth when
// it is not: nearest-pixel scaling at 1.5 x would double every other row of pixels.
#include "engine/gfx_internal.h"

#include <gtest/gtest.h>

namespace {

TEST(DisplayScaling, CrispOnlyAtWholeMultiplesOfTheCanvas) {
    struct Case {
        int w, h;
        bool crisp;
    } cases[] = {
        {800, 600, true},    // the canvas itself
        {1600, 1200, true},  // twice
        {2400, 1800, true},  // three times
        {1920, 1200, true},  // twice, with bars left and right
        {1600, 1300, true},  // twice, with bars above and below
        {1200, 900, false},  // one and a half
        {1920, 1080, false}, // 1.8: the height limits
        {1024, 768, false},  //
        {1366, 768, false},  //
        {3840, 2160, false}, // 3.6
        {1599, 1200, false}, // a pixel short of twice
        {0, 0, false},       // a window with no area yet
    };
    for (const Case& c : cases)
        EXPECT_EQ(Display_ScalesCrisply(c.w, c.h, 800, 600), c.crisp) << c.w << " x " << c.h;
}

} // namespace
