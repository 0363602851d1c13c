// The headless display the drawing tests of the effects, particles and scenery draw on.
#pragma once

#include "engine/gfx.h"
#include "engine/system.h"

inline bool OpenHeadlessDisplay() {
    System_SetHeadless(true);
    DisplayOptions display;
    display.headless = true;
    return Graphics_Open(display);
}
