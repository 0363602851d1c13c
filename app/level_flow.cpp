#include "app/level_flow.h"

#include "app/buttons.h"
#include "app/dev_overlay.h"
#include "app/game_screen.h"
#include "app/highscores_view.h"
#include "app/level_start.h"
#include "app/main_loop.h"
#include "app/main_menu.h"
#include "app/match.h"
#include "app/resources.h"
#include "app/screens.h"
#include "audio/music.h"
#include "audio/sound_fx.h"
#include "board/clock.h"
#include "board/gravity.h"
#include "board/matching.h"
#include "board/pieces.h"
#include "board/swap.h"
#include "board/table.h"
#include "board/tips.h"
#include "data/config.h"
#include "data/level_file.h"
#include "data/players.h"
#include "data/tileset.h"
#include "engine/gfx.h"
#include "engine/input.h"
#include "engine/system.h"
#include "fx/candle.h"
#include "fx/effects.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <vector>

float IntroFade = 0.0f;
float IntroButtonFade = 0.0f;
int WinPhaseMs = 800;
int LosePhaseMs = 2000;
int FireworkTimer = 0;
int AllLevelsDoneShown = 0;
float PanelFade = 0.0f;
int CelebrationKinds[3] = {0, 0, 0};
int WonDialogX = 200, WonDialogY = 200;

