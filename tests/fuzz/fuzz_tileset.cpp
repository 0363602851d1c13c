// The tileset description: any text either gives every tile sizes, a frame count and a speed
// the drawing can use, or stops the game with a message naming the tile (the intended stop).
#include "data/tileset.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

void CheckTiles(const Tileset& t, int count) {
    FUZZ_CHECK(t.tiles_count == count);
    for (int i = 0; i < count; ++i) {
        const Tile& tile = t.tiles[i];
        FUZZ_CHECK(tile.img_dx >= 1 && tile.img_dy >= 1 && tile.img_count >= 1);
        FUZZ_CHECK(tile.anim_period >= 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Fuzz_Embed("images/pieces/tiles.txt", data, size);
    // The sets the game loads: its gems, and the shadows drawn under them.
    for (const char* name : {"Gem", "ShadowGem"}) {
        bool stopped = true;
        Tileset set;
        Fuzz_Guard([&] {
            LoadTileset(set, 7, name);
            stopped = false;
        });
        if (!stopped) CheckTiles(set, 7);
        // The parser alone agrees with the load: every line it accepts is usable.
        const std::string text(reinterpret_cast<const char*>(data), size);
        for (int i = 0; i < 7; ++i) {
            Tile tile;
            std::string error;
            if (ParseTileLine(text, name, i, tile, &error)) {
                FUZZ_CHECK(tile.img_dx >= 1 && tile.img_count >= 1 && tile.anim_period >= 0);
            } else {
                FUZZ_CHECK(!error.empty());
                FUZZ_CHECK(stopped);
            }
        }
    }
    return 0;
}
