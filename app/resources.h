// The embedded files and the start-up assets: every data file is registered under its exact
// name, then the pictures, fonts and sounds the screens share are loaded into these globals.
#pragma once

#include "audio/sound_fx.h"
#include "engine/audio.h"
#include "engine/gfx.h"

#include <string>
#include <vector>

// Registers every embedded file under its registered name, in the order of the game's lists.
// Returns the names that have no generated file behind them (empty in a complete build).
std::vector<std::string> Resources_RegisterAll();
// The registered names in registration order.
const std::vector<std::string>& Resources_Names();
// Where a registered name's file lies in the generated data: ".\sounds\x.wav" -> "sounds/x.wav".
std::string Resources_AssetPath(const std::string& registered_name);

// Loads the start-up assets in table order (pictures, contour tiles, fonts, level pictures).
void Resources_LoadStartup();

// How the start-up cuts a picture: its registered name and, for a strip, the frame size and
// count (count 0: one whole picture). The art generator keeps its own table of what it draws;
// a test holds the two together.
struct Resources_PictureCut {
    std::string name;
    int w, h, count;
};
std::vector<Resources_PictureCut> Resources_PictureCuts();
// Hands the start-up pictures to the board, the effect sprites and the candle, which do not
// know the app's globals.
void Resources_WirePictures();

// The sounds loaded at start-up (SndClick etc.) are declared with the sound manager.

// Pictures loaded at start-up.
extern Image *ImgPublisherLogo, *ImgMakerLogo, *ImgTileEmpty, *ImgTile1, *ImgTileSelected,
    *ImgTile2, *ImgMulticolor, *ImgTar, *ImgLauncherA, *ImgLauncherB, *ImgSpark1A, *ImgSpark1B,
    *ImgSpark1C, *ImgPumpkin, *ImgSpark1D, *ImgChain1, *ImgChain2, *ImgChainLink, *ImgInfoPanel,
    *ImgComboEffect, *ImgSpark1, *ImgSpark2, *ImgSpark3, *ImgSpark4, *ImgSpark5, *ImgSparkSnowball,
    *ImgArrowYellow, *ImgFlameAnim, *ImgCandle, *ImgHourglassWarningHalo, *ImgButtonChooseLevel,
    *ImgButtonMenuOn, *ImgButtonMenuOff, *ImgButtonMenuGlow, *ImgButtonMenuSelected,
    *ImgButtonPlayOff, *ImgButtonPlayOn, *ImgButtonPlayGlow, *ImgTitle, *ImgHammer1, *ImgHammer2,
    *ImgHammer3, *ImgHammerOval2, *ImgHammerOval3, *ImgButtonSmallOn, *ImgButtonSmallOff,
    *ImgButtonSmallGlow, *ImgIngameInterface, *ImgMenuBackground, *ImgFrame, *ImgOptSettings,
    *ImgOptCursor, *ImgOptCheck, *ImgOptArrowLeft, *ImgOptArrowRight, *ImgOptCredits, *ImgHelp1,
    *ImgHelp2, *ImgHelp3, *ImgYouWin, *ImgGameOver, *ImgHighscores, *ImgSpark6, *ImgSpark7,
    *ImgSpark8, *ImgSpark9, *ImgMapCandle, *ImgMapHammer1, *ImgMapHammer2, *ImgMapHammer3,
    *ImgTilePart, *ImgCloudsA1, *ImgCloudsA2, *ImgCloudsA3, *ImgSnowFlake1, *ImgSnowFlake2,
    *ImgSnowFlake3;
extern Image* ImgHalo[7];
extern Image* ImgSky[3];
extern Image* ImgSkyStar[3];

// Contour-tile pictures: slot 0 outer corners, 1 U-shaped ends, 2 the enclosed cross.
struct ContTile_Img {
    Image* imgs[8] = {};
    Image* imgs_dark[8] = {};
    int imgs_count = 0;
};
extern ContTile_Img ContTileImages[64];

extern Font *FontSans16, *FontLiberty32, *FontSans12, *FontPS28, *FontPS20, *FontPS30, *FontPS38;

constexpr int Level_ImagesMax = 210;
extern Image* Level_Images[Level_ImagesMax + 1]; // places 1..210; 151..210 stay null

// Sizes derived from the button pictures; dialog and menu layouts use them.
extern int MenuButtonW, MenuButtonH, PlayButtonW, PlayButtonH;