namespace {

constexpr int Bonus_PointsPerSecond = 400;

// 1 when the level of the introduction could not be loaded; the introduction then gives way
// to the main menu instead of showing an empty board.
int Intro_LoadFailed = 0;

void DrawBoard(float board_alpha, float pieces_alpha) {
    SetBlend(BLEND_ALPHA);
    SetAlpha(board_alpha);
    Table_DrawBackground();
    SetAlpha(pieces_alpha);
    Pieces_Draw();
}

bool WonDialogOpen() {
    return DialogActive && DialogDrawFn == LevelWonDialogDraw;
}

bool LastLevelPlayed() {
    return Level_Played == Levels_Count;
}

void FadeBoard(float per_ms) {
    if (BoardAlpha > 0.0f) BoardAlpha = std::max(BoardAlpha - per_ms * DeltaMs, 0.0f);
}

std::vector<Gfx_Point> BoardCells() {
    std::vector<Gfx_Point> cells;
    for (int x = 0; x < Table_dx; ++x)
        for (int y = 0; y < Table_dy; ++y)
            if (!Table[x][y].void_) cells.push_back({x, y});
    return cells;
}

// The moment the win phase runs out: the board's tiles fly off, the victory sound, and the
// three piece kinds the score sparkles are made of.
void StartFireworks() {
    Gfx_TilesFlyAway(BoardCells(), BoardAlpha);
    Snd_Play(SND_WIN_LEVEL, 0.0f, FxVolume[Player_Crt], 1.0f, 0.0f);
    const int kinds = std::max(Tilesets[0].tiles_count, 1);
    for (int& k : CelebrationKinds)
        k = Rand(1, kinds) - 1;
    if (LastLevelPlayed()) {
        Gfx_YouWin();
        Gfx_YouWin();
    }
}

void NextFirework() {
    FireworkTimer = Trunc(FireworkTimer - DeltaMs);
    if (FireworkTimer > 0) return;
    FireworkTimer = 0;
    if (LastLevelPlayed()) {
        FireworkTimer = Trunc(Rnd(2000, 4000));
        Gfx_Firework();
        Gfx_YouWin();
        Gfx_SparkRing(Rand(1, ScreenWidth), Rand(1, ScreenHeight), 0.12f);
    } else if (Level_EndA > 0) {
        FireworkTimer = Trunc(Rnd(200, 600));
        Image* tiles[3];
        for (int i = 0; i < 3; ++i)
            tiles[i] =
                Tilesets[0].tiles[std::clamp(CelebrationKinds[i], 0, Tileset_MaxTiles - 1)].image;
        Gfx_ScoreSparkle(tiles);
    }
}

void WonScene() {
    if (HighscoreDelay != 0) {
        HighscoreDelay = Trunc(HighscoreDelay - DeltaMs);
        if (HighscoreDelay <= 0) {
            OpenLevelWonDialog();
            HighscoreDelay = 0;
        }
    }
    if (WonDialogOpen() && Level_EndA > 0) LevelEnd_CountBonus(DeltaSec);
    if (WinPhaseMs > 0) {
        if (WinPhaseMs - DeltaMs <= 0) StartFireworks();
        WinPhaseMs = std::max(Trunc(WinPhaseMs - DeltaMs), 0);
    }
    Gfx_Update();
    Pieces_Move();
    SetAlpha(1.0f);
    Gfx_DrawLayer(-10);
    if (WinPhaseMs > 0) {
        FadeBoard(0.0002f);
        DrawBoard(BoardAlpha * 0.75f, BoardAlpha);
    } else {
        FadeBoard(0.0003f);
        DrawBoard(BoardAlpha * 0.5f, BoardAlpha);
        NextFirework();
    }
    SetRotation(0.0f);
}

void LostScene() {
    if (HighscoreDelay != 0) {
        HighscoreDelay = Trunc(HighscoreDelay - DeltaMs);
        if (HighscoreDelay <= 0) {
            OpenHighscores(NewHighscoreRank);
            HighscoreDelay = 0;
        }
    }
    LosePhaseMs = std::max(Trunc(LosePhaseMs - DeltaMs), 0);
    Gfx_Update();
    Pieces_Move();
    SetAlpha(1.0f);
    Gfx_DrawLayer(-10);
    if (LosePhaseMs > 0) {
        FadeBoard(0.0005f);
        DrawBoard(1.0f, BoardAlpha);
    } else if (BoardAlpha > 0.0f) {
        FadeBoard(0.0004f);
        DrawBoard(BoardAlpha, BoardAlpha);
    }
    if (Tip_Showing) return; // the picture waits until the tip is read
    // The game-over picture shrinks from eight times its size while it fades in.
    const float a = 1.0f - BoardAlpha;
    SetScale(8.0f - 7.0f * a, 8.0f - 7.0f * a);
    SetAlpha(a);
    SetBlend(BLEND_ALPHA);
    DrawImage(ImgGameOver, static_cast<float>(ScreenCentreX),
              static_cast<float>(ImageHeight(ImgGameOver)), 0);
}

void DrawCongratulation() {
    PanelFade = std::min(PanelFade + 0.0005f * DeltaMs, 1.0f);
    const int w = ImageWidth(ImgInfoPanel), h = ImageHeight(ImgInfoPanel);
    const int top = Trunc(ScreenCentreY - h * 0.5);
    SetAlpha(PanelFade);
    DrawImage(ImgInfoPanel, static_cast<float>(Trunc(ScreenCentreX - w * 0.5)),
              static_cast<float>(top), 0);
    SetColor(255, 255, 255);
    SetImageFont(FontLiberty32);
    DrawTextCentered("Congratulations! You completed all levels !", ScreenCentreX,
                     Trunc(top + h * 0.5));
    SetAlpha(1.0f);
}

bool AnyClick() {
    return MouseLeftPressed || MouseRightPressed;
}

// "Main Menu" and "Next Level" once the dialog is closed, or after the last level the
// congratulation until it is dismissed.
void WonButtons() {
    if (!ContinuePressed) return;
    if (Level_EndA == 0 || AllLevelsDoneShown) LevelMenuButton->UpdateDraw();
    if (GameState != STATE_LEVEL_END) return;
    if (!LastLevelPlayed()) {
        if (Level_EndA == 0) NextLevelButton->UpdateDraw();
        return;
    }
    if (AllLevelsDoneShown) return;
    // Every key is read, so none of them lingers to act on the next screen.
    const bool escape = KeyHit(VK_ESCAPE) > 0;
    const bool enter = KeyHit(VK_RETURN) > 0;
    const bool space = KeyHit(VK_SPACE) > 0;
    const bool click = AnyClick();
    if (escape || enter || space || click) {
        FinalScoreEntry();
        AllLevelsDoneShown = 1;
        return;
    }
    DrawCongratulation();
}

void LeaveForMenu() {
    SetGameState(STATE_MAIN_MENU);
    CloseDialog();
}

void WonKeys() {
    if (GameState != STATE_LEVEL_END) return;
    if (!DialogActive) {
        if (KeyHit(VK_ESCAPE) > 0) LeaveForMenu();
        return;
    }
    const bool escape = KeyHit(VK_ESCAPE) > 0;
    const bool enter = KeyHit(VK_RETURN) > 0;
    const bool space = KeyHit(VK_SPACE) > 0;
    switch (LevelEnd_WonDialogKey(escape, enter, space, AnyClick())) {
    case LEVEL_END_KEY_MENU:
        LevelMenu();
        break;
    case LEVEL_END_KEY_NEXT:
        NextLevel();
        break;
    case LEVEL_END_KEY_CONTINUE:
        WonContinue();
        break;
    default:
        break;
    }
}

void LostButtons() {
    LevelMenuButton->UpdateDraw();
    if (GameState != STATE_LEVEL_END) return;
    ReplayLevelButton->UpdateDraw();
    if (GameState == STATE_LEVEL_END && KeyHit(VK_ESCAPE) > 0) LeaveForMenu();
}

} // namespace

