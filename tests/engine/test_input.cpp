// Keyboard, mouse and window state, through injected input and through real SDL events.
#include "engine/input.h"

#include "engine/frame.h"
#include "engine/keymap.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class Input : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError(); }
    static void TearDownTestSuite() { SDL_Quit(); }
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }

    static void Reset() {
        Input_Poll();
        FlushKeys();
        FlushMouse();
        Input_InjectFocus(true);
        AppTerminate();
    }

    static void PushKey(SDL_Keycode sym, SDL_Scancode scan, bool down, bool repeat = false) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.sym = sym;
        e.key.keysym.scancode = scan;
        e.key.repeat = repeat;
        SDL_PushEvent(&e);
    }
    static void PushButton(Uint8 button, bool down, int x, int y) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = button;
        e.button.x = x;
        e.button.y = y;
        SDL_PushEvent(&e);
    }
    static void PushWindow(SDL_WindowEventID id) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = id;
        SDL_PushEvent(&e);
    }
    static void PushText(const char* utf8) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        std::strncpy(e.text.text, utf8, sizeof e.text.text - 1);
        SDL_PushEvent(&e);
    }
    static std::string DrainChars() {
        std::string out;
        while (int c = GetChar())
            out += static_cast<char>(c);
        return out;
    }
};

// The gamepad under the keyboard play: held arrows repeat, the stick presses and lets go with
// some slack, a stick and the d-pad pressing the same way count once, SDL's controller buttons
// reach their game codes, and an unplugged pad lets go of everything.
class PadInput : public Input {
  protected:
    void SetUp() override { ResetPad(); }
    void TearDown() override { ResetPad(); }

    static void ResetPad() {
        Input_Poll();
        FlushKeys();
        for (int axis = 0; axis < PAD_AXIS_COUNT; ++axis)
            Input_InjectPadAxis(axis, 0);
        for (int b = 0; b < PAD_BUTTON_COUNT; ++b) {
            Input_InjectPadButton(b, false);
            PadHit(b);
        }
        while (PadCount() > 0)
            Input_InjectPadRemoved();
        PadRemovedHit();
    }
};

} // namespace

TEST_F(Input, KeyHitCountsPressesSinceTheLastCall) {
    for (int i = 0; i < 2; ++i) {
        Input_InjectKey('E', true);
        Input_InjectKey('E', false);
    }
    EXPECT_EQ(KeyHit('E'), 2);
    EXPECT_EQ(KeyHit('E'), 0);

    // Auto-repeat of a held key is one press, not many.
    PushKey(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, true);
    PushKey(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, true, true);
    PushKey(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, true, true);
    Input_Poll();
    EXPECT_EQ(KeyDown(VK_ESCAPE), 1);
    EXPECT_EQ(KeyHit(VK_ESCAPE), 1);
    PushKey(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, false);
    Input_Poll();
    EXPECT_EQ(KeyDown(VK_ESCAPE), 0);

    for (int key : {-1, 256, 1000}) {
        EXPECT_EQ(KeyDown(key), 0);
        EXPECT_EQ(KeyHit(key), 0);
    }
}

// A tap shorter than a pass: the key is up again by the time the game looks, but the hit stays.
// A dialog flushes the keys every pass; a chord held through it is still seen as held.
TEST_F(Input, KeyHeldOutlastsAFlushUntilTheKeyIsLetGo) {
    PushKey(SDLK_F1, SDL_SCANCODE_F1, true);
    Input_Poll();
    FlushKeys();
    EXPECT_EQ(KeyDown(VK_F1), 0);
    EXPECT_EQ(KeyHeld(VK_F1), 1);
    PushKey(SDLK_F1, SDL_SCANCODE_F1, false);
    Input_Poll();
    EXPECT_EQ(KeyHeld(VK_F1), 0);
    EXPECT_EQ(KeyHeld(-1) + KeyHeld(256), 0);
}

