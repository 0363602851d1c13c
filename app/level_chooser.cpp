#include "app/level_chooser.h"

#include "app/buttons.h"
#include "app/game_screen.h"
#include "app/level_flow.h"
#include "app/level_start.h"
#include "app/main_loop.h"
#include "app/match.h"
#include "app/resources.h"
#include "app/screens.h"
#include "data/config.h"
#include "data/level_file.h"
#include "data/players.h"
#include "engine/gfx.h"
#include "engine/input.h"
#include "engine/system.h"

#include <algorithm>

std::vector<Button_Interface*> LevelButtons;
std::vector<Button_Interface*> LevelThumbButtons;
ButtonAnim *ChooserMenuButton = nullptr, *ChooserPrevButton = nullptr, *ChooserNextButton = nullptr,
           *ChooserStartButton = nullptr;
std::string ChooserTexts[5];
int MapPage = 0, MapLastPage = 4;
int PickedButtonId = 0, PickedButtonState = 0;
int TooltipShown = 0, TooltipX = 0, TooltipY = 0;

namespace {

constexpr int Slot_Width = 80, Slot_Height = 60; // the level frame picture
constexpr int Label_Offset = 71;                 // the "-n-" label below the frame

int GapX() {
    return (ScreenWidth - 480) / 7;
}

int GapY() {
    return (ScreenHeight - 300) / 9;
}

bool OnPage(int level) {
    return level > MapPage * Chooser_PerPage && level <= (MapPage + 1) * Chooser_PerPage;
}

int StatusOf(int level) {
    return Level_Status[Player_Crt][level];
}

void ChooserMainMenu() {
    SetGameState(STATE_MAIN_MENU);
}

void ChooserStart() {
    if (LevelCrt > 0) StartLevel(LevelCrt);
}

void DrawNavigation() {
    SetBlend(BLEND_ALPHA);
    SetScale(1, 1);
    for (ButtonAnim* b : Chooser_NavigationButtons()) {
        b->UpdateDraw();
        if (GameState != STATE_LEVEL_CHOOSER) return;
    }
}

void DrawThumbnails() {
    SetScale(0.9f, 0.9f);
    for (Button_Interface* b : LevelThumbButtons) {
        if (!OnPage(b->Button_Id) || !b->image) continue;
        MidHandleImage(b->image);
        const int w = ImageWidth(b->image), h = ImageHeight(b->image);
        DrawImage(b->image, static_cast<float>(b->x + w / 2), static_cast<float>(b->y + h / 2), 0);
    }
    SetScale(1, 1);
}

// A developer may open levels never started while holding the left Control key and X.
bool DeveloperOpensAll() {
    return DevKeys_Enabled && KeyDown(VK_LCONTROL) && KeyDown('X');
}

void DrawLevelFrames() {
    PickedButtonId = PickedButtonState = 0;
    TooltipShown = 0;
    SetImageFont(FontSans16);
    for (Button_Interface* b : LevelButtons) {
        const int n = b->Button_Id;
        if (!OnPage(n)) continue;
        b->image_id = 0;
        b->CheckMe();
        const bool over = b->Button_State != 0;
        b->image_id = Chooser_FrameFor(n, over);
        DrawImage(b->image, static_cast<float>(b->x), static_cast<float>(b->y), b->image_id);
        if (over && StatusOf(n) == 0) {
            TooltipShown = 1;
            TooltipX = MouseXPos;
            TooltipY = MouseYPos - 16;
        }
        DrawTextCentered("-" + std::to_string(n) + "-", Trunc(b->x + b->image_dx * 0.5),
                         b->y + Label_Offset);
        if (b->Button_State == INTERFACE_CLICKED && (StatusOf(n) != 0 || DeveloperOpensAll())) {
            PickedButtonId = n;
            PickedButtonState = 1;
        }
    }
    if (!TooltipShown) return;
    SetColor(255, 255, 255);
    SetImageFont(FontSans12);
    DrawTextCentered("Not available yet !", TooltipX, TooltipY);
}

} // namespace

Chooser_Slot Chooser_SlotOf(int level) {
    const int k = (level - 1) % Chooser_PerPage;
    const int c = k % Chooser_Columns, r = k / Chooser_Columns;
    return {GapX() + c * (GapX() + Slot_Width), GapY() + 10 + r * (GapY() + Slot_Height)};
}

int Chooser_PageOf(int level) {
    return (level - 1) / Chooser_PerPage;
}

