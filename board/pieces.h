// Pieces: everything that lies on the board or flies over it, the list that owns them and how
// they are created.
#pragma once

#include <vector>

struct Image;

enum : int {
    Kind_Crystal = 8,   // matches anything right after the player's move
    Kind_Snowball = 9,  // never matches; launched by a click
    Kind_Icecube = 15,  // rebuilds ice when the player moves it into a match
    Kind_SnowHalf = 40, // one half of a launched snowball
};

inline bool Kind_IsGem(int kind) {
    return kind >= 1 && kind <= 7;
}

struct Piece {
    int unique_id = 0;
    int x = 0, y = 0; // board-space top-left corner, truncated from xr, yr
    int color = 0;    // kind
    float xr = 0.0f, yr = 0.0f;
    float speed = 0.0f; // px/s; non-zero counts as moving for selection
    float speed_max = 0.0f;
    float accel_grav = 0.0f;
    int x_cell_src = 0, y_cell_src = 0;
    int x_cell_dest = 0, y_cell_dest = 0;
    Image* image = nullptr;
    float image_id = 0.0f; // current frame; the integer part is drawn
    int image_dx = 0, image_dy = 0;
    int anim_timer = 0, anim_period = 0, img_count = 1;
    float halo_size = 0.0f; // halo pulse phase in degrees
    int triggered = 0;      // set off by a match or blast and being removed
    int falling = 0;        // 0 resting, 1 straight down, 2 down-left, 3 down-right
    int fall_y = 0, fall_x = 0;
    int shields_count = 0;      // chains: 0, 1 or 2
    int antigrav_first_hit = 0; // settling bits of a chained piece spawned in play
    int Rotation = 0;           // drawing rotation in degrees
    int swap_state = 0;         // 0 none, 1 moving over, 2 moving back, 3 passive partner
    Piece* swap_pair = nullptr;
    float swap_dist = 0.0f;
    int swap_dir_x = 0, swap_dir_y = 0;
    int bomb = 0, bomb_img_id = 0, bomb_anim_timer = 0;
    int laser = 0;
    int golden = 0;
    int stop_moving = 0; // 1 blocked straight down, 2 blocked diagonally, this frame
    float Fade = 0.0f;   // while above 0 the piece fades in at Fade_speed per second
    float Fade_speed = 0.0f;
};

constexpr float Piece_StartSpeed = 1000.0f;
constexpr float Piece_MaxSpeed = 1000.0f;
constexpr float Piece_Gravity = 1500.0f;

// Every live piece in creation order. Removed pieces leave a null slot until the list is
// compacted between frames, so a pass over the list may remove pieces safely.
extern std::vector<Piece*> Pieces;
extern int Piece_NextId;
extern int Last_Kind; // kind drawn last, kept across levels

void Pieces_Init();
void Pieces_Clear();
// Frees the pieces removed before this frame and closes the gaps in the list. The board's frame
// update calls it first, so references left by the rules live out the frame they were made in.
void Pieces_Collect();
int Pieces_Count(); // live pieces

Piece* Piece_New(int px, int py, int kind, Image* image, int frame, int dx, int dy);
Piece* Piece_Create(int px, int py, int kind);
Piece* Piece_CreateRandom(int px, int py);
int Piece_ChooseKind();
void Piece_Remove(Piece* piece);

void Pieces_Draw();
