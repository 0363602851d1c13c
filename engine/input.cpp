// Keyboard, mouse, gamepad and window state fed by SDL events or by injected ones.
#include "engine/input.h"

#include "engine/keymap.h"
#include "engine/system.h"

#include <SDL.h>

#include <algorithm>
#include <array>

namespace {

struct KeyboardState {
    std::array<bool, 256> down{};
    std::array<int, 256> hits{};
};

// A burst of clicks within one pass is shown a press per pass; beyond a double click the rest
// would only replay long after the player stopped clicking.
constexpr int kMaxUnsampledPresses = 2;

// Presses of one button no pass has shown yet, oldest first, with where the pointer was.
struct UnsampledPresses {
    int count = 0;
    std::array<int, kMaxUnsampledPresses> x{}, y{};
};

struct MouseState {
    std::array<bool, 4> down{};
    std::array<int, 4> hits{};
    std::array<UnsampledPresses, 4> unsampled{};
    int x = 0, y = 0, z = 0;
};

// Typed characters in arrival order; characters arriving while it is full are dropped.
struct CharQueue {
    std::array<int, 256> chars{};
    int head = 0, count = 0;
};

struct WindowState {
    bool focused = true; // no event has said otherwise yet
    bool minimized = false, hidden = false, maximized = false;
    bool terminate = false;
};

// A pad direction or trigger is pressed by its button or by its axis; either source holding it
// holds it, and a press counts only when neither held it before.
struct PadState {
    std::array<bool, PAD_BUTTON_COUNT> by_button{}, by_axis{};
    std::array<int, PAD_BUTTON_COUNT> hits{};
    int connected = 0, removed = 0;
};

// Gamepads SDL has opened for us, by slot; a removal names its pad by instance id.
constexpr int kMaxPads = 8;
std::array<SDL_GameController*, kMaxPads> OpenPads{};
bool PadsStarted = false;

// An axis presses past half way and releases under a quarter, so a stick resting near the
// threshold does not chatter.
constexpr int kAxisPress = 16384, kAxisRelease = 8192;

KeyboardState Keys;
std::array<bool, 256> KeysHeld{}; // left alone by FlushKeys
MouseState Mouse;
PadState Pad;
CharQueue Typed;
WindowState Window;

bool ValidKey(int vk) {
    return vk >= 0 && vk < 256;
}

bool ValidButton(int b) {
    return b >= 1 && b <= 3;
}

void PushChar(int c) {
    if (Typed.count == static_cast<int>(Typed.chars.size())) return;
    Typed.chars[(Typed.head + Typed.count) % Typed.chars.size()] = c;
    ++Typed.count;
}

// Keys that type a control character, as they do in a text field.
void PushControlChar(int vk) {
    if (vk == VK_BACK || vk == VK_TAB || vk == VK_RETURN || vk == VK_ESCAPE) PushChar(vk);
}

// Held arrow keys repeat, for the board's cursor, a name's cursor and the buttons' focus; any
// other key counts only its first press.
bool Repeats(int vk) {
    return vk >= VK_LEFT && vk <= VK_DOWN;
}

void SetKey(int vk, bool down, bool repeat) {
    if (!ValidKey(vk)) return;
    if (down && (!repeat || Repeats(vk))) ++Keys.hits[vk];
    Keys.down[vk] = down;
    KeysHeld[static_cast<std::size_t>(vk)] = down;
}

bool EitherSideDown(int generic) {
    switch (generic) {
    case VK_SHIFT:
        return Keys.down[VK_LSHIFT] || Keys.down[VK_RSHIFT];
    case VK_CONTROL:
        return Keys.down[VK_LCONTROL] || Keys.down[VK_RCONTROL];
    default:
        return Keys.down[VK_LMENU] || Keys.down[VK_RMENU];
    }
}

// A left or right modifier also drives the generic code, held while either side is.
void KeyEvent(int vk, bool down, bool repeat) {
    if (vk <= 0 || !ValidKey(vk)) return;
    SetKey(vk, down, repeat);
    if (int generic = Keymap_GenericModifier(vk))
        SetKey(generic, EitherSideDown(generic), repeat || !down); // a release never counts
    if (down) PushControlChar(vk);
}

void ButtonEvent(int button, bool down) {
    if (!ValidButton(button)) return;
    if (down) {
        ++Mouse.hits[button];
        UnsampledPresses& u = Mouse.unsampled[button];
        if (u.count < kMaxUnsampledPresses) {
            u.x[u.count] = Mouse.x;
            u.y[u.count] = Mouse.y;
            ++u.count;
        }
    }
    Mouse.down[button] = down;
}

// SDL numbers the middle button 2 and the right one 3; the game the other way round.
int GameButton(Uint8 sdl_button) {
    switch (sdl_button) {
    case SDL_BUTTON_LEFT:
        return 1;
    case SDL_BUTTON_RIGHT:
        return 2;
    case SDL_BUTTON_MIDDLE:
        return 3;
    default:
        return 0;
    }
}

// Decodes UTF-8; the game's fonts are 8-bit, so only code points up to 255 are queued.
void TextEvent(const char* utf8) {
    const auto* p = reinterpret_cast<const unsigned char*>(utf8);
    while (p && *p) {
        unsigned c = *p;
        int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : 3;
        if ((c & 0xC0) == 0x80 || c >= 0xF8) { // stray continuation or invalid lead byte
            ++p;
            continue;
        }
        unsigned code = extra == 0 ? c : c & (0x3F >> extra);
        int i = 1;
        for (; i <= extra && (p[i] & 0xC0) == 0x80; ++i)
            code = code << 6 | (p[i] & 0x3F);
        p += i;
        if (i <= extra) continue;                 // truncated sequence
        bool overlong = extra > 0 && code < 0x80; // a disguised ASCII byte, even NUL
        if (!overlong && code <= 255) PushChar(static_cast<int>(code));
    }
}

bool ValidPadButton(int b) {
    return b >= 0 && b < PAD_BUTTON_COUNT;
}

void SetPadSource(std::array<bool, PAD_BUTTON_COUNT>& source, int b, bool down) {
    if (!ValidPadButton(b)) return;
    if (down && !Pad.by_button[b] && !Pad.by_axis[b]) ++Pad.hits[b];
    source[b] = down;
}

// One side of an axis: `more` pressed beyond +threshold, `less` beyond -threshold (-1 none).
void AxisSide(int value, int less, int more) {
    auto update = [](int b, int amount) {
        if (b < 0) return;
        if (amount > kAxisPress) SetPadSource(Pad.by_axis, b, true);
        if (amount < kAxisRelease) SetPadSource(Pad.by_axis, b, false);
    };
    update(more, value);
    update(less, -value);
}

void PadAxisEvent(int axis, int value) {
    switch (axis) {
    case PAD_AXIS_LEFTX:
        AxisSide(value, PAD_LEFT, PAD_RIGHT);
        break;
    case PAD_AXIS_LEFTY: // SDL's y grows downwards
        AxisSide(value, PAD_UP, PAD_DOWN);
        break;
    case PAD_AXIS_TRIGGERLEFT:
        AxisSide(value, -1, PAD_LEFTTRIGGER);
        break;
    case PAD_AXIS_TRIGGERRIGHT:
        AxisSide(value, -1, PAD_RIGHTTRIGGER);
        break;
    default:
        break;
    }
}

void ReleasePad() {
    Pad.by_button.fill(false);
    Pad.by_axis.fill(false);
}

void PadRemoved() {
    if (Pad.connected > 0) --Pad.connected;
    ++Pad.removed;
    ReleasePad(); // the unplugged pad's buttons never report their release
}

int GamePadButton(Uint8 sdl_button) {
    switch (sdl_button) {
    case SDL_CONTROLLER_BUTTON_A:
        return PAD_A;
    case SDL_CONTROLLER_BUTTON_B:
        return PAD_B;
    case SDL_CONTROLLER_BUTTON_X:
        return PAD_X;
    case SDL_CONTROLLER_BUTTON_Y:
        return PAD_Y;
    case SDL_CONTROLLER_BUTTON_BACK:
        return PAD_BACK;
    case SDL_CONTROLLER_BUTTON_START:
        return PAD_START;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
        return PAD_LEFTSHOULDER;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
        return PAD_RIGHTSHOULDER;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return PAD_UP;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return PAD_DOWN;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return PAD_LEFT;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return PAD_RIGHT;
    default:
        return -1;
    }
}

int GamePadAxis(Uint8 sdl_axis) {
    switch (sdl_axis) {
    case SDL_CONTROLLER_AXIS_LEFTX:
        return PAD_AXIS_LEFTX;
    case SDL_CONTROLLER_AXIS_LEFTY:
        return PAD_AXIS_LEFTY;
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT:
        return PAD_AXIS_TRIGGERLEFT;
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT:
        return PAD_AXIS_TRIGGERRIGHT;
    default:
        return -1;
    }
}

// SDL names an added pad by device index and a removed one by instance id.
void OpenPad(int device_index) {
    if (!SDL_IsGameController(device_index)) return;
    for (SDL_GameController*& slot : OpenPads) {
        if (slot) continue;
        slot = SDL_GameControllerOpen(device_index);
        if (slot) ++Pad.connected;
        return;
    }
}

void ClosePad(SDL_JoystickID id) {
    for (SDL_GameController*& slot : OpenPads) {
        if (!slot || SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(slot)) != id) continue;
        SDL_GameControllerClose(slot);
        slot = nullptr;
        PadRemoved();
        return;
    }
}

