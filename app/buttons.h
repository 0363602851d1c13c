// The two kinds of clickable control: the animated caption button of menus and dialogs, and the
// plain picture button of the level chooser and options screen.
#pragma once

#include "engine/gfx.h"

#include <string>

using PushFn = void (*)();

// ButtonAnim::state bits.
enum ButtonStateBit : int {
    BUTTON_OVER = 1,    // the pointer is over the button
    BUTTON_PRESSED = 2, // the left button went down while the pointer was over it
};

// ButtonAnim::CreateType's kinds.
enum ButtonType : int {
    BUTTON_MENU = 0,  // large menu button, 16 shimmer frames
    BUTTON_PLAY = 1,  // large play button
    BUTTON_SMALL = 2, // small button
};

// The ids of the two answers of a yes/no dialog, so one update can tell them apart.
enum DialogAnswerId : int {
    DIALOG_YES = 1000,
    DIALOG_NO = 1001,
};

// Button_Interface::Button_State.
enum InterfaceButtonState : int {
    INTERFACE_IDLE = 0,
    INTERFACE_HOVER = -1,
    INTERFACE_CLICKED = 1, // pressed and released over the button in this pass
};

// Animated caption button: glows and clicks when the pointer enters, calls its push function
// when clicked, and shimmers through its frames every 10 to 17 seconds.
class ButtonAnim {
  public:
    int id = 0;
    int x = 0, y = 0;
    Image* img_off = nullptr;
    Image* img_on = nullptr;
    Image* img_glow_on = nullptr;
    int glow_x = 0, glow_y = 0;
    int img_count = 0;
    int img_dx = 0, img_dy = 0;
    int img_id = 0;
    int anim_time = 0, anim_time_crt = 0;
    int Anim_delay = 0;
    std::string caption;
    Font* caption_font = nullptr;
    PushFn Push_Fn = nullptr;
    int state = 0;      // ButtonStateBit flags
    int key_pushed = 0; // 1 in the pass Enter (or a gamepad's A) pushed it through the focus

    void Update();
    void Draw();
    void UpdateDraw();

    static ButtonAnim* Create(int id, int x, int y, Image* img_off, Image* img_on,
                              Image* img_glow_on, int glow_x, int glow_y, int img_count,
                              int anim_time, const std::string& caption, Font* caption_font,
                              PushFn push_fn);
    // `type` is one of ButtonType.
    static ButtonAnim* CreateType(int type, int x, int y, const std::string& caption,
                                  PushFn push_fn, int id);

    bool PointerOver() const;
    // Pushed in this pass, by a click or through the keyboard's focus (for owners that act on
    // the push themselves, without a push function).
    bool Pushed() const;
};

// Plain picture button: reports hover (-1) and click (1) to the screen that polls it.
class Button_Interface {
  public:
    int x = 0, y = 0;
    int ox = 0, oy = 0;
    int Button_Id = 0;
    Image* image = nullptr;
    int image_id = 0;
    int Default_Image = 0;
    int image_dx = 0, image_dy = 0;
    int Button_State = INTERFACE_IDLE;
    int ClimbingTimer = 0;
    int ButtonDown = 0;

    void CheckMe();
    void Climbing();
};

Button_Interface* Button_InterfaceCreate(int x, int y, int id, Image* image, int image_id);
