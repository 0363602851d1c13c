// The in-game panel at the right edge of the game screen: the candle, the level number, the
// lives, the score and a small "Main Menu" button that pauses the game.
#pragma once

class ButtonAnim;

extern ButtonAnim* PanelMainMenuButton;

// Makes the panel's button once and hands the hammer pictures to the board; called whenever a
// level is laid out.
void Panel_BuildButton();
// Draws the whole panel and updates its button; once per game-screen pass.
void Panel_Draw();
// Its button's push function: the game pauses.
void Panel_MainMenuPush();
