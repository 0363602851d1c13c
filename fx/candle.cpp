#include "fx/candle.h"

#include "engine/frame.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

Image* Candle_Picture = nullptr;
Image* Candle_Flame = nullptr;
float FlameY = 0.0f;
float FlameFrame = 0.0f;

int Candle_BurntFrames(int full, int current) {
    if (full <= 0) return 0;
    current = std::clamp(current, 0, full);
    return static_cast<int>((std::int64_t{full} - current) * 31 / full);
}

float Candle_FadeToNext(int full, int current, int f) {
    const int q = full / 31;
    if (q <= 0) return -1.0f;
    const double burnt = double(full) - current;
    const double a = (burnt - f * double(full) / 31.0) / q;
    return static_cast<float>(std::clamp(a, 0.0, 1.0));
}

void Candle_MoveFlame(int f, int y, float seconds) {
    const float target = f * 2.375f + y + 42;
    if (FlameY == 0.0f || std::fabs(FlameY - target) > 4.0f)
        FlameY = target;
    else
        FlameY += (target - FlameY) * seconds;
}

namespace {

void DrawCandleFrames(int full, int current, float x, float y) {
    const int f = Candle_BurntFrames(full, current);
    const float a = f >= 30 ? -1.0f : Candle_FadeToNext(full, current, f);
    if (a < 0.0f) {
        // Frame f alone: the last frames, and full values too small to cross-fade.
        SetAlpha(1.0f);
        DrawImage(Candle_Picture, x, y, f);
        return;
    }
    // Drawing each frame more than once thickens the half-transparent pictures.
    SetAlpha(a);
    for (int i = 0; i < 2; ++i)
        DrawImage(Candle_Picture, x, y, f + 1);
    SetAlpha(1.0f - a);
    for (int i = 0; i < 3; ++i)
        DrawImage(Candle_Picture, x, y, f);
}

} // namespace

void Candle_Draw(int full, int current, int x, int y) {
    if (full <= 0 || current > full) return;
    SetColor(255, 255, 255);
    SetBlend(BLEND_ALPHA);
    DrawCandleFrames(full, current, static_cast<float>(x), static_cast<float>(y + 58));
    SetAlpha(1.0f);
    Candle_MoveFlame(Candle_BurntFrames(full, current), y, DeltaSec);
    DrawImage(Candle_Flame, static_cast<float>(x + 8), FlameY, static_cast<int>(FlameFrame));
    FlameFrame += 10.0f * DeltaSec;
    if (FlameFrame > 3.0f) FlameFrame = 0.0f;
    SetAlpha(1.0f);
}
