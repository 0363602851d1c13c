// Finding groups of three or more pieces of one kind in lines, resolving them, and the score.
#pragma once

#include "board/table.h"

constexpr int Min_Match = 3;

// Search state, rebuilt by every search.
extern Point Group_Cells[Table_Max * Table_Max];
extern int Group_Count, Group_Kind, Group_Moved;
extern int Group_HasIcecube; // 1 when the last group holds an icecube, else -1
extern int Group_HasLaser;   // 1 when the last group holds a laser piece, else 0

// Pacing of the per-piece "ding" of one resolution pass: delay and count restart each pass, the
// rate carries over to the next.
extern int Ding_Delay, Ding_Count;
extern float Ding_Rate;

// Score state, kept across the levels of a match.
extern int Score, Lives, Score_Mult, Score_MultTimer;

// Builds the group through cell (x, y). `moved` only for the searches right after the player's
// swap (crystals are wildcards then); `test` for hypothetical searches, which refuse a chained
// start piece.
void Table_FindGroup(int x, int y, int moved, int test);
// Whether the hypothetical search through (x, y) (as Table_FindGroup(x, y, 0, 1)) finds at least
// `need` cells. Cheap, as it stops there, but the search state it leaves is unfinished: a caller
// that leaves it behind runs the last search again in full.
bool Table_GroupReaches(int x, int y, int need);
void Table_ResolveGroup();
void Table_ScanCascades();
void Table_TriggerPiece(int x, int y);
void Table_TakePiece(int x, int y);
void Table_BreakIce(int x, int y);

void Score_AddMatch(int points);
void Score_Add(int points);
void Score_MultUpdate();
void Score_MultReset();
// A new match: Score 0, three lives, multiplier 1.
void Score_NewGame();
