// What the board reads from the program shell that drives it: the frame time, the per-frame
// mouse state, the screen size and the current screen state. The shell (app/main_loop.cpp)
// defines these; tests and benchmarks that drive the board without the shell define their own.
#pragma once

extern float DeltaMs;  // last frame in ms, clamped 5..1000
extern float DeltaSec; // the same in seconds, not clamped
extern int MouseXPos, MouseYPos, MouseMoved;
extern int MouseLeftPressed, MouseLeftReleased;
extern int ScreenWidth, ScreenHeight;
extern int GameState; // 1 while a level is being played

// Screens the level clock opens or changes to; the shell defines them (app/game_screen.cpp,
// app/screens.cpp, app/panel.cpp).
void SetGameState(int state);
void OpenTimeWarningDialog(); // freezes the game behind the one-minute warning
void OpenTimeUpDialog();      // freezes the game behind "Time's up..."
void Panel_BuildButton();     // the in-game panel's button, made once when a level is laid out
