#include "fx/scenery.h"

#include "data/config.h"
#include "engine/frame.h"
#include "engine/gfx.h"
#include "engine/input.h"
#include "engine/system.h"
#include "fx/effects.h"
#include "fx/particles.h"

#include <algorithm>
#include <cmath>
#include <sstream>

Scenery_Pictures SceneryPics;

std::vector<Bckg_Obj> BckgLayers;
std::vector<Star_Obj> Stars;
Moving_Rectangle WipeRects[Scenery_WipeRects];
Image* BackgroundPictures[Scenery_PictureSlots] = {};

int CurPicture = 0, CurSky = 0;
int OldPicture = 0, OldSky = 0;
float PictureLevel[Scenery_PictureSlots] = {};
int ChangeoverActive = 0;
float ChangeoverDelay = 0.0f;
int CloudLayerCur = 1, CloudLayerNext = 2;
int CloudLayerCount = 3;
int NewMusicPending = 0;

namespace {

constexpr float Cloud_Hidden = -0.1f; // a layer rests a while below 0 ...
constexpr float Cloud_Shown = 1.1f;   // ... and above 1 before it turns
constexpr float Nominal_FrameMs = 1000.0f / 60.0f;
constexpr int Snow_PeriodMinMs = 20000;
constexpr float Snow_MaxIntensity = 5.0f;
constexpr float Wipe_Speed = 150.0f;          // pixels per second the band opens upwards
constexpr float Old_FadePerSec = 0.15f;       // the replaced landscape behind the band
constexpr float New_FadePerSec = 0.2f;        // the new landscape inside the band
constexpr float Changeover_Delay = 0.5f;      // the old scene shows this long before the wipe
constexpr float Changeover_MusicDelay = 1.0f; // longer while a new track was just decoded

bool PictureTried[Scenery_PictureSlots] = {};

bool ValidPicture(int picture) {
    return picture >= 0 && picture < Scenery_PictureCount;
}

// Loads a landscape the first time it is shown. A picture that cannot be loaded is not tried
// again every frame; the scene is then drawn without it.
Image* Picture_Load(int picture) {
    if (!ValidPicture(picture)) return nullptr;
    if (!BackgroundPictures[picture] && !PictureTried[picture]) {
        PictureTried[picture] = true;
        const std::string& url = SceneryPics.landscape_urls[picture];
        if (!url.empty()) BackgroundPictures[picture] = LoadImage(url);
    }
    return BackgroundPictures[picture];
}

int ColourChannel(float v) {
    if (!std::isfinite(v)) return 0;
    return Trunc(std::clamp(v, 0.0f, 255.0f));
}

// Draws a full-screen picture at the alpha and grey level given, keeping the caller's colour.
void DrawTinted(Image* image, float alpha, int grey) {
    if (!image) return;
    int r = 255, g = 255, b = 255;
    GetColor(&r, &g, &b);
    SetBlend(BLEND_ALPHA);
    SetAlpha(alpha);
    SetColor(grey, grey, grey);
    SetRotation(0.0f);
    SetScale(1.0f, 1.0f);
    DrawImage(image, 0, 0, 0);
    SetColor(r, g, b);
}

// The first canvas row the landscape, drawn whole at (0, 0) at this level, covers with opaque
// pixels across the whole width (ScreenHeight when it covers none).
int Landscape_CoveredFrom(Image* landscape, float level) {
    const int from = ImageOpaqueFrom(landscape, 0);
    const bool full_alpha = std::lround(std::clamp(level, 0.0f, 1.0f) * 255.0f) == 255;
    if (from < 0 || !full_alpha || !Graphics_Shortcuts || landscape->handle_x != 0.0f ||
        landscape->handle_y != 0.0f || ImageWidth(landscape) < ScreenWidth ||
        ImageHeight(landscape) < ScreenHeight)
        return ScreenHeight;
    return from;
}

// A step per drawing measured from the frame time when the cycle starts. Before any frame has
// been measured, or after a stall (loading a level), DeltaMs says nothing about the frame rate,
// and the nominal frame time keeps the clouds moving at their usual pace.
float CloudFrameMs() {
    const bool meaningful = std::isfinite(DeltaMs) && DeltaMs >= 5.0f && DeltaMs <= 100.0f;
    return meaningful ? DeltaMs : Nominal_FrameMs;
}

int NextCloudLayer(int id) {
    return id + 1 > CloudLayerCount ? 1 : id + 1;
}

// Advances one shown layer's fade; a layer that has faded out hands the cycle to the next.
void Cloud_Advance(Bckg_Obj& layer) {
    if (layer.Alpha_Step <= 0.0f) {
        layer.Alpha += layer.Alpha_StepOut;
        if (layer.Alpha <= layer.NullAlpha_delay) {
            layer.Alpha = layer.NullAlpha_delay;
            layer.Alpha_Step = layer.Alpha_StepIn;
            CloudLayerCur = NextCloudLayer(CloudLayerCur);
        }
    } else {
        layer.Alpha += layer.Alpha_StepIn;
        if (layer.Alpha >= layer.FullAlpha_delay) {
            layer.Alpha = layer.FullAlpha_delay;
            layer.Alpha_Step = layer.Alpha_StepOut;
        }
    }
}

void Star_Twinkle(Star_Obj& s) {
    const float change = s.Flash_Speed * DeltaSec;
    if (s.lightsens < 1) {
        s.Light -= change;
        if (s.Light < static_cast<float>(s.Light_Start)) s.lightsens = 1;
    } else {
        s.Light += change;
        if (s.Light > static_cast<float>(s.Light_End)) s.lightsens = -1;
    }
}

Star_Obj Star_Make(int max_y, int fade_y) {
    Star_Obj s;
    s.x = Rand(1, ScreenWidth);
    s.y = Rand(1, max_y);
    if (s.y > fade_y)
        s.Alpha = 1.0f - static_cast<float>(s.y - fade_y) / static_cast<float>(max_y - fade_y);
    const int r = Rand(1, 100);
    if (r < 89) {
        s.image = SceneryPics.star[0];
        s.scale = Rnd(0.2f, 0.5f);
        s.Light_Start = Rand(100, 120);
        s.Light_End = Rand(220, 255);
    } else if (r < 98) {
        s.image = SceneryPics.star[1];
        s.scale = Rnd(0.2f, 0.5f);
        s.Light_Start = Rand(150, 180);
        s.Light_End = Rand(220, 255);
    } else {
        s.image = SceneryPics.star[2];
        s.scale = 1.0f;
        s.Light_Start = Rand(200, 220);
        s.Light_End = Rand(240, 255);
    }
    s.Light = static_cast<float>(s.Light_Start);
    // Small stars flicker quickly, the few large ones breathe slowly.
    if (s.scale <= 0.3f)
        s.Flash_Speed = static_cast<float>(Rand(1, 200) + 80);
    else if (s.scale <= 0.5f)
        s.Flash_Speed = static_cast<float>(Rand(1, 100) + 60);
    else
        s.Flash_Speed = static_cast<float>(Rand(1, 20) + 10);
    s.Red_Shift = static_cast<float>(Rand(1, 100));
    s.Green_Shift = static_cast<float>(Rand(1, 100));
    s.Blue_Shift = static_cast<float>(Rand(1, 100));
    return s;
}

// Evaluates every skip input so that none is left over for the screen after the wipe.
bool Changeover_SkipPressed() {
    const bool escape = KeyHit(VK_ESCAPE) > 0;
    const bool enter = KeyHit(VK_RETURN) > 0;
    const bool space = KeyHit(VK_SPACE) > 0;
    const bool click = MouseLeftPressed != 0 || MouseRightPressed != 0;
    return escape || enter || space || click;
}

// Inside the band the new scene fades in while the old one fades out behind it.
void Changeover_DrawWipe() {
    if (OldPicture != CurPicture && ValidPicture(OldPicture)) {
        PictureLevel[OldPicture] =
            std::max(PictureLevel[OldPicture] - Old_FadePerSec * DeltaSec, 0.0f);
        Scenery_Compose(PictureLevel[OldPicture], OldPicture, OldSky);
    }
    const Moving_Rectangle& w = WipeRects[0];
    SetViewport(Trunc(w.X1), Trunc(w.Y1), Trunc(w.DX), Trunc(w.DY));
    float& level = PictureLevel[std::clamp(CurPicture, 0, Scenery_PictureSlots - 1)];
    level = std::min(level + New_FadePerSec * DeltaSec, 1.0f);
    Scenery_Compose(level, CurPicture, CurSky);
    SetViewport(0, 0, ScreenWidth, ScreenHeight);
    Gfx_SnowPuffs(Trunc(w.X1), Trunc(w.Y1), Trunc(w.DX), 8, 20);
}

} // namespace

