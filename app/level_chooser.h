// The level chooser: 30 levels a page in 5 rows of 6, each a thumbnail in a frame with its
// number; levels the player has started can be played again. The page is kept per player.
#pragma once

#include <string>
#include <vector>

class Button_Interface;
class ButtonAnim;

constexpr int Chooser_PerPage = 30;
constexpr int Chooser_Columns = 6;
constexpr int Chooser_Levels = 210; // frames made for levels 1..210; only pages 0..4 show

// Frames of ImgButtonChooseLevel.
enum ChooserFrame : int {
    CHOOSER_FRAME_NORMAL = 0,
    CHOOSER_FRAME_HOVER = 1,
    CHOOSER_FRAME_NEVER_STARTED = 2,
    CHOOSER_FRAME_SKIPPED = 3,
    CHOOSER_FRAME_LAST_LEVEL = 4,
};

// Map marks of a slot.
enum ChooserMark : int {
    MAP_MARK_NONE = 0,
    MAP_MARK_AVAILABLE = 1,
    MAP_MARK_STARTED = 2,
};

extern std::vector<Button_Interface*> LevelButtons;      // level n at index n - 1
extern std::vector<Button_Interface*> LevelThumbButtons; // the level pictures, same places
extern ButtonAnim *ChooserMenuButton, *ChooserPrevButton, *ChooserNextButton, *ChooserStartButton;
extern std::string ChooserTexts[5]; // 1 "Main Menu", 2 "Previous", 3 "Next", 4 "Start"
extern int MapPage, MapLastPage;
extern int PickedButtonId, PickedButtonState;
// Where "Not available yet !" is drawn in this pass; TooltipShown 0 when it is not.
extern int TooltipShown, TooltipX, TooltipY;

// Top-left corner of level n's slot on its page.
struct Chooser_Slot {
    int x = 0, y = 0;
};
Chooser_Slot Chooser_SlotOf(int level);
// The page level n is shown on.
int Chooser_PageOf(int level);
// The frame a level's button shows for the current player, with the pointer over it or not.
int Chooser_FrameFor(int level, bool pointer_over);

// Fills ChooserTexts; once at start-up.
void InitChooserTexts();
// Makes both button lists and the navigation buttons; once at start-up, after the pictures.
void BuildLevelChooser();
// Marks of the current page's 30 slots in the current player's Map_Marks.
void RefreshMapMarks();
// The navigation buttons the current page shows: "Previous" not on the first page, "Next"
// not on the last.
std::vector<ButtonAnim*> Chooser_NavigationButtons();
void Chooser_PreviousPage();
void Chooser_NextPage();

// Entry action and screen routine of the level chooser.
void EnterLevelChooser();
void LevelChooserScreen();

// Plays level n: on to its introduction, with a new match unless one is saved.
void StartLevel(int n);