std::string FormatLevelTime(int seconds) {
    seconds = std::max(seconds, 0);
    const int h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    char buf[32];
    if (h > 0)
        std::snprintf(buf, sizeof buf, "%d:%02d:%02d", h, m, s);
    else
        std::snprintf(buf, sizeof buf, "%02d:%02d", m, s);
    return buf;
}

std::string IntroLevelLine(int level) {
    const std::string& word = level >= 211 ? IntroTexts[1] : IntroTexts[0];
    return word + " " + std::to_string(level);
}

namespace {

// A chosen level brings a track other than the one playing.
int NewRandomTrack() {
    int track = Rand(0, Music_Tracks - 1);
    while (track == CurrentTrack)
        track = Rand(0, Music_Tracks - 1);
    return track;
}

} // namespace

void EnterLevelIntro() {
    AmbState = AMB_OFF;
    PrepareLevelIntro();
    Intro_LoadFailed = LevelStart_LoadForIntro() ? 0 : 1;
    FrameCounter = 0;
}

void PrepareLevelIntro() {
    if (NewMusicPending == 1) Music_Play(NewRandomTrack(), 1);
    BoardAlpha = 0.0f;
    IntroFade = 0.0f;
    IntroButtonFade = 0.0f;
    Picture_Choose(TrackJustLoaded);
    Clouds_Start();
    Stars_Create(100, 400, 100);
    Wipe_Start();
    AmbState = AMB_OFF;
    FlushKeys();
}

void LevelIntroScreen() {
    if (Intro_LoadFailed) {
        Intro_LoadFailed = 0;
        SetGameState(STATE_MAIN_MENU);
        return;
    }
    Cls();
    if (ChangeoverActive == 1) {
        // The puffs along the wipe live in the whole display, whatever the board's size.
        GfxBoard.scene_width = ScreenWidth;
        GfxBoard.scene_height = ScreenHeight;
        Scenery_Changeover();
        Gfx_Update();
        Gfx_DrawLayer(-10);
        Gfx_DrawLayer(10);
        return;
    }
    Scenery_Draw();
    Gfx_Update();
    Gfx_DrawLayer(-10);
    Gfx_DrawLayer(10);
    if (!AppSuspended()) Amb_Update();
    IntroFade = std::min(IntroFade + 0.05f * DeltaSec, 0.05f);
    BoardAlpha = IntroFade;
    DrawBoard(0.0f, IntroFade);
    SetImageFont(FontSans16);
    SetBlend(BLEND_ALPHA);
    SetScale(1.0f, 1.0f);
    SetAlpha(std::min(IntroButtonFade, 1.0f));
    StartLevelButton->Update();
    StartLevelButton->Draw();
    const int top = StartLevelButton->y;
    const float alpha = std::min(IntroFade * 2.0f + IntroButtonFade * 0.25f, 1.0f);
    SetAlpha(alpha);
    DrawImage(ImgInfoPanel,
              static_cast<float>(Trunc(ScreenCentreX - ImageWidth(ImgInfoPanel) * 0.5)),
              static_cast<float>(top + 140), 0);
    SetColor(255, 255, 255);
    DrawTextCentered(IntroLevelLine(LevelCrt), ScreenCentreX, top + 180);
    if (!Relaxed_Mode)
        DrawTextCentered(IntroTexts[2] + FormatLevelTime(Level_Time / 1000), ScreenCentreX,
                         top + 210);
    SetAlpha(1.0f);
    IntroButtonFade += DeltaSec;
    DevOverlay_Intro();
    if (GameState != STATE_LEVEL_INTRO) return; // "Start" was pushed
    const bool space = KeyHit(VK_SPACE) > 0;
    const bool enter = KeyHit(VK_RETURN) > 0;
    if (space || enter) StartPlaying();
}

