// Selection, swapping two neighbours, big-match rewards, move tests, hints and stuck boards.
#pragma once

struct Piece;

extern int FrameCounter; // passes of the playing screen; the stuck-board step runs every 32nd

// Hint state.
extern int Hint_Timer; // ms until the next hint
extern int Hint_Need;  // group size a move must reach to count
extern int Hint_MouseX, Hint_MouseY;
extern int Hint_BestDist; // squared distance of the chosen move, -1 none
extern int Hint_Move[4];  // x1, y1, x2, y2
extern int Hint_Shown;    // hints found since the level started (the effect layer shows them)

// Where the sparkles of the last hint start (board space) and the way each runs along its
// cell's edge; the effects show one sparkle per entry.
struct Hint_Sparkle {
    int x = 0, y = 0, dx = 0, dy = 0;
};
extern Hint_Sparkle Hint_Sparkles[8];
extern int Hint_SparkleCount;

void Table_HandleClick();
void Table_Select();
int Table_StartSwap();
void Swap_Move(Piece* a);
void Table_MakeCrystal(int x, int y);
void Table_MakeSnowball(int x, int y);
int Table_TestMove(int x1, int y1, int x2, int y2);
void Table_Hint(int mx, int my, int need);
void Hint_Restart(); // the timer after a resolved group
void Table_Unstick();
