// The in-game panel at the right edge of the game screen: the candle, the level number, the
// lives, the score and a small "Main Menu" button that pauses the game.
#pragma once

#include <string>
#include <vector>

class ButtonAnim;

extern ButtonAnim* PanelMainMenuButton;

// Where the panel's texts stand. The level and the lives each share a row with their label; the
// score stands on the row below its label. Labels start at Panel_LabelX and numbers end at
// Panel_ValueRight, so every row lines up on both sides; the y values are the tops of the text
// lines (a number's shadow line for Panel_ScoreY). The art draws the darker inset box around them
// (Panel_Inset*), so the longest values (level 150, nine lives, a seven-digit score) stay inside
// its rim.
inline constexpr int Panel_InsetX = 679, Panel_InsetY = 261, Panel_InsetW = 118, Panel_InsetH = 153;
inline constexpr int Panel_LabelX = 683, Panel_ValueRight = 792;
inline constexpr int Panel_LabelGap = 6; // at least this between a label and its number
inline constexpr int Panel_LevelY = 262, Panel_LivesY = 305, Panel_ScoreLabelY = 347,
                     Panel_ScoreY = 375;
inline constexpr int Panel_RowLines[2] = {303, 346}; // hairlines between the rows
// A number beside its label sits this much lower, so the two share a baseline.
inline constexpr int Panel_NumberDrop = 2;

// One text of the panel as drawn: the line's top-left corner; numbers also get a shadow one
// pixel left of and below the bright copy placed here. A number too wide for its place (a
// seven-digit score) is narrowed by scale_x.
struct Panel_Text {
    std::string text;
    int x = 0, y = 0;
    bool number = false;
    float scale_x = 1.0f;
};

// The panel's texts for these values, placed with the panel's fonts (FontPS30 labels, FontPS28
// numbers); leaves the current font changed.
std::vector<Panel_Text> Panel_Layout(int level, int lives, int score);

// Makes the panel's button once and hands the hammer pictures to the board; called whenever a
// level is laid out.
void Panel_BuildButton();
// Draws the whole panel and updates its button; once per game-screen pass.
void Panel_Draw();
// Its button's push function: the game pauses.
void Panel_MainMenuPush();
