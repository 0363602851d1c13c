#include "data/tileset.h"

#include "engine/gfx.h"
#include "engine/stream.h"
#include "engine/system.h"

#include <cstdlib>

Tileset Tilesets[Tileset_Max];
int Tilesets_Count = 0;
int Tileset_Crt = 0;
Tileset ShadowTileset;

namespace {

const char* const kDescription = "incbin::images/pieces/tiles.txt";

// A decimal integer filling text[from, to) exactly (surrounding blanks allowed).
bool ParseNumber(const std::string& text, std::size_t from, std::size_t to, int& out) {
    std::string s = text.substr(from, to - from);
    std::size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
    if (a == std::string::npos) return false;
    s = s.substr(a, b - a + 1);
    char* end = nullptr;
    long v = std::strtol(s.c_str(), &end, 10);
    if (*end != '\0' || v < -1000000 || v > 1000000) return false;
    out = static_cast<int>(v);
    return true;
}

} // namespace

void InitTilesets() {
    for (Tileset& t : Tilesets)
        t = Tileset{};
    ShadowTileset = Tileset{};
    Tilesets_Count = 0;
    Tileset_Crt = 0;
    AddTileset(7, "Gem");
}

void AddTileset(int count, const std::string& name) {
    if (Tilesets_Count >= Tileset_Max) RuntimeError("too many tilesets");
    LoadTileset(Tilesets[Tilesets_Count], count, name);
    ++Tilesets_Count;
}

void LoadTileset(Tileset& tileset, int count, const std::string& name) {
    if (count < 1 || count > Tileset_MaxTiles) RuntimeError("bad tile count for " + name);
    tileset.tiles_count = count;
    tileset.filename = name;
    if (!ReadStream(kDescription)) RuntimeError("cant open tiles.txt");
    const std::string text = LoadString(kDescription);
    for (int i = 0; i < count; ++i) {
        Tile& tile = tileset.tiles[i];
        std::string error;
        if (!ParseTileLine(text, name, i, tile, &error)) RuntimeError(error);
        tile.image = LoadAnimImage("incbin::images/pieces/" + name + std::to_string(i) + ".png",
                                   tile.img_dx, tile.img_dy, 0, tile.img_count, IMG_FILTERED);
    }
}

bool ParseTileLine(const std::string& text, const std::string& name, int i, Tile& tile,
                   std::string* error) {
    const std::string key = name + std::to_string(i) + "=";
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    std::size_t at = text.find(key);
    if (at == std::string::npos) return fail("cant find " + key + " in tiles.txt");
    std::size_t start = at + key.size();
    std::size_t c1 = text.find(',', start);
    std::size_t c2 = c1 == std::string::npos ? c1 : text.find(',', c1 + 1);
    std::size_t c3 = c2 == std::string::npos ? c2 : text.find(',', c2 + 1);
    std::size_t eol = text.find_first_of("\r\n", start);
    if (eol == std::string::npos) eol = text.size();
    // A line needs its three commas before its own end, not borrowed from the next line.
    if (c3 == std::string::npos || c3 > eol)
        return fail("bad line for " + key + " in tiles.txt: four numbers expected");
    Tile t;
    int speed = 0;
    if (!ParseNumber(text, start, c1, t.img_dx) || !ParseNumber(text, c1 + 1, c2, t.img_dy) ||
        !ParseNumber(text, c2 + 1, c3, t.img_count) || !ParseNumber(text, c3 + 1, eol, speed))
        return fail("bad number in the line for " + key + " in tiles.txt");
    if (t.img_dx < 1 || t.img_dy < 1 || t.img_count < 1 || speed < 1)
        return fail("the line for " + key + " in tiles.txt needs sizes, count and speed above 0");
    t.anim_period = 1000 / speed;
    t.image = tile.image;
    tile = t;
    return true;
}

const Tile& TileOfKind(int kind) {
    const Tileset& t = Tilesets[Tileset_Crt];
    int count = t.tiles_count > 0 ? t.tiles_count : 1;
    int index = kind - 1;
    // Kinds beyond the set wrap around; a kind below 1 cannot occur, but must not index outside.
    if (index >= count || index < 0) index = ((index % count) + count) % count;
    return t.tiles[index];
}
