// The keyboard and gamepad state under the keyboard play: held arrows repeat, the stick presses
// and lets go with some slack, a stick and the d-pad pressing the same way count once, SDL's
// controller buttons reach their game codes, and an unplugged pad lets go of everything.
#include "engine/input.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

class PadInput : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_EQ(SDL_Init(SDL_INIT_EVENTS), 0) << SDL_GetError(); }
    static void TearDownTestSuite() { SDL_Quit(); }
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }

    static void Reset() {
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
    static void PushKey(SDL_Keycode sym, SDL_Scancode scan, bool repeat) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = sym;
        e.key.keysym.scancode = scan;
        e.key.repeat = repeat;
        SDL_PushEvent(&e);
    }
};

TEST_F(PadInput, HeldArrowsRepeatAndOtherKeysCountTheirFirstPressOnly) {
    for (int i = 0; i < 3; ++i) {
        PushKey(SDLK_LEFT, SDL_SCANCODE_LEFT, i > 0);
        PushKey(SDLK_SPACE, SDL_SCANCODE_SPACE, i > 0);
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

} // namespace