// Headless runs (tests) never read a real gamepad: only scripted pad events reach them.
void StartPads() {
    if (PadsStarted || !SDL_WasInit(SDL_INIT_VIDEO) || System_Headless()) return;
    PadsStarted = true;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        SDL_Log("input: no gamepads: %s", SDL_GetError());
}

void ReleaseAll() {
    Keys.down.fill(false);
    Mouse.down.fill(false);
    ReleasePad();
}

// A window opened anew (switching between window and full screen) announces only that it is
// shown, not that it is no longer maximised or minimised: read its actual state.
void SyncWithWindowFlags(Uint32 window_id) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_Window* window = SDL_GetWindowFromID(window_id);
    if (!window) return;
    Uint32 flags = SDL_GetWindowFlags(window);
    Window.minimized = (flags & SDL_WINDOW_MINIMIZED) != 0;
    Window.maximized = (flags & SDL_WINDOW_MAXIMIZED) != 0;
    Window.hidden = (flags & SDL_WINDOW_HIDDEN) != 0 || (flags & SDL_WINDOW_SHOWN) == 0;
}

void WindowEvent(const SDL_WindowEvent& e) {
    switch (e.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        Window.focused = true;
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        Window.focused = false;
        ReleaseAll(); // releases happen in another window and would never reach us
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        Window.minimized = true;
        Window.maximized = false;
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
        Window.maximized = true;
        Window.minimized = false;
        break;
    case SDL_WINDOWEVENT_RESTORED:
        Window.minimized = Window.maximized = false;
        break;
    case SDL_WINDOWEVENT_HIDDEN:
        Window.hidden = true;
        break;
    case SDL_WINDOWEVENT_SHOWN:
        Window.hidden = false;
        break;
    case SDL_WINDOWEVENT_CLOSE:
        Window.terminate = true;
        break;
    default:
        break;
    }
    SyncWithWindowFlags(e.windowID);
}

