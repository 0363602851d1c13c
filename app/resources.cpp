#include "app/resources.h"

#include "audio/music.h"
#include "audio/sound_fx.h"
#include "board/pictures.h"
#include "engine/stream.h"
#include "fx/candle.h"
#include "fx/effects.h"
#include "fx/particles.h"
#include "fx/scenery.h"

#include <cstdio>

Image *ImgPublisherLogo, *ImgMakerLogo, *ImgTileEmpty, *ImgTile1, *ImgTileSelected, *ImgTile2,
    *ImgMulticolor, *ImgTar, *ImgLauncherA, *ImgLauncherB, *ImgSpark1A, *ImgSpark1B, *ImgSpark1C,
    *ImgPumpkin, *ImgSpark1D, *ImgChain1, *ImgChain2, *ImgChainLink, *ImgInfoPanel, *ImgComboEffect,
    *ImgSpark1, *ImgSpark2, *ImgSpark3, *ImgSpark4, *ImgSpark5, *ImgSparkSnowball, *ImgArrowYellow,
    *ImgFlameAnim, *ImgCandle, *ImgHourglassWarningHalo, *ImgButtonChooseLevel, *ImgButtonMenuOn,
    *ImgButtonMenuOff, *ImgButtonMenuGlow, *ImgButtonMenuSelected, *ImgButtonPlayOff,
    *ImgButtonPlayOn, *ImgButtonPlayGlow, *ImgTitle, *ImgHammer1, *ImgHammer2, *ImgHammer3,
    *ImgHammerOval2, *ImgHammerOval3, *ImgButtonSmallOn, *ImgButtonSmallOff, *ImgButtonSmallGlow,
    *ImgIngameInterface, *ImgMenuBackground, *ImgFrame, *ImgOptSettings, *ImgOptCursor,
    *ImgOptCheck, *ImgOptArrowLeft, *ImgOptArrowRight, *ImgOptCredits, *ImgHelp1, *ImgHelp2,
    *ImgHelp3, *ImgYouWin, *ImgGameOver, *ImgHighscores, *ImgSpark6, *ImgSpark7, *ImgSpark8,
    *ImgSpark9, *ImgMapCandle, *ImgMapHammer1, *ImgMapHammer2, *ImgMapHammer3, *ImgTilePart,
    *ImgCloudsA1, *ImgCloudsA2, *ImgCloudsA3, *ImgSnowFlake1, *ImgSnowFlake2, *ImgSnowFlake3;
Image* ImgHalo[7];
Image* ImgSky[3];
Image* ImgSkyStar[3];
ContTile_Img ContTileImages[64];
Font *FontSans16, *FontLiberty32, *FontSans12, *FontPS28, *FontPS20, *FontPS30, *FontPS38;
Image* Level_Images[Level_ImagesMax + 1];
int MenuButtonW, MenuButtonH, PlayButtonW, PlayButtonH;

