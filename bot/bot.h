// The level bot: a player that reads the board the way a person looks at it and plays through the
// pointer, as the game's own input. It waits until nothing moves, thinks for a moment, and then
// swaps two pieces, launches a snowball, or takes and strikes with a hammer. Every rule stays in
// the board's code: the bot only asks the board which groups a swap would make.
#pragma once

// Where the pointer stands in this frame and which buttons are held, in screen pixels.
struct Bot_Pointer {
    int x = 0, y = 0;
    int left = 0, right = 0;
};

enum Bot_ActionKind : int {
    BOT_NONE = 0,
    BOT_SWAP = 1,        // drag the piece at (x1, y1) onto its neighbour (x2, y2)
    BOT_SNOWBALL = 2,    // click the snowball at (x1, y1)
    BOT_TAKE_HAMMER = 3, // right click: the best hammer the meter allows
    BOT_STRIKE = 4,      // left click on (x1, y1) with the hammer in hand
};

struct Bot_Action {
    int kind = BOT_NONE;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int value = 0; // what the bot expects it to be worth: ice layers count most
};

struct Bot_Settings {
    int think_ms = 700; // a calm board is looked at this long before acting, as a person would
};

// What the bot did since the last Bot_Reset.
struct Bot_Counts {
    int moves = 0, snowballs = 0, hammers_taken = 0, strikes = 0;
};

extern Bot_Settings BotSettings;
extern Bot_Counts BotCounts;

// A new level: no plan, the pointer at rest, the counts at 0.
void Bot_Reset();
// Once per frame before the board's update: the pointer for this frame. While an action is being
// carried out it follows its steps; otherwise it waits for a calm board and picks the next action.
Bot_Pointer Bot_Step();
// Nothing falls, swaps, flies or waits for a block to run out, and no colour hammer is at work.
bool Bot_BoardSettled();
// The best thing to do on the board as it stands (BOT_NONE when nothing can be done).
Bot_Action Bot_Choose();
// The value of swapping (x1, y1) with (x2, y2), or Bot_NoValue when the swap makes no group.
constexpr int Bot_NoValue = -1000000;
int Bot_SwapValue(int x1, int y1, int x2, int y2);
