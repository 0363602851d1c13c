// The headless game display the benchmarks draw on, set up as the game's start-up does: the
// start-up pictures loaded and handed to the board, the effects and the candle. Opened once.
#pragma once

#include "app/resources.h"
#include "board/board.h"
#include "engine/gfx.h"
#include "engine/system.h"
#include "fx/effects.h"
#include "fx/trig.h"

// False when no display can be opened.
inline bool Bench_DisplayReady() {
    static int ready = -1;
    if (ready >= 0) return ready == 1;
    System_SetHeadless(true);
    System_SetFixedDelta(16);
    Resources_RegisterAll();
    DisplayOptions display;
    display.headless = true;
    ready = Graphics_Open(display) ? 1 : 0;
    if (!ready) return false;
    Resources_LoadStartup();
    Board_Init(true);
    Resources_WirePictures();
    Trig_Init();
    Gfx_Init();
    return true;
}