namespace {

// The effect sounds are listed with the sound manager, the music tracks with the music player.
const char* const kFonts[] = {"l_10646.ttf", "libertyn.ttf", "PS_14508.ttf"};
const char* const kInterface[] = {"logo_small_QP.png",
                                  "logo_Tarnwick.jpg",
                                  "Fond_Game_Datas.png",
                                  "arrow_yellow.png",
                                  "Candle.png",
                                  "button_Choose_Level.png",
                                  "button_gx_on.png",
                                  "button_gx_off.png",
                                  "button_gx_glow.png",
                                  "button_gx_selected.png",
                                  "button_gx_play_off.png",
                                  "button_gx_play_on.png",
                                  "button_gx_play_glow.png",
                                  "title.png",
                                  "hammer.png",
                                  "hammer2.png",
                                  "hammer3.png",
                                  "ovale_hammer2.png",
                                  "ovale_hammer3.png",
                                  "button_anim2_on.png",
                                  "button_anim2_off.png",
                                  "button_anim2_glow.png",
                                  "ingame_interface.png",
                                  "bckg_options.jpg",
                                  "frame.png",
                                  "opt_settings.png",
                                  "opt_cursor.png",
                                  "opt_check.png",
                                  "opt_arrow_left.png",
                                  "opt_arrow_right.png",
                                  "opt_credits.png",
                                  "Help01.png",
                                  "Help02.png",
                                  "Help03.png",
                                  "youwin.png",
                                  "gameover.png",
                                  "highscores.png",
                                  "map_candle.png",
                                  "map_hammer.png",
                                  "map_hammer2.png",
                                  "map_hammer3.png"};
const char* const kHourglass[] = {"flame_anim.png", "halo_hourglass_warning.png"};
const char* const kPieces[] = {"halo0.png", "halo1.png", "halo2.png", "halo3.png", "halo4.png",
                               "halo5.png", "halo6.png", "Gem0.png",  "Gem1.png",  "Gem2.png",
                               "Gem3.png",  "Gem4.png",  "Gem5.png",  "Gem6.png",  "tiles.txt"};
const char* const kOther[] = {"tile_empty.png",
                              "tile1.png",
                              "tile_selected.png",
                              "tile2.png",
                              "multicolor.png",
                              "tar.png",
                              "launcher.png",
                              "pumpkinx9.png",
                              "chain1.png",
                              "chain2.png",
                              "maillon_28x20_15.png",
                              "combo_effect1.png",
                              "spark1.png",
                              "spark2.png",
                              "spark3.png",
                              "spark4.png",
                              "spark5.png",
                              "spark_snowball.png",
                              "spark6.png",
                              "spark7.png",
                              "spark8.png",
                              "spark9.png",
                              "tile_part1.png",
                              "ContTile_corner1.png",
                              "ContTile_corner2.png",
                              "ContTile_corner1_dark.png",
                              "ContTile_corner2_dark.png",
                              "ContTile_U1.png",
                              "ContTile_U2.png",
                              "ContTile_U1_dark.png",
                              "ContTile_U2_dark.png",
                              "ContTile_Cross.png",
                              "ContTile_Cross_dark.png",
                              "bckg_CloudsA1.png",
                              "bckg_CloudsA2.png",
                              "bckg_CloudsA3.png",
                              "bckg_SkyA1.jpg",
                              "bckg_SkyA2.jpg",
                              "bckg_SkyA3.jpg",
                              "Sky_Star1.png",
                              "Sky_Star2.png",
                              "Sky_Star3.png",
                              "Snow_Flake1.png",
                              "Snow_Flake2.png",
                              "Snow_Flake3.png"};
// The scenery's six landscapes, registered after the other pictures and loaded on first use.
const char* const kLandscapes[Scenery_PictureCount] = {"bckgA1.png", "bckgB1.png", "bckgC1.png",
                                                       "bckgD1.png", "bckgE1.png", "bckgF1.png"};

std::string Number3(int n) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%03d", n);
    return buf;
}

std::vector<std::string> BuildNames() {
    std::vector<std::string> names;
    auto group = [&](const char* prefix, auto& list) {
        for (const char* n : list)
            names.push_back(std::string(prefix) + n);
    };
    for (const NamedSoundFile& f : kNamedSoundFiles)
        names.push_back(std::string(Snd_Folder) + f.file);
    for (const SlotSoundFile& f : kSlotSoundFiles)
        names.push_back(std::string(Snd_Folder) + f.file);
    group(Snd_Folder, kMusicTrackFiles);
    group(".\\fonts\\", kFonts);
    group("images/interface/", kInterface);
    group("images/hourglass/", kHourglass);
    group("images/pieces/", kPieces);
    group("images/", kOther);
    group("images/", kLandscapes);
    for (int n = 1; n <= 150; ++n)
        names.push_back("images/Level" + Number3(n) + ".jpg");
    for (int n = 1; n <= 150; ++n)
        names.push_back("levels/KV_level_" + Number3(n) + ".lev");
    return names;
}

