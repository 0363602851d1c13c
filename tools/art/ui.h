// The interface group of pictures: each function draws and writes a few related pictures.
#pragma once

#include "tools/art/art.h"

void Ui_Buttons(const ArtContext& ctx);    // menu, play and small buttons with their glows
void Ui_Frames(const ArtContext& ctx);     // dialog frame, tip panel, in-game panel, highscores
void Ui_Options(const ArtContext& ctx);    // settings page, its controls, credits, help columns
void Ui_Titles(const ArtContext& ctx);     // title, logos, win and game-over lettering, arrow
void Ui_Backdrops(const ArtContext& ctx);  // the menu backdrop
void Ui_LevelFrame(const ArtContext& ctx); // the level chooser's thumbnail frame

// The three help texts the help pages draw beside their picture columns.
extern const char* const kUiHelpTexts[3];
