#include "app/board_screen.h"

#include "app/main_loop.h"
#include "app/resources.h"
#include "app/screens.h"
#include "board/board.h"
#include "board/gravity.h"
#include "board/matching.h"
#include "board/pictures.h"
#include "board/pieces.h"
#include "board/ripple.h"
#include "board/swap.h"
#include "board/table.h"
#include "data/level_file.h"
#include "engine/gfx.h"
#include "fx/effects.h"

#include <cstdio>

namespace {

bool Board_Start(bool (*load)(std::string*), const std::string& what) {
    Board_Init(true);
    BoardScreen_WirePictures();
    Score_NewGame();
    std::string error;
    if (!load(&error)) {
        std::fprintf(stderr, "snowmere: cannot load %s: %s\n", what.c_str(), error.c_str());
        return false;
    }
    FrameCounter = 0;
    Ice_Left = Table_CountIce();
    SetGameState(STATE_PLAYING);
    return true;
}

std::string Pending_Path;

bool Load_Pending(std::string* error) {
    return LoadLevelFile(Pending_Path, error);
}

void Draw_Backdrop() {
    SetBlend(BLEND_SOLID);
    SetAlpha(1.0f);
    SetScale(1.0f, 1.0f);
    SetRotation(0.0f);
    if (ImgSky[0]) {
        DrawImage(ImgSky[0], 0, 0, 0);
    } else {
        SetClsColor(8, 14, 34);
        Cls();
    }
    SetBlend(BLEND_ALPHA);
}

} // namespace

bool BoardScreen_StartLevel(int level) {
    if (level < 1) {
        std::fprintf(stderr, "snowmere: there is no level %d\n", level);
        return false;
    }
    LevelCrt = level;
    return Board_Start(LoadLevel, "level " + std::to_string(level));
}

bool BoardScreen_StartLevelFile(const std::string& path) {
    Pending_Path = path;
    if (LevelCrt < 1) LevelCrt = 1; // the rules of big moves depend on a level number
    return Board_Start(Load_Pending, path);
}

void BoardScreen_WirePictures() {
    Board_Pictures& b = BoardPics;
    b.tile_empty = ImgTileEmpty;
    b.tile1 = ImgTile1;
    b.tile2 = ImgTile2;
    b.tile_selected = ImgTileSelected;
    b.crystal = ImgMulticolor;
    b.snowball = ImgLauncherA;
    b.snowball_half = ImgLauncherB;
    b.icecube = ImgTar;
    for (int i = 0; i < 7; ++i)
        b.halo[i] = ImgHalo[i];
    b.chain1 = ImgChain1;
    b.chain2 = ImgChain2;
    b.bomb = ImgPumpkin;
    b.golden = ImgSpark1;
    for (int set = 0; set < 3; ++set) {
        b.contour_count[set] = ContTileImages[set].imgs_count;
        for (int v = 0; v < 2; ++v) {
            b.contour[set][v] = ContTileImages[set].imgs[v];
            b.contour_dark[set][v] = ContTileImages[set].imgs_dark[v];
        }
    }
}

void BoardScreen() {
    if (Intro_Active) Ripple_Step();
    Table_Update();
    Gfx_Update();
    Ice_Left = Table_CountIce();
    Draw_Backdrop();
    Table_DrawBackground();
    Gfx_DrawLayer(-10);
    Pieces_Draw();
    Gfx_DrawLayer(10);
    // The panel is drawn here once it exists; layer 20 lies above it.
    Gfx_DrawLayer(20);
    ++FrameCounter;
}
