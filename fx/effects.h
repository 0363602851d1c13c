// Effect sprites: sparks, glitter, shards, laser beams, fireworks and the other short-lived
// decorations. Every sprite is a record in one shared list; the board and the screens add them
// through one creator per effect, `Gfx_Update` moves them and three drawing passes draw them at
// three depths. Much of a kind's life (fading, growing, spawning trails, removal) happens while
// it is drawn, so a sprite only ages while its layer is drawn.
#pragma once

#include <string>
#include <vector>

struct Image;

// Effect kinds (the value of `name`).
enum : int {
    Gfx_Laser = 4,
    Gfx_Spark = 5,
    Gfx_CellOutline = 6,
    Gfx_TrailSpark = 7,
    Gfx_Glitter = 8,
    Gfx_Dust = 9,
    Gfx_DustTrail = 10,
    Gfx_FireworkSpark = 11,
    Gfx_PieceFirework = 12,
    Gfx_FlyingTile = 14,
    Gfx_Victory = 15,
    Gfx_IceShard = 16,
    Gfx_ShardSpark = 17,
    Gfx_Burst = 18,
    Gfx_HammerSpark = 19,
    Gfx_ChainLink = 20,
    Gfx_SnowballSpark = 21,
    Gfx_ComboRing = 22,
    Gfx_KindMax = 22,
};

// One effect sprite. A new one has every number 0 and no picture.
struct Gfx_Obj {
    int name = 0; // effect kind; 0 once removed
    Image* image = nullptr;
    float img_id = 0.0f; // current frame, truncated when drawn
    int x = 0, y = 0;    // drawing position
    float xr = 0.0f, yr = 0.0f, zr = 0.0f;
    // Speed, acceleration and heading in degrees; the victory sprites keep their tint here.
    float move_speed = 0.0f, move_accel = 0.0f, move_angle = 0.0f;
    float rotate_speed = 0.0f, rotate_accel = 0.0f, rotate_angle = 0.0f;
    float zoom_x = 0.0f, zoom_y = 0.0f;
    float alpha = 0.0f;
    float Fadeout = 0.0f;                              // fade divisor of the glitter
    float width = 0.0f;                                // beam width of the laser
    int delay_start = 0;                               // ms before the sprite starts living
    int z_order = 0;                                   // drawing layer: -10, 10 or 20
    float step_x = 0.0f, step_y = 0.0f, step_z = 0.0f; // displacement per frame
    int state = 0;                                     // 1 growing, 2 fading
    int img_count = 0;
    int anim_timer = 0, anim_period = 0;
    float spd_x = 0.0f, spd_y = 0.0f;
    float scale = 0.0f; // the hammer sparks keep the point they fly to in zr and step_z
    float Red = 0.0f, Green = 0.0f, Blue = 0.0f;
};

// Every live sprite in creation order.
extern std::vector<Gfx_Obj> GfxEffects;

// The start-up pictures the effects draw with, handed over by the program at start-up.
struct Gfx_Pictures {
    Image* spark[10] = {}; // spark1 .. spark9 at their numbers; 6, 8 and 9 are 32-frame strips
    Image* spark_snowball = nullptr;
    Image* tile_part = nullptr;  // 20 frames
    Image* chain_link = nullptr; // 15 frames
    Image* combo_effect = nullptr;
    Image* tile_empty = nullptr;
    Image* you_win = nullptr;
    Image* snow_flake[3] = {};
};
extern Gfx_Pictures GfxPics;

// What the effects know of the board on screen: set by the board when it lays out a level.
// Outside play the scene is the display.
struct Gfx_Board {
    int origin_x = 0, origin_y = 0;        // board space origin
    int pixel_width = 0, pixel_height = 0; // board size
    int cell_width = 48, cell_height = 48, half_width = 24, half_height = 24;
    float scale_x = 1.0f, scale_y = 1.0f; // art scale of a cell
    int view_x = 0, view_y = 0;           // board scrolling
    int scene_width = 800, scene_height = 600;
};
extern Gfx_Board GfxBoard;

struct Gfx_Point {
    int x = 0, y = 0;
};

// Start-up: empties the list and centres the handles of spark2 and spark3.
void Gfx_Init();
// Level set-up: every sprite goes.
void Gfx_Clear();
// Moves every live sprite; once per frame on the screens that show effects.
void Gfx_Update();
// Draws, in list order, every sprite of layer z (-10 behind the pieces, 10 above them, 20 above
// the panel), ageing and removing them by their kind's rules.
void Gfx_DrawLayer(int z);

// Number of sprites a density asks for at the current frame rate (at least one).
int Gfx_DensityCount(float density);
// Live sprites of one kind, and of all kinds.
int Gfx_LiveCount(int kind);
int Gfx_LiveTotal();
// `"Gfx_Live": {"<kind>": n, ...}, "Gfx_LiveTotal": n` for the state dump.
std::string Gfx_StateJson();

// ---- Creators: positions are display pixels; a cell position is a cell's top-left corner ----

void Gfx_LaserLines(int x, int y);
void Gfx_Explosion(int x, int y, float density);
void Gfx_SparkRing(int x, int y, float density);
void Gfx_IceSparkle(int x, int y, float zoom);
void Gfx_HintSparkles(int x0, int y0, int dx, int dy);
void Gfx_Rebuild(int x, int y, float density);
void Gfx_Firework();
// The three tiles of the celebration's piece kinds (their frames animate).
void Gfx_ScoreSparkle(Image* const tiles[3]);
// The board's cells that are not void, as (column, row), and the level-end fade value.
void Gfx_TilesFlyAway(const std::vector<Gfx_Point>& cells, float fade);
void Gfx_YouWin();
void Gfx_IceBreak(int x, int y);
void Gfx_SnowBreak(int x, int y);
void Gfx_PieceVanish(int x, int y);
void Gfx_SnowPuffs(int x, int y, int width, int step_min, int step_max);
// A stream of sparks from each cell centre of a match group towards the hammer box's centre,
// tinted by the group's piece kind.
void Gfx_HammerSparks(float scale, int count, const std::vector<Gfx_Point>& centres, int kind,
                      Gfx_Point target);
void Gfx_ChainBreak(int x, int y);
void Gfx_SnowballTrail(int x, int y, float density);
void Gfx_SpecialSparkle(int x, int y, float density);

// ---- Parts of the kinds' rules that tests and callers look at ----

// One line of the laser band: its offset from the beam's axis and its alpha factor.
struct Gfx_BandLine {
    int offset = 0;
    float alpha = 1.0f;
};
// The lines of the laser band for a beam width: a core of w lines plus three fading lines on
// each side, w growing with the width up to 8 and shrinking back to one line at 16.
std::vector<Gfx_BandLine> Gfx_LaserBand(float width);
// The opacity a sprite is drawn with (its alpha held to 0..1).
float Gfx_Opacity(const Gfx_Obj& o);
