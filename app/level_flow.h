// The two screens around every level: the introduction with its panel and "Start" button, and
// the level end after a win (fireworks, the won dialog counting the time bonus in on the candle)
// or a game over (the picture zooming in), and the congratulation after the last level.
#pragma once

#include "fx/scenery.h" // NewMusicPending

#include <string>

extern float IntroFade;        // the faint board's alpha on the introduction, up to 0.05
extern float IntroButtonFade;  // the "Start" button's alpha, rising 1.0 a second
extern int WinPhaseMs;         // ms until the fireworks of a won level start
extern int LosePhaseMs;        // ms a lost board keeps its slow fading
extern int FireworkTimer;      // ms until the next firework or score sparkle
extern int AllLevelsDoneShown; // 1 once the last level's congratulation was dismissed
extern float PanelFade;        // alpha of that congratulation panel
extern int CelebrationKinds[3];
extern int WonDialogX, WonDialogY;

// Seconds as [h:]mm:ss: hours only from one full hour on, not padded.
std::string FormatLevelTime(int seconds);
// The introduction's level line: "Level n", or "Bonus Level n" from level 211 on.
std::string IntroLevelLine(int level);

// Entry action of the introduction: ambience off, the intro prepared, the level loaded.
void EnterLevelIntro();
void PrepareLevelIntro();
void LevelIntroScreen();

// Entry action of the level end: statistics, the next level, the phase timers.
void EnterLevelEnd();
void LevelEndScreen();

void OpenLevelWonDialog();
void LevelWonDialogDraw();
// The bonus still counting in drains at 400 points a second while the won dialog shows.
void LevelEnd_CountBonus(float seconds);

// What a key or click does while the won dialog shows.
enum LevelEndKeyAction : int {
    LEVEL_END_KEY_NONE = 0,
    LEVEL_END_KEY_FINISH_COUNT, // the bonus was still counting: it is all in at once
    LEVEL_END_KEY_MENU,         // Escape: "Main Menu"
    LEVEL_END_KEY_NEXT,         // Enter: "Next Level"
    LEVEL_END_KEY_CONTINUE,     // Enter after the last level: on to the congratulation
};
// Decides, and for a finished count applies, what the pass's keys do while the won dialog
// shows. Any key or click first finishes the count; only then Escape and Enter move on.
LevelEndKeyAction LevelEnd_WonDialogKey(bool escape, bool enter, bool space, bool click);
// Enters the match's score after the last level and deletes the match.
void FinalScoreEntry();
