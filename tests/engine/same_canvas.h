// Whether the drawing shortcuts leave a picture exactly as drawing without them does.
#pragma once

#include "engine/gfx.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// Runs `draw` (which clears and draws the whole canvas) with every shortcut off, then on, and
// compares the two canvases byte for byte. The shortcuts are on again afterwards.
template <class Draw> bool SameCanvasWithShortcuts(Draw draw) {
    std::vector<std::uint8_t> canvases[2];
    bool read = true;
    for (int on = 0; on < 2 && read; ++on) {
        Graphics_Shortcuts = on == 1;
        draw();
        int w = 0, h = 0;
        read = Graphics_ReadPixels(canvases[on], &w, &h);
    }
    Graphics_Shortcuts = true;
    if (!read) ADD_FAILURE() << "the canvas could not be read";
    return read && canvases[0] == canvases[1];
}