void HandleEvent(const SDL_Event& e) {
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        KeyEvent(Keymap_ToVirtualKey(e.key.keysym.sym, e.key.keysym.scancode),
                 e.type == SDL_KEYDOWN, e.key.repeat != 0);
        break;
    case SDL_TEXTINPUT:
        TextEvent(e.text.text);
        break;
    case SDL_MOUSEMOTION:
        Mouse.x = e.motion.x;
        Mouse.y = e.motion.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        Mouse.x = e.button.x;
        Mouse.y = e.button.y;
        ButtonEvent(GameButton(e.button.button), e.type == SDL_MOUSEBUTTONDOWN);
        break;
    case SDL_MOUSEWHEEL:
        Mouse.z += e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        break;
    case SDL_WINDOWEVENT:
        WindowEvent(e.window);
        break;
    case SDL_CONTROLLERDEVICEADDED:
        OpenPad(e.cdevice.which);
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        ClosePad(e.cdevice.which);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        SetPadSource(Pad.by_button, GamePadButton(e.cbutton.button),
                     e.type == SDL_CONTROLLERBUTTONDOWN);
        break;
    case SDL_CONTROLLERAXISMOTION:
        PadAxisEvent(GamePadAxis(e.caxis.axis), e.caxis.value);
        break;
    case SDL_QUIT:
        Window.terminate = true;
        break;
    default:
        break;
    }
}

SDL_Window* GameWindow() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return nullptr;
    SDL_Window* w = SDL_GetKeyboardFocus();
    return w ? w : SDL_GetMouseFocus();
}

} // namespace

void Input_Poll() {
    if (!SDL_WasInit(SDL_INIT_EVENTS)) return; // nothing to drain before SDL is up
    if (SDL_WasInit(SDL_INIT_VIDEO) && !SDL_IsTextInputActive()) SDL_StartTextInput();
    StartPads();
    SDL_Event e;
    while (SDL_PollEvent(&e))
        HandleEvent(e);
}

int KeyDown(int key) {
    return ValidKey(key) && Keys.down[key] ? 1 : 0;
}

int KeyHeld(int key) {
    return ValidKey(key) && KeysHeld[static_cast<std::size_t>(key)] ? 1 : 0;
}

int KeyHit(int key) {
    if (!ValidKey(key)) return 0;
    int n = Keys.hits[key];
    Keys.hits[key] = 0;
    return n;
}

