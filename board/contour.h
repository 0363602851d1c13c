// Contour tiles: the frame drawn in void cells around the playing field. The rules here decide
// which tile and picture variant a void cell shows from which of its eight neighbours are
// playable; they are shared by the board and the level compiler and draw nothing.
#pragma once

#include <array>
#include <functional>

// Picture sets of the contour tiles.
enum ContTileSet { ContSet_Corner = 0, ContSet_U = 1, ContSet_Cross = 2 };

struct ContTile {
    int img_tile = 0;      // picture set (ContTileSet)
    float rotation = 0.0f; // degrees
};

constexpr int ContTile_Count = 9;
constexpr int ContTile_Cross = 8;
extern const ContTile ContTiles[ContTile_Count];
extern const std::array<int, 256> ContTile_Lookup; // tile by neighbour mask, -1 none
extern const int ContTile_SetVariants[3];          // pictures per set: corner 2, U 2, cross 1

// Neighbour bits: a neighbour inside the grid that is not void adds its value.
enum ContNeighbour {
    Cont_Up = 1,
    Cont_UpRight = 2,
    Cont_Right = 4,
    Cont_DownRight = 8,
    Cont_Down = 16,
    Cont_DownLeft = 32,
    Cont_Left = 64,
    Cont_UpLeft = 128,
};

// Answers whether cell (x, y), inside the grid, is void.
using ContVoidTest = std::function<bool(int x, int y)>;
// Draws an integer in min..max inclusive.
using ContRand = std::function<int(int min, int max)>;

int Contour_NeighbourMask(int x, int y, int dx, int dy, const ContVoidTest& is_void);
// The tile a void cell with this mask shows: the lookup, else the cross when all four orthogonal
// neighbours are playable, else -1 (no tile).
int Contour_TileForMask(int mask);
int Contour_Variants(int tile); // pictures to choose from; 0 for -1

struct ContourResult {
    int tile = -1;
    int variant = 0; // stored in the void cell's background
};
// Tile and variant of the void cell (x, y) of a dx x dy grid; the variant is drawn with `rand`
// only for a tile taken from the lookup table.
ContourResult Contour_Compute(int x, int y, int dx, int dy, const ContVoidTest& is_void,
                              const ContRand& rand);