// One start-up picture: its global, its registered name and how it is cut and handled.
struct PictureRow {
    Image** global;
    const char* name;
    int w, h, count; // count 0: a single picture
    int flags;
    bool mid;
};

Image* LoadPicture(const PictureRow& row) {
    std::string url = std::string("incbin::") + row.name;
    Image* img = row.count > 0 ? LoadAnimImage(url, row.w, row.h, 0, row.count, row.flags)
                               : LoadImage(url, row.flags);
    if (img && row.mid) MidHandleImage(img);
    return img;
}

constexpr int D = IMG_DEFAULT;
#define IF "images/interface/"
#define IM "images/"

// Pictures up to the contour tiles, in table order.
const PictureRow kPicturesA[] = {
    {&ImgPublisherLogo, IF "logo_small_QP.png", 0, 0, 0, 2, true},
    {&ImgMakerLogo, IF "logo_Tarnwick.jpg", 0, 0, 0, 0, true},
    {&ImgTileEmpty, IM "tile_empty.png", 0, 0, 0, D, false},
    {&ImgTile1, IM "tile1.png", 0, 0, 0, D, false},
    {&ImgTileSelected, IM "tile_selected.png", 0, 0, 0, D, false},
    {&ImgTile2, IM "tile2.png", 0, 0, 0, 2, false},
    {&ImgMulticolor, IM "multicolor.png", 48, 48, 64, D, false},
    {&ImgTar, IM "tar.png", 77, 40, 64, 2, false},
    {&ImgLauncherA, IM "launcher.png", 48, 48, 32, D, false},
    {&ImgLauncherB, IM "launcher.png", 48, 48, 32, D, false},
    {&ImgSpark1A, IM "spark1.png", 0, 0, 0, 0, false},
    {&ImgSpark1B, IM "spark1.png", 0, 0, 0, 0, false},
    {&ImgSpark1C, IM "spark1.png", 0, 0, 0, 0, false},
    {&ImgPumpkin, IM "pumpkinx9.png", 54, 54, 10, 2, false},
    {&ImgSpark1D, IM "spark1.png", 0, 0, 0, D, false},
    {&ImgHalo[0], "images/pieces/halo0.png", 0, 0, 0, D, false},
    {&ImgHalo[1], "images/pieces/halo1.png", 0, 0, 0, D, false},
    {&ImgHalo[2], "images/pieces/halo2.png", 0, 0, 0, D, false},
    {&ImgHalo[3], "images/pieces/halo3.png", 0, 0, 0, D, false},
    {&ImgHalo[4], "images/pieces/halo4.png", 0, 0, 0, D, false},
    {&ImgHalo[5], "images/pieces/halo5.png", 0, 0, 0, D, false},
    {&ImgHalo[6], "images/pieces/halo6.png", 0, 0, 0, D, false},
    {&ImgChain1, IM "chain1.png", 48, 48, 64, D, true},
    {&ImgChain2, IM "chain2.png", 48, 48, 64, D, true},
    {&ImgChainLink, IM "maillon_28x20_15.png", 28, 20, 15, 4, true},
    {&ImgInfoPanel, IF "Fond_Game_Datas.png", 0, 0, 0, 0, false},
    {&ImgComboEffect, IM "combo_effect1.png", 128, 128, 32, D, true},
    {&ImgSpark1, IM "spark1.png", 0, 0, 0, 0, true},
    {&ImgSpark2, IM "spark2.png", 0, 0, 0, 0, true},
    {&ImgSpark3, IM "spark3.png", 0, 0, 0, 0, true},
    {&ImgSpark4, IM "spark4.png", 0, 0, 0, 0, true},
    {&ImgSpark5, IM "spark5.png", 0, 0, 0, 0, true},
    {&ImgSparkSnowball, IM "spark_snowball.png", 0, 0, 0, 0, true},
    {&ImgArrowYellow, IF "arrow_yellow.png", 0, 0, 0, 2, false},
    {&ImgFlameAnim, "images/hourglass/flame_anim.png", 48, 48, 4, D, false},
    {&ImgCandle, IF "Candle.png", 64, 116, 32, D, false},
    {&ImgHourglassWarningHalo, "images/hourglass/halo_hourglass_warning.png", 0, 0, 0, D, true},
    {&ImgButtonChooseLevel, IF "button_Choose_Level.png", 80, 60, 5, D, false},
    {&ImgButtonMenuOn, IF "button_gx_on.png", 151, 42, 16, D, false},
    {&ImgButtonMenuOff, IF "button_gx_off.png", 151, 42, 16, D, false},
    {&ImgButtonMenuGlow, IF "button_gx_glow.png", 0, 0, 0, D, false},
    {&ImgButtonMenuSelected, IF "button_gx_selected.png", 0, 0, 0, D, false},
    {&ImgButtonPlayOff, IF "button_gx_play_off.png", 112, 77, 1, D, false},
    {&ImgButtonPlayOn, IF "button_gx_play_on.png", 112, 77, 1, D, false},
    {&ImgButtonPlayGlow, IF "button_gx_play_glow.png", 0, 0, 0, D, false},
    {&ImgTitle, IF "title.png", 0, 0, 0, D, false},
    {&ImgHammer1, IF "hammer.png", 60, 99, 32, D, true},
    {&ImgHammer2, IF "hammer2.png", 62, 103, 32, D, true},
    {&ImgHammer3, IF "hammer3.png", 82, 110, 32, D, true},
    {&ImgHammerOval2, IF "ovale_hammer2.png", 103, 115, 16, D, false},
    {&ImgHammerOval3, IF "ovale_hammer3.png", 103, 115, 16, D, false},
    {&ImgButtonSmallOn, IF "button_anim2_on.png", 94, 26, 1, D, false},
    {&ImgButtonSmallOff, IF "button_anim2_off.png", 94, 26, 1, D, false},
    {&ImgButtonSmallGlow, IF "button_anim2_glow.png", 0, 0, 0, D, false},
    {&ImgIngameInterface, IF "ingame_interface.png", 0, 0, 0, D, false},
    {&ImgMenuBackground, IF "bckg_options.jpg", 0, 0, 0, 0, false},
    {&ImgFrame, IF "frame.png", 0, 0, 0, D, false},
    {&ImgOptSettings, IF "opt_settings.png", 0, 0, 0, D, false},
    {&ImgOptCursor, IF "opt_cursor.png", 49, 35, 2, D, false},
    {&ImgOptCheck, IF "opt_check.png", 34, 25, 2, D, false},
    {&ImgOptArrowLeft, IF "opt_arrow_left.png", 68, 48, 2, D, false},
    {&ImgOptArrowRight, IF "opt_arrow_right.png", 68, 48, 2, D, false},
    {&ImgOptCredits, IF "opt_credits.png", 0, 0, 0, D, false},
    {&ImgHelp1, IF "Help01.png", 0, 0, 0, D, false},
    {&ImgHelp2, IF "Help02.png", 0, 0, 0, D, false},
    {&ImgHelp3, IF "Help03.png", 0, 0, 0, D, false},
    {&ImgYouWin, IF "youwin.png", 0, 0, 0, 2, true},
    {&ImgGameOver, IF "gameover.png", 0, 0, 0, 2, true},
    {&ImgHighscores, IF "highscores.png", 0, 0, 0, D, false},
    {&ImgSpark6, IM "spark6.png", 20, 20, 32, 4, true},
    {&ImgSpark7, IM "spark7.png", 0, 0, 0, D, true},
    {&ImgSpark8, IM "spark8.png", 8, 8, 32, 2, true},
    {&ImgSpark9, IM "spark9.png", 16, 16, 32, 2, true},
    {&ImgMapCandle, IF "map_candle.png", 0, 0, 0, 8, false},
    {&ImgMapHammer1, IF "map_hammer.png", 0, 0, 0, 8, false},
    {&ImgMapHammer2, IF "map_hammer2.png", 0, 0, 0, 8, false},
    {&ImgMapHammer3, IF "map_hammer3.png", 0, 0, 0, 8, false},
    {&ImgTilePart, IM "tile_part1.png", 24, 24, 20, 4, true},
};

