// The help tip's panel as the player sees it: the stretched panel picture with its text, the
// "Continue" button and the pulsing arrow. The tip rules live with the board (board/tips.h);
// drawing stays here because it needs the program's fonts, pictures, buttons and text wrapping,
// which the board must not reach.
#pragma once

// Tells the tip rules the sizes of the panel, arrow and button and how text wraps. Start-up, after
// the pictures and the level-flow buttons exist.
void TipView_Init();
// Draws the open tip and handles its keys (Space, Enter and Escape close it); nothing when no tip
// shows. Called last by the game screen and the main menu.
void Tip_Draw();
