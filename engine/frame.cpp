#include "engine/frame.h"

#include "engine/input.h"
#include "engine/system.h"

int ScreenWidth = 800, ScreenHeight = 600, ScreenCentreX = 400, ScreenCentreY = 300;

float DeltaMs = 16.0f, DeltaSec = 0.016f;
int LastFrameMs = 0, InstFps = 0, AvgFps = 0, FpsFrameCount = 0, FpsAccumMs = 0, FpsWindowCount = 0;
int LowFpsMode = LOW_FPS_NORMAL;
int TimingResetPending = 1;

int MouseXPos, MouseYPos, MouseXPrev, MouseYPrev, MouseDX, MouseDY, MouseMoved;
int MouseLeftDown, MouseLeftPrev, MouseLeftPressed, MouseLeftReleased;
int MouseRightDown, MouseRightPrev, MouseRightPressed, MouseRightReleased;

namespace {

// The average frame rate is taken over windows of 39 frames: the count is tested after it is
// raised, so a window closes on its 39th frame, and 38000 / ms is what the low-frame-rate rule
// was tuned against. Changing either shifts when slow machines drop their effects.
constexpr int kFpsWindowFrames = 38;
constexpr int kFpsWindowScale = kFpsWindowFrames * 1000;

} // namespace

// A press shown this pass is seen where it happened, even if the pointer moved on within the
// pass: a quick tap then a move must not land on another cell or button. The pointer's newer
// position shows on the next pass. The left button's place wins over the right's.
void UpdateMouseState() {
    int x = MouseX(), y = MouseY();
    MouseRightPrev = MouseRightDown;
    MouseRightDown = Input_SampleButton(MOUSE_RIGHT, MouseRightPrev, &x, &y);
    MouseLeftPrev = MouseLeftDown;
    MouseLeftDown = Input_SampleButton(MOUSE_LEFT, MouseLeftPrev, &x, &y);
    MouseLeftPressed = (MouseLeftDown && !MouseLeftPrev) ? 1 : 0;
    MouseLeftReleased = (!MouseLeftDown && MouseLeftPrev) ? 1 : 0;
    MouseRightPressed = (MouseRightDown && !MouseRightPrev) ? 1 : 0;
    MouseRightReleased = (!MouseRightDown && MouseRightPrev) ? 1 : 0;
    MouseXPrev = MouseXPos;
    MouseYPrev = MouseYPos;
    MouseXPos = x;
    MouseYPos = y;
    MouseMoved = (MouseXPos != MouseXPrev || MouseYPos != MouseYPrev) ? 1 : 0;
    MouseDX = MouseXPos - MouseXPrev;
    MouseDY = MouseYPos - MouseYPrev;
}

void ResetFrameTiming() {
    LastFrameMs = MilliSecs();
    DeltaMs = 16.0f;
    DeltaSec = 0.016f;
    FpsFrameCount = 0;
    FpsAccumMs = 0;
}

void UpdateFrameTiming() {
    if (TimingResetPending) {
        ResetFrameTiming();
        TimingResetPending = 0;
        return;
    }
    DeltaMs = static_cast<float>(MilliSecs() - LastFrameMs);
    DeltaSec = DeltaMs / 1000.0f;
    if (DeltaMs == 0.0f) return; // the next frame measures both together
    InstFps = Trunc(1000.0 / DeltaMs);
    LastFrameMs = MilliSecs();
    FpsAccumMs = Trunc(FpsAccumMs + DeltaMs);
    if (++FpsFrameCount > kFpsWindowFrames) {
        AvgFps = FpsAccumMs > 0 ? kFpsWindowScale / FpsAccumMs : AvgFps;
        FpsFrameCount = 0;
        FpsAccumMs = 0;
        ++FpsWindowCount;
    }
    // Decided once, after the first window, so the effects do not flicker between modes.
    if (FpsWindowCount == 1)
        LowFpsMode = AvgFps > 40 ? LOW_FPS_NORMAL : (InstFps > 30 ? LOW_FPS_LOW : LOW_FPS_VERY_LOW);
    if (DeltaMs > 1000.0f) DeltaMs = 1000.0f;
    if (DeltaMs < 5.0f) DeltaMs = 5.0f;
}
