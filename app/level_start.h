// Starting a match straight into play (the command line's --level and --level-file), reloading
// the level being played, and handing the start-up pictures to the board and the candle.
#pragma once

#include <string>

// A new match (score 0, three lives, relaxed or timed) at a level, loaded and playing.
// False, with a message on the standard error, when the level cannot be loaded.
bool LevelStart_NewMatch(int level, int relaxed);
// The file plays as level `level` (its level-dependent rules: rewards of big moves, blocking
// times); 0 keeps the current level number, at least 1.
bool LevelStart_NewMatchFromFile(const std::string& path, int relaxed, int level = 0);

// Loads the level being played again from where it came from (the embedded level or a file).
// False, with a message on the standard error, when it cannot be loaded.
bool ReloadCurrentLevel();
// Loads level LevelCrt for its introduction: the level file a match was started from while
// LevelCrt still stands for it, otherwise the embedded level.
bool LevelStart_LoadForIntro();
// The levels played from now on are the embedded ones (a level chosen in the chooser).
void LevelStart_UseEmbedded();
