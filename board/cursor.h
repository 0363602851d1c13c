// The keyboard and gamepad cursor: one cell of the board the arrow keys, the d-pad or the stick
// move and Space, Enter or A act on. It shows only while those devices play; the mouse hides it.
#pragma once

#include "board/table.h"

extern Point Cursor_Cell;
extern int Cursor_Visible; // 1 once a key or the gamepad moved or used it, 0 when the mouse plays
extern float Cursor_Phase; // 0..1, the frame's slow glow, advanced by Cursor_Draw

// Puts the cursor on the board: the nearest playable cell to (x, y), the board's centre when the
// board has none near. Returns false when the board has no playable cell at all.
bool Cursor_Place(int x, int y);
// Moves the cursor one step (dx, dy), passing over void cells to the next playable one in that
// direction; stays where it is at the board's edge.
void Cursor_Step(int dx, int dy);
// Frost-white corner brackets around the cursor's cell, glowing slowly, over the pieces, with the
// hammer in hand when there is one (the pointer's hammer is then not drawn).
void Cursor_Draw();
