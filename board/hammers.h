// Combos and the three hammers. Matches fill a meter; at 50, 120 and 260 points a first, second
// and third hammer can be taken. Taking one empties the meter and puts the hammer in hand; one
// click on the board strikes: the first removes a piece, the second a piece with all the ice
// under it, the third every piece of the clicked kind with its ice, one after another.
#pragma once

struct Image;
struct Piece;

constexpr int Hammer_Threshold1 = 50, Hammer_Threshold2 = 120, Hammer_Threshold3 = 260;
constexpr int Hammer3_QueueMax = 500;
constexpr int Hammer_BoxW = 66, Hammer_BoxH = 90;

extern int Hammer_Points;   // the meter; 0 at every level layout and after a won level
extern int Hammer_Disabled; // 1 on levels 1 and 2: no meter, no hammers
extern int Hammer_Active;   // 1 while the cursor is a hammer
extern int Hammer_Level;    // the hammer last taken, 1..3
extern int Hammer_SavedPoints;
extern Image* Hammer_Cursor;
extern Piece* Hammer3_Queue[Hammer3_QueueMax]; // pieces the colour hammer still has to destroy
extern int Hammer3_Count;
extern float Hammer3_Timer; // seconds until the next destruction
extern int Hammer_IconX, Hammer_IconY, Hammer_BoxX, Hammer_BoxY, Hammer_OvalX, Hammer_OvalY;
extern float Hammer_Pulse;
extern int Hammer_PulseDir, Hammer_PulsePause;

// The pictures the meter and the cursor draw with, handed over by the program.
struct Hammer_Pictures {
    Image* hammer[3] = {}; // 32 frames each: the icon's pulse; frame 0 is the cursor
    Image* map[3] = {};    // the icons the click box is measured from
    Image* oval[2] = {};   // 16 frames: progress towards the second and the third hammer
};
extern Hammer_Pictures HammerPics;

void Hammer_Reset();
// The combo step of a scored group of Group_Count cells: meter points, a higher multiplier for
// the next group, and a hammer earned when a threshold is crossed.
void Hammer_Combo();
// The combo step of a group of n cells without its sparks (a developer key fills the meter so).
void Hammer_ComboOf(int n);
// Taking, cancelling and striking, once per frame after the click handling.
void Hammer_Update();
void Hammer_Take();
void Hammer_Drop(int cancelled);
// The strike of the hammer in hand on cell (x, y); false when refused (the hammer stays in hand).
bool Hammer_Strike(int x, int y);
// Run instead of the board update while the colour hammer's queue is not empty.
void Hammer3_Step();
void Hammer_DrawMeter();
void Hammer_DrawCursor();
