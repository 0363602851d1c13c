// The level clock: the candle's time, the reserve won by big groups, bought time, the warnings,
// losing a life when the time is gone, easing a level the player keeps failing, and winning.
#pragma once

#include <cstdint>

// Per level (set when the board is laid out).
extern int Time_Left;    // ms on the candle; below 0 for at most one frame
extern int Time_Reserve; // ms won by big groups, added only when the candle runs out
extern int Time_Bought;  // ms bought with lives in this level
extern int Time_WarnAt;  // the "Buy Time" offer comes below this
extern int Time_Offered, Warned90, Warned30;
extern int Score_Start_Level;

// Per match and per level start.
extern int Relaxed_Mode;       // 1: no clock
extern float Hidden_Time_Mult; // frame time is scaled by this before leaving the clock
extern const int Alarm_Seconds[12];
extern int Alarm_Count;      // alarms sounded in this level
extern int Alarm_LastSecond; // the displayed second of the latest alarm, -1 none

// Results of a finished level, read by the level-end screen.
extern int Level_Score, Level_TimeBonus;
extern std::int64_t Level_EndA, Level_EndB;
extern int Level_Outcome;  // LEVEL_IN_PLAY, LEVEL_WON or LEVEL_LOST (data/players.h)
extern int HighscoreDelay; // ms before the level-end screen shows its dialog or highscores

// The current player's failed tries at the current level since last winning it.
int Easyness_ForCurrentLevel();
// The easing factor of the clock for a number of failed tries.
float Time_MultFor(int easyness);
// Eases a level after it is loaded: fewer golden pieces and shields, a slower hidden clock.
void Level_Ease();
// Part of laying out a level: the candle is full, the reserve, bought time and flags are cleared.
void Clock_LevelLayout();
// Once per game-screen frame after the board update, while the board's ripple is not running.
void Level_Clock();
// The level is won: the 1000 points, the bonus for the seconds left, the level-end counters.
void Level_Win();
// The reserve value in ms a group of n pieces earns.
int Time_BonusFor(int n);
// The time-bonus step of every group resolution (also for groups below three).
void Time_BonusForGroup();
// A golden piece set off: ten seconds back on the candle, at most up to the level's time.
void Time_Golden();