TEST_F(Input, AKeyTappedWithinOnePassStillCountsAsAHit) {
    PushKey(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, true);
    PushKey(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, false);
    PushKey(SDLK_RETURN, SDL_SCANCODE_RETURN, true);
    PushKey(SDLK_RETURN, SDL_SCANCODE_RETURN, false);
    Input_Poll();
    EXPECT_EQ(KeyDown(VK_ESCAPE), 0);
    EXPECT_EQ(KeyHit(VK_ESCAPE), 1);
    EXPECT_EQ(KeyDown(VK_RETURN), 0);
    EXPECT_EQ(KeyHit(VK_RETURN), 1);
}

TEST_F(Input, ModifiersSetTheirSideAndTheGenericCode) {
    PushKey(SDLK_LCTRL, SDL_SCANCODE_LCTRL, true);
    Input_Poll();
    EXPECT_EQ(KeyDown(VK_LCONTROL), 1);
    EXPECT_EQ(KeyDown(VK_CONTROL), 1);
    EXPECT_EQ(KeyHit(VK_CONTROL), 1);

    PushKey(SDLK_RCTRL, SDL_SCANCODE_RCTRL, true);
    PushKey(SDLK_LCTRL, SDL_SCANCODE_LCTRL, false);
    Input_Poll();
    EXPECT_EQ(KeyDown(VK_LCONTROL), 0);
    EXPECT_EQ(KeyDown(VK_CONTROL), 1); // the right one is still held
    EXPECT_EQ(KeyHit(VK_CONTROL), 1);  // the right press; the left release is no press

    PushKey(SDLK_RCTRL, SDL_SCANCODE_RCTRL, false);
    Input_Poll();
    EXPECT_EQ(KeyDown(VK_CONTROL), 0);

    Input_InjectKey(VK_SHIFT, true);
    EXPECT_EQ(KeyDown(VK_LSHIFT), 1);
    EXPECT_EQ(KeyDown(VK_SHIFT), 1);
}

TEST(Keymap, SdlKeysBecomeWindowsVirtualKeyCodes) {
    struct Case {
        SDL_Keycode sym;
        SDL_Scancode scan;
        int vk;
    };
    const Case cases[] = {
        {SDLK_a, SDL_SCANCODE_A, 'A'},
        {SDLK_z, SDL_SCANCODE_Z, 'Z'},
        {SDLK_0, SDL_SCANCODE_0, '0'},
        {SDLK_9, SDL_SCANCODE_9, '9'},
        {SDLK_F1, SDL_SCANCODE_F1, 112},
        {SDLK_F12, SDL_SCANCODE_F12, 123},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, 37},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, 40},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, 13},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 13},
        {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 8},
        {SDLK_DELETE, SDL_SCANCODE_DELETE, 46},
        {SDLK_HOME, SDL_SCANCODE_HOME, 36},
        {SDLK_END, SDL_SCANCODE_END, 35},
        {SDLK_PAGEUP, SDL_SCANCODE_PAGEUP, 33},
        {SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, 34},
        {SDLK_KP_0, SDL_SCANCODE_KP_0, 96},
        {SDLK_KP_9, SDL_SCANCODE_KP_9, 105},
        {SDLK_RALT, SDL_SCANCODE_RALT, 165},
        {SDLK_MINUS, SDL_SCANCODE_MINUS, 189},
        {SDLK_q, SDL_SCANCODE_A, 'Q'}, // the layout decides letters
        {0xE9, SDL_SCANCODE_2, '2'},   // a layout character without a code: the key's place
        {0xF6, SDL_SCANCODE_SEMICOLON, 186},
        {SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vk);
        EXPECT_EQ(Keymap_ToVirtualKey(c.sym, c.scan), c.vk);
    }
}

