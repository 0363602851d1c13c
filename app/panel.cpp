#include "app/panel.h"

#include "app/buttons.h"
#include "app/game_screen.h"
#include "app/main_loop.h"
#include "app/resources.h"
#include "app/screens.h"
#include "board/clock.h"
#include "board/hammers.h"
#include "board/matching.h"
#include "data/level_file.h"
#include "engine/gfx.h"
#include "fx/candle.h"

#include <algorithm>
#include <string>

ButtonAnim* PanelMainMenuButton = nullptr;

namespace {

// A number with its dark shadow, the bright copy one pixel right and up.
void DrawShadowedNumber(int value, int x, int y) {
    const std::string text = std::to_string(value);
    SetColor(16, 2, 2);
    DrawText(text, static_cast<float>(x), static_cast<float>(y));
    SetColor(255, 255, 115);
    DrawText(text, static_cast<float>(x + 1), static_cast<float>(y - 1));
}

// A label at its place, moved left just enough to keep a gap before the number beside it
// (the labels' font runs wider than the panel's layout allows at some sizes).
void DrawLabel(const char* text, int x, int y, int number_x) {
    const int left = std::min(x, number_x - 6 - TextWidth(text));
    DrawText(text, static_cast<float>(left), static_cast<float>(y));
}

} // namespace

void Panel_MainMenuPush() {
    GameState = STATE_PAUSED;
}

void Panel_BuildButton() {
    HammerPics = Hammer_Pictures{{ImgHammer1, ImgHammer2, ImgHammer3},
                                 {ImgMapHammer1, ImgMapHammer2, ImgMapHammer3},
                                 {ImgHammerOval2, ImgHammerOval3}};
    if (PanelMainMenuButton) return;
    if (FlowTexts[1].empty()) InitFlowTexts();
    PanelMainMenuButton =
        ButtonAnim::CreateType(BUTTON_SMALL, 689, 542, FlowTexts[1], Panel_MainMenuPush, 0);
}

void Panel_Draw() {
    SetColor(28, 43, 69);
    SetBlend(BLEND_ALPHA);
    SetAlpha(1.0f);
    SetScale(1.0f, 1.0f);
    DrawRect(685, 112, 95, 145); // behind the candle
    DrawRect(686, 418, 97, 107); // behind the hammer meter
    SetColor(255, 255, 255);
    Hammer_DrawMeter();
    SetColor(255, 255, 255);
    SetBlend(BLEND_ALPHA);
    SetAlpha(1.0f);
    if (!Relaxed_Mode) Candle_Draw(Level_Time + Time_Bought, Time_Left, 701, 74);
    SetBlend(BLEND_ALPHA);
    DrawImage(ImgIngameInterface, 675, 12, 0);
    SetImageFont(FontPS28);
    DrawShadowedNumber(LevelCrt, 749, 272);
    DrawShadowedNumber(Lives, 749, 315);
    DrawShadowedNumber(Score, 714, 387);
    SetImageFont(FontPS30);
    SetColor(255, 255, 115);
    DrawLabel("Level", 693, 271, 749);
    DrawLabel("Lives", 693, 314, 749);
    DrawLabel("Score", 710, 350, 800); // the score stands on the row below
    SetColor(255, 255, 255);
    if (PanelMainMenuButton) PanelMainMenuButton->UpdateDraw();
}
