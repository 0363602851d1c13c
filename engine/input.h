// Keyboard, mouse and gamepad state, refreshed by Input_Poll (the main loop polls once per pass).
//
// Keys are indexed by Windows virtual-key codes (27 Escape, 13 Enter, 112 F1, 'A'..'Z', '0'..'9')
// so that the game's key tables read the same on every platform.
#pragma once

enum : int {
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,
    VK_SHIFT = 16,
    VK_CONTROL = 17,
    VK_MENU = 18,
    VK_PAUSE = 19,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_PRIOR = 33,
    VK_NEXT = 34,
    VK_END = 35,
    VK_HOME = 36,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_INSERT = 45,
    VK_DELETE = 46,
    VK_F1 = 112,
    VK_F12 = 123,
    VK_LSHIFT = 160,
    VK_RSHIFT = 161,
    VK_LCONTROL = 162,
    VK_RCONTROL = 163,
    VK_LMENU = 164,
    VK_RMENU = 165,
};

// Drains the platform's event queue into the state below. Also records window events
// (focus, minimise, close requests) for AppSuspended and AppTerminate.
void Input_Poll();

int KeyDown(int key);
int KeyHit(int key);  // presses since the last call for this key, then 0
void FlushKeys();     // key flags, hit counters and the typed-character queue
int KeyHeld(int key); // down now, even when a flush since its press made KeyDown forget it
int GetChar();        // next typed character code, 0 when none

// Mouse buttons as MouseDown and MouseHit number them.
enum MouseButton : int {
    MOUSE_LEFT = 1,
    MOUSE_RIGHT = 2,
    MOUSE_MIDDLE = 3,
};

int MouseDown(int button); // MOUSE_LEFT, MOUSE_RIGHT or MOUSE_MIDDLE
int MouseHit(int button);
void FlushMouse();
// Whether the button counts as held for this pass, given what the last pass saw. A click shorter
// than a pass still shows: held now, released on the next pass. A release and a new press since
// the last pass show as the release now and the press on the next pass. A press shown here is
// placed where it happened: its pointer position goes to press_x and press_y (untouched
// otherwise). Called once a pass per button (UpdateMouseState); it takes the presses it shows,
// separately from MouseHit's count.
int Input_SampleButton(int button, int held_last_pass, int* press_x = nullptr,
                       int* press_y = nullptr);
int MouseX();
int MouseY();
int MouseZ(); // wheel position
void MoveMouse(int x, int y);
void HideMouse();
void ShowMouse();

// Gamepad buttons as PadDown and PadHit number them, in the standard controller layout (A is
// the bottom face button). The left stick also drives the four directions: pushed past half way
// it presses one, back under a quarter it releases it; a trigger pulled past half way presses.
enum PadButton : int {
    PAD_A,
    PAD_B,
    PAD_X,
    PAD_Y,
    PAD_BACK,
    PAD_START,
    PAD_LEFTSHOULDER,
    PAD_RIGHTSHOULDER,
    PAD_UP,
    PAD_DOWN,
    PAD_LEFT,
    PAD_RIGHT,
    PAD_LEFTTRIGGER,
    PAD_RIGHTTRIGGER,
    PAD_BUTTON_COUNT,
};

// The gamepad axes the game reads, -32768..32767 (triggers 0..32767).
enum PadAxis : int {
    PAD_AXIS_LEFTX,
    PAD_AXIS_LEFTY,
    PAD_AXIS_TRIGGERLEFT,
    PAD_AXIS_TRIGGERRIGHT,
    PAD_AXIS_COUNT,
};

int PadDown(int button); // held on any connected gamepad
int PadHit(int button);  // presses since the last call for this button, then 0
int PadCount();          // gamepads connected now
int PadRemovedHit();     // gamepads unplugged since the last call, then 0

int AppSuspended(); // 1 while the window is not active (focus lost or minimised)
int AppTerminate(); // 1 once after a close request

// Scripted input and tests: inject events as if they came from the platform (canvas pixels).
void Input_InjectKey(int vk, bool down);
void Input_InjectMouseButton(int button, bool down);
void Input_InjectMouseMove(int x, int y);
void Input_InjectWheel(int dz);
void Input_InjectText(const char* utf8);
void Input_InjectClose();
void Input_InjectFocus(bool active);
// A gamepad plugged in or out, a button, or an axis position (all gamepads count as one).
void Input_InjectPadAdded();
void Input_InjectPadRemoved();
void Input_InjectPadButton(int button, bool down);
void Input_InjectPadAxis(int axis, int value);
// Window state as last seen in events, for the game's suspension rules.
bool Input_WindowMinimized();
bool Input_WindowHidden();
bool Input_WindowMaximized();
