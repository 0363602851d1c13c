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

#include <string>
#include <vector>

ButtonAnim* PanelMainMenuButton = nullptr;

namespace {

// A number with its dark shadow, the bright copy one pixel right and up.
void DrawShadowedNumber(const Panel_Text& t) {
    SetScale(t.scale_x, 1.0f);
    SetColor(16, 2, 2);
    DrawText(t.text, static_cast<float>(t.x - 1), static_cast<float>(t.y + 1));
    SetColor(255, 255, 115);
    DrawText(t.text, static_cast<float>(t.x), static_cast<float>(t.y));
    SetScale(1.0f, 1.0f);
}

// A number's bright copy, its right edge at Panel_ValueRight and its shadow's line top at
// shadow_y, narrowed if it would reach left of `left`.
Panel_Text NumberAt(int value, int shadow_y, int left) {
    SetImageFont(FontPS28);
    Panel_Text t{std::to_string(value), 0, shadow_y - 1, true};
    const int width = TextWidth(t.text), room = Panel_ValueRight - left;
    if (width > room && width > 0) t.scale_x = static_cast<float>(room) / width;
    t.x = Panel_ValueRight - static_cast<int>(width * t.scale_x);
    return t;
}

// Where the number beside a label may start.
int RightOfLabel(const char* label) {
    SetImageFont(FontPS30);
    return Panel_LabelX + TextWidth(label) + Panel_LabelGap;
}

} // namespace

std::vector<Panel_Text> Panel_Layout(int level, int lives, int score) {
    std::vector<Panel_Text> out = {
        {"Level", Panel_LabelX, Panel_LevelY, false},
        {"Lives", Panel_LabelX, Panel_LivesY, false},
        {"Score", Panel_LabelX, Panel_ScoreLabelY, false},
    };
    out.push_back(NumberAt(level, Panel_LevelY + Panel_NumberDrop, RightOfLabel("Level")));
    out.push_back(NumberAt(lives, Panel_LivesY + Panel_NumberDrop, RightOfLabel("Lives")));
    out.push_back(NumberAt(score, Panel_ScoreY, Panel_LabelX)); // the row below its label
    return out;
}

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
    const std::vector<Panel_Text> texts = Panel_Layout(LevelCrt, Lives, Score);
    SetImageFont(FontPS28);
    for (const Panel_Text& t : texts)
        if (t.number) DrawShadowedNumber(t);
    SetImageFont(FontPS30);
    SetColor(255, 255, 115);
    for (const Panel_Text& t : texts)
        if (!t.number) DrawText(t.text, static_cast<float>(t.x), static_cast<float>(t.y));
    SetColor(255, 255, 255);
    if (PanelMainMenuButton) PanelMainMenuButton->UpdateDraw();
}