// The scenery pictures that end the table, loaded after the contour tiles.
const PictureRow kPicturesB[] = {
    {&ImgCloudsA1, IM "bckg_CloudsA1.png", 0, 0, 0, 2, false},
    {&ImgCloudsA2, IM "bckg_CloudsA2.png", 0, 0, 0, 2, false},
    {&ImgCloudsA3, IM "bckg_CloudsA3.png", 0, 0, 0, 2, false},
    {&ImgSky[0], IM "bckg_SkyA1.jpg", 0, 0, 0, 2, false},
    {&ImgSky[1], IM "bckg_SkyA2.jpg", 0, 0, 0, 2, false},
    {&ImgSky[2], IM "bckg_SkyA3.jpg", 0, 0, 0, 2, false},
    {&ImgSkyStar[0], IM "Sky_Star1.png", 0, 0, 0, D, false},
    {&ImgSkyStar[1], IM "Sky_Star2.png", 0, 0, 0, D, false},
    {&ImgSkyStar[2], IM "Sky_Star3.png", 0, 0, 0, D, false},
    {&ImgSnowFlake1, IM "Snow_Flake1.png", 0, 0, 0, D, false},
    {&ImgSnowFlake2, IM "Snow_Flake2.png", 0, 0, 0, D, false},
    {&ImgSnowFlake3, IM "Snow_Flake3.png", 0, 0, 0, D, false},
};

