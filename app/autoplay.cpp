#include "app/autoplay.h"

#include "app/buttons.h"
#include "app/game_screen.h"
#include "app/highscores_view.h"
#include "app/level_chooser.h"
#include "app/level_flow.h"
#include "app/main_loop.h"
#include "app/main_menu.h"
#include "app/match.h"
#include "app/player_screen.h"
#include "board/clock.h"
#include "board/tips.h"
#include "bot/bot.h"
#include "data/level_file.h"
#include "data/players.h"
#include "engine/frame.h"
#include "engine/input.h"

#include <deque>
#include <string>

int Autoplay_Enabled = 0;

namespace {

// A moment on every screen before acting, so a watcher sees where the demo goes.
constexpr float Screen_PauseMs = 900.0f;
// A screen that does not change for this long gets an Escape, whatever it is.
constexpr float Stuck_Ms = 30000.0f;
const char* const Demo_Name = "Autoplay";

// One input event, applied in a pass of its own.
struct Step {
    enum Kind { MOVE, PRESS, RELEASE, KEY_DOWN, KEY_UP, TEXT } kind = MOVE;
    int a = 0, b = 0;
};

std::deque<Step> Steps;
Bot_Pointer Sent; // the pointer and buttons as the game last heard of them
float Wait_ms = Screen_PauseMs;
float Same_ms = 0.0f; // time on the same screen and dialog
int Seen_State = -1, Seen_Dialog = -1, Seen_Level = -1;
bool Playing = false; // the bot plays the board: its plan was reset for this level
std::string Typed;    // the text of a TEXT step
int Resume_Count = 0;

void Apply(const Step& s) {
    switch (s.kind) {
    case Step::MOVE:
        Input_InjectMouseMove(s.a, s.b);
        break;
    case Step::PRESS:
    case Step::RELEASE:
        Input_InjectMouseButton(s.a, s.kind == Step::PRESS);
        break;
    case Step::KEY_DOWN:
    case Step::KEY_UP:
        Input_InjectKey(s.a, s.kind == Step::KEY_DOWN);
        break;
    case Step::TEXT:
        Input_InjectText(Typed.c_str());
        break;
    }
}

void Key(int vk) {
    Steps.push_back({Step::KEY_DOWN, vk});
    Steps.push_back({Step::KEY_UP, vk});
}

void ClickAt(int x, int y) {
    Steps.push_back({Step::MOVE, x, y});
    Steps.push_back({Step::PRESS, MOUSE_LEFT});
    Steps.push_back({Step::RELEASE, MOUSE_LEFT});
    Sent.x = x, Sent.y = y;
}

void Click(const ButtonAnim* b) {
    if (b) ClickAt(b->x + b->img_dx / 2, b->y + b->img_dy / 2);
}

void ClickInterface(const Button_Interface* b) {
    if (b) ClickAt(b->x + b->image_dx / 2, b->y + b->image_dy / 2);
}

// The bot's pointer for this pass, sent as the events that change what the game knows.
void SendPointer(const Bot_Pointer& p) {
    if (p.x != Sent.x || p.y != Sent.y) Input_InjectMouseMove(p.x, p.y);
    if (p.left != Sent.left) Input_InjectMouseButton(MOUSE_LEFT, p.left != 0);
    if (p.right != Sent.right) Input_InjectMouseButton(MOUSE_RIGHT, p.right != 0);
    Sent = p;
}

void ReleaseButtons() {
    SendPointer(Bot_Pointer{Sent.x, Sent.y, 0, 0});
}

// The level the chooser's page shows and the player may play: the current one if it is there.
void ChooseLevel() {
    const int n = LevelCrt;
    const bool on_page = n >= 1 && Chooser_PageOf(n) == MapPage &&
                         n <= static_cast<int>(LevelButtons.size()) && Level_Available(n);
    if (on_page)
        ClickInterface(LevelButtons[n - 1]);
    else
        Click(ChooserStartButton);
}

void AnswerDialog() {
    if (DialogDrawFn == NameDialogDraw) {
        Typed = Demo_Name;
        Steps.push_back({Step::TEXT});
        Key(VK_RETURN);
        return;
    }
    const char* game_dialog = GameScreen_DialogName();
    const std::string name = game_dialog ? game_dialog : "";
    if (name == "time_up" || DialogDrawFn == LevelWonDialogDraw)
        Key(VK_RETURN); // on to the replay, or the bonus counted and the next level
    else if (DialogDrawFn == ResumeDialogDraw && ResumeButtons.size() == 2)
        Click(ResumeButtons[Resume_Count++ % 2]); // resumed one time, a new match the next
    else
        Key(VK_ESCAPE); // "Risk it", the highscores closed, no quitting
}

// A won level waits for its dialog (answered above), then goes on to the next level; a lost
// match goes back to the menu.
void LevelEndStep() {
    if (Level_Outcome != LEVEL_WON)
        Key(VK_ESCAPE);
    else if (ContinuePressed && Level_EndA == 0)
        Click(NextLevelButton);
}

// A screen with nothing else to do: what a player would press there.
void ScreenStep() {
    if (DialogActive) {
        AnswerDialog();
        return;
    }
    switch (GameState) {
    case STATE_MAIN_MENU:
        if (!MainMenuButtons.empty()) Click(MainMenuButtons.front()); // "Start"
        break;
    case STATE_LEVEL_CHOOSER:
        ChooseLevel();
        break;
    case STATE_LEVEL_INTRO:
        Key(VK_SPACE);
        break;
    case STATE_LEVEL_END:
        LevelEndStep();
        break;
    case STATE_PLAYING:
        if (Tip_Showing) Key(VK_RETURN); // the tip read, it closes
        break;
    case STATE_SUSPENDED:
        break;
    default:
        Key(VK_ESCAPE); // paused, options, player screen: back to where the game goes on
        break;
    }
}

void TrackScreen() {
    const int dialog = DialogActive ? 1 : 0;
    if (GameState == Seen_State && dialog == Seen_Dialog && LevelCrt == Seen_Level) {
        Same_ms += DeltaMs;
        return;
    }
    if (GameState == STATE_PLAYING && Seen_State != STATE_PLAYING && Seen_State != STATE_PAUSED)
        Playing = false; // a level (re)started: the bot looks at it afresh
    Seen_State = GameState;
    Seen_Dialog = dialog;
    Seen_Level = LevelCrt;
    Same_ms = 0.0f;
    Wait_ms = Screen_PauseMs;
}

bool BotPlays() {
    return GameState == STATE_PLAYING && !DialogActive && !Tip_Showing;
}

} // namespace

void Autoplay_Pass() {
    if (!Autoplay_Enabled) return;
    TrackScreen();
    if (!Steps.empty()) {
        Apply(Steps.front());
        Steps.pop_front();
        return;
    }
    if (BotPlays()) {
        if (!Playing) Bot_Reset();
        Playing = true;
        SendPointer(Bot_Step());
        return;
    }
    if (Playing) ReleaseButtons(); // nothing stays held over a dialog or the next screen
    Playing = GameState == STATE_PLAYING || GameState == STATE_PAUSED;
    Wait_ms -= DeltaMs;
    if (Wait_ms > 0.0f && Same_ms < Stuck_Ms) return;
    Wait_ms = Screen_PauseMs;
    if (Same_ms >= Stuck_Ms) {
        Same_ms = 0.0f;
        Key(VK_ESCAPE);
        return;
    }
    ScreenStep();
}
