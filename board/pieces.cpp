#include "board/pieces.h"

#include "board/pictures.h"
#include "board/table.h"
#include "data/level_file.h"
#include "data/tileset.h"
#include "engine/system.h"

#include <algorithm>
#include <deque>

std::vector<Piece*> Pieces;
int Piece_NextId = 1;
int Last_Kind = 0;
Board_Pictures BoardPics;

namespace {

std::deque<Piece> Storage; // owns every piece ever made; elements never move
std::vector<Piece*> Dying; // removed this frame: still referenced until the frame ends
std::vector<Piece*> Spare; // storage ready for reuse
int Removed_Slots = 0;

Piece* Allocate() {
    if (Spare.empty()) return &Storage.emplace_back();
    Piece* p = Spare.back();
    Spare.pop_back();
    *p = Piece{};
    return p;
}

} // namespace

void Pieces_Init() {
    Piece_NextId = 1;
    Pieces.reserve(Table_Max * Table_Max);
    Pieces_Clear();
}

void Pieces_Clear() {
    for (Piece* p : Pieces)
        if (p) Spare.push_back(p);
    for (Piece* p : Dying)
        Spare.push_back(p);
    Pieces.clear();
    Dying.clear();
    Removed_Slots = 0;
}

void Pieces_Collect() {
    Spare.insert(Spare.end(), Dying.begin(), Dying.end());
    Dying.clear();
    if (Removed_Slots == 0) return;
    Pieces.erase(std::remove(Pieces.begin(), Pieces.end(), nullptr), Pieces.end());
    Removed_Slots = 0;
}

int Pieces_Count() {
    return static_cast<int>(Pieces.size()) - Removed_Slots;
}

Piece* Piece_New(int px, int py, int kind, Image* image, int frame, int dx, int dy) {
    Piece* p = Allocate();
    Pieces.push_back(p);
    p->x = px;
    p->y = py;
    p->xr = static_cast<float>(px);
    p->yr = static_cast<float>(py);
    p->color = kind;
    p->image_id = static_cast<float>(frame);
    p->image_dx = dx;
    p->image_dy = dy;
    p->image = image;
    p->unique_id = Piece_NextId++;
    p->anim_timer = 0;
    p->anim_period = 0;
    p->img_count = 1;
    p->halo_size = static_cast<float>(Rand(1, 30));
    p->speed = Piece_StartSpeed;
    p->speed_max = Piece_MaxSpeed;
    p->accel_grav = Piece_Gravity;
    return p;
}

Piece* Piece_Create(int px, int py, int kind) {
    Piece* p = nullptr;
    if (kind == Kind_Crystal || kind == Kind_Snowball || kind == Kind_Icecube) {
        if (kind == Kind_Crystal) {
            p = Piece_New(px, py, kind, BoardPics.crystal, 0, 64, 64);
            p->anim_period = 20;
            p->img_count = 64;
        } else if (kind == Kind_Snowball) {
            p = Piece_New(px, py, kind, BoardPics.snowball, 0, 48, 48);
            p->anim_period = 20;
            p->img_count = 31;
        } else {
            p = Piece_New(px, py, kind, BoardPics.icecube, 0, 64, 64);
            p->anim_period = 30;
            p->img_count = 64;
        }
        // Special pieces take their cell over at once, replacing what stood there.
        const Point c = Table_PixelToCell(px, py);
        if (px >= Table_OriginX && py >= Table_OriginY && Table_OnBoard(c.x, c.y)) {
            Table_cell& cell = Table[c.x][c.y];
            if (cell.piece_id) Piece_Remove(cell.piece_id);
            cell.piece_id = p;
        }
        return p;
    }
    const Tile& tile = TileOfKind(kind);
    p = Piece_New(px, py, kind, tile.image, 0, tile.img_dx, tile.img_dy);
    p->anim_period = tile.anim_period;
    p->img_count = std::max(tile.img_count, 1);
    return p;
}

Piece* Piece_CreateRandom(int px, int py) {
    const int kind = Piece_ChooseKind();
    Piece* p = Piece_Create(px, py, kind);
    if (Rand(0, 100) < ShieldPercent && kind != Kind_Crystal) {
        p->shields_count = 1;
        p->antigrav_first_hit = 3;
    }
    if (Rand(0, 100) < GoldenPercent) p->golden = 1;
    if (Rand(0, 100) < BombPercent) p->bomb = 1;
    if (Rand(0, 100) < LaserPercent) p->laser = 1;
    return p;
}

int Piece_ChooseKind() {
    // An empty bag cannot be drawn from; plain gems of kind 1 keep the board playable.
    if (Piece_Bag_Count <= 0) return Last_Kind = 1;
    auto draw = [] {
        int i = Trunc(Rnd(0.0f, static_cast<float>(Piece_Bag_Count)));
        return Piece_Bag[std::clamp(i, 0, Piece_Bag_Count - 1)];
    };
    int kind = draw();
    if (Piece_Kinds_Count > 2)
        while (kind == Last_Kind)
            kind = draw();
    Last_Kind = kind;
    return kind;
}

void Piece_Remove(Piece* piece) {
    if (!piece || piece == Busy_Marker) return;
    auto it = std::find(Pieces.begin(), Pieces.end(), piece);
    if (it == Pieces.end()) return; // already gone: removing twice must not free it twice
    *it = nullptr;
    ++Removed_Slots;
    Dying.push_back(piece);
}