TEST_F(Input, TypedCharactersQueueInOrderAndKeepOnlyEightBitCodes) {
    PushText("a\xC3\xA9"); // a, e-acute
    PushText("\xE2\x82\xAC"
             "b");        // euro sign (above 255, dropped), b
    PushText("\xC3");     // truncated sequence
    PushText("\xC0\x80"); // NUL in disguise
    PushKey(SDLK_RETURN, SDL_SCANCODE_RETURN, true);
    Input_Poll();
    EXPECT_EQ(GetChar(), 'a');
    EXPECT_EQ(GetChar(), 0xE9);
    EXPECT_EQ(GetChar(), 'b');
    EXPECT_EQ(GetChar(), 13); // Enter types a carriage return
    EXPECT_EQ(GetChar(), 0);

    std::string many(300, 'x');
    many[0] = 'y';
    Input_InjectText(many.c_str());
    std::string got = DrainChars();
    EXPECT_EQ(got.size(), 256u);
    EXPECT_EQ(got[0], 'y');

    Input_InjectText("abc");
    FlushKeys();
    EXPECT_EQ(GetChar(), 0);
}

TEST_F(Input, MouseButtonsPositionAndWheel) {
    PushButton(SDL_BUTTON_RIGHT, true, 120, 340);
    PushButton(SDL_BUTTON_MIDDLE, true, 121, 341);
    Input_Poll();
    EXPECT_EQ(MouseDown(2), 1);
    EXPECT_EQ(MouseDown(3), 1);
    EXPECT_EQ(MouseDown(1), 0);
    EXPECT_EQ(MouseX(), 121);
    EXPECT_EQ(MouseY(), 341);
    EXPECT_EQ(MouseHit(2), 1);
    EXPECT_EQ(MouseHit(2), 0);

    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.y = 2;
    SDL_PushEvent(&wheel);
    wheel.wheel.y = 1;
    wheel.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    SDL_PushEvent(&wheel);
    int z0 = MouseZ();
    Input_Poll();
    EXPECT_EQ(MouseZ() - z0, 1);

    Input_InjectMouseButton(1, true);
    FlushMouse();
    EXPECT_EQ(MouseDown(1), 0);
    EXPECT_EQ(MouseHit(1), 0);
    EXPECT_EQ(MouseHit(3), 0); // flushed too
    for (int b : {0, 4, -1})
        EXPECT_EQ(MouseHit(b) + MouseDown(b), 0);
}

TEST_F(Input, AppTerminateClearsOnReading) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    PushWindow(SDL_WINDOWEVENT_CLOSE); // one close request arrives as both events
    Input_Poll();
    EXPECT_EQ(AppTerminate(), 1);
    EXPECT_EQ(AppTerminate(), 0);
    Input_InjectClose();
    EXPECT_EQ(AppTerminate(), 1);
    EXPECT_EQ(AppTerminate(), 0);
}

TEST_F(Input, TheAppIsSuspendedWhileUnfocusedMinimisedOrHidden) {
    struct Step {
        SDL_WindowEventID event;
        int suspended;
    };
    const Step steps[] = {
        {SDL_WINDOWEVENT_FOCUS_LOST, 1}, {SDL_WINDOWEVENT_FOCUS_GAINED, 0},
        {SDL_WINDOWEVENT_MINIMIZED, 1},  {SDL_WINDOWEVENT_RESTORED, 0},
        {SDL_WINDOWEVENT_HIDDEN, 1},     {SDL_WINDOWEVENT_SHOWN, 0},
        {SDL_WINDOWEVENT_MAXIMIZED, 0},
    };
    EXPECT_EQ(AppSuspended(), 0);
    for (const Step& s : steps) {
        SCOPED_TRACE(s.event);
        PushWindow(s.event);
        Input_Poll();
        EXPECT_EQ(AppSuspended(), s.suspended);
    }
    EXPECT_TRUE(Input_WindowMaximized());
    EXPECT_FALSE(Input_WindowMinimized());

    // A key held when focus goes elsewhere is released: its key-up never reaches us.
    Input_InjectKey(VK_LEFT, true);
    Input_InjectFocus(false);
    EXPECT_EQ(KeyDown(VK_LEFT), 0);
    EXPECT_EQ(AppSuspended(), 1);
    Input_InjectFocus(true);
}

