// The running match: its start and the current slot's saved-match files.
#pragma once

#include <string>

extern int LevelFirst; // the level the match started with
extern int PlayedTime; // ms played in the match so far

// A fresh match: score 0, three lives, started at LevelCrt, no time played; the current
// slot's saved-match files are deleted.
void NewMatch();
// The current slot's match file exists.
bool MatchExists();
// Deletes a slot's match and board files; missing files are no error.
void Match_DeleteFiles(int slot);
// Config_Dir + "/match_" + slot + ext, ext ".jmm" (match) or ".lev" (board).
std::string Match_FilePath(int slot, const char* ext);