int Chooser_FrameFor(int level, bool pointer_over) {
    int frame = pointer_over ? CHOOSER_FRAME_HOVER : CHOOSER_FRAME_NORMAL;
    if (StatusOf(level) == 0) frame = CHOOSER_FRAME_NEVER_STARTED;
    if (pointer_over) return frame;
    if (Level_Skipped[Player_Crt][level]) frame = CHOOSER_FRAME_SKIPPED;
    if (Last_Level[Player_Crt] == level) frame = CHOOSER_FRAME_LAST_LEVEL;
    return frame;
}

void InitChooserTexts() {
    ChooserTexts[1] = "Main Menu";
    ChooserTexts[2] = "Previous";
    ChooserTexts[3] = "Next";
    ChooserTexts[4] = "Start";
}

void BuildLevelChooser() {
    if (!LevelButtons.empty()) return;
    if (ChooserTexts[1].empty()) InitChooserTexts();
    Image* thumb = nullptr;
    for (int n = 1; n <= Chooser_Levels; ++n) {
        const Chooser_Slot s = Chooser_SlotOf(n);
        LevelButtons.push_back(Button_InterfaceCreate(s.x, s.y, n, ImgButtonChooseLevel, 0));
        // A level without a picture shows the last picture there was.
        if (n <= Level_ImagesMax && Level_Images[n]) thumb = Level_Images[n];
        LevelThumbButtons.push_back(Button_InterfaceCreate(s.x, s.y, n, thumb, 0));
    }
    const int y = ScreenHeight - 60;
    ChooserMenuButton =
        ButtonAnim::CreateType(BUTTON_MENU, 16, y, ChooserTexts[1], ChooserMainMenu, 0);
    ChooserPrevButton = ButtonAnim::CreateType(BUTTON_MENU, ScreenWidth - (MenuButtonW + 16) * 2, y,
                                               ChooserTexts[2], Chooser_PreviousPage, 0);
    ChooserNextButton = ButtonAnim::CreateType(BUTTON_MENU, ScreenWidth - (MenuButtonW + 16), y,
                                               ChooserTexts[3], Chooser_NextPage, 0);
    ChooserStartButton = ButtonAnim::CreateType(BUTTON_MENU, ScreenCentreX - MenuButtonW / 2 - 20,
                                                y, ChooserTexts[4], ChooserStart, 0);
}

void RefreshMapMarks() {
    for (int s = 1; s <= Chooser_PerPage; ++s) {
        const int n = s + MapPage * Chooser_PerPage;
        int mark = MAP_MARK_NONE;
        if (Level_Available(n)) mark = StatusOf(n) != 0 ? MAP_MARK_STARTED : MAP_MARK_AVAILABLE;
        Map_Marks[Player_Crt][s] = mark;
    }
}

std::vector<ButtonAnim*> Chooser_NavigationButtons() {
    std::vector<ButtonAnim*> shown = {ChooserMenuButton, ChooserStartButton};
    if (MapPage < MapLastPage) shown.push_back(ChooserNextButton);
    if (MapPage > 0) shown.push_back(ChooserPrevButton);
    return shown;
}

void Chooser_PreviousPage() {
    MapPage = std::max(MapPage - 1, 0);
    Map_Page_A[Player_Crt] = MapPage;
    RefreshMapMarks();
}

void Chooser_NextPage() {
    MapPage = std::min(MapPage + 1, MapLastPage);
    Map_Page_A[Player_Crt] = MapPage;
    RefreshMapMarks();
}

void EnterLevelChooser() {
    LevelCrt = std::max(LevelCrt, 1);
    // A page out of range in the configuration file shows the nearest page.
    MapPage = std::clamp(Map_Page_A[Player_Crt], 0, MapLastPage);
    RefreshMapMarks();
}

void LevelChooserScreen() {
    Cls();
    SetBlend(BLEND_SOLID);
    SetAlpha(1);
    DrawImage(ImgMenuBackground, 0, 0, 0);
    DrawNavigation();
    if (GameState != STATE_LEVEL_CHOOSER) return; // a button left the chooser
    SetBlend(BLEND_ALPHA);
    DrawThumbnails();
    DrawLevelFrames();
    if (PickedButtonState == 1) StartLevel(PickedButtonId);
}

void StartLevel(int n) {
    LevelCrt = n;
    Last_Level[Player_Crt] = n;
    NewMusicPending = 1;
    LevelStart_UseEmbedded();
    // A match without a file starts here, before the level's set-up takes the score it begins
    // with.
    if (!MatchExists()) NewMatch();
    SetGameState(STATE_LEVEL_INTRO);
    SaveMatch(LevelCrt, 0);
}