TEST(InputWithoutSdl, PollingBeforeSdlStartsIsHarmless) {
    ASSERT_EQ(SDL_WasInit(0), 0u);
    Input_Poll();
    MoveMouse(10, 20);
    HideMouse();
    ShowMouse();
    EXPECT_EQ(MouseX(), 10);
    EXPECT_EQ(MouseY(), 20);
}

TEST_F(Input, AWindowOpenedAnewReplacesTheOldWindowsState) {
    // The old window was maximised when the game switched to full screen and back.
    PushWindow(SDL_WINDOWEVENT_MAXIMIZED);
    Input_Poll();
    ASSERT_TRUE(Input_WindowMaximized());

    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) GTEST_SKIP() << SDL_GetError();
    SDL_Window* w = SDL_CreateWindow("t", 0, 0, 80, 60, SDL_WINDOW_SHOWN);
    ASSERT_NE(w, nullptr) << SDL_GetError();
    Input_Poll();
    EXPECT_FALSE(Input_WindowMaximized());
    EXPECT_FALSE(Input_WindowHidden());
    EXPECT_TRUE(SDL_IsTextInputActive());
    SDL_DestroyWindow(w);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

namespace {

// One pass: the button events that arrive before it ('d' down, 'u' up, 'f' FlushMouse), then
// what UpdateMouseState makes of them.
struct PassSeen {
    const char* events;
    int down, pressed, released;
};

struct ButtonCase {
    const char* name;
    std::vector<PassSeen> passes;
};

// The per-pass view of the left or right button.
struct ButtonView {
    int down, pressed, released;
};

ButtonView SeenButton(int button) {
    if (button == MOUSE_LEFT) return {MouseLeftDown, MouseLeftPressed, MouseLeftReleased};
    return {MouseRightDown, MouseRightPressed, MouseRightReleased};
}

} // namespace

// Every click reaches the per-pass state as a press and a release on separate passes, however
// short it was; the state is still read once per pass.
TEST_F(Input, EveryClickShowsAsAPressAndThenARelease) {
    const ButtonCase cases[] = {
        {"held over several passes",
         {{"d", 1, 1, 0}, {"", 1, 0, 0}, {"u", 0, 0, 1}, {"", 0, 0, 0}}},
        {"pressed and released within one pass", {{"du", 1, 1, 0}, {"", 0, 0, 1}, {"", 0, 0, 0}}},
        {"released and pressed again within one pass",
         {{"d", 1, 1, 0}, {"ud", 0, 0, 1}, {"", 1, 1, 0}, {"", 1, 0, 0}, {"u", 0, 0, 1}}},
        {"a quick click after a quick click",
         {{"du", 1, 1, 0}, {"du", 0, 0, 1}, {"", 1, 1, 0}, {"", 0, 0, 1}, {"", 0, 0, 0}}},
        {"a double click within one pass",
         {{"dudu", 1, 1, 0}, {"", 0, 0, 1}, {"", 1, 1, 0}, {"", 0, 0, 1}, {"", 0, 0, 0}}},
        // A burst in one slow pass shows as a double click, not as clicks long after it ended.
        {"a burst within one pass",
         {{"dudududu", 1, 1, 0}, {"", 0, 0, 1}, {"", 1, 1, 0}, {"", 0, 0, 1}, {"", 0, 0, 0}}},
        {"a flush drops a click no pass has shown", {{"duf", 0, 0, 0}, {"", 0, 0, 0}}},
    };
    const struct {
        int button;
        Uint8 sdl_button;
    } buttons[] = {{MOUSE_LEFT, SDL_BUTTON_LEFT}, {MOUSE_RIGHT, SDL_BUTTON_RIGHT}};
    for (const auto& b : buttons) {
        for (const ButtonCase& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (b.button == MOUSE_LEFT ? ", left" : ", right"));
            UpdateMouseState(); // start from a pass that saw nothing held
            UpdateMouseState();
            ASSERT_EQ(SeenButton(b.button).down, 0);
            int pass = 0;
            for (const PassSeen& p : c.passes) {
                SCOPED_TRACE("pass " + std::to_string(pass++));
                for (const char* e = p.events; *e; ++e) {
                    if (*e == 'f') {
                        Input_Poll(); // the events before it arrive first
                        FlushMouse();
                    } else {
                        PushButton(b.sdl_button, *e == 'd', 200, 150);
                    }
                }
                Input_Poll();
                UpdateMouseState();
                const ButtonView seen = SeenButton(b.button);
                EXPECT_EQ(seen.down, p.down);
                EXPECT_EQ(seen.pressed, p.pressed);
                EXPECT_EQ(seen.released, p.released);
            }
            EXPECT_EQ(MouseXPos, 200);
        }
    }
}

