#include "bot/bot_level.h"

#include "audio/sound_fx.h"
#include "board/board.h"
#include "board/clock.h"
#include "board/gravity.h"
#include "board/hammers.h"
#include "board/matching.h"
#include "board/pieces.h"
#include "board/ripple.h"
#include "board/swap.h"
#include "board/table.h"
#include "bot/bot.h"
#include "data/level_file.h"
#include "data/players.h"
#include "engine/frame.h"
#include "engine/shell.h"
#include "engine/system.h"
#include "fx/effects.h"
#include "fx/particles.h"

#include <algorithm>

namespace {

// The screens the clock asks for: a won level ends the run, "Time's up..." loses it. The one-minute
// warning is answered "Risk it" at once, so the clock runs on as it does after the answer.
bool Run_TimeUp = false;

void Bot_SetState(int state) {
    GameState = state;
}

void Bot_TimeWarning() {}

void Bot_TimeUp() {
    Run_TimeUp = true;
    GameState = STATE_PAUSED;
}

// A fresh player in slot 0: no failed tries at the level, every help tip already seen.
void Fresh_Player(int level) {
    Player_Crt = 0;
    std::fill(std::begin(Tip_Seen[0]), std::end(Tip_Seen[0]), 1);
    if (level >= 0 && level < Levels_Columns) Easyness_Table[0][level] = 0;
}

} // namespace

void Bot_SetMouse(const Bot_Pointer& p) {
    MouseRightPrev = MouseRightDown;
    MouseRightDown = p.right;
    MouseLeftPrev = MouseLeftDown;
    MouseLeftDown = p.left;
    MouseLeftPressed = MouseLeftDown && !MouseLeftPrev ? 1 : 0;
    MouseLeftReleased = !MouseLeftDown && MouseLeftPrev ? 1 : 0;
    MouseRightPressed = MouseRightDown && !MouseRightPrev ? 1 : 0;
    MouseRightReleased = !MouseRightDown && MouseRightPrev ? 1 : 0;
    MouseXPrev = MouseXPos;
    MouseYPrev = MouseYPos;
    MouseXPos = p.x;
    MouseYPos = p.y;
    MouseMoved = MouseXPos != MouseXPrev || MouseYPos != MouseYPrev ? 1 : 0;
    MouseDX = MouseXPos - MouseXPrev;
    MouseDY = MouseYPos - MouseYPrev;
}

namespace {

// One pass of the game screen's play: the board (or the colour hammer's queue), then the clock.
// Effects and sounds are looks only: they are dropped every frame instead of piling up.
void Play_Frame() {
    Bot_SetMouse(Bot_Step());
    if (Hammer3_Count > 0)
        Hammer3_Step();
    else
        Table_Update();
    Gfx_Clear();
    Snd_ClearRequests();
    Level_Clock();
    ++FrameCounter;
}

} // namespace

std::string Bot_LevelPath(const std::string& assets_dir, int level) {
    return assets_dir + "/" + Level_ResourceName(level);
}

bool Bot_PlayLevel(const std::string& path, int level, unsigned seed, int frame_ms,
                   Bot_LevelResult* out, std::string* error) {
    static bool board_ready = false;
    if (!board_ready) Board_Init(false);
    board_ready = true;
    const Shell_Calls saved_shell = Shell;
    Shell = Shell_Calls{};
    Shell.SetGameState = Bot_SetState;
    Shell.OpenTimeWarningDialog = Bot_TimeWarning;
    Shell.OpenTimeUpDialog = Bot_TimeUp;
    DeltaMs = static_cast<float>(std::max(frame_ms, 1));
    DeltaSec = DeltaMs / 1000.0f;
    SeedRnd(seed);
    Last_Kind = 0; // a seed plays the same however many levels were played before it
    Fresh_Player(level);
    LevelCrt = level;
    Score_NewGame();
    Relaxed_Mode = 0;
    const bool loaded = LoadLevelFile(path, error);
    if (!loaded) {
        Shell = saved_shell;
        return false;
    }
    Level_Ease();
    // The hint's countdown is not part of a level's layout, and its sparkles draw random numbers:
    // restarted here, a seed plays the same whatever level was played before it.
    Hint_Restart();
    FrameCounter = 0;
    for (int step = 0; Intro_Active && step < 100000; ++step)
        Ripple_Step(); // the fade-in as if watched to its end
    GameState = STATE_PLAYING;
    Level_Outcome = LEVEL_IN_PLAY;
    Run_TimeUp = false;
    Bot_Reset();
    Bot_SetMouse(Bot_Pointer{}); // the pointer of a level played before does not carry over
    Bot_SetMouse(Bot_Pointer{});
    Bot_LevelResult r;
    r.level_time = Level_Time;
    r.ice_start = Table_CountIce();
    // The clock alone ends a level; the cap only guards against a clock that never runs out.
    const long long cap = (static_cast<long long>(Level_Time) * 4 + 60000) / frame_ms;
    while (GameState == STATE_PLAYING && r.frames < cap) {
        Play_Frame();
        ++r.frames;
    }
    r.won = Level_Outcome == LEVEL_WON;
    r.ice_left = Table_CountIce();
    r.time_used = static_cast<int>(std::min<long long>(1LL * r.frames * frame_ms, 1 << 30));
    r.moves = BotCounts.moves;
    r.snowballs = BotCounts.snowballs;
    r.hammers = BotCounts.strikes;
    *out = r;
    Gfx_Clear();
    Snd_ClearRequests();
    Shell = saved_shell;
    return true;
}
