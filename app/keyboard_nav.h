// Play without the mouse: Tab, Shift+Tab (and the arrows, away from the board) move a focus over
// the buttons of whatever screen or dialog is up and Enter pushes the focused one; Left and Right
// move a focused slider instead. On the board the arrows move a cursor cell, Space or Enter
// selects and a second press with a direction swaps, H asks for the hint and 1 to 3 take an
// earned hammer. A gamepad plays through the same keys: stick or d-pad for the arrows, A for
// Enter, B and Back for Escape, Start pauses, Y the hint, the shoulders the first and second
// hammer and either trigger the third.
#pragma once

#include <string>

// Once a pass before the dialog and the screen: the gamepad's presses become key presses, the
// mouse moving or clicking hides the focus and the board cursor, and Tab and Enter act on the
// buttons offered in the last pass.
void KeyNav_BeginPass();
// The screen's turn of the pass begins (true) or ends (false): while a dialog takes the input,
// the buttons of the screen underneath cannot take the focus.
void KeyNav_ScreenTurn(bool on);
// Where a control stands on the screen, in canvas pixels.
struct KeyNav_Box {
    int x = 0, y = 0, w = 0, h = 0;
};

// A shown button's update offers it to the focus; true while it has the focus. A button that is
// not drawn in this pass must not offer itself, or Tab would stop on something nobody can see.
bool KeyNav_Offer(const void* control, KeyNav_Box box);
// True once when Enter (or A) pushed the focused `control` in this pass.
bool KeyNav_TakePush(const void* control);
// A control that moves sideways (a slider) says so after offering itself: while it has the
// focus, Left and Right (the gamepad's too) are its own and only Up, Down and Tab move the focus.
void KeyNav_Sideways(const void* control);
// Right presses minus Left presses for the focused sideways `control` in this pass, taken once.
int KeyNav_TakeSlide(const void* control);
bool KeyNav_HasFocus();
// The state dump's "KeyNav" entry (the board cursor, whether a button has the focus, the
// gamepads connected) and its "Focus_Box" entry: the focused button's [x, y, w, h], or null.
std::string KeyNav_StateJson();

// The board's keys, run by the playing screen before the board's update while it takes clicks.
void KeyNav_BoardKeys();
// Escape (or B) while the keys play the board: puts a hammer back or lets go of the selected
// piece. True when it did, so the Escape does not also pause.
bool KeyNav_BoardBack();
