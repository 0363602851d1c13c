#include "app/screens.h"

#include "app/game_screen.h"
#include "app/main_loop.h"
#include "app/resources.h"
#include "engine/gfx.h"
#include "engine/input.h"

int TitleX = 368, TitleY = 24;

GameStateScreen GameStateScreens[STATE_COUNT] = {
    {MainMenuScreen, EnterMainMenu}, // 0 main menu
    {GameScreen, EnterPlaying},      // 1 playing a level
    {nullptr, nullptr},              // 2 level chooser
    {nullptr, nullptr},              // 3 player selection
    {nullptr, nullptr},              // 4 options
    {nullptr, nullptr},              // 5 level introduction
    {nullptr, nullptr},              // 6 level end
    {PauseScreen, nullptr},          // 7 paused
    {nullptr, nullptr},              // 8 suspended: drawn by the main loop
};

void SetGameState(int state) {
    FlushKeys(); // no key pressed on the old screen reaches the new one
    bool known = state >= 0 && state < STATE_COUNT; // the paused and suspended rows have none
    if (known && GameStateScreens[state].entry) GameStateScreens[state].entry();
    GameState = state;
}

void Screens_RunRoutine(int state) {
    bool known = state >= 0 && state < STATE_COUNT && GameStateScreens[state].routine;
    GameStateScreens[known ? state : STATE_MAIN_MENU].routine();
}

void EnterMainMenu() {
    ShowMouse();
    TitleX = ScreenWidth - 432;
    TitleY = 24;
}

// The menu stands over the first night sky and village until the animated scenery is drawn
// here; its buttons join it with the menu's own screens.
void MainMenuScreen() {
    SetBlend(BLEND_SOLID);
    DrawImage(ImgSky[0], 0, 0, 0);
    SetBlend(BLEND_ALPHA);
    SetRotation(0);
    SetScale(1, 1);
    SetAlpha(1);
    DrawImage(ImgTitle, static_cast<float>(TitleX), static_cast<float>(TitleY), 0);
}