void Scenery_Init() {
    BckgLayers.clear();
    Stars.clear();
    for (Moving_Rectangle& r : WipeRects)
        r = Moving_Rectangle{};
}

void Clouds_Create(float a, float b, float c, float d, float n) {
    if (!(n >= 1.0f)) n = 1.0f; // a fade needs at least one drawing
    const float step_in = (a - c) / n;
    float step_out = (b - d) / n;
    if (step_out > 0.0f) step_out = -step_out;
    Image* const pictures[4] = {SceneryPics.clouds[0], SceneryPics.clouds[1], SceneryPics.clouds[2],
                                SceneryPics.clouds[0]};
    for (int i = 0; i < 4; ++i) {
        Bckg_Obj layer;
        layer.image = pictures[i];
        layer.Alpha_StepIn = step_in;
        layer.Alpha_StepOut = step_out;
        layer.Alpha = i == 0 ? a : b;
        layer.Alpha_Step = i == 0 ? step_out : step_in;
        layer.Alpha_Start = layer.Alpha;
        layer.FullAlpha_delay = Cloud_Shown;
        layer.NullAlpha_delay = Cloud_Hidden;
        layer.Image_Id = i + 1; // the fourth layer never joins the cycle
        BckgLayers.push_back(layer);
    }
}

void Clouds_Start() {
    const float step = 0.09f * CloudFrameMs() / 1000.0f;
    const int start = Trunc(1.0f + Rnd(0.0f, 3.0f));
    for (Bckg_Obj& layer : BckgLayers) {
        layer.Alpha_StepIn = step;
        layer.Alpha_StepOut = -step;
        const bool shown = layer.Image_Id == start;
        layer.Alpha_Step = shown ? -step : step;
        layer.Alpha = shown ? Cloud_Shown : Cloud_Hidden;
    }
    CloudLayerCount = 3;
    CloudLayerCur = start;
    CloudLayerNext = NextCloudLayer(start);
}

