#include "data/players.h"

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
