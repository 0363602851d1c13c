// The running match: its start, its saved-match files and the dialog that offers to resume it.
#pragma once

#include "data/saved_match.h"

#include <string>
#include <vector>

class ButtonAnim;

extern int LevelFirst;         // the level the match started with
extern int PlayedTime;         // ms played in the match so far
extern int LevelCrt_IsRunning; // 1: the saved match was left in the middle of LevelCrt
extern int ResumeDialogX, ResumeDialogY;
extern std::vector<ButtonAnim*> ResumeButtons; // "Resume" and "New match", made at first use

// A fresh match: score 0, three lives, started at LevelCrt, no time played; the current
// slot's saved-match files are deleted.
void NewMatch();
// The current slot's match file exists.
bool MatchExists();
// Deletes a slot's match and board files; missing files are no error.
void Match_DeleteFiles(int slot);
// Config_Dir + "/match_" + slot + ext, ext ".jmm" (match) or ".lev" (board).
std::string Match_FilePath(int slot, const char* ext);

// The running match as a record, standing at level.
Match_File Match_Record(int level);
// Writes the match file standing at level. A file that cannot be written ends the program
// with "cant create match file!" rather than losing the match silently.
void SaveMatchFile(int level);
// Saves the match at level; running 1 writes the board of the level in progress as well (the
// board first, so a match file never claims a board that is not on disk). The binary
// configuration follows, so the player's progress is on disk whenever the match is.
void SaveMatch(int level, int running);
// Reads the match file into the running match, warning about a record of another length.
// False (after a message) when the file cannot be read; the match then stays as it was.
bool LoadMatchFile();
// The match file, then the board left in progress (or level LevelCrt afresh) with the
// match's counters put back over what the level's set-up reset.
bool LoadMatch();
// Playing time grows by the frame's time.
void AddPlayedTime();

// "Resume Current Match ?": "Resume" goes on with the loaded match, "New match" drops it and
// opens the level chooser.
void OpenResumeDialog();
void ResumeDialogUpdate();
void ResumeDialogDraw();
void ResumeMatch();
void ResumeNewMatch();