// MouseHit keeps its own count: reading the per-pass state takes nothing from it.
TEST_F(Input, MouseHitStillCountsWhatThePassesAlreadyShowed) {
    PushButton(SDL_BUTTON_LEFT, true, 10, 10);
    PushButton(SDL_BUTTON_LEFT, false, 10, 10);
    Input_Poll();
    UpdateMouseState();
    EXPECT_EQ(MouseLeftPressed, 1);
    EXPECT_EQ(MouseHit(MOUSE_LEFT), 1);
    EXPECT_EQ(MouseHit(MOUSE_LEFT), 0);
    UpdateMouseState();
    EXPECT_EQ(MouseLeftReleased, 1);
}

// A tap and then a move within one pass: the press is seen where it happened, the pointer's new
// place on the next pass with the release.
TEST_F(Input, AQuickClickIsSeenWhereItHappened) {
    UpdateMouseState();
    PushButton(SDL_BUTTON_LEFT, true, 40, 50);
    PushButton(SDL_BUTTON_LEFT, false, 41, 50);
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 300;
    motion.motion.y = 400;
    SDL_PushEvent(&motion);
    Input_Poll();
    UpdateMouseState();
    EXPECT_EQ(MouseLeftPressed, 1);
    EXPECT_EQ(MouseXPos, 40);
    EXPECT_EQ(MouseYPos, 50);
    UpdateMouseState();
    EXPECT_EQ(MouseLeftReleased, 1);
    EXPECT_EQ(MouseXPos, 300);
    EXPECT_EQ(MouseYPos, 400);
    EXPECT_EQ(MouseMoved, 1);
}

TEST_F(PadInput, HeldArrowsRepeatAndOtherKeysCountTheirFirstPressOnly) {
    for (int i = 0; i < 3; ++i) {
        PushKey(SDLK_LEFT, SDL_SCANCODE_LEFT, true, i > 0);
        PushKey(SDLK_SPACE, SDL_SCANCODE_SPACE, true, i > 0);
    }
    Input_Poll();
    EXPECT_EQ(KeyHit(VK_LEFT), 3);
    EXPECT_EQ(KeyHit(VK_SPACE), 1);
}

TEST_F(PadInput, TheStickPressesPastHalfWayAndLetsGoUnderAQuarter) {
    struct Step {
        int value;
        bool right_down, left_down;
        int right_hits;
    };
    const Step steps[] = {
        {16000, false, false, 0},                          // not yet half way
        {16500, true, false, 1},  {12000, true, false, 0}, // inside the slack: still held
        {20000, true, false, 0},                           // no second press while held
        {8000, false, false, 0},  {30000, true, false, 1},
        {-30000, false, true, 0}, // straight across: right lets go, left presses
        {-32768, false, true, 0},
    };
    for (const Step& s : steps) {
        Input_InjectPadAxis(PAD_AXIS_LEFTX, s.value);
        EXPECT_EQ(PadDown(PAD_RIGHT), s.right_down ? 1 : 0) << s.value;
        EXPECT_EQ(PadDown(PAD_LEFT), s.left_down ? 1 : 0) << s.value;
        EXPECT_EQ(PadHit(PAD_RIGHT), s.right_hits) << s.value;
    }
    // Triggers press their own codes; the vertical axis grows downwards.
    Input_InjectPadAxis(PAD_AXIS_TRIGGERRIGHT, 32767);
    Input_InjectPadAxis(PAD_AXIS_LEFTY, -20000);
    EXPECT_EQ(PadHit(PAD_RIGHTTRIGGER), 1);
    EXPECT_EQ(PadHit(PAD_UP), 1);
    EXPECT_EQ(PadHit(PAD_DOWN), 0);
}

