#include "app/options_screen.h"

#include "app/buttons.h"
#include "app/keyboard_nav.h"
#include "app/main_loop.h"
#include "app/resources.h"
#include "app/screens.h"
#include "audio/music.h"
#include "data/config.h"
#include "data/players.h"
#include "engine/gfx.h"
#include "engine/input.h"
#include "engine/system.h"

#include <algorithm>
#include <cmath>

std::string HelpTexts[Help_PageCount];
std::vector<ButtonAnim*> Options_Buttons;
std::vector<Button_Interface*> Options_Controls;
std::vector<Button_Interface*> Help_Arrows;
int Options_Page = OPTIONS_SETTINGS;
int Options_Windowed = 1;
Button_Interface* Options_Dragged = nullptr;
int Help_Page = 0;

namespace {

constexpr int Help_ArrowLeft = 20, Help_ArrowRight = 21;

// The value each slider last wrote, so a cursor the pointer rests on is not written again every
// pass: the file only changes when the value does.
std::string Slider_Saved[4];

void ShowSettings() {
    Options_Page = OPTIONS_SETTINGS;
}
void ShowHelp() {
    Options_Page = OPTIONS_HELP;
}
void ShowCredits() {
    Options_Page = OPTIONS_CREDITS;
}
void BackToMenu() {
    SetGameState(STATE_MAIN_MENU);
}

bool Player_Valid() {
    return Player_Crt >= 0 && Player_Crt < Players_Max;
}

bool Is_Slider(const Button_Interface* c) {
    return c->Button_Id >= CONTROL_MUSIC && c->Button_Id <= CONTROL_DARKNESS;
}

// The setting a slider stands for: its value 0..1 read and written.
float Slider_Get(int id) {
    if (id == CONTROL_DARKNESS) return 1.0f - Bg_Light;
    if (!Player_Valid()) return 0.0f;
    if (id == CONTROL_MUSIC) return MusicVolume[Player_Crt];
    if (id == CONTROL_FX) return FxVolume[Player_Crt];
    return AmbientVolume[Player_Crt];
}

void Slider_Apply(int id, float v) {
    if (id == CONTROL_DARKNESS) {
        Bg_Light = 1.0f - v;
        return;
    }
    if (!Player_Valid()) return;
    if (id == CONTROL_MUSIC) MusicVolume[Player_Crt] = v;
    if (id == CONTROL_FX) FxVolume[Player_Crt] = v;
    if (id == CONTROL_AMBIENT) AmbientVolume[Player_Crt] = v;
}

void Slider_Save(int id) {
    static const char* const keys[4] = {"MUSIC_VOL", "FX_VOL", "AMBIENT_VOL", "BG_LIGHT"};
    const int n = id - CONTROL_MUSIC;
    const std::string value = Config_FormatReal(id == CONTROL_DARKNESS ? Bg_Light : Slider_Get(id));
    if (Slider_Saved[n] == value) return;
    SetConfigValue(keys[n], value);
    Slider_Saved[n] = value;
}

void Slider_Place(Button_Interface* c) {
    c->x = Trunc(Slider_Left + Slider_Span * static_cast<double>(Slider_Get(c->Button_Id)));
}

// While the left button is held the cursor follows the pointer sideways; a pointer that strays
// more than 40 px below or 5 px above the cursor lets go of it without saving.
void Slider_Drag(Button_Interface* c) {
    if (MouseDown(MOUSE_LEFT)) {
        if (MouseYPos - c->y > 40 || c->y - MouseYPos > 5) {
            Options_Dragged = nullptr;
            return;
        }
        if (MouseDX == 0) return;
        c->x = std::clamp(c->x + MouseDX, Slider_Left, Slider_Left + Slider_Span);
        Slider_Apply(c->Button_Id, Options_SliderValue(c));
        return;
    }
    Slider_Save(c->Button_Id);
    Options_Dragged = nullptr;
}

// Left and Right on a focused slider move it by a twentieth of its range, applied and saved as a
// drag's value is. Steps that land next to a twentieth land on it, so repeated presses do not
// drift by the float's rounding.
void Slider_Step(Button_Interface* c, int steps) {
    constexpr float kStep = 1.0f / 20.0f;
    float v = Slider_Get(c->Button_Id) + kStep * static_cast<float>(steps);
    const float grid = std::round(v / kStep) * kStep;
    if (std::abs(v - grid) < 1e-4f) v = grid;
    Slider_Apply(c->Button_Id, std::clamp(v, 0.0f, 1.0f));
    Slider_Place(c);
    Slider_Save(c->Button_Id);
}

void Toggle_FullScreen() {
    Options_Windowed = Options_Windowed == 1 ? 0 : 1;
    WindowedMode = Options_Windowed;
    OpenGameWindow();
    SetConfigValue("WINDOWED_MODE", std::to_string(WindowedMode));
}

void Toggle_SlowPc() {
    Slow_PC = 1 - Slow_PC;
    SetConfigValue("SLOW_PC", std::to_string(Slow_PC));
}

int Control_Frame(const Button_Interface* c) {
    if (c->Button_Id == CONTROL_FULL_SCREEN) return 1 - Options_Windowed; // ticked in full screen
    if (c->Button_Id == CONTROL_SLOW_PC) return Slow_PC ? 1 : 0;
    return c->image_id;
}

void SettingsPage() {
    DrawImage(ImgOptSettings, 344, 127, 0);
    for (Button_Interface* c : Options_Controls) {
        c->CheckMe();
        if (Is_Slider(c)) {
            KeyNav_Sideways(c);
            if (const int steps = KeyNav_TakeSlide(c); steps != 0) Slider_Step(c, steps);
        }
        SetBlend(BLEND_ALPHA);
        DrawImage(c->image, static_cast<float>(c->x), static_cast<float>(c->y), Control_Frame(c));
        const bool clicked = c->Button_State > 0;
        if (c->Button_Id == CONTROL_FULL_SCREEN && clicked) Toggle_FullScreen();
        if (c->Button_Id == CONTROL_SLOW_PC && clicked) Toggle_SlowPc();
        if (Is_Slider(c) && c->Button_State != INTERFACE_IDLE) Options_Dragged = c;
        if (c == Options_Dragged) Slider_Drag(c);
    }
}

void HelpPage() {
    static Image* const* pictures[Help_PageCount] = {&ImgHelp1, &ImgHelp2, &ImgHelp3};
    static const int picture_x[Help_PageCount] = {364, 364, 368};
    Help_Page = std::clamp(Help_Page, 0, Help_PageCount - 1);
    SetImageFont(FontSans12);
    DrawImage(*pictures[Help_Page], static_cast<float>(picture_x[Help_Page]), 151, 0);
    DrawTextWrapped(HelpTexts[Help_Page], 434, 153, 280, 0);
    for (Button_Interface* a : Help_Arrows) {
        // The arrow with no page beyond it is hidden: it takes neither clicks nor the focus.
        const bool left = a->Button_Id == Help_ArrowLeft;
        if (left ? Help_Page == 0 : Help_Page == Help_PageCount - 1) continue;
        a->CheckMe();
        SetBlend(BLEND_ALPHA);
        DrawImage(a->image, static_cast<float>(a->x), static_cast<float>(a->y), a->image_id);
        if (a->Button_State > 0) Help_Page += left ? -1 : 1;
    }
}

void CreditsPage() {
    DrawImage(ImgOptCredits, 404, 169, 0);
    SetImageFont(nullptr);
    DrawText("Brimlet : Snowmere 1.10", 367, 545);
}

void DrawBackground() {
    SetScale(1.0f, 1.0f);
    SetAlpha(1.0f);
    const int b = Trunc(255.0 * Bg_Light);
    int r = 255, g = 255, bl = 255;
    GetColor(&r, &g, &bl);
    SetColor(b, b, b);
    DrawImage(ImgMenuBackground, 0, 0, 0);
    SetColor(r, g, bl);
}

void DrawPageButtons() {
    for (ButtonAnim* button : Options_Buttons) {
        button->Update();
        button->Draw();
        if (button->id != Options_Page) continue;
        const float a = GetAlpha();
        SetAlpha(a / 3.0f);
        DrawImage(ImgButtonMenuSelected, static_cast<float>(button->x),
                  static_cast<float>(button->y), 0);
        SetAlpha(a);
    }
}

} // namespace

