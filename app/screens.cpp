#include "app/screens.h"

#include "app/game_screen.h"
#include "app/keyboard_nav.h"
#include "app/level_chooser.h"
#include "app/level_flow.h"
#include "app/main_loop.h"
#include "app/main_menu.h"
#include "app/options_screen.h"
#include "app/player_screen.h"
#include "engine/input.h"

GameStateScreen GameStateScreens[STATE_COUNT] = {
    {MainMenuScreen, EnterMainMenu},         // 0 main menu
    {GameScreen, EnterPlaying},              // 1 playing a level
    {LevelChooserScreen, EnterLevelChooser}, // 2 level chooser
    {PlayerScreen, EnterPlayerScreen},       // 3 player selection
    {OptionsScreen, EnterOptionsScreen},     // 4 options
    {LevelIntroScreen, EnterLevelIntro},     // 5 level introduction
    {LevelEndScreen, EnterLevelEnd},         // 6 level end
    {PauseScreen, nullptr},                  // 7 paused
    {nullptr, nullptr},                      // 8 suspended: drawn by the main loop
};

void SetGameState(int state) {
    FlushKeys(); // no key pressed on the old screen reaches the new one
    bool known = state >= 0 && state < STATE_COUNT; // the paused and suspended rows have none
    if (known && GameStateScreens[state].entry) GameStateScreens[state].entry();
    GameState = state;
}

void Screens_RunRoutine(int state) {
    bool known = state >= 0 && state < STATE_COUNT && GameStateScreens[state].routine;
    KeyNav_ScreenTurn(true);
    GameStateScreens[known ? state : STATE_MAIN_MENU].routine();
    KeyNav_ScreenTurn(false);
}