TEST_F(PadInput, StickAndDpadTheSameWayCountOnceAndHoldUntilBothLetGo) {
    Input_InjectPadButton(PAD_LEFT, true);
    Input_InjectPadAxis(PAD_AXIS_LEFTX, -30000);
    EXPECT_EQ(PadHit(PAD_LEFT), 1);
    Input_InjectPadButton(PAD_LEFT, false);
    EXPECT_EQ(PadDown(PAD_LEFT), 1) << "the stick still holds it";
    Input_InjectPadAxis(PAD_AXIS_LEFTX, 0);
    EXPECT_EQ(PadDown(PAD_LEFT), 0);
}

TEST_F(PadInput, ControllerButtonsFromSdlReachTheirGameCodes) {
    struct Case {
        SDL_GameControllerButton sdl;
        int game;
    };
    const Case cases[] = {
        {SDL_CONTROLLER_BUTTON_A, PAD_A},
        {SDL_CONTROLLER_BUTTON_B, PAD_B},
        {SDL_CONTROLLER_BUTTON_Y, PAD_Y},
        {SDL_CONTROLLER_BUTTON_START, PAD_START},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, PAD_LEFTSHOULDER},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, PAD_RIGHTSHOULDER},
        {SDL_CONTROLLER_BUTTON_DPAD_DOWN, PAD_DOWN},
    };
    for (const Case& c : cases) {
        SDL_Event e{};
        e.type = SDL_CONTROLLERBUTTONDOWN;
        e.cbutton.button = static_cast<Uint8>(c.sdl);
        SDL_PushEvent(&e);
        Input_Poll();
        EXPECT_EQ(PadDown(c.game), 1) << c.game;
        EXPECT_EQ(PadHit(c.game), 1) << c.game;
        e.type = SDL_CONTROLLERBUTTONUP;
        SDL_PushEvent(&e);
        Input_Poll();
        EXPECT_EQ(PadDown(c.game), 0) << c.game;
    }
    // A button the game has no code for, and codes out of range, change nothing.
    SDL_Event odd{};
    odd.type = SDL_CONTROLLERBUTTONDOWN;
    odd.cbutton.button = SDL_CONTROLLER_BUTTON_GUIDE;
    SDL_PushEvent(&odd);
    Input_Poll();
    Input_InjectPadButton(-1, true);
    Input_InjectPadButton(PAD_BUTTON_COUNT, true);
    Input_InjectPadAxis(PAD_AXIS_COUNT, 30000);
    for (int b = 0; b < PAD_BUTTON_COUNT; ++b)
        EXPECT_EQ(PadDown(b), 0) << b;
    EXPECT_EQ(PadDown(-1) + PadHit(-1) + PadDown(PAD_BUTTON_COUNT), 0);
}

TEST_F(PadInput, AnUnpluggedPadLetsGoOfEverythingAndIsCounted) {
    Input_InjectPadAdded();
    Input_InjectPadAdded();
    Input_InjectPadButton(PAD_A, true);
    Input_InjectPadAxis(PAD_AXIS_LEFTY, 30000);
    EXPECT_EQ(PadCount(), 2);
    Input_InjectPadRemoved();
    EXPECT_EQ(PadCount(), 1);
    EXPECT_EQ(PadDown(PAD_A), 0);
    EXPECT_EQ(PadDown(PAD_DOWN), 0);
    EXPECT_EQ(PadRemovedHit(), 1);
    EXPECT_EQ(PadRemovedHit(), 0);
    // A removal SDL reports for a pad never opened leaves the count alone.
    SDL_Event e{};
    e.type = SDL_CONTROLLERDEVICEREMOVED;
    e.cdevice.which = 12345;
    SDL_PushEvent(&e);
    Input_Poll();
    EXPECT_EQ(PadCount(), 1);
    EXPECT_EQ(PadRemovedHit(), 0);
}
