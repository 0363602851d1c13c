// In-game help tips: a panel with a short text, often with a pulsing arrow at what it explains,
// opened once per player when its situation first arises. Tips with a button hold the game until
// they are closed; the others leave the board playable and only limit which clicks count.
// The rules and state live here; the program draws the panel (it owns the fonts, the pictures and
// the "Continue" button) and tells the rules the sizes it draws with through TipLook.
#pragma once

#include "data/players.h" // Tips_Columns

#include <string>

extern const char* const HintTexts[Tips_Columns]; // the tip texts; empty where no tip exists

// Tips that other parts of the program open or test by number.
enum TipId : int {
    TIP_FIRST_MOVE = 0,
    TIP_ICE = 1,
    TIP_ICE_BROKEN = 2,
    TIP_CANDLE = 3,
    TIP_HAMMER_COMING = 5,
    TIP_HAMMER_READY = 6,
    TIP_HAMMER_USE = 7,
    TIP_CRYSTAL = 8,
    TIP_HAMMER1 = 9,
    TIP_HAMMER2 = 10,
    TIP_HAMMER3 = 11,
    TIP_CHAIN = 12,
    TIP_SNOWBALL = 13,
    TIP_MISSED_ICE = 14,
    TIP_DOUBLE_CHAIN = 15,
    TIP_SNOW = 16,
    TIP_BOMB = 17,
    TIP_ICECUBE = 18,
    TIP_OPTIONS = 20,
};

// What the panel is drawn with, filled by the program at start-up. With the sizes at 0 and no
// measure (board tests) the panel keeps its picture's height and the arrow takes no room.
struct Tip_Look {
    int panel_w = 0, panel_h = 0;   // the panel picture
    int arrow_w = 0, arrow_h = 0;   // the arrow picture
    int button_w = 0, button_h = 0; // the "Continue" button
    int interface_w = 0;            // the in-game panel at the right, which the tip keeps clear of
    int (*measure)(const std::string& text, int width) = nullptr; // wrapped text height
};
extern Tip_Look TipLook;

extern int Tip_Showing, Tip_Current, Tip_HasButton, Tip_Blocking;
extern int Tip_X, Tip_Y, Tip_DefaultX, Tip_DefaultY, Tip_Height;
extern float Tip_Ratio;        // panel height over the picture's, before the minimum applies
extern float Tip_ButtonMargin; // space under the button
extern int Tip_ButtonX, Tip_ButtonY;
extern int Tip_ArrowOn, Tip_ArrowX, Tip_ArrowY;
extern float Tip_ArrowPhase, Tip_ArrowAngle, Tip_ArrowTarget;
extern int Tip_MissCount; // player matches in a row on levels 1-3 that touched no ice; -1 done

void Tips_LevelReset();
// Opens a tip unless one shows or the current player has seen it; returns 1 when it opened.
int Tip_Show(int id, int withButton, int blocking);
void Tip_Arrow(int x, int y, float angleFrom, float angleTo);
void Tip_Close();
// The input gate of the board: 0 when the tip on show refuses a click on the cell under the
// pointer.
int Tip_ClickAllowed();
// Whether the current player has seen a tip (false for a bad player or tip number).
bool Tip_SeenByPlayer(int id);

// When tips open: the board has faded in, a group is being resolved, ice broke, a hammer was
// earned (0 first, 1 second, 2 third), taken or dropped, a snowball was made at a cell.
void Tips_BoardShown();
void Tips_GroupResolving();
void Tips_IceBroken();
void Tips_HammerEarned(int which);
void Tips_HammerTaken();
void Tips_HammerDropped();
void Tips_SnowballMade(int x, int y);
