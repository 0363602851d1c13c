// The winter scene behind every screen: a night sky, twinkling stars, slowly cross-fading cloud
// layers, the snow in two depths and a landscape in front. Each level introduction picks a new
// landscape and sky and reveals them with a wipe rising from the bottom edge.
#pragma once

#include "fx/particles.h" // the snow state the scene times and draws

#include <string>
#include <vector>

struct Image;

// One cloud layer. Alpha runs past 0..1 (from -0.1 to 1.1) so that a layer rests a while fully
// shown and fully hidden; the drawing clamps it.
struct Bckg_Obj {
    Image* image = nullptr;
    int x = 0, y = 0;
    int Z_order = 0; // drawing pass 0..3
    float Alpha = 0.0f;
    float Alpha_Step = 0.0f; // above 0 while fading in, else fading out
    float Alpha_Start = 0.0f;
    float Alpha_StepIn = 0.0f;  // change per drawing while fading in (positive)
    float Alpha_StepOut = 0.0f; // change per drawing while fading out (negative)
    float FullAlpha_delay = 1.1f, NullAlpha_delay = -0.1f;
    int Image_Id = 0; // the layer's place in the cloud cycle
};

// One twinkling star.
struct Star_Obj {
    Image* image = nullptr;
    int x = 0, y = 0;
    float Alpha = 1.0f;
    int Light_Start = 0, Light_End = 0; // dim and bright ends of the twinkle
    float Light = 0.0f;
    int lightsens = 0;        // below 1 dimming, else brightening
    float Flash_Speed = 0.0f; // brightness change per second
    float Red_Shift = 0.0f, Green_Shift = 0.0f, Blue_Shift = 0.0f;
    float scale = 1.0f;
    int Image_Id = 0;
};

// The wipe: a rectangle whose edges move at their own speeds until they meet their limits.
struct Moving_Rectangle {
    float X1 = 0.0f, Y1 = 0.0f; // top-left corner
    float DX = 0.0f, DY = 0.0f; // width and height
    float Top_speed = 0.0f, Bottom_speed = 0.0f, Left_speed = 0.0f, Right_speed = 0.0f;
    int Top_Limit = 0, Bottom_Limit = 0, Left_Limit = 0, Right_Limit = 0;
    int State = 0; // 1 while moving
};

constexpr int Scenery_PictureCount = 6;  // landscapes in use
constexpr int Scenery_PictureSlots = 50; // size of the landscape tables
constexpr int Scenery_SkyCount = 3;
constexpr int Scenery_WipeRects = 20;

// The pictures the scenery draws with, handed over by the program at start-up. The landscapes
// are loaded on first use from `landscape_urls`.
struct Scenery_Pictures {
    Image* sky[Scenery_SkyCount] = {};
    Image* star[3] = {};
    Image* clouds[3] = {};
    std::string landscape_urls[Scenery_PictureCount];
};
extern Scenery_Pictures SceneryPics;

extern std::vector<Bckg_Obj> BckgLayers;
extern std::vector<Star_Obj> Stars;
extern Moving_Rectangle WipeRects[Scenery_WipeRects]; // only the first moves
extern Image* BackgroundPictures[Scenery_PictureSlots];

extern int CurPicture, CurSky;                   // the landscape (0..5) and sky (0..2) on show
extern int OldPicture, OldSky;                   // the pair being replaced
extern float PictureLevel[Scenery_PictureSlots]; // visibility 0..1 of each landscape
extern int ChangeoverActive;                     // 1 while the introduction's wipe runs
extern float ChangeoverDelay;                    // seconds before the wipe starts
extern int CloudLayerCur, CloudLayerNext;        // ids of the showing and the next cloud layer
extern int CloudLayerCount;                      // layers in the cycle (3)
extern int NewMusicPending;                      // 1: the next introduction changes the music

// Start-up: empty cloud and star lists, the wipe rectangles made.
void Scenery_Init();
// Appends the four cloud layers: the first at alpha a fading out, the others at b fading in.
void Clouds_Create(float a, float b, float c, float d, float n);
// Starts the cloud cycle at a random layer with a fade step taken from the current frame time.
void Clouds_Start();
// Draws the showing and the next cloud layer and advances their fades.
void Clouds_Draw();
// Replaces the stars with count + 1 new ones above max_y, fading out below fade_y.
void Stars_Create(int count, int max_y, int fade_y);
// Draws the stars and advances their twinkle.
void Stars_Draw();
// Picks the next landscape (never the one on show) and sky and arms the change-over. The
// caller says whether the music player has just decoded a track (the wipe then waits longer).
void Picture_Choose(int track_just_loaded);
// Prepares the wipe rectangle to open from the bottom edge.
void Wipe_Start();
// Moves the wipe rectangle one frame.
void Wipe_Update();
// One frame of the introduction's change-over; a skip (Escape, Enter, Space or a mouse press
// this frame) ends it with the new landscape fully shown.
void Scenery_Changeover();
// Ends the change-over at once with the new landscape fully shown (a skip, or play starting).
void Scenery_EndChangeover();
// Draws one complete scene at the given alpha (level) for a landscape and a sky.
void Scenery_Compose(float level, int picture, int sky);
// One frame of snow timing: a new period when the last has run out, else this frame's snow
// and the intensity for the time left.
void Scenery_SnowTiming();
// One frame of the scene outside the change-over: snow timing, the scene, the wind.
void Scenery_Draw();
// The snow intensity for a snow timer value (ms left in the period).
float Scenery_SnowIntensityFor(int snow_timer_ms);
// `"CurPicture": n, ...` for the state dump.
std::string Scenery_StateJson();
