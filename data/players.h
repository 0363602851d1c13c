// Player slots and their progress tables. The tables are stored whole in the binary
// configuration file; the rules that change them live with the player screen and level flow.
#pragma once

#include <string>

constexpr int Players_Max = 10;     // player slots
constexpr int Levels_Columns = 211; // level columns 0..210 of every per-level table
constexpr int Tips_Columns = 51;
constexpr int Skips_Max = 5;      // level skips a player starts with and can hold
constexpr int Easyness_Max = 100; // failed tries counted; every easing rule is full long before

extern std::string Player_Names[Players_Max];
extern int Player_Crt;
extern int Users_Count;

extern int Map_Page_A[Players_Max];
extern int Map_Page_B[Players_Max];
extern int Map_Marks[Players_Max][Levels_Columns];
extern int Last_Level[Players_Max];
extern int Level_Skipped[Players_Max][Levels_Columns];
extern int Level_Status[Players_Max][Levels_Columns];
extern int Level_Starts[Players_Max][Levels_Columns];
extern int Level_BestTime[Players_Max][Levels_Columns];
extern int Level_BestValue[Players_Max][Levels_Columns];
extern int Level_TotalTime[Levels_Columns];
extern int Skips_Left[Players_Max];
extern float FxVolume[Players_Max];
extern float MusicVolume[Players_Max];
extern float AmbientVolume[Players_Max];
extern int Tip_Seen[Players_Max][Tips_Columns];
extern int Easyness_Table[Players_Max][Levels_Columns];

// The start-up player's volumes: what a reset player receives.
extern float FxVolume_Crt, MusicVolume_Crt, AmbientVolume_Crt;

// Clears every table back to zero (tests, and before reading a new configuration).
void Players_ClearTables();

extern int Level_StartMs; // MilliSecs() when the level being played started
extern int Level_Played;  // the level that just ended (read by the level-end screen)
extern int Level_Result;  // its outcome: LEVEL_WON or LEVEL_LOST

// How a level ended: Level_Outcome while and after it is played, Level_Result at its end.
enum LevelOutcome : int {
    LEVEL_IN_PLAY = 0,
    LEVEL_WON = 1,
    LEVEL_LOST = 2,
};

// Column 0 of Level_BestValue is no level; it carries the slot's in-use flag, so the binary
// file keeps its size and layout.
constexpr int Slot_InUseColumn = 0;

bool Level_Available(int level); // a level the game has: 1..Levels_Count
bool Player_SlotInUse(int slot); // the slot holds a named, played player
void Player_MarkSlotInUse(int slot, bool inUse);

// The table part of resetting a slot: statuses, skips, tips, volumes, last level, in-use flag.
// Starts, best times, easing, map state and total times are kept.
void Player_ResetTables(int slot);

void LevelStartStats();          // playing-state entry, after the easing
void LevelEndStats(int outcome); // level-end entry: statistics, then AdvanceLevel()
void AdvanceLevel();
