// The contract between the program shell (app/) and the libraries it drives (board/, fx/, audio/,
// data/). The shell owns the screens: which one runs is GameState, one of the codes below, and
// only the shell changes it. The rules below the shell read GameState, and in a few places ask the
// shell to act: those requests go through Shell, a record of plain functions that the shell fills
// once at start-up (tests fill their own). An entry left empty makes its request do nothing, so a
// library links and runs without the shell.
#pragma once

// Screen states: which screen the main loop runs.
enum GameStateCode : int {
    STATE_MAIN_MENU = 0,
    STATE_PLAYING = 1,
    STATE_LEVEL_CHOOSER = 2,
    STATE_PLAYER_SELECT = 3,
    STATE_OPTIONS = 4,
    STATE_LEVEL_INTRO = 5,
    STATE_LEVEL_END = 6,
    STATE_PAUSED = 7,    // the board frozen behind the pause screen or an in-game dialog
    STATE_SUSPENDED = 8, // the window is minimised or hidden
    STATE_COUNT = 9,
};

extern int GameState;

// What the rules ask of the shell.
struct Shell_Calls {
    void (*SetGameState)(int state) = nullptr; // runs the new state's entry action, then switches
    void (*OpenTimeWarningDialog)() = nullptr; // freezes the game behind the one-minute warning
    void (*OpenTimeUpDialog)() = nullptr;      // freezes the game behind "Time's up..."
    void (*Panel_BuildButton)() = nullptr;     // the in-game panel's button, made once per layout
};
extern Shell_Calls Shell;

// The requests, each through its entry of Shell when the entry is filled.
void Shell_SetGameState(int state);
void Shell_OpenTimeWarningDialog();
void Shell_OpenTimeUpDialog();
void Shell_BuildPanelButton();
