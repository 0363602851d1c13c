// The level language, its compiler and decompiler, the level checks and the thumbnails.
//
// A level source is a text of header lines ("key: value") followed by up to three character maps
// of the same size, one character per cell:
//   board:  "." void, "0" a plain tile, "1" ice, "2" ice under snow
//   pieces: "." none (void cells), "?" left to the compiler, "-" empty, "1".."7" a gem,
//           "C" an ice crystal, "X" an icecube (optional: every playable cell "?")
//   marks:  "." nothing, "s" spawn cell, "l" one chain, "L" two chains, "b" bomb (optional)
// docs/levels.md describes it for designers.
#pragma once

#include "data/level_file.h"

#include <cstdint>
#include <string>
#include <vector>

struct LevelSource {
    int time_ms = 0;
    int weights[Piece_Kinds] = {};
    int bomb = 0, shield = 0, laser = 0, golden = 0; // percentages for pieces made in play
    int seed = 1;                                    // the compiler's fill seed
    int need = 3; // the start board must offer a move making a line this long
    std::vector<std::string> board, pieces, marks;
    std::vector<std::string> comments; // leading "#" lines, kept for the designer only
    int dx() const { return board.empty() ? 0 : static_cast<int>(board[0].size()); }
    int dy() const { return static_cast<int>(board.size()); }
};

// Parses a source; false with `error` naming the line when it breaks the language.
bool LevelText_Parse(const std::string& text, LevelSource& out, std::string& error);
// Writes a source in the canonical form: the header keys that differ from their defaults, then
// every map. A canonical text with no "?" cells reads back from its binary unchanged.
std::string LevelText_Format(const LevelSource& src);

// Compiles a source: fills the open cells from the fixed seed so that the board starts without
// a line of three and with a possible move, and gives void cells their contour tiles.
bool Level_Compile(const LevelSource& src, LevelFileData& out, std::string& error);
// The source of a binary level, every piece written out. False when the level holds something
// the language cannot say (laser marks, contour tiles that differ from the rule, ...).
bool Level_Decompile(const LevelFileData& data, LevelSource& out, std::string& error);

// ---- Board analysis on level records ----
struct LevelBoard {
    int dx = 0, dy = 0;
    const std::vector<LevelDataCell>* cells = nullptr;
    const LevelDataCell& at(int x, int y) const { return (*cells)[y * dx + x]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < dx && y < dy; }
    bool playable(int x, int y) const { return inside(x, y) && !at(x, y).void_; }
};
// Length of the line of one kind through (x, y) along (sx, sy), the cell itself included.
int Board_RunLength(const LevelBoard& b, int x, int y, int sx, int sy);
// True when some line of three already stands; (x, y) of its first cell.
bool Board_FindLine(const LevelBoard& b, int& x, int& y);
// The longest line a single swap of two unchained neighbouring pieces makes (0 when none), and
// that swap.
int Board_BestMove(const LevelBoard& b, int* move = nullptr);
// Which playable cells new pieces can reach: spawn cells, the cell under a reachable cell
// whose piece can fall, and gaps under void cells or chains filled by diagonal slides.
std::vector<bool> Board_Reachable(const LevelBoard& b);
// The playable cell size in pixels the board gets on an 800 x 600 display.
int Board_CellPixels(int dx, int dy);

// ---- Checks ----
// Problems of one compiled level, each "level N cell (x, y): ..." or "level N: ...". The rules
// tied to a level's place in the set (what its help tip needs) apply when `number` is 1 or more.
std::vector<std::string> Level_Check(int number, const LevelFileData& data);
// Rules over the whole set (one crystal cell, one icecube cell, ...); `levels[i]` is level i+1.
std::vector<std::string> LevelSet_Check(const std::vector<LevelFileData>& levels);

// ---- Thumbnails ----
struct RgbImage {
    int w = 0, h = 0;
    std::vector<std::uint8_t> rgb;
};
RgbImage Level_Thumbnail(const LevelFileData& data); // 80 x 60
bool Jpeg_Write(const RgbImage& img, int quality, std::vector<std::uint8_t>& out);
