#include "board/clock.h"

#include "audio/sound_fx.h"
#include "board/hammers.h"
#include "board/matching.h"
#include "board/table.h"
#include "data/level_file.h"
#include "data/players.h"
#include "engine/frame.h"
#include "engine/shell.h"
#include "engine/system.h"
#include "fx/particles.h"

#include <algorithm>
#include <cmath>

int Time_Left = 0, Time_Reserve = 0, Time_Bought = 0, Time_WarnAt = 60000;
int Time_Offered = 0, Warned90 = 0, Warned30 = 0;
int Score_Start_Level = 0;
int Relaxed_Mode = 0;
float Hidden_Time_Mult = 1.0f;
const int Alarm_Seconds[12] = {20, 15, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
int Alarm_Count = 0, Alarm_LastSecond = -1;
int Level_Score = 0, Level_TimeBonus = 0;
std::int64_t Level_EndA = 0, Level_EndB = 0;
int Level_Outcome = LEVEL_IN_PLAY;
int HighscoreDelay = 0;

namespace {

// A percentage of special pieces shrinks by 15 % per failed try, to no less than 1.
int EasePercent(int percent, int easyness) {
    if (percent <= 0) return percent;
    return Trunc(std::max(percent - easyness * percent * 0.15, 1.0));
}

// The frame time the clock loses. The small guard keeps a factor such as 0.85, which floats
// store as 0.8499..., from taking 16 ms instead of 17 ms off a 20 ms frame.
int ClockStep() {
    if (Hidden_Time_Mult > 0.0f) return Trunc(DeltaMs * Hidden_Time_Mult + 0.0005f);
    return Trunc(DeltaMs);
}

void Clock_Alarm(int second) {
    ++Alarm_Count;
    Alarm_LastSecond = second;
    Snd_Play(SND_TIME_ALARM, 0.0f, Snd_FxVolume(), 1.0f, 0.0f);
    Particles_TimeAlarm();
}

// The displayed seconds crossed 20, 15, 10 or any of 9..1 in this frame.
void SoundAlarms(int before) {
    for (int t : Alarm_Seconds)
        if (Time_Left / 1000 <= t && t < before / 1000) Clock_Alarm(t);
}

// Returns true when the candle and the reserve are both used up: a life is lost.
bool RunTimedClock() {
    // No offer on the frame the last ice breaks: the win comes next and must not be hidden
    // behind a dialog that would resume a finished level.
    if (!Time_Offered && Time_Left < Time_WarnAt && Lives > 0 && Ice_Left > 0) {
        Shell_OpenTimeWarningDialog();
        Time_Offered = 1;
    }
    if (!Warned90 && Time_Left < 90000) Warned90 = 1;
    if (!Warned30 && Time_Left < 30000) Warned30 = 1;
    if (Time_Left < 0) {
        Time_Left += Time_Reserve;
        Time_Reserve = 0;
    }
    if (Time_Left >= 0) return false;
    Lives = std::max(Lives - 1, 0); // never a negative count on the panel
    Snd_AddDynamic(SND_GAME_OVER, 0.0f, Snd_FxVolume(),
                   0.75f); // the lost-game jingle, sliding down
    Shell_OpenTimeUpDialog();
    return true;
}

} // namespace

int Easyness_ForCurrentLevel() {
    if (Player_Crt < 0 || Player_Crt >= Players_Max) return 0;
    if (LevelCrt < 0 || LevelCrt >= Levels_Columns) return 0;
    // A level marked -1 by the developer's give-up key eases like a fresh one.
    return std::max(Easyness_Table[Player_Crt][LevelCrt], 0);
}

float Time_MultFor(int easyness) {
    if (easyness <= 0) return 1.0f;
    if (easyness == 1) return 0.98f;
    return static_cast<float>(std::clamp(1.0 - easyness * 0.03, 0.75, 0.98));
}

void Level_Ease() {
    Easyness = Easyness_ForCurrentLevel();
    GoldenPercent = EasePercent(GoldenPercent, Easyness);
    ShieldPercent = EasePercent(ShieldPercent, Easyness);
    Hidden_Time_Mult = Time_MultFor(Easyness);
    BoardAlpha = 1.0f;
}

void Clock_LevelLayout() {
    Time_Offered = 0;
    Warned90 = 0;
    Warned30 = 0;
    Time_Bought = 0;
    Time_Left = Level_Time;
    Time_Reserve = 0;
    Score_Start_Level = Score;
    Time_WarnAt = Level_Time >= 70000 ? 60000 : Trunc(Level_Time * 0.5);
    Alarm_Count = 0;
    Alarm_LastSecond = -1;
}

void Level_Clock() {
    if (GameState == STATE_PAUSED) return; // frozen behind a dialog
    Ice_Left = Table_CountIce();
    const int d = ClockStep();
    const int before = Time_Left;
    if (!Relaxed_Mode) {
        Time_Left -= d;
        if (RunTimedClock()) return;
    }
    if (Ice_Left == 0) {
        Level_Win();
        return;
    }
    if (Time_Reserve == 0 && !Relaxed_Mode) SoundAlarms(before);
}

void Level_Win() {
    int bonus = 0;
    if (!Relaxed_Mode) {
        Score_Add(1000);
        // Each whole second left is worth 20 points; bought time is not rewarded.
        const std::int64_t b = (std::int64_t{Time_Left} - Time_Bought) * 20 / 1000;
        bonus = b >= 1 ? static_cast<int>(std::min<std::int64_t>(b, 1000000000)) : 0;
        if (bonus > 0) Score_Add(bonus);
    }
    Level_Score = Score - Score_Start_Level;
    Hammer_Points = 0;
    Level_TimeBonus = bonus;
    // The level-end screen's entry saves the match as standing at the next level.
    HighscoreDelay = 4000;
    Level_EndA = bonus;
    // The full candle of the bonus counter; with nothing on the clock the bonus is 0 too.
    Level_EndB = Time_Left > 0 ? Level_EndA * (std::int64_t{Level_Time} + Time_Bought) / Time_Left
                               : Level_EndA;
    Level_Outcome = LEVEL_WON;
    Shell_SetGameState(STATE_LEVEL_END);
}

int Time_BonusFor(int n) {
    static const int small[] = {32, 36, 48, 56, 64, 72, 80, 88}; // 7 .. 14
    if (n <= 6) return 0;
    if (n <= 14) return small[n - 7] * 1000 / 16;
    const int v = n <= 17 ? 8 * n : n <= 21 ? 16 * n : 32 * n;
    return v * 1000 / 16;
}

void Time_BonusForGroup() {
    // The reserve never exceeds the time already burnt, and never goes below 0: on a short level
    // with bought time the candle can stand above the level's time, and a negative reserve would
    // take time off the clock when it runs out.
    const std::int64_t capped =
        std::min<std::int64_t>(std::int64_t{Time_Reserve} + Time_BonusFor(Group_Count),
                               std::int64_t{Level_Time} - Time_Left);
    Time_Reserve = static_cast<int>(std::max<std::int64_t>(capped, 0));
}

void Time_Golden() {
    // Never lowers a candle that bought time lifted above the level's time.
    Time_Left = std::max(Time_Left, std::min(Time_Left + 10000, Level_Time));
}
