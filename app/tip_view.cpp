#include "app/tip_view.h"

#include "app/buttons.h"
#include "app/game_screen.h"
#include "app/main_loop.h"
#include "app/resources.h"
#include "board/table.h"
#include "board/tips.h"
#include "engine/gfx.h"
#include "engine/input.h"
#include "engine/system.h"

#include <cmath>

namespace {

// Tips are measured in the larger title font, so the panel leaves room around the smaller
// text it is drawn in.
int Tip_MeasureText(const std::string& text, int width) {
    SetImageFont(FontPS28);
    return DrawTextWrapped(text, 0, 0, width, 1);
}

void Tip_DrawText() {
    const int panel_h = TipLook.panel_h > 0 ? TipLook.panel_h : 1;
    const int x = Tip_X + 22;
    // The quotient is a whole number: a panel stretched less than twice keeps the text's offset.
    const int y = Tip_Ratio <= 1.2f ? Tip_Y + 20 * (Tip_Height / panel_h)
                                    : Trunc(Tip_Y + 32.0 * (Tip_Height / panel_h));
    const int width = TipLook.panel_w - 44;
    const std::string text = HintTexts[Tip_Current];
    SetImageFont(FontSans16);
    SetColor(16, 16, 16);
    SetAlpha(0.5f);
    DrawTextWrapped(text, x + 2, y + 2, width, 0);
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
    DrawTextWrapped(text, x, y, width, 0);
}

void Tip_DrawArrow() {
    Tip_ArrowPhase = std::fmod(Tip_ArrowPhase + 0.5f * DeltaMs, 360.0f);
    Tip_ArrowAngle += (Tip_ArrowTarget - Tip_ArrowAngle) * DeltaMs / 1000.0f;
    SetAlpha(0.75f + 0.25f * std::cos(Tip_ArrowPhase * 3.14159265f / 180.0f));
    SetRotation(Tip_ArrowAngle);
    DrawImage(ImgArrowYellow, static_cast<float>(Tip_ArrowX), static_cast<float>(Tip_ArrowY), 0);
    SetRotation(0.0f);
    SetAlpha(1.0f);
}

} // namespace

void TipView_Init() {
    TipLook.panel_w = ImageWidth(ImgInfoPanel);
    TipLook.panel_h = ImageHeight(ImgInfoPanel);
    TipLook.arrow_w = ImageWidth(ImgArrowYellow);
    TipLook.arrow_h = ImageHeight(ImgArrowYellow);
    TipLook.button_w = MenuButtonW;
    TipLook.button_h = MenuButtonH;
    TipLook.interface_w = ImageWidth(ImgIngameInterface);
    TipLook.measure = Tip_MeasureText;
    Tips_LevelReset();
}

void Tip_Draw() {
    if (!Tip_Showing) return;
    SetBlend(BLEND_ALPHA);
    SetRotation(0.0f);
    SetScale(1.0f, 1.0f);
    SetColor(255, 255, 255);
    SetAlpha(1.0f);
    DrawImageRect(ImgInfoPanel, static_cast<float>(Tip_X), static_cast<float>(Tip_Y),
                  static_cast<float>(TipLook.panel_w), static_cast<float>(Tip_Height), 0);
    Tip_DrawText();
    if (Tip_HasButton && TipContinueButton) {
        TipContinueButton->x = Tip_ButtonX;
        TipContinueButton->y = Tip_ButtonY;
        TipContinueButton->UpdateDraw(); // its push closes the tip
    }
    if (Tip_ArrowOn && Tip_Showing) Tip_DrawArrow();
    const bool space = KeyHit(VK_SPACE) > 0;
    const bool enter = KeyHit(VK_RETURN) > 0;
    const bool escape = KeyHit(VK_ESCAPE) > 0;
    if (space || enter || escape) Tip_Close();
    BoardAlpha = Tip_Showing ? 0.75f : 1.0f;
}
