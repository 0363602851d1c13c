// Screen states: which screen the main loop runs, and the one-time entry action of each.
#pragma once

// State codes of GameState.
enum : int {
    STATE_MAIN_MENU = 0,
    STATE_PLAYING = 1,
    STATE_LEVEL_CHOOSER = 2,
    STATE_PLAYER_SELECT = 3,
    STATE_OPTIONS = 4,
    STATE_LEVEL_INTRO = 5,
    STATE_LEVEL_END = 6,
    STATE_PAUSED = 7,
    STATE_SUSPENDED = 8,
};

// Flushes the keys, runs the entry action of the new state while GameState still holds the old
// one, then switches. States 7 and 8 and unknown codes have no entry action.
void SetGameState(int state);
// Runs the screen routine of a state; any code without a screen runs the main menu's.
void Screens_RunRoutine(int state);

using ScreenFn = void (*)();
// The routine and entry action of each state; null where the screen does not exist.
struct GameStateScreen {
    ScreenFn routine;
    ScreenFn entry;
};
extern GameStateScreen GameStateScreens[9];
