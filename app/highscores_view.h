// The highscore view: the table of the eight best matches as a dialog over any screen, with its
// reset confirmation, and the entry of a finished match into the table.
#pragma once

#include "data/highscores.h"

#include <string>

extern int Highscore_Highlight; // the row drawn highlighted, -1 none
extern int HighscoreX, HighscoreY;

// The current match as a table row ending at endLevel.
Highscore_Slot MakeHighscoreEntry(int endLevel);
// Enters the current match if its score qualifies: inserted and saved. The row it took, or -1.
int Highscores_EnterMatch(int endLevel);

// Opens the view, read afresh from the file, with row highlight highlighted (-1 none).
void OpenHighscores(int highlight);
void HighscoresUpdate();
void HighscoresDraw();
// "Reset HighScores ?" in place of the view; yes empties the table.
void OpenResetHighscores();
void ResetHighscoresUpdate();
void ResetHighscoresDraw();
void ResetHighscores();
