// Tilesets: the animated strips the gems are drawn from, described by "images/pieces/tiles.txt"
// (lines such as "Gem3=48,48,64,12": frame width, height, frame count, frames per second).
#pragma once

#include <string>

struct Image;

struct Tile {
    Image* image = nullptr;
    int img_dx = 0, img_dy = 0;
    int img_count = 0;
    int anim_period = 0; // ms per frame
};

constexpr int Tileset_MaxTiles = 16;
constexpr int Tileset_Max = 16;

struct Tileset {
    int tiles_count = 0;
    Tile tiles[Tileset_MaxTiles];
    std::string filename;
};

extern Tileset Tilesets[Tileset_Max];
extern int Tilesets_Count;
extern int Tileset_Crt;
extern Tileset ShadowTileset; // never loaded: its tiles stay empty

void InitTilesets();
void AddTileset(int count, const std::string& name);
void LoadTileset(Tileset& tileset, int count, const std::string& name);
// Reads the line of tile i of tileset `name` from the description text. False with `error` set
// when the key is missing or the line is malformed (the tile is left unchanged then).
bool ParseTileLine(const std::string& text, const std::string& name, int i, Tile& tile,
                   std::string* error = nullptr);
const Tile& TileOfKind(int kind);