void Clouds_Draw() {
    const int grey = ColourChannel(255.0f * Bg_Light); // a darker scene dims its clouds too
    SetColor(grey, grey, grey);
    SetRotation(0.0f);
    SetScale(1.0f, 1.0f);
    // Clouds light up the sky once stars stand in it; before the first level they simply cover it.
    SetBlend(Stars.empty() ? BLEND_ALPHA : BLEND_LIGHT);
    for (int pass = 0; pass <= 3; ++pass)
        for (Bckg_Obj& layer : BckgLayers) {
            if (layer.Z_order != pass) continue;
            CloudLayerNext = NextCloudLayer(CloudLayerCur);
            if (layer.Image_Id != CloudLayerCur && layer.Image_Id != CloudLayerNext) continue;
            SetAlpha(std::clamp(layer.Alpha, 0.0f, 1.0f));
            if (layer.image)
                DrawImage(layer.image, static_cast<float>(layer.x), static_cast<float>(layer.y), 0);
            Cloud_Advance(layer);
        }
    CloudLayerNext = NextCloudLayer(CloudLayerCur);
}

void Stars_Create(int count, int max_y, int fade_y) {
    Stars.clear();
    for (int i = 0; i <= count; ++i)
        Stars.push_back(Star_Make(max_y, fade_y));
}

void Stars_Draw() {
    SetBlend(BLEND_LIGHT);
    SetRotation(0.0f);
    for (Star_Obj& s : Stars) {
        SetAlpha(s.Alpha);
        // A darker scene dims its stars too.
        SetColor(ColourChannel((s.Light - s.Red_Shift) * Bg_Light),
                 ColourChannel((s.Light - s.Green_Shift) * Bg_Light),
                 ColourChannel((s.Light - s.Blue_Shift) * Bg_Light));
        SetScale(s.scale, s.scale);
        if (s.image)
            DrawImage(s.image, static_cast<float>(s.x), static_cast<float>(s.y), s.Image_Id);
        Star_Twinkle(s);
    }
}

void Picture_Choose(int track_just_loaded) {
    OldPicture = CurPicture;
    do
        CurPicture = Rand(0, Scenery_PictureCount - 1);
    while (CurPicture == OldPicture);
    OldSky = CurSky;
    CurSky = Rand(0, Scenery_SkyCount - 1);
    // After a choice in the level chooser the screen starts cleared: nothing old to replace.
    if (NewMusicPending == 1) OldPicture = CurPicture;
    ChangeoverActive = 1;
    PictureLevel[CurPicture] = 0.0f;
    if (OldPicture != CurPicture && ValidPicture(OldPicture)) PictureLevel[OldPicture] = 1.0f;
    ChangeoverDelay = track_just_loaded == 1 ? Changeover_MusicDelay : Changeover_Delay;
}

void Wipe_Start() {
    Moving_Rectangle& w = WipeRects[0];
    w = Moving_Rectangle{};
    w.X1 = 0.0f;
    w.Y1 = static_cast<float>(ScreenHeight - 1);
    w.DX = static_cast<float>(ScreenWidth);
    w.DY = static_cast<float>(ScreenHeight);
    w.Top_speed = -Wipe_Speed;
    w.Bottom_speed = Wipe_Speed;
    w.Top_Limit = 0;
    w.Bottom_Limit = ScreenHeight;
    w.Left_Limit = 0;
    w.Right_Limit = ScreenWidth;
    w.State = 1;
}

