// Playing a level: the game screen (state 1), the pause screen (state 7), the one-minute
// warning and "Time's up..." dialogs, what follows a lost life, and the buttons of the
// level-flow screens, made once at start-up.
#pragma once

#include <string>

class ButtonAnim;

extern std::string FlowTexts[7]; // 1 "Main Menu", 2 "Replay Level", 3 "Next Level",
                                 // 5 "Resume Game", 6 "Continue"

extern ButtonAnim *StartLevelButton, *LevelMenuButton, *ReplayLevelButton, *NextLevelButton,
    *ResumeGameButton, *TipContinueButton, *WonContinueButton;
extern ButtonAnim *BuyTimeButton, *RiskItButton, *TimeUpOkButton;
extern int WarnDialogX, WarnDialogY, TimeUpDialogX, TimeUpDialogY;
extern int NewHighscoreRank; // after a game over: the new highscore's rank, -1 none
extern int ContinuePressed;  // 1 after the level-won dialog was closed
extern int DevKeys_Enabled;  // 1: the developer keys of the game screen work (--dev-keys)

// Fills FlowTexts (part of the start-up text tables, InitTexts).
void InitFlowTexts();
// Creates the level-flow buttons; once at start-up, after the pictures and the texts.
void BuildLevelFlowButtons();

// Entry action of the playing state: the bookkeeping of a level start.
void EnterPlaying();
// Push function of "Start": play begins.
void StartPlaying();

void GameScreen();
void PauseScreen();

void OpenTimeWarningDialog();
void BuyTime();
void OpenTimeUpDialog();
// The second line of "Time's up...": "Game lost" exactly when no life is left.
const char* TimeUpLine();
void TimeUpOk();
void AfterTimeUp();
void ResumeGame();

// "Main Menu" of the pause and level-end screens.
void LevelMenu();
// True when leaving for the menu keeps the match for later: it has progressed and has not
// ended (a game over or the last level).
bool LevelMenu_SavesMatch();
void ReplayLevel();
void NextLevel();
void WonContinue();
// "time_warning" or "time_up" while one of the game screen's dialogs is open, else null.
const char* GameScreen_DialogName();
