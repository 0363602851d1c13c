#include "app/game_screen.h"

#include "app/buttons.h"
#include "app/dev_overlay.h"
#include "app/highscores_view.h"
#include "app/keyboard_nav.h"
#include "app/level_flow.h"
#include "app/level_start.h"
#include "app/main_loop.h"
#include "app/match.h"
#include "app/panel.h"
#include "app/resources.h"
#include "app/screens.h"
#include "app/tip_view.h"
#include "audio/music.h"
#include "board/clock.h"
#include "board/cursor.h"
#include "board/gravity.h"
#include "board/hammers.h"
#include "board/matching.h"
#include "board/pieces.h"
#include "board/ripple.h"
#include "board/swap.h"
#include "board/table.h"
#include "board/tips.h"
#include "data/config.h"
#include "data/level_file.h"
#include "data/players.h"
#include "engine/gfx.h"
#include "engine/input.h"
#include "engine/system.h"
#include "fx/effects.h"
#include "fx/particles.h"
#include "fx/scenery.h"

#include <cstdio>

std::string FlowTexts[7];

ButtonAnim *StartLevelButton = nullptr, *LevelMenuButton = nullptr, *ReplayLevelButton = nullptr,
           *NextLevelButton = nullptr, *ResumeGameButton = nullptr, *TipContinueButton = nullptr,
           *WonContinueButton = nullptr;
ButtonAnim *BuyTimeButton = nullptr, *RiskItButton = nullptr, *TimeUpOkButton = nullptr;
int WarnDialogX = 200, WarnDialogY = 150, TimeUpDialogX = 200, TimeUpDialogY = 150;
int NewHighscoreRank = -1;
int ContinuePressed = 0;
int DevKeys_Enabled = 0;

namespace {

constexpr int Key_LeftControl = VK_LCONTROL;
constexpr int Key_F7 = VK_F1 + 6;
constexpr int Key_F10 = VK_F1 + 9;

bool ControlHit(int key) {
    return KeyDown(Key_LeftControl) && KeyHit(key) > 0;
}

void WriteDebugLevel() {
    std::string error;
    const std::string path = Config_Dir + "/dbg_level.lev";
    if (!SaveLevelFile(path, &error))
        std::fprintf(stderr, "snowmere: cannot write %s: %s\n", path.c_str(), error.c_str());
}

// Testing aids held with the left Control key, at most one per pass.
void DeveloperKeysBeforeUpdate() {
    if (!DevKeys_Enabled || !KeyDown(Key_LeftControl)) return;
    if (ControlHit(Key_F10)) {
        ReloadCurrentLevel();
    } else if (ControlHit('D')) {
        Time_Left = 0;
        Score = 20;
        Lives = 0;
    } else if (ControlHit(Key_F7)) {
        Warned90 = 0;
        Warned30 = 0;
        Time_Left = 90100;
        Lives = 0;
    } else if (ControlHit('H')) {
        for (int i = 0; i < 8; ++i)
            Hammer_ComboOf(5); // 64 points on the hammer meter
    } else if (ControlHit('W')) {
        for (int x = 0; x < Table_dx; ++x)
            for (int y = 0; y < Table_dy; ++y)
                Table[x][y].background = 0;
    } else if (ControlHit('C')) {
        WriteDebugLevel();
    }
}

void DeveloperKeysAfterDrawing() {
    if (!DevKeys_Enabled || !KeyDown(Key_LeftControl)) return;
    if (KeyDown('N') && KeyDown('E')) {
        Time_Reserve = 0;
        Time_Bought = 0;
        Level_Win();
    } else if (ControlHit('R')) {
        Level_Outcome = LEVEL_LOST;
        if (LevelCrt >= 0 && LevelCrt < Levels_Columns) Easyness_Table[Player_Crt][LevelCrt] = -1;
        SetGameState(STATE_LEVEL_END);
    }
}

// The board and its effects advance one frame, then the clock.
void UpdatePlay() {
    if (Tip_Showing && Tip_Blocking) return; // the tip holds the board and the clock
    if (Intro_Active) Ripple_Step();
    // While the colour hammer's queue runs nothing falls, spawns or matches.
    if (Hammer3_Count > 0) {
        Hammer3_Step();
    } else {
        KeyNav_BoardKeys();
        Table_Update();
    }
    Gfx_Update();
    if (!Intro_Active) {
        Level_Clock();
        AddPlayedTime();
    }
}

void DrawPlay() {
    Scenery_Draw();
    if (!AppSuspended()) Amb_Update();
    SetAlpha(BoardAlpha);
    Table_DrawBackground();
    Gfx_DrawLayer(-10);
    Pieces_Draw();
    Gfx_DrawLayer(10);
    SetRotation(0.0f);
    Cursor_Draw();
    Panel_Draw();
    Gfx_DrawLayer(20);
    Particles_Draw();
    if (!Cursor_Visible) Hammer_DrawCursor(); // the keys' cursor carries the hammer itself
    Tip_Draw();
}

int MenuButtonY() {
    return ScreenHeight - MenuButtonH - 8;
}

void WarningDialogUpdate() {
    if (KeyHit(VK_ESCAPE) > 0) ResumeGame(); // Escape is "Risk it"
    BuyTimeButton->Update();
    RiskItButton->Update();
}

void WarningDialogDraw() {
    SetAlpha(1.0f);
    DrawImageRect(ImgFrame, static_cast<float>(WarnDialogX), static_cast<float>(WarnDialogY), 400,
                  300, 0);
    SetColor(255, 255, 255);
    SetImageFont(FontPS28);
    DrawTextWrapped(" 1 minute warning! Do you want To buy 2 minutes with 1 life?",
                    WarnDialogX + 30, WarnDialogY + 60, 340, 0);
    BuyTimeButton->Draw();
    RiskItButton->Draw();
    SetAlpha(BoardAlpha);
}

void TimeUpDialogUpdate() {
    const bool escape = KeyHit(VK_ESCAPE) > 0;
    const bool enter = KeyHit(VK_RETURN) > 0;
    if (escape || enter) {
        TimeUpOk();
        return;
    }
    TimeUpOkButton->Update();
}

void TimeUpDialogDraw() {
    SetAlpha(1.0f);
    DrawImageRect(ImgFrame, static_cast<float>(TimeUpDialogX), static_cast<float>(TimeUpDialogY),
                  400, 300, 0);
    SetColor(255, 255, 255);
    SetImageFont(FontPS30);
    DrawTextWrapped("Time's up...", TimeUpDialogX + 40, TimeUpDialogY + 50, 320, 0);
    DrawTextWrapped(TimeUpLine(), TimeUpDialogX + 40, TimeUpDialogY + 100, 320, 0);
    TimeUpOkButton->Draw();
    SetAlpha(BoardAlpha);
}

} // namespace