#undef IF
#undef IM

void LoadContTileImages() {
    auto load = [](const char* name) {
        return LoadImage(std::string("incbin::images/") + name, 0);
    };
    const char* light[3][2] = {{"ContTile_corner1.png", "ContTile_corner2.png"},
                               {"ContTile_U1.png", "ContTile_U2.png"},
                               {"ContTile_Cross.png", nullptr}};
    const char* dark[3][2] = {{"ContTile_corner1_dark.png", "ContTile_corner2_dark.png"},
                              {"ContTile_U1_dark.png", "ContTile_U2_dark.png"},
                              {"ContTile_Cross_dark.png", nullptr}};
    for (int slot = 0; slot < 3; ++slot) {
        ContTile_Img& t = ContTileImages[slot];
        t.imgs_count = light[slot][1] ? 2 : 1;
        for (int i = 0; i < t.imgs_count; ++i) {
            t.imgs[i] = load(light[slot][i]);
            t.imgs_dark[i] = load(dark[slot][i]);
        }
    }
}

void LoadFonts() {
    auto font = [](const char* name, int size) {
        return LoadImageFont(std::string("incbin::.\\fonts\\") + name, size, FONT_SMOOTH);
    };
    FontSans16 = font("l_10646.ttf", 16);
    FontLiberty32 = font("libertyn.ttf", 32);
    FontSans12 = font("l_10646.ttf", 12);
    FontPS28 = font("PS_14508.ttf", 28);
    FontPS20 = font("PS_14508.ttf", 20);
    FontPS30 = font("PS_14508.ttf", 30);
    FontPS38 = font("PS_14508.ttf", 38);
}

void LoadSounds() {
    for (const NamedSoundFile& f : kNamedSoundFiles)
        *f.global = LoadSound(std::string("incbin::") + Snd_Folder + f.file, 0);
}

} // namespace

