// Particles and snow: two pooled particle systems beside the effect sprites.
//
// The effect particles turn a small picture (a hammer icon, the candle icon) into a cloud of
// glowing particles that fade in in the picture's shape and then fly apart. The snow is six
// layers of flakes at different speeds and sizes, blown by a slowly turning wind and pushed
// aside by the mouse pointer. Both keep their records in fixed pools of 8000 slots made once at
// start-up and reused, so nothing is allocated or freed while the game runs.
#pragma once

#include <string>
#include <vector>

struct Image;
struct Particle;

constexpr int PARTICLE_POOL_SIZE = 8000;
constexpr int SNOW_POOL_SIZE = 8000;
constexpr int SNOW_LAYERS = 6;

using Particle_UpdateFn = void (*)(Particle& p);
using Particle_SpawnFn = void (*)(int column, int row);

// One effect particle.
struct Particle {
    float x = 0.0f, y = 0.0f;
    float alpha = 0.0f;
    float alpha_inc_speed = 0.0f; // opacity change per second
    float speed = 0.0f;           // pixels per second
    float angle = 0.0f;           // heading in degrees, 0..360
    float accel = 0.0f;           // speed change per second
    float Gravity = 0.0f;         // extra downward speed
    float Gravity_accel = 0.0f;   // its change per second
    int delay1 = 0, delay2 = 0;   // ms of the waiting phases
    Image* img = nullptr;
    int img_frame = 0, img_max = 0; // current frame, frame count (0 for a single picture)
    int img_dx = 0, img_dy = 0;     // picture size
    float scale = 1.0f;
    int anim_period = 0, anim_timer = 0; // ms per frame, ms to the next frame
    int state = 0;                       // phase; 0 finished
    Particle_UpdateFn Update_fn = nullptr;
};

// One snow flake.
struct Background_Particle;
using Flake_UpdateFn = void (*)(Background_Particle& f);

struct Background_Particle {
    float x = 0.0f, y = 0.0f;
    float alpha = 0.0f;
    float alpha_inc_speed = 0.0f; // fade per second below the fade line
    float speed = 0.0f;           // pixels per second
    float angle = 0.0f;           // heading in degrees
    Image* img = nullptr;
    float scale = 1.0f;
    int state = 0; // 3 while falling, 0 when gone
    Flake_UpdateFn Update_fn = nullptr;
    int Zorder = 0;       // snow layer 0 (rearmost) to 5
    int FadeOutLevel = 0; // y below which the flake fades out
};

// Pools: slots below the count are in use (a high-water mark; new records go at the count).
extern std::vector<Particle> ParticlePool;
extern int ParticleCount;
extern std::vector<Background_Particle> SnowPool;
extern int SnowCount;

// The settings of the latest emission.
extern float EmitX, EmitY, EmitSpacing;
extern int EmitSourceWidth, EmitSourceHeight;
extern Image* EmitImage;
extern int EmitFrames;
extern float EmitScale;
extern int EmitPeriod;
extern Particle_UpdateFn EmitUpdate;

// Snow state. The scenery decides when snow falls (SnowTimer) and how thick (SnowIntensity:
// the truncated value is the last layer spawned, at most 5).
extern float SnowIntensity;
extern int SnowTimer;
extern float SnowSpacing; // scales the gaps between flakes: 0.5 on the main menu, 1.0 in play
extern int SnowWaveTimer; // ms to the next wave of flakes
extern int LayerAngle[SNOW_LAYERS]; // falling heading of each layer (90 is straight down)
extern int LayerAngleCounter;       // waves left before new headings are drawn
extern int SnowDrawnCount;          // flakes drawn so far in this frame
extern int SnowDrawnLastFrame;      // flakes drawn in the last whole frame

// Wind state.
extern int WindTimer; // ms to the next change; 0 turns the wind at the next frame
extern int WindTargetX, WindTargetY;
extern float WindTargetAngle;
extern float WindAngle;
extern float WindTurnSpeed; // degrees per second; 0 once the target angle is passed
extern int WindTargetStrength;
extern float WindStrength;
extern float WindStrengthSpeed; // strength change per second
extern float WindX, WindY;

// The pictures the particles are made from, loaded by the program at start-up with IMG_DYNAMIC
// so their pixels can be read, and handed over here.
struct Particle_Pictures {
    Image* map_hammer[3] = {}; // first, second and third hammer icons
    Image* map_candle = nullptr;
};
extern Particle_Pictures ParticlePics;

// Start-up: builds the trigonometry tables and the pools.
void Particles_Init();
// Empties both pools (the snow starts afresh with the next waves).
void Particles_Reset();
// Emits particles in the shape of `source`: each pixel whose red is not 0 calls `spawn` with its
// column and row, with a chance of 1 in `chance`. Emits nothing for a picture whose pixels
// cannot be read as RGB or RGBA.
void Particles_FromImage(Image* source, Particle_SpawnFn spawn, Particle_UpdateFn update,
                         int chance, float x, float y, float spacing, Image* particle, int frames,
                         float start_scale, int frame_period);
// Updates and draws the effect particles; each frame of the game screen and the main menu.
void Particles_Draw();

// Spawn styles for Particles_FromImage.
void Particles_SpawnBurst(int column, int row);
void Particles_SpawnFountain(int column, int row);
void Particles_SpawnAlarm(int column, int row);
// Per-frame updates of one particle (move, fade, draw).
void Particles_UpdateBurst(Particle& p);
void Particles_UpdateAlarm(Particle& p);

// The bursts other parts of the game ask for: the first, second or third hammer earned (`which`
// 1, 2 or 3) over the hammer icon centred at (centre_x, centre_y), and the time alarm over the
// candle.
void Particles_HammerEarned(int which, float centre_x, float centre_y);
void Particles_TimeAlarm();

// One frame of snow spawning (a wave of rows every second or so); nothing while Slow_PC is set.
void Snow_Spawn();
// Makes one flake, compacting the pool instead when it is full.
void Snow_NewFlake(float x, float y, float speed, float scale, int heading, int layer,
                   int fade_line);
// Drops finished flakes, keeping the live ones in order at the front; a pool of only live
// flakes is dropped whole.
void Snow_Compact();
// Moves and draws one flake.
void Snow_UpdateFlake(Background_Particle& f);
// Updates and draws the flakes whose layer lies strictly between lower and upper.
void Snow_DrawLayer(int upper, int lower);
// Live flakes (state not 0) below SnowCount.
int Snow_LiveCount();
// Turns the wind; each frame after the scene.
void Wind_Update();

// `"ParticleCount": n, "SnowCount": n, ...` for the state dump.
std::string Particles_StateJson();
