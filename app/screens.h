// Screen states: which screen the main loop runs, and the one-time entry action of each.
#pragma once

#include "engine/shell.h" // the state codes and GameState

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
extern GameStateScreen GameStateScreens[STATE_COUNT];
