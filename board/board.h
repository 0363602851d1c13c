// The board as a whole: its one-time set-up and a description of its state for tools and tests.
#pragma once

#include <string>

// Start-up set-up of the board's globals (grid, piece list, tilesets). Loads the gem tileset
// when `with_tiles` is set; tests without pictures leave it out. Safe to call more than once.
void Board_Init(bool with_tiles = true);

// The board's state as the fields of a JSON object (no outer braces): size, score, lives,
// multiplier, fade-in, selection, matches, the hint's move, the piece count and every cell.
std::string Board_StateJson();
