// The table of the eight best matches, shared by every player slot, and its file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One row of the table; user_id -1 marks an empty row, which is never shown.
struct Highscore_Slot {
    int user_id = 0;
    int score = 0;
    int start_level = 0;
    int end_level = 0;
    int played_time = 0; // whole seconds
    // The player's name at the time of entry: character codes, -1 past its end.
    int name1 = 0, name2 = 0, name3 = 0, name4 = 0, name5 = 0, name6 = 0, name7 = 0, name8 = 0,
        name9 = 0;
};

constexpr int Highscores_Rows = 8;
constexpr int Highscore_NameLength = 9;
constexpr int Highscore_RowBytes = 14 * 4;
constexpr int Highscores_FileBytes = Highscores_Rows * Highscore_RowBytes; // 448

extern Highscore_Slot Highscores[Highscores_Rows]; // row 0 the best
extern std::string Highscores_Path;                // Config_Dir + "/highscores.dat"

// The row's name character i (0 to 8).
int& Highscore_NameCode(Highscore_Slot& row, int i);
int Highscore_NameCode(const Highscore_Slot& row, int i);
// The row's name as text; positions holding -1 (or anything outside a byte) add nothing.
std::string Highscore_Name(const Highscore_Slot& row);
// Fills name1 to name9 from the first nine characters of name, -1 past its end.
void Highscore_SetName(Highscore_Slot& row, const std::string& name);

// The file's bytes for the table, and the table read back from exactly 448 bytes.
std::vector<std::uint8_t> Highscores_Encode(const Highscore_Slot (&rows)[Highscores_Rows]);
bool Highscores_Decode(const std::vector<std::uint8_t>& bytes,
                       Highscore_Slot (&rows)[Highscores_Rows]);
// Every row empty: user_id -1, score 0, levels 0, played_time 4096 + row, names 0.
void Highscores_Fresh();

// Start-up: reads the table, or writes a fresh one when the file is missing or of another
// format ("highscores format updated, old data erased"). A file that cannot be created ends the
// program with "Cant create Highscores File!".
void InitHighscores();
// Reads the file into the table. A file gone missing or damaged since start-up gets the table
// held in memory written back.
void LoadHighscores();
// Writes the table through a temporary renamed over the file; failure ends the program.
void SaveHighscores();
// The row a new score takes: the first row holding a strictly lower score, -1 for none.
int FindHighscoreRank(int score);
// Rows rank to 6 move down one (the old row 7 is lost) and row rank takes the entry.
void InsertHighscore(int rank, const Highscore_Slot& entry);
// Every row emptied (user_id -1, score 0; names and levels stay) and saved.
void Highscores_Clear();