void InitFlowTexts() {
    FlowTexts[1] = "Main Menu";
    FlowTexts[2] = "Replay Level";
    FlowTexts[3] = "Next Level";
    FlowTexts[5] = "Resume Game";
    FlowTexts[6] = "Continue";
}

void BuildLevelFlowButtons() {
    if (FlowTexts[1].empty()) InitFlowTexts();
    const int y = MenuButtonY();
    const int centred = Trunc(ScreenCentreX - MenuButtonW * 0.5);
    StartLevelButton = ButtonAnim::CreateType(BUTTON_PLAY, Trunc(ScreenCentreX - PlayButtonW * 0.5),
                                              ScreenCentreY, "Start", StartPlaying, 0);
    LevelMenuButton = ButtonAnim::CreateType(BUTTON_MENU, 64, y, FlowTexts[1], LevelMenu, 0);
    ReplayLevelButton =
        ButtonAnim::CreateType(BUTTON_MENU, centred, y, FlowTexts[2], ReplayLevel, 0);
    const int right = ScreenWidth - MenuButtonW - 64;
    NextLevelButton = ButtonAnim::CreateType(BUTTON_MENU, right, y, FlowTexts[3], NextLevel, 0);
    ResumeGameButton = ButtonAnim::CreateType(BUTTON_MENU, right, y, FlowTexts[5], ResumeGame, 0);
    TipContinueButton =
        ButtonAnim::CreateType(BUTTON_MENU, centred, 176, FlowTexts[6], Tip_Close, 0);
    WonContinueButton =
        ButtonAnim::CreateType(BUTTON_MENU, ScreenCentreX - 180, ScreenCentreY + 182 - MenuButtonH,
                               FlowTexts[6], WonContinue, 0);
}

void EnterPlaying() {
    SnowSpacing = 1.0f;
    Level_Ease();
    NewMusicPending = 0;
    LevelStartStats();
    BoardAlpha = 1.0f;
    Amb_Start();
}

void StartPlaying() {
    SetGameState(STATE_PLAYING);
    Level_Outcome = LEVEL_IN_PLAY;
    Scenery_EndChangeover();
}

void GameScreen() {
    DeveloperKeysBeforeUpdate();
    // While a tip shows, Escape is left to close it.
    if (!Tip_Showing && !KeyNav_BoardBack() && KeyHit(VK_ESCAPE) > 0) {
        GameState = STATE_PAUSED;
        return;
    }
    UpdatePlay();
    if (GameState != STATE_PLAYING) return; // a dialog opened or the level ended
    DrawPlay();
    DeveloperKeysAfterDrawing();
    DevOverlay_Game();
    SetBlend(BLEND_ALPHA);
    ++FrameCounter;
}