void EnterLevelEnd() {
    ContinuePressed = 0;
    // A tip still open from play is neither drawn nor closable here, and would hold the
    // game-over picture back for good: it goes with the board.
    Tips_LevelReset();
    AmbState = AMB_FADE_OUT;
    LevelEndStats(Level_Outcome);
    // A won level moves the saved match on to the next one.
    if (Level_Outcome == LEVEL_WON) SaveMatch(Level_Played + 1, 0);
    AllLevelsDoneShown = 0;
    PanelFade = 0.0f;
    WinPhaseMs = 800;
    LosePhaseMs = 2000;
    FireworkTimer = 0;
    Selection_Active = 0;
    Drag_Active = 0;
}

void LevelEndScreen() {
    Cls();
    Scenery_Draw();
    if (!AppSuspended()) Amb_Update();
    const bool won = Level_Outcome == LEVEL_WON;
    if (won)
        WonScene();
    else
        LostScene();
    SetAlpha(1.0f);
    SetBlend(BLEND_ALPHA);
    SetScale(1.0f, 1.0f);
    const bool won_before =
        Level_Status[Player_Crt][std::clamp(Level_Played, 0, Levels_Columns - 1)] >= 1;
    if (won || won_before) {
        WonButtons();
        WonKeys();
    } else {
        LostButtons();
    }
    Gfx_DrawLayer(10);
    Gfx_DrawLayer(20);
}

void OpenLevelWonDialog() {
    WonDialogX = ScreenCentreX - 200;
    WonDialogY = ScreenCentreY - 100;
    OpenDialog(nullptr, LevelWonDialogDraw, 1);
}

void LevelWonDialogDraw() {
    SetAlpha(1.0f);
    DrawImageRect(ImgFrame, static_cast<float>(WonDialogX), static_cast<float>(WonDialogY), 400,
                  300, 0);
    SetColor(255, 255, 255);
    SetImageFont(FontPS28);
    const int x = WonDialogX + 40;
    const long long counting = Level_EndA;
    DrawTextWrapped("Congratulations!", x, WonDialogY + 30, 392, 0);
    DrawTextWrapped("You have won the level!", x, WonDialogY + 60, 392, 0);
    DrawTextWrapped("Score: " + std::to_string(Level_Score - counting), x, WonDialogY + 100, 392,
                    0);
    DrawTextWrapped("Total Score: " + std::to_string(Score - counting), x, WonDialogY + 160, 392,
                    0);
    WonContinueButton->Update();
    WonContinueButton->Draw();
    if (!Relaxed_Mode) {
        const auto full = static_cast<int>(std::min<std::int64_t>(Level_EndB, INT_MAX));
        const auto current = static_cast<int>(std::clamp<std::int64_t>(Level_EndA, 0, full));
        Candle_Draw(full, current, WonDialogX + 220, WonDialogY + 80);
        SetImageFont(FontPS28);
        DrawTextWrapped("Bonus Score: " + std::to_string(Level_TimeBonus - counting), x,
                        WonDialogY + 130, 392, 0);
    }
    SetAlpha(BoardAlpha);
}

void LevelEnd_CountBonus(float seconds) {
    if (Level_EndA <= 0) return;
    Level_EndA -= static_cast<std::int64_t>(seconds * Bonus_PointsPerSecond);
    if (Level_EndA < 0) Level_EndA = 0;
}

LevelEndKeyAction LevelEnd_WonDialogKey(bool escape, bool enter, bool space, bool click) {
    if (Level_EndA > 0) {
        if (!(escape || enter || space || click)) return LEVEL_END_KEY_NONE;
        Level_EndA = 0;
        return LEVEL_END_KEY_FINISH_COUNT;
    }
    // After the last level both keys close the dialog, so the congratulation and the final
    // score entry are never skipped.
    if (LastLevelPlayed() && (escape || enter)) return LEVEL_END_KEY_CONTINUE;
    if (escape) return LEVEL_END_KEY_MENU;
    if (enter) return LEVEL_END_KEY_NEXT;
    return LEVEL_END_KEY_NONE;
}

void FinalScoreEntry() {
    const int rank = Highscores_EnterMatch(Level_Played);
    OpenHighscores(rank == -1 ? 0 : rank);
    HighscoreDelay = 0;
    Match_DeleteFiles(Player_Crt);
}