void Wipe_Update() {
    Moving_Rectangle& w = WipeRects[0];
    if (w.State != 1) return;
    w.X1 += w.Left_speed * DeltaSec;
    w.Y1 += w.Top_speed * DeltaSec;
    w.DX += w.Right_speed * DeltaSec;
    w.DY += w.Bottom_speed * DeltaSec;
    if (w.X1 < static_cast<float>(w.Left_Limit)) {
        w.X1 = static_cast<float>(w.Left_Limit);
        w.Left_speed = 0.0f;
    }
    if (w.Y1 < static_cast<float>(w.Top_Limit)) {
        w.Y1 = static_cast<float>(w.Top_Limit);
        w.Top_speed = 0.0f;
    }
    w.DX = std::min(w.DX, static_cast<float>(w.Right_Limit) - w.X1);
    w.DY = std::min(w.DY, static_cast<float>(w.Bottom_Limit) - w.Y1);
    if (w.Left_speed + w.Top_speed == 0.0f) w.State = 0;
}

void Scenery_EndChangeover() {
    ChangeoverActive = 0;
    PictureLevel[std::clamp(CurPicture, 0, Scenery_PictureSlots - 1)] = 1.0f;
}

void Scenery_Changeover() {
    ChangeoverDelay -= DeltaSec;
    if (ChangeoverDelay > 0.0f) {
        // After a choice in the level chooser the screen stays cleared until the wipe.
        if (NewMusicPending != 1) Scenery_Compose(1.0f, OldPicture, OldSky);
        return;
    }
    Changeover_DrawWipe();
    Wipe_Update();
    const bool skipped = Changeover_SkipPressed();
    if (WipeRects[0].State == 0 || skipped) Scenery_EndChangeover();
}

void Scenery_Compose(float level, int picture, int sky) {
    Image* landscape = Picture_Load(picture);
    // Where the landscape's opaque foot will cover the canvas, the sky, stars, clouds and the
    // far snow beneath it never show: they are drawn only above it (they still move there).
    int vx = 0, vy = 0, vw = 0, vh = 0;
    GetViewport(&vx, &vy, &vw, &vh);
    const int covered_from = Landscape_CoveredFrom(landscape, level);
    const bool clip = covered_from < vy + vh;
    if (clip) SetViewport(vx, vy, vw, std::max(covered_from - vy, 0));
    SetColor(100, 100, 100);
    if (sky >= 0 && sky < Scenery_SkyCount)
        DrawTinted(SceneryPics.sky[sky], level, ColourChannel(155.0f * Bg_Light));
    Stars_Draw();
    Clouds_Draw();
    Snow_DrawLayer(1, -1);
    if (clip) SetViewport(vx, vy, vw, vh);
    DrawTinted(landscape, level, ColourChannel(255.0f * Bg_Light));
    Snow_DrawLayer(1000, 0);
}

float Scenery_SnowIntensityFor(int snow_timer_ms) {
    const float period_share = static_cast<float>(snow_timer_ms) / Snow_PeriodMinMs;
    return std::clamp(period_share * 6.0f, 0.0f, Snow_MaxIntensity);
}

// Snow falls in periods of 20 to 40 s that follow each other without a pause. Each starts
// at full intensity and thins out over its last 16.7 s until only the rearmost layer falls.
void Scenery_SnowTiming() {
    if (SnowTimer < 1) {
        SnowTimer = Rand(1, Snow_PeriodMinMs) + Snow_PeriodMinMs;
        SnowIntensity = Scenery_SnowIntensityFor(SnowTimer);
        return;
    }
    Snow_Spawn();
    SnowTimer -= Trunc(DeltaMs);
    SnowIntensity = Scenery_SnowIntensityFor(SnowTimer);
}

void Scenery_Draw() {
    Scenery_SnowTiming();
    Scenery_Compose(1.0f, CurPicture, CurSky);
    Wind_Update();
    SetImageFont(nullptr);
    SetScale(1.0f, 1.0f);
    SetColor(255, 255, 255);
}

std::string Scenery_StateJson() {
    std::ostringstream o;
    const int level_at = std::clamp(CurPicture, 0, Scenery_PictureSlots - 1);
    o << "\"CurPicture\": " << CurPicture << ", \"CurSky\": " << CurSky
      << ", \"CloudLayerCur\": " << CloudLayerCur << ", \"CloudLayerNext\": " << CloudLayerNext
      << ", \"ChangeoverActive\": " << ChangeoverActive
      << ", \"PictureLevel\": " << PictureLevel[level_at];
    return o.str();
}
