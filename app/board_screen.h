// A plain board screen for playing a level: night backdrop, cells, pieces and the board's frame
// update. The full game screen (panel, clock, effects) replaces it as the playing state.
#pragma once

#include <string>

// Start a new match (score 0, three lives) at a level, load it and enter the playing state.
// False, with a message on the standard error, when the level cannot be loaded.
bool BoardScreen_StartLevel(int level);
bool BoardScreen_StartLevelFile(const std::string& path);

// Hands the start-up pictures to the board (cells, pieces, overlays and frame pieces).
void BoardScreen_WirePictures();

// The playing state's routine: one board update and one drawing of the board per pass.
void BoardScreen();
