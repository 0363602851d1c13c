// What special pieces do once set off: a launched snowball's two halves flying along their row,
// a bomb's blast, a laser's lines, and removing a piece without a match.
#pragma once

struct Piece;

// Launches the resting snowball in cell (x, y): two halves fly off left and right.
void Snowball_Launch(int x, int y);
// Moves one snowball half for a frame and clears every cell it crosses.
void SnowballHalf_Fly(Piece* p);
// An exploding bomb's blast on one of its eight neighbours.
void Table_Blast(int x, int y);
// A laser's four lines from cell (x, y), each up to the board's edge or the first void cell.
void Table_LaserLines(int x, int y);
// Removes piece p from cell (x, y) with its chains: no score, no ice broken, no effect of its own.
void Table_DestroyPiece(Piece* p, int x, int y);
