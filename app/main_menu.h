// The main menu: the title over the winter sky, six buttons (timed and relaxed play, the player,
// the options, the highscores, leaving), the first-start name dialog, and the text tables the
// menu and the level-flow screens take their captions from.
#pragma once

#include <string>
#include <vector>

class ButtonAnim;

// 1 "Start", 2 "Select Player", 3 "Options", 4 "Exit", 5 "Bonus Level", 6 "Highscores",
// 7 "Relaxed Play", 8 "Really want to quit ?", 9 "User "; the other places stay empty.
extern std::string MenuTexts[12];
// The level introduction's texts: "Level", "Bonus Level", "Initial Time:   ".
extern std::string IntroTexts[3];

extern std::vector<ButtonAnim*> MainMenuButtons; // in creation order
extern ButtonAnim* PlayerButton;                 // "Select Player": its caption names the player
extern int TitleX, TitleY;                       // where the title picture stands

// Fills the text tables; once at start-up, before any button is made.
void InitTexts();
// Makes the menu's buttons once at start-up; does nothing when they exist.
void BuildMainMenu();
// Entry action of the main menu.
void EnterMainMenu();
// Screen routine of the main menu (and of any unknown state code).
void MainMenuScreen();
// Starts a timed (0) or relaxed (1) match: on to the level chooser.
void StartMatch(int relaxed);
// "User " and the current player's name: the caption of PlayerButton.
std::string PlayerCaption();
