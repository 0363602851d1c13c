// Level files: a header, a 64-byte weight table and one record per board cell, all little-endian
// 32-bit integers. Parsing turns bytes into records; applying the records to the board belongs to
// the board (Table_Layout / Table_LoadCell), so the tools share the same reader and writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct LevelSettings {
    int bytesize = 0;
    int table_dx = 0;
    int table_dy = 0;
    int time = 0;
    int cell_bytesize = 0;
    int ShieldPercent = 0;
    int LaserPercent = 0;
    int GoldenPercent = 0;
    int BombPercent = 0;
    int empty1 = 0, empty2 = 0, empty3 = 0, empty4 = 0, empty5 = 0, empty6 = 0, empty7 = 0;
};

struct LevelDataCell {
    int void_ = 0; // "void" is a keyword: 1 when the cell is not part of the board
    int background = 0;
    int color = 0;
    int locks = 0;
    int ContTile = 0;
    int autospawn = 0;
    int bomb = 0;
    int laser = 0;
    int golden = 0;
    int bg_initial = 0;
    int empty1 = 0, empty2 = 0, empty3 = 0, empty4 = 0, empty5 = 0, empty6 = 0;
};

static_assert(sizeof(LevelSettings) == 64 && sizeof(LevelDataCell) == 64,
              "records are copied to and from files as 64-byte blocks");

constexpr int LevelFile_RecordBytes = 64;      // header and cell fields this program knows
constexpr int LevelFile_WeightBytes = 64;      // sixteen weights
constexpr int LevelFile_MaxSide = 48;          // the board grid is 48 x 48
constexpr int LevelFile_MaxRecordBytes = 4096; // longer header or cell records are not believable
constexpr int Piece_Kinds = 16;                // kinds 1..15; 0 is no piece
// The longest file the format allows: the longest header, the weights, 48 x 48 longest cells.
constexpr std::size_t LevelFile_MaxBytes =
    LevelFile_MaxRecordBytes + LevelFile_WeightBytes +
    std::size_t{LevelFile_MaxSide} * LevelFile_MaxSide * LevelFile_MaxRecordBytes;
// A level's time limit is kept within 1 s and an hour, so the clock's sums cannot overflow.
constexpr int LevelFile_MinTime = 1000;
constexpr int LevelFile_MaxTime = 3600000;
constexpr int Piece_BagSlots = 501;
constexpr int Piece_BagLimit = 500;

extern const char* const LevelFile_MoreHeader;
extern const char* const LevelFile_FewerHeader;
extern const char* const LevelFile_MoreCells;
extern const char* const LevelFile_FewerCells;

// A level file read into memory, cells row by row from the top-left.
struct LevelFileData {
    LevelSettings settings;
    int weights[Piece_Kinds] = {};
    std::vector<LevelDataCell> cells;
    std::vector<std::string> warnings; // the warnings a load shows, in order (at most two)
};

// Parses a level file. `missing_color` is the kind given to every cell when the cell records are
// too short to hold a colour (drawn once per file by the caller, Rand(1, 2) in the game).
// False with `error` set when the file cannot be used: a size outside 1..48, a header or cell
// record length below 4 or above LevelFile_MaxRecordBytes, or a file too short for its cells.
// Values the game cannot use are brought into range as they are read: the time into
// LevelFile_MinTime..LevelFile_MaxTime, percentages into 0..100, weights into 0..500, ice and
// locks into 0..2, flags into 0..1; a cell whose piece kind lies outside 0..15 is read as a cell
// without a piece.
bool LevelFile_Parse(const std::uint8_t* bytes, std::size_t size, int missing_color,
                     LevelFileData& out, std::string& error);
// Reads "littleendian::" + url through the engine's streams and parses it. Only a regular file of
// at most LevelFile_MaxBytes is read; `error` names any other file and says what it is.
bool LevelFile_Load(const std::string& url, int missing_color, LevelFileData& out,
                    std::string& error);
// The bytes of a level file with a 64-byte header and 64-byte cell records; the header's
// bytesize, cell_bytesize and reserved fields are written as the format requires.
std::vector<std::uint8_t> LevelFile_Write(const LevelSettings& settings,
                                          const int weights[Piece_Kinds],
                                          const std::vector<LevelDataCell>& cells);

// Current-level state shared with the board.
extern int Table_dx, Table_dy;
extern int Level_Time;
extern int ShieldPercent, LaserPercent, GoldenPercent, BombPercent;
extern int Piece_Weights[Piece_Kinds];
extern int Piece_Bag[Piece_BagSlots];
extern int Piece_Bag_Count;
extern int Piece_Kinds_Count;
extern int Easyness; // easing steps left by the latest level start (failed tries)
extern int LevelCrt;
extern std::string Level_FileName;

// Copies a parsed header and weights into the current-level state and builds the bag.
void LevelFile_ApplyHeader(const LevelFileData& data);

// Eases the weights in place (more crystals, fewer red bacteria for players who keep failing)
// and fills the bag: every kind as often as its weight, kinds ascending, at most 500 entries.
void PieceBag_Build(int weights[Piece_Kinds], int easyness, int bag[Piece_BagSlots], int& count,
                    int& kinds);
void BuildPieceBag(); // PieceBag_Build on the current-level state

// "levels/KV_level_007.lev" and "images/Level007.jpg": registered names of level n and its picture.
std::string Level_ResourceName(int n);
std::string Level_ImageName(int n);
// The names the game loads them through: "incbin::" + the registered name.
std::string Level_ResourceUrl(int n);
std::string Level_ImageUrl(int n);
