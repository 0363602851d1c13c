// The burning candle: a picture that shortens frame by frame as time runs out, with a small
// animated flame riding on its top.
#pragma once

#include "engine/gfx.h"

extern Image* Candle_Picture; // 32 frames, 0 full, 31 burnt down
extern Image* Candle_Flame;   // 4 frames of the flame
extern float FlameY;          // the flame's current y; 0 until placed
extern float FlameFrame;      // the flame's animation position 0..3

// Burnt frames 0..31 for `current` of `full` (both at least 0, current at most full).
int Candle_BurntFrames(int full, int current);
// Progress 0..1 from frame f towards frame f + 1; -1 when the full value is too small to
// cross-fade (below 31).
float Candle_FadeToNext(int full, int current, int f);
// Moves the flame towards its place over the burnt frames f for a candle drawn at y: a jump
// when it is unplaced or more than 4 pixels away, else an easing by `seconds`.
void Candle_MoveFlame(int f, int y, float seconds);

// Draws the candle for `current` of `full` with its top-left at (x, y + 58) and its flame.
// Nothing is drawn when full is 0 or less or current exceeds full.
void Candle_Draw(int full, int current, int x, int y);