const std::vector<std::string>& Resources_Names() {
    static const std::vector<std::string> names = BuildNames();
    return names;
}

std::string Resources_AssetPath(const std::string& registered_name) {
    std::string path = registered_name;
    if (path.rfind(".\\", 0) == 0) path.erase(0, 2);
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

std::vector<std::string> Resources_RegisterAll() {
    std::vector<std::string> missing;
    for (const std::string& name : Resources_Names()) {
        const EmbeddedFile* file = Embedded_Find(Resources_AssetPath(name));
        if (file)
            Incbin_Register(name, file->bytes, file->size);
        else
            missing.push_back(name);
    }
    return missing;
}

std::vector<Resources_PictureCut> Resources_PictureCuts() {
    std::vector<Resources_PictureCut> cuts;
    for (const PictureRow& row : kPicturesA)
        cuts.push_back({row.name, row.w, row.h, row.count});
    for (const PictureRow& row : kPicturesB)
        cuts.push_back({row.name, row.w, row.h, row.count});
    return cuts;
}

void Resources_LoadStartup() {
    LoadSounds();
    for (const PictureRow& row : kPicturesA)
        *row.global = LoadPicture(row);
    LoadContTileImages();
    for (const PictureRow& row : kPicturesB)
        *row.global = LoadPicture(row);
    LoadFonts();
    for (int n = 1; n <= Level_ImagesMax; ++n)
        Level_Images[n] = LoadImage("incbin::images/Level" + Number3(n) + ".jpg", IMG_DEFAULT);
    MenuButtonW = ImageWidth(ImgButtonMenuOff);
    MenuButtonH = ImageHeight(ImgButtonMenuOff);
    PlayButtonW = ImageWidth(ImgButtonPlayOff);
    PlayButtonH = ImageHeight(ImgButtonPlayOff);
}

namespace {

void WireBoardPictures() {
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

void WireSceneryPictures() {
    Scenery_Pictures& p = SceneryPics;
    for (int i = 0; i < Scenery_SkyCount; ++i)
        p.sky[i] = ImgSky[i];
    for (int i = 0; i < 3; ++i)
        p.star[i] = ImgSkyStar[i];
    p.clouds[0] = ImgCloudsA1;
    p.clouds[1] = ImgCloudsA2;
    p.clouds[2] = ImgCloudsA3;
    for (int i = 0; i < Scenery_PictureCount; ++i)
        p.landscape_urls[i] = std::string("incbin::images/") + kLandscapes[i];
}

void WireEffectPictures() {
    Gfx_Pictures& p = GfxPics;
    Image* const sparks[10] = {nullptr,   ImgSpark1, ImgSpark2, ImgSpark3, ImgSpark4,
                               ImgSpark5, ImgSpark6, ImgSpark7, ImgSpark8, ImgSpark9};
    for (int i = 0; i < 10; ++i)
        p.spark[i] = sparks[i];
    p.spark_snowball = ImgSparkSnowball;
    p.tile_part = ImgTilePart;
    p.chain_link = ImgChainLink;
    p.combo_effect = ImgComboEffect;
    p.tile_empty = ImgTileEmpty;
    p.you_win = ImgYouWin;
    p.snow_flake[0] = ImgSnowFlake1;
    p.snow_flake[1] = ImgSnowFlake2;
    p.snow_flake[2] = ImgSnowFlake3;
}

} // namespace

void Resources_WirePictures() {
    WireBoardPictures();
    WireEffectPictures();
    WireSceneryPictures();
    ParticlePics.map_hammer[0] = ImgMapHammer1;
    ParticlePics.map_hammer[1] = ImgMapHammer2;
    ParticlePics.map_hammer[2] = ImgMapHammer3;
    ParticlePics.map_candle = ImgMapCandle;
    Candle_Picture = ImgCandle;
    Candle_Flame = ImgFlameAnim;
}