void PauseScreen() {
    Cls();
    Scenery_Compose(0.5f, CurPicture, CurSky); // the scene dimmed behind the paused board
    SetColor(255, 255, 255);
    SetScale(1.0f, 1.0f);
    SetBlend(BLEND_ALPHA);
    BoardAlpha = 0.5f;
    SetAlpha(0.5f);
    Table_DrawBackground();
    Pieces_Draw();
    SetAlpha(1.0f);
    SetImageFont(FontSans16);
    SetBlend(BLEND_ALPHA);
    SetScale(1.0f, 1.0f);
    if (DialogActive) return;
    // The key that paused resumes. The pass that paused took its Escape, so it cannot resume.
    const bool escape = KeyHit(VK_ESCAPE) > 0;
    LevelMenuButton->UpdateDraw();
    ReplayLevelButton->UpdateDraw();
    ResumeGameButton->UpdateDraw();
    if (escape && GameState == STATE_PAUSED) ResumeGame(); // unless a button left the screen
}

void OpenTimeWarningDialog() {
    GameState = STATE_PAUSED;
    WarnDialogX = ScreenCentreX - 200;
    WarnDialogY = ScreenCentreY - 150;
    if (!BuyTimeButton) {
        const int y = WarnDialogY - MenuButtonH + 280;
        BuyTimeButton =
            ButtonAnim::CreateType(BUTTON_MENU, WarnDialogX + 40, y, "Buy Time", BuyTime, 0);
        RiskItButton = ButtonAnim::CreateType(BUTTON_MENU, WarnDialogX - MenuButtonW + 360, y,
                                              "Risk it", ResumeGame, 0);
    }
    OpenDialog(WarningDialogUpdate, WarningDialogDraw, 0);
}

void BuyTime() {
    Time_Bought += 120000;
    Time_Left += 120000;
    Lives -= 1;
    Time_Offered = 0; // the offer may come again
    ResumeGame();
}

void OpenTimeUpDialog() {
    GameState = STATE_PAUSED;
    TimeUpDialogX = ScreenCentreX - 200;
    TimeUpDialogY = ScreenCentreY - 150;
    if (!TimeUpOkButton)
        TimeUpOkButton =
            ButtonAnim::CreateType(BUTTON_MENU, ScreenCentreX - MenuButtonW / 2,
                                   TimeUpDialogY - MenuButtonH + 280, "Ok", TimeUpOk, 0);
    OpenDialog(TimeUpDialogUpdate, TimeUpDialogDraw, 0);
}

const char* TimeUpLine() {
    return Lives <= 0 ? "Game lost" : "Life lost";
}

void TimeUpOk() {
    BoardAlpha = 1.0f;
    GameState = STATE_PLAYING;
    CloseDialog();
    AfterTimeUp();
}

void AfterTimeUp() {
    if (Lives > 0) {
        SaveMatch(LevelCrt, 0);
        if (!ReloadCurrentLevel()) SetGameState(STATE_MAIN_MENU);
        return;
    }
    // Game over: the match enters the table if it qualifies, and the level-end screen shows
    // its row after a delay.
    NewHighscoreRank = Highscores_EnterMatch(LevelCrt);
    HighscoreDelay = NewHighscoreRank == -1 ? 0 : 5000;
    Match_DeleteFiles(Player_Crt);
    Level_Outcome = LEVEL_LOST;
    SetGameState(STATE_LEVEL_END);
}

void ResumeGame() {
    BoardAlpha = 1.0f;
    GameState = STATE_PLAYING;
    CloseDialog();
    KeyHit(VK_ESCAPE); // an Escape pressed while paused does not pause again at once
}

bool LevelMenu_SavesMatch() {
    // After a game over or the last level the match is over and its files are gone: leaving
    // then must not bring it back.
    const bool ended = GameState == STATE_LEVEL_END &&
                       (Level_Outcome != LEVEL_WON || Level_Played == Levels_Count);
    return !ended && (Score != 0 || Lives != 3);
}

void LevelMenu() {
    if (LevelMenu_SavesMatch()) {
        SaveMatch(LevelCrt, GameState == STATE_PAUSED ? 1 : 0);
        Music_Start(Music_MenuTrack);
        CloseDialog();
        SetGameState(STATE_MAIN_MENU);
        return;
    }
    SetGameState(STATE_MAIN_MENU);
    CloseDialog();
}

void ReplayLevel() {
    if (GameState == STATE_LEVEL_END) {
        LevelCrt = Level_Played;
        // After a game over the replay is a new match: three lives and no score.
        if (Lives <= 0) NewMatch();
    }
    SetGameState(STATE_LEVEL_INTRO);
}

void NextLevel() {
    CloseDialog();
    Music_Next();
    SetGameState(STATE_LEVEL_INTRO);
}

const char* GameScreen_DialogName() {
    if (!DialogActive) return nullptr;
    if (DialogDrawFn == WarningDialogDraw) return "time_warning";
    if (DialogDrawFn == TimeUpDialogDraw) return "time_up";
    return nullptr;
}

void WonContinue() {
    CloseDialog();
    ContinuePressed = 1;
}