void FlushKeys() {
    Keys = KeyboardState{};
    Typed = CharQueue{};
}

int GetChar() {
    if (Typed.count == 0) return 0;
    int c = Typed.chars[Typed.head];
    Typed.head = (Typed.head + 1) % static_cast<int>(Typed.chars.size());
    --Typed.count;
    return c;
}

int MouseDown(int button) {
    return ValidButton(button) && Mouse.down[button] ? 1 : 0;
}

int MouseHit(int button) {
    if (!ValidButton(button)) return 0;
    int n = Mouse.hits[button];
    Mouse.hits[button] = 0;
    return n;
}

void FlushMouse() {
    Mouse.down.fill(false);
    Mouse.hits.fill(0);
    Mouse.unsampled.fill(UnsampledPresses{});
}

int Input_SampleButton(int button, int held_last_pass, int* press_x, int* press_y) {
    if (!ValidButton(button)) return 0;
    UnsampledPresses& u = Mouse.unsampled[button];
    if (!held_last_pass) {
        if (u.count == 0) return Mouse.down[button] ? 1 : 0;
        if (press_x) *press_x = u.x[0];
        if (press_y) *press_y = u.y[0];
        for (int i = 1; i < u.count; ++i) {
            u.x[i - 1] = u.x[i];
            u.y[i - 1] = u.y[i];
        }
        --u.count;
        return 1;
    }
    // Held last pass: a press since then means the button went up in between.
    return Mouse.down[button] && u.count == 0 ? 1 : 0;
}

int MouseX() {
    return Mouse.x;
}

int MouseY() {
    return Mouse.y;
}

int MouseZ() {
    return Mouse.z;
}

// The game speaks canvas pixels; the window may be scaled and letterboxed around the canvas.
void MoveMouse(int x, int y) {
    Mouse.x = x;
    Mouse.y = y;
    SDL_Window* window = GameWindow();
    if (!window) return;
    int wx = x, wy = y;
    if (SDL_Renderer* r = SDL_GetRenderer(window))
        SDL_RenderLogicalToWindow(r, static_cast<float>(x), static_cast<float>(y), &wx, &wy);
    SDL_WarpMouseInWindow(window, wx, wy);
}

void HideMouse() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(SDL_DISABLE);
}

void ShowMouse() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(SDL_ENABLE);
}

int PadDown(int button) {
    return ValidPadButton(button) && (Pad.by_button[button] || Pad.by_axis[button]) ? 1 : 0;
}

int PadHit(int button) {
    if (!ValidPadButton(button)) return 0;
    const int n = Pad.hits[button];
    Pad.hits[button] = 0;
    return n;
}

int PadCount() {
    return Pad.connected;
}

int PadRemovedHit() {
    const int n = Pad.removed;
    Pad.removed = 0;
    return n;
}

int AppSuspended() {
    return !Window.focused || Window.minimized || Window.hidden ? 1 : 0;
}

int AppTerminate() {
    bool t = Window.terminate;
    Window.terminate = false;
    return t ? 1 : 0;
}

void Input_InjectKey(int vk, bool down) {
    // A generic modifier stands for its left key, so both codes move together as on a keyboard.
    if (vk == VK_SHIFT) vk = VK_LSHIFT;
    if (vk == VK_CONTROL) vk = VK_LCONTROL;
    if (vk == VK_MENU) vk = VK_LMENU;
    KeyEvent(vk, down, false);
}

void Input_InjectMouseButton(int button, bool down) {
    ButtonEvent(button, down);
}

void Input_InjectMouseMove(int x, int y) {
    Mouse.x = x;
    Mouse.y = y;
}

void Input_InjectWheel(int dz) {
    Mouse.z += dz;
}

void Input_InjectText(const char* utf8) {
    TextEvent(utf8);
}

void Input_InjectClose() {
    Window.terminate = true;
}

void Input_InjectFocus(bool active) {
    SDL_WindowEvent e{};
    e.event = active ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
    WindowEvent(e);
}

void Input_InjectPadAdded() {
    ++Pad.connected;
}

void Input_InjectPadRemoved() {
    PadRemoved();
}

void Input_InjectPadButton(int button, bool down) {
    SetPadSource(Pad.by_button, button, down);
}

void Input_InjectPadAxis(int axis, int value) {
    PadAxisEvent(axis, std::clamp(value, -32768, 32767));
}

bool Input_WindowMinimized() {
    return Window.minimized;
}

bool Input_WindowHidden() {
    return Window.hidden;
}

bool Input_WindowMaximized() {
    return Window.maximized;
}
