// The shell state the board reads, defined here because the board tests run without the shell.
float DeltaMs = 16.0f;
float DeltaSec = 0.016f;
int MouseXPos = 0, MouseYPos = 0, MouseMoved = 0;
int MouseLeftPressed = 0, MouseLeftReleased = 0;
int ScreenWidth = 800, ScreenHeight = 600;
int GameState = 1;
// The effects the board requests read these.
int InstFps = 60, LowFpsMode = 0;
int ScreenCentreX = 400, ScreenCentreY = 300;

// The screens the clock opens, recorded for the tests; like the shell's, the dialogs freeze the
// game (state 7) and a state change takes effect at once.
#include "board_fixture.h"

Shell_Calls Shell;

void SetGameState(int state) {
    Shell.states.push_back(state);
    GameState = state;
}
void OpenTimeWarningDialog() {
    ++Shell.warnings;
    GameState = 7;
}
void OpenTimeUpDialog() {
    ++Shell.time_ups;
    GameState = 7;
}
void Panel_BuildButton() {}
