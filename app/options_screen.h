// The options screen: three pages chosen by buttons on its left. Settings (three volume sliders,
// the scenery's brightness, the slow-computer and full-screen switches), three help pages with
// pictures and texts, and the credits. Every change takes effect at once and is saved at once.
#pragma once

#include <string>
#include <vector>

class ButtonAnim;
class Button_Interface;

// The pages; each is also the id of the button that shows it.
enum OptionsPage : int {
    OPTIONS_SETTINGS = 0,
    OPTIONS_HELP = 1,
    OPTIONS_CREDITS = 2,
};

// The controls of the settings page, by Button_Id.
enum OptionsControl : int {
    CONTROL_MUSIC = 10,
    CONTROL_FX = 11,
    CONTROL_AMBIENT = 12,
    CONTROL_DARKNESS = 13, // right is darkest: the slider shows 1 - Bg_Light
    CONTROL_FULL_SCREEN = 14,
    CONTROL_SLOW_PC = 15,
};

// A slider's cursor runs from Slider_Left to Slider_Left + Slider_Span; its value is the share.
constexpr int Slider_Left = 423;
constexpr int Slider_Span = 192;
constexpr int Help_PageCount = 3;

extern std::string HelpTexts[Help_PageCount];
extern std::vector<ButtonAnim*> Options_Buttons;
extern std::vector<Button_Interface*> Options_Controls;
extern std::vector<Button_Interface*> Help_Arrows;
extern int Options_Page;                  // one of OptionsPage; kept from one visit to the next
extern int Options_Windowed;              // the full-screen switch's copy of WindowedMode
extern Button_Interface* Options_Dragged; // the slider cursor being moved, or null
extern int Help_Page;                     // 0 .. Help_PageCount - 1

void InitHelpTexts();
void BuildOptionsScreen(); // start-up, once
void EnterOptionsScreen(); // entry action of the options state
void OptionsScreen();      // every pass in the options state
// The value a slider shows, 0..1 (for the state dump and tests).
float Options_SliderValue(const Button_Interface* slider);
