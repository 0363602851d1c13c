// What the effects read from the program shell: the frame time and rate and the display size.
// The shell (app/main_loop.cpp) defines these; tests and benchmarks without it define their own.
#pragma once

extern float DeltaMs;  // last frame in ms, clamped 5..1000
extern float DeltaSec; // the same in seconds, not clamped
extern int InstFps;    // frame rate of the last frame
extern int LowFpsMode; // 0 normal, 1 low, 2 very low
extern int ScreenWidth, ScreenHeight, ScreenCentreX, ScreenCentreY;
