// The per-frame state every layer reads: the frame time, the pointer as it stood at the start of
// this pass, and the display's size. The engine owns it because it owns time and input; the main
// loop refreshes it once per pass (UpdateMouseState, UpdateFrameTiming), and tests that drive a
// library on its own set the fields they need directly.
#pragma once

// Display size in canvas pixels and its centre.
extern int ScreenWidth, ScreenHeight, ScreenCentreX, ScreenCentreY;

// Frame timing.
extern float DeltaMs;  // last frame in ms, clamped 5..1000
extern float DeltaSec; // the same in seconds, before the clamp
extern int LastFrameMs, InstFps, AvgFps, FpsFrameCount, FpsAccumMs, FpsWindowCount;
extern int LowFpsMode; // LOW_FPS_NORMAL, LOW_FPS_LOW or LOW_FPS_VERY_LOW
extern int TimingResetPending;

enum LowFpsLevel : int {
    LOW_FPS_NORMAL = 0,
    LOW_FPS_LOW = 1,      // decorative effects thin out
    LOW_FPS_VERY_LOW = 2, // decorative effects are left out
};

// Mouse state, refreshed once per pass: position, movement and the edges of both buttons.
extern int MouseXPos, MouseYPos, MouseXPrev, MouseYPrev, MouseDX, MouseDY, MouseMoved;
extern int MouseLeftDown, MouseLeftPrev, MouseLeftPressed, MouseLeftReleased;
extern int MouseRightDown, MouseRightPrev, MouseRightPressed, MouseRightReleased;

// Derives this pass's pointer position and button edges from the input state.
void UpdateMouseState();
// Starts measuring afresh: the next frame counts 16 ms.
void ResetFrameTiming();
// Measures the frame that just ended into DeltaMs and DeltaSec, and the frame rates.
void UpdateFrameTiming();