void InitHelpTexts() {
    HelpTexts[0] =
        "Match three pieces in a row to remove them from the board. Click on adjacent pieces to "
        "swap them. Each match makes points for the highscore. Making bigger matches scores more "
        "points.\r\nTo finish a level, make matches over the ice tiles and remove all of them from "
        "the board. Some ice tiles are covered with snow. To free these backgrounds, there have to "
        "be two matches over these tiles. The time to remove all ice tiles is limited.\r\n\r\n"
        "Clear the board before the candle burns completely down.\r\n\r\nSome pieces are locked "
        "by chains. Destroy the chains by making matches with the locked piece. There are even "
        "double-locked pieces. Two matches are needed to remove the chains.";
    HelpTexts[1] =
        "After making a certain number of matches, the hammer becomes available. Click on the "
        "hammer to use it. There are three different hammers.\r\n\r\nThe first hammer simply "
        "removes a piece from the board. The piece must not be locked by a chain, nor will the "
        "hammer remove an ice tile behind the gem. To gain access to the next hammer, score more "
        "points and do not use the first hammer. The second hammer is more powerful, it destroys "
        "a piece and the background tile behind the piece.\r\n\r\nTo get the third and most "
        "powerful hammer, do not use the second hammer and gain more points.\r\n\r\nThe third "
        "hammer will destroy all pieces of the same color with their background tiles.";
    HelpTexts[2] =
        "There are some special items:\r\n\r\nIce crystals match with every piece to make three "
        "in a row.\r\n\r\n\r\nBombs explode when they are part of a match. The explosion will "
        "remove the tile behind the piece, no matter if it is ice or snow. Also tiles and chains "
        "next to the explosion will be destroyed.\r\n\r\n\r\nSnowballs remove a full line of "
        "pieces and their backgrounds.\r\n\r\n\r\nMaking a match of 3 icecubes will rebuild the "
        "tiles behind them. This can be avoided if the icecubes fall into a match instead of "
        "being moved into a match.";
}

