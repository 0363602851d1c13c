#include "app/main_menu.h"

#include "app/buttons.h"
#include "app/dev_overlay.h"
#include "app/game_screen.h"
#include "app/highscores_view.h"
#include "app/level_chooser.h"
#include "app/main_loop.h"
#include "app/match.h"
#include "app/options_screen.h"
#include "app/player_screen.h"
#include "app/resources.h"
#include "app/screens.h"
#include "app/tip_view.h"
#include "audio/music.h"
#include "board/clock.h"
#include "board/tips.h"
#include "data/config.h"
#include "data/level_file.h"
#include "data/players.h"
#include "engine/gfx.h"
#include "engine/input.h"
#include "fx/particles.h"
#include "fx/scenery.h"

std::string MenuTexts[12];
std::string IntroTexts[3];
std::vector<ButtonAnim*> MainMenuButtons;
ButtonAnim* PlayerButton = nullptr;
int TitleX = 368, TitleY = 24;

namespace {

void StartTimedMatch() {
    StartMatch(0);
}

void StartRelaxedMatch() {
    StartMatch(1);
}

void OpenPlayerSelect() {
    SetGameState(STATE_PLAYER_SELECT);
}

void OpenQuitDialog() {
    OpenDialog(QuitDialogUpdate, QuitDialogDraw, 0);
}

void OpenHighscoreTable() {
    OpenHighscores(-1);
}

// A player who found the options needs no tip about them.
void OpenOptions() {
    HintCountdown = 0;
    SetGameState(STATE_OPTIONS);
}

// The menu column: the play button on top, then the large buttons 50 px apart.
struct MenuRow {
    int text; // place in MenuTexts
    PushFn push;
};
constexpr MenuRow Menu_Rows[] = {
    {7, StartRelaxedMatch},  {2, OpenPlayerSelect}, {3, OpenOptions},
    {6, OpenHighscoreTable}, {4, OpenQuitDialog},
};

} // namespace

void InitTexts() {
    MenuTexts[1] = "Start";
    MenuTexts[2] = "Select Player";
    MenuTexts[3] = "Options";
    MenuTexts[4] = "Exit";
    MenuTexts[5] = "Bonus Level";
    MenuTexts[6] = "Highscores";
    MenuTexts[7] = "Relaxed Play";
    MenuTexts[8] = "Really want to quit ?";
    MenuTexts[9] = "User ";
    IntroTexts[0] = "Level";
    IntroTexts[1] = "Bonus Level";
    IntroTexts[2] = "Initial Time:   ";
    InitFlowTexts();
    // The tip texts are a table of the tips themselves (board/tips.cpp).
    InitHelpTexts();
}

std::string PlayerCaption() {
    return MenuTexts[9] + Player_Names[Player_Crt];
}

void BuildMainMenu() {
    if (!MainMenuButtons.empty()) return;
    if (MenuTexts[1].empty()) InitTexts();
    MainMenuButtons.push_back(ButtonAnim::CreateType(BUTTON_PLAY, ScreenWidth - 281, 184,
                                                     MenuTexts[1], StartTimedMatch, 0));
    int y = 290;
    for (const MenuRow& row : Menu_Rows) {
        ButtonAnim* b = ButtonAnim::CreateType(BUTTON_MENU, ScreenWidth - 300, y,
                                               MenuTexts[row.text], row.push, 0);
        if (row.push == OpenPlayerSelect) PlayerButton = b;
        MainMenuButtons.push_back(b);
        y += 50;
    }
}

void EnterMainMenu() {
    ShowMouse();
    AmbFadeOut = 1.0f;
    AmbState = AMB_FADE_OUT;
    TitleX = ScreenWidth - 432;
    TitleY = 24;
    if (PlayerButton) PlayerButton->caption = PlayerCaption();
    Particles_Reset();
    SnowSpacing = 0.5f; // the menu's snow falls twice as thick as in play
    Tips_LevelReset();
    ChangeoverActive = 0; // an introduction left early does not wipe on over the menu
    CurPicture = 2;
}

void MainMenuScreen() {
    Scenery_Draw();
    SetBlend(BLEND_ALPHA);
    SetRotation(0);
    SetScale(1, 1);
    SetAlpha(1);
    DrawImage(ImgTitle, static_cast<float>(TitleX), static_cast<float>(TitleY), 0);
    if (!DialogActive && First_Run != 1)
        for (ButtonAnim* b : MainMenuButtons)
            b->UpdateDraw();
    Particles_Draw();
    if (!AppSuspended()) Amb_Update();
    SetScale(1, 1);
    if (Music_NeedsDecoding(Music_MenuTrack))
        Music_LoadTrack(Music_MenuTrack, MUSIC_LOADING_SHADED);
    if (First_Run == 1) OpenNameDialog();
    DevOverlay_Menu();
    Tip_Draw(); // the options tip the main loop offers after a while
}

void StartMatch(int relaxed) {
    Relaxed_Mode = relaxed;
    const bool saved = MatchExists();
    if (First_Run == 1 && !saved) return; // the first start names its player first
    if (saved && LoadMatchFile()) {
        // The button's mode wins over the saved one and is kept for the resumed match.
        Relaxed_Mode = relaxed;
        SaveMatchFile(LevelCrt);
        OpenResumeDialog();
        return;
    }
    SetGameState(STATE_LEVEL_CHOOSER);
}
