#include "data/players.h"

#include "data/config.h"
#include "data/level_file.h"
#include "engine/system.h"

#include <algorithm>
#include <climits>
#include <cstring>

std::string Player_Names[Players_Max];
int Player_Crt = 0;
int Users_Count = 10;

int Map_Page_A[Players_Max];
int Map_Page_B[Players_Max];
int Map_Marks[Players_Max][Levels_Columns];
int Last_Level[Players_Max];
int Level_Skipped[Players_Max][Levels_Columns];
int Level_Status[Players_Max][Levels_Columns];
int Level_Starts[Players_Max][Levels_Columns];
int Level_BestTime[Players_Max][Levels_Columns];
int Level_BestValue[Players_Max][Levels_Columns];
int Level_TotalTime[Levels_Columns];
int Skips_Left[Players_Max];
float FxVolume[Players_Max];
float MusicVolume[Players_Max];
float AmbientVolume[Players_Max];
int Tip_Seen[Players_Max][Tips_Columns];
int Easyness_Table[Players_Max][Levels_Columns];

float FxVolume_Crt = 0.8f, MusicVolume_Crt = 0.8f, AmbientVolume_Crt = 0.5f;

void Players_ClearTables() {
    auto zero = [](auto& table) { std::memset(&table, 0, sizeof(table)); };
    zero(Map_Page_A), zero(Map_Page_B), zero(Map_Marks), zero(Last_Level);
    zero(Level_Skipped), zero(Level_Status), zero(Level_Starts), zero(Level_BestTime);
    zero(Level_BestValue), zero(Level_TotalTime), zero(Skips_Left), zero(FxVolume);
    zero(MusicVolume), zero(AmbientVolume), zero(Tip_Seen), zero(Easyness_Table);
}

int Level_StartMs = 0;
int Level_Played = 0;
int Level_Result = 0;

namespace {

// Counters kept in the settings file never wrap, whatever a long play or the file brings.
int AddCapped(int total, int add) {
    return static_cast<int>(std::min<long long>(static_cast<long long>(total) + add, INT_MAX));
}

bool SlotValid(int slot) {
    return slot >= 0 && slot < Players_Max;
}

bool ColumnValid(int level) {
    return level >= 0 && level < Levels_Columns;
}

} // namespace

bool Level_Available(int level) {
    return level >= 1 && level <= Levels_Count && level < Levels_Columns;
}

// A slot holds a player once it was named or played. Files written before the flag existed
// still count a slot whose player won any level.
bool Player_SlotInUse(int slot) {
    if (!SlotValid(slot)) return false;
    if (Level_BestValue[slot][Slot_InUseColumn] != 0) return true;
    for (int l = 1; l < Levels_Columns; ++l)
        if (Level_Status[slot][l] == 1) return true;
    return false;
}

void Player_MarkSlotInUse(int slot, bool inUse) {
    if (SlotValid(slot)) Level_BestValue[slot][Slot_InUseColumn] = inUse ? 1 : 0;
}

void Player_ResetTables(int slot) {
    if (!SlotValid(slot)) return;
    for (int l = 0; l < Levels_Columns; ++l) {
        Level_Status[slot][l] = 0;
        Level_Skipped[slot][l] = 0;
    }
    Level_Status[slot][1] = -1;
    for (int t = 0; t < Tips_Columns; ++t)
        Tip_Seen[slot][t] = 0;
    Skips_Left[slot] = Skips_Max;
    MusicVolume[slot] = MusicVolume_Crt;
    FxVolume[slot] = FxVolume_Crt;
    AmbientVolume[slot] = AmbientVolume_Crt;
    Last_Level[slot] = 1;
    Player_MarkSlotInUse(slot, false);
}

void LevelStartStats() {
    const int p = Player_Crt, l = LevelCrt;
    Level_StartMs = MilliSecs();
    if (!SlotValid(p) || !ColumnValid(l)) return;
    Level_Starts[p][l] = AddCapped(Level_Starts[p][l], 1);
    Level_Status[p][l] = -1;
    Last_Level[p] = l;
    Player_MarkSlotInUse(p, true);
}

void LevelEndStats(int outcome) {
    const int p = Player_Crt, l = LevelCrt;
    // A clock that wrapped or was reset never subtracts time.
    const int elapsed = std::max(MilliSecs() - Level_StartMs, 0);
    Level_Played = l;
    Level_Result = outcome;
    if (!SlotValid(p) || !ColumnValid(l)) return;
    Level_TotalTime[l] = AddCapped(Level_TotalTime[l], elapsed);
    if (outcome == LEVEL_WON) {
        if (Level_BestTime[p][l] == 0 || Level_BestTime[p][l] > elapsed)
            Level_BestTime[p][l] = elapsed;
        Level_Status[p][l] = 1;
        Easyness_Table[p][l] = 0;
    } else {
        Easyness_Table[p][l] = std::min(Easyness_Table[p][l], Easyness_Max - 1) + 1;
        Level_Status[p][l] = -1;
    }
    AdvanceLevel();
}

void AdvanceLevel() {
    const int p = Player_Crt;
    const int last = std::min(Levels_Count, Levels_Columns - 1);
    LevelCrt += 1;
    while (!Level_Available(LevelCrt) && LevelCrt < last)
        LevelCrt += 1;
    if (!SlotValid(p)) return;
    if (LevelCrt > last) { // the last level was finished: back to the first
        Map_Page_A[p] = 0;
        LevelCrt = 1;
        Last_Level[p] = 1;
    }
    if (Level_Status[p][LevelCrt] == 0) {
        Level_Status[p][LevelCrt] = -1;
        Last_Level[p] = LevelCrt;
    }
}