void BuildOptionsScreen() {
    if (!Options_Buttons.empty()) return;
    if (HelpTexts[0].empty()) InitHelpTexts();
    struct Row {
        const char* caption;
        int y, id;
        PushFn push;
    };
    static const Row rows[] = {{"Settings", 348, OPTIONS_SETTINGS, ShowSettings},
                               {"Credits", 405, OPTIONS_CREDITS, ShowCredits},
                               {"Help", 462, OPTIONS_HELP, ShowHelp},
                               {"Main Menu", 519, -1, BackToMenu}};
    for (const Row& r : rows)
        Options_Buttons.push_back(
            ButtonAnim::CreateType(BUTTON_MENU, 114, r.y, r.caption, r.push, r.id));
    const int slider_y[4] = {195, 267, 339, 411};
    for (int i = 0; i < 4; ++i)
        Options_Controls.push_back(
            Button_InterfaceCreate(Slider_Left, slider_y[i], CONTROL_MUSIC + i, ImgOptCursor, 0));
    Options_Controls.push_back(
        Button_InterfaceCreate(584, 513, CONTROL_FULL_SCREEN, ImgOptCheck, 0));
    Options_Controls.push_back(Button_InterfaceCreate(584, 468, CONTROL_SLOW_PC, ImgOptCheck, 0));
    Help_Arrows.push_back(Button_InterfaceCreate(369, 528, Help_ArrowLeft, ImgOptArrowLeft, 0));
    Help_Arrows.push_back(Button_InterfaceCreate(649, 528, Help_ArrowRight, ImgOptArrowRight, 0));
    Options_Windowed = WindowedMode;
}

void EnterOptionsScreen() {
    // The screen is built before the settings are read; the switch shows the display as it is.
    Options_Windowed = WindowedMode;
    Help_Page = 0;
    Options_Dragged = nullptr;
    for (Button_Interface* c : Options_Controls)
        if (Is_Slider(c)) Slider_Place(c);
    for (std::string& saved : Slider_Saved)
        saved.clear();
    Amb_Preview();
}

void OptionsScreen() {
    DrawBackground();
    DrawPageButtons();
    if (GameState != STATE_OPTIONS) return; // "Main Menu" was pushed
    if (KeyHit(VK_ESCAPE) > 0) {
        SetGameState(STATE_MAIN_MENU);
        return;
    }
    SetBlend(BLEND_ALPHA);
    DrawImage(ImgFrame, 344, 127, 0);
    if (Options_Page == OPTIONS_SETTINGS)
        SettingsPage();
    else if (Options_Page == OPTIONS_HELP)
        HelpPage();
    else
        CreditsPage();
    if (!AppSuspended()) Amb_Keep();
}

float Options_SliderValue(const Button_Interface* slider) {
    return static_cast<float>(slider->x - Slider_Left) / static_cast<float>(Slider_Span);
}
