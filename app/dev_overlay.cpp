#include "app/dev_overlay.h"

#include "app/game_screen.h"
#include "app/main_loop.h"
#include "audio/music.h"
#include "data/level_file.h"
#include "data/players.h"
#include "engine/frame.h"
#include "engine/gfx.h"
#include "engine/input.h"
#include "engine/system.h"
#include "fx/particles.h"

#include <string>

namespace {

constexpr int Key_F2 = VK_F1 + 1;

struct Chords {
    bool f1_1 = false, f1_y = false, f2_u = false, f2_l = false;
};
Chords Held;

bool Down(int a, int b) {
    return DevKeys_Enabled && KeyHeld(a) && KeyHeld(b);
}

// White text in the built-in font, unblended at scale 1, leaving the drawing state as it was.
class OverlayText {
  public:
    OverlayText() : font_(GetImageFont()), blend_(GetBlend()), alpha_(GetAlpha()) {
        SetImageFont(nullptr);
        SetBlend(BLEND_SOLID);
        SetAlpha(1.0f);
        SetScale(1.0f, 1.0f);
        SetRotation(0.0f);
        SetColor(255, 255, 255);
    }
    ~OverlayText() {
        SetImageFont(font_);
        SetBlend(blend_);
        SetAlpha(alpha_);
    }
    OverlayText(const OverlayText&) = delete;
    OverlayText& operator=(const OverlayText&) = delete;
    void At(int x, int y, const std::string& text) {
        DrawText(text, static_cast<float>(x), static_cast<float>(y));
    }

  private:
    Font* font_;
    int blend_;
    float alpha_;
};

std::string Num(double v) {
    std::string s = std::to_string(v);
    return s.substr(0, s.find('.') + 3); // two decimals
}

void FrameRates(OverlayText& t) {
    t.At(2, 50, "inst FPS=" + std::to_string(InstFps));
    t.At(2, 68, "Avg FPS=" + std::to_string(AvgFps));
}

// The level's make-up after the level start's easing: clock, special-piece shares, weights.
void DifficultyFigures(OverlayText& t) {
    int y = 380;
    auto line = [&](const std::string& text) {
        t.At(2, y, text);
        y += 18;
    };
    line("Level " + std::to_string(LevelCrt) + "  Easyness=" + std::to_string(Easyness) +
         "  Time=" + std::to_string(Level_Time / 1000) + " s");
    line("Shield%=" + std::to_string(ShieldPercent) + "  Bomb%=" + std::to_string(BombPercent) +
         "  Golden%=" + std::to_string(GoldenPercent) + "  Laser%=" + std::to_string(LaserPercent));
    std::string weights = "Weights:";
    for (int k = 1; k < Piece_Kinds; ++k)
        if (Piece_Weights[k] > 0)
            weights += " " + std::to_string(k) + "=" + std::to_string(Piece_Weights[k]);
    line(weights);
    line("Bag=" + std::to_string(Piece_Bag_Count) + "  Kinds=" + std::to_string(Piece_Kinds_Count));
}

} // namespace

void DevOverlay_BeginPass() {
    Held = Chords{Down(VK_F1, '1'), Down(VK_F1, 'Y'), Down(Key_F2, 'U'), Down(Key_F2, 'L')};
}

void DevOverlay_Frame() {
    if (!Held.f1_1) return;
    OverlayText t;
    FrameRates(t);
    t.At(200, 68, "Low FPS mode=" + std::to_string(LowFpsMode));
    t.At(20, 100, "Snow intensity =" + Num(SnowIntensity));
    t.At(20, 130,
         "Mus Vol =" +
             Num(Player_Crt >= 0 && Player_Crt < Players_Max ? MusicVolume[Player_Crt] : 0.0f) +
             " - Fade In =" + Num(MusicFadeInVol) + " - Fade out =" + Num(MusicFadeOutVol));
}

void DevOverlay_Menu() {
    if (!Held.f1_1) return;
    OverlayText t;
    t.At(2, 20, "  Dialog:  " + std::to_string(DialogActive ? 1 : 0));
    FrameRates(t);
}

void DevOverlay_Game() {
    if (Held.f1_y) {
        OverlayText t;
        // The track sits above the frame rates (level with them it would overlap "inst FPS=").
        t.At(2, 32, "Music =" + std::to_string(CurrentTrack));
        FrameRates(t);
        t.At(200, 68, "Low FPS mode=" + std::to_string(LowFpsMode));
        t.At(400, 90,
             "MOUSE pos=(" + std::to_string(MouseX()) + "," + std::to_string(MouseY()) + ")");
        t.At(0, 320, "MemAlloced =" + std::to_string(System_MemoryInUse() / 1024) + " kB");
    }
    if (Held.f2_u) {
        OverlayText t;
        DifficultyFigures(t);
    }
    if (Held.f2_l) {
        Music_LoadTrack(CurrentTrack, MUSIC_LOADING_PLAIN);
        CurrentTrack = CurrentTrack >= 3 ? 0 : CurrentTrack + 1;
    }
}

void DevOverlay_Intro() {
    if (!Held.f1_1) return;
    OverlayText t;
    t.At(2, 18, "inst FPS=" + std::to_string(InstFps));
    t.At(102, 18, "Avg FPS=" + std::to_string(AvgFps));
    t.At(2, 40, "LOWFPSMODE=" + std::to_string(LowFpsMode));
    t.At(102, 40, "particles_count=" + std::to_string(ParticleCount));
}
