// The board's frame update: falling, diagonal slides past obstacles, refilling spawn cells.
#pragma once

struct Piece;

void Table_Update();
void Table_UpdateCells();
void Pieces_Move();
void Piece_FallStep(Piece* p);
void Piece_TryFall(Piece* p);
void Piece_TrySlide(Piece* p);
void Piece_Stop(Piece* p, int vertical);
// A chained piece that cannot move: chains on, and settled (or placed by the level file).
bool Piece_IsFixed(const Piece* p);
