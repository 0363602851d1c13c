// Small boards drawn as text for the board tests.
//
// One string per row, one character per cell: '1'..'7' gems, '8' crystal, '9' snowball,
// 'i' icecube, '.' an empty playable cell, '#' a void cell. Lower-case 'a'..'g' are gems 1..7
// with one chain. Cells have no ice unless `ice` says so and no spawn cell unless `spawn` does.
#pragma once

#include <string>
#include <vector>

struct Piece;

// `ice`: same shape, digits 0..2 (empty: no ice anywhere); `spawn`: same shape, 'S' marks a
// spawn cell (empty: none). New pieces are drawn from `bag`.
void Board_Build(const std::vector<std::string>& rows, const std::vector<std::string>& ice = {},
                 const std::vector<std::string>& spawn = {}, int level = 1,
                 const std::vector<int>& bag = {1, 2, 3, 4, 5, 6, 7});
// Runs the board's frame update `frames` times with a fixed frame time.
void Board_Run(int frames, float ms = 16.0f);
// Runs frames until nothing falls, swaps or waits for a block or spawn (at most `limit`).
int Board_Settle(int limit = 600);
// The board as text in the format above (chains not shown), for readable assertions.
std::vector<std::string> Board_Text();
Piece* At(int x, int y);
// Mouse state for the next update: over the centre of a cell, with the given button change.
void Mouse_OverCell(int x, int y, bool pressed, bool released);
void Mouse_Idle();

// What the board asked of the shell since the last reset.
struct Shell_Log {
    int warnings = 0, time_ups = 0;
    std::vector<int> states;
};
extern Shell_Log ShellLog;
