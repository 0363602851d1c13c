#include "board/contour.h"

const ContTile ContTiles[ContTile_Count] = {
    {ContSet_Corner, 0.0f},  {ContSet_Corner, 270.0f}, {ContSet_Corner, 180.0f},
    {ContSet_Corner, 90.0f}, {ContSet_U, 0.0f},        {ContSet_U, 270.0f},
    {ContSet_U, 180.0f},     {ContSet_U, 90.0f},       {ContSet_Cross, 0.0f},
};

const int ContTile_SetVariants[3] = {2, 2, 1};

namespace {

constexpr std::array<int, 256> MakeLookup() {
    std::array<int, 256> v{};
    for (int& e : v)
        e = -1;
    // Masks of every neighbour arrangement a tile fits, by tile index.
    const int masks[9][4] = {
        {28, 30, 60, 62},     {7, 15, 135, 143},    {193, 195, 225, 227},
        {112, 120, 240, 248}, {124, 126, 252, 254}, {31, 63, 159, 191},
        {199, 207, 231, 239}, {241, 243, 249, 251}, {85, 85, 85, 85},
    };
    for (int tile = 0; tile < 9; ++tile)
        for (int m : masks[tile])
            v[m] = tile;
    return v;
}

} // namespace

const std::array<int, 256> ContTile_Lookup = MakeLookup();

int Contour_NeighbourMask(int x, int y, int dx, int dy, const ContVoidTest& is_void) {
    struct Step {
        int ox, oy, bit;
    };
    static const Step steps[8] = {
        {-1, -1, Cont_UpLeft},  {-1, 0, Cont_Left}, {-1, 1, Cont_DownLeft}, {0, 1, Cont_Down},
        {1, 1, Cont_DownRight}, {1, 0, Cont_Right}, {1, -1, Cont_UpRight},  {0, -1, Cont_Up},
    };
    int mask = 0;
    for (const Step& s : steps) {
        int nx = x + s.ox, ny = y + s.oy;
        if (nx < 0 || ny < 0 || nx >= dx || ny >= dy) continue;
        if (!is_void(nx, ny)) mask += s.bit;
    }
    return mask;
}

int Contour_TileForMask(int mask) {
    if (mask < 0 || mask > 255) return -1;
    int tile = ContTile_Lookup[mask];
    if (tile >= 0) return tile;
    const int orthogonal = Cont_Up | Cont_Right | Cont_Down | Cont_Left;
    return (mask & orthogonal) == orthogonal ? ContTile_Cross : -1;
}

int Contour_Variants(int tile) {
    if (tile < 0 || tile >= ContTile_Count) return 0;
    return ContTile_SetVariants[ContTiles[tile].img_tile];
}

ContourResult Contour_Compute(int x, int y, int dx, int dy, const ContVoidTest& is_void,
                              const ContRand& rand) {
    const int mask = Contour_NeighbourMask(x, y, dx, dy, is_void);
    ContourResult r;
    if (ContTile_Lookup[mask] < 0) {
        r.tile = Contour_TileForMask(mask);
        return r;
    }
    r.tile = ContTile_Lookup[mask];
    r.variant = rand(1, Contour_Variants(r.tile)) - 1;
    return r;
}
