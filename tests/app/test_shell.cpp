// The shell's rules in-process: frame timing, screen states, buttons, text wrapping and the
// exact names of the embedded files.
#include "app/buttons.h"
#include "app/main_loop.h"
#include "app/resources.h"
#include "app/screens.h"
#include "engine/input.h"
#include "engine/stream.h"
#include "engine/system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void RunFrames(int n, int ms) {
    for (int i = 0; i < n; ++i) {
        System_AdvanceClock(ms);
        UpdateFrameTiming();
    }
}

} // namespace

TEST(FrameTiming, FirstUpdateResetsToSixteenMs) {
    System_SetFixedDelta(25);
    TimingResetPending = 1;
    DeltaMs = 3;
    UpdateFrameTiming();
    EXPECT_FLOAT_EQ(DeltaMs, 16.0f);
    EXPECT_EQ(TimingResetPending, 0);
}

TEST(FrameTiming, SteadyTwentyFiveMsGivesThirtyEightFpsAndLowMode) {
    System_SetFixedDelta(25);
    TimingResetPending = 1;
    FpsWindowCount = 0;
    LowFpsMode = 0;
    UpdateFrameTiming();
    RunFrames(39, 25);
    EXPECT_EQ(AvgFps, 38); // 38000 / 975
    EXPECT_EQ(LowFpsMode, 1);
    EXPECT_EQ(InstFps, 40);
    RunFrames(39 * 3, 5); // after the second window the mode stays
    EXPECT_EQ(LowFpsMode, 1);
}

TEST(FrameTiming, StallsAndZeroFramesAreClampedOrSkipped) {
    System_SetFixedDelta(25);
    TimingResetPending = 1;
    UpdateFrameTiming();
    RunFrames(1, 4000);
    EXPECT_FLOAT_EQ(DeltaMs, 1000.0f);
    EXPECT_FLOAT_EQ(DeltaSec, 4.0f);
    RunFrames(1, 2);
    EXPECT_FLOAT_EQ(DeltaMs, 5.0f);
    int last = LastFrameMs;
    RunFrames(1, 0);
    EXPECT_EQ(LastFrameMs, last); // the next frame measures both together
}

namespace {
std::vector<std::string> Calls;
int StateSeenByEntry = -1;
void EntryOne() {
    StateSeenByEntry = GameState;
    Calls.push_back("entry1");
}
void RoutineOne() {
    Calls.push_back("routine1");
}
} // namespace

TEST(ScreenStates, EntryRunsBeforeTheStateChangesAndKeysAreFlushed) {
    GameStateScreen saved = GameStateScreens[1];
    GameStateScreens[1] = {RoutineOne, EntryOne};
    GameState = STATE_MAIN_MENU;
    Input_InjectKey(VK_SPACE, true);
    SetGameState(1);
    EXPECT_EQ(StateSeenByEntry, 0);
    EXPECT_EQ(GameState, STATE_PLAYING);
    EXPECT_EQ(KeyHit(VK_SPACE), 0);
    Screens_RunRoutine(1);
    EXPECT_EQ(Calls, (std::vector<std::string>{"entry1", "routine1"}));
    GameStateScreens[1] = saved;
}

TEST(ScreenStates, UnknownStateRunsTheMainMenuWithoutItsEntry) {
    GameStateScreen saved = GameStateScreens[0];
    Calls.clear();
    GameStateScreens[0] = {RoutineOne, EntryOne};
    SetGameState(9);
    EXPECT_EQ(GameState, 9);
    EXPECT_TRUE(Calls.empty());
    Screens_RunRoutine(9);
    EXPECT_EQ(Calls, (std::vector<std::string>{"routine1"}));
    GameStateScreens[0] = saved;
}

namespace {

int Pushes = 0;
void CountPush() {
    ++Pushes;
}

struct Pointer {
    int x, y;
    bool down;
};

// Feeds one frame of mouse state to the button, as the main loop would.
void Frame(ButtonAnim* b, Pointer p) {
    MouseXPos = p.x;
    MouseYPos = p.y;
    MouseLeftPrev = MouseLeftDown;
    MouseLeftDown = p.down;
    MouseLeftPressed = MouseLeftDown && !MouseLeftPrev;
    MouseLeftReleased = !MouseLeftDown && MouseLeftPrev;
    b->Update();
}

} // namespace

TEST(Buttons, OnlyAPressAndReleaseOverTheButtonPushesIt) {
    static Image off;
    off.width = 151;
    off.height = 42;
    struct Case {
        const char* name;
        std::vector<Pointer> frames;
        int pushes;
    };
    const Case cases[] = {
        {"press and release inside", {{50, 20, false}, {50, 20, true}, {50, 20, false}}, 1},
        {"press outside, release inside", {{500, 20, true}, {50, 20, true}, {50, 20, false}}, 0},
        {"press, leave, come back, release",
         {{50, 20, false}, {50, 20, true}, {500, 20, true}, {50, 20, true}, {50, 20, false}},
         0},
        {"top edge row is outside", {{50, 0, false}, {50, 0, true}, {50, 0, false}}, 0},
        {"bottom and right edges are inside",
         {{151, 42, false}, {151, 42, true}, {151, 42, false}},
         1},
    };
    for (const Case& c : cases) {
        ButtonAnim* b =
            ButtonAnim::Create(0, 0, 0, &off, &off, nullptr, 0, 0, 16, 150, "", nullptr, CountPush);
        Pushes = 0;
        MouseLeftDown = 0;
        for (const Pointer& p : c.frames)
            Frame(b, p);
        EXPECT_EQ(Pushes, c.pushes) << c.name;
    }
}

TEST(Buttons, WithoutPushFunctionTheOwnerSeesThePress) {
    static Image off;
    off.width = 94;
    off.height = 26;
    ButtonAnim* b =
        ButtonAnim::Create(7, 10, 10, &off, &off, nullptr, 0, 0, 1, 150, "", nullptr, nullptr);
    MouseLeftDown = 0;
    Frame(b, {20, 20, false});
    Frame(b, {20, 20, true});
    Frame(b, {20, 20, false});
    EXPECT_EQ(b->state, BUTTON_OVER | BUTTON_PRESSED);
    EXPECT_EQ(MouseLeftReleased, 1);
    EXPECT_EQ(MouseLeftDown, 0);
}

TEST(Buttons, SingleFrameButtonOnlyRearmsItsShimmer) {
    static Image off;
    off.width = 94;
    off.height = 26;
    ButtonAnim* b =
        ButtonAnim::Create(0, 0, 0, &off, &off, nullptr, 0, 0, 1, 150, "", nullptr, nullptr);
    DeltaMs = 200;
    b->Draw(); // the first shimmer starts at once
    b->Draw();
    EXPECT_EQ(b->img_id, 0);
    EXPECT_GE(b->Anim_delay, 10000 - 200);
    EXPECT_LE(b->Anim_delay, 17000);
}

TEST(Buttons, UnknownTypeIsARunTimeError) {
    EXPECT_EXIT(ButtonAnim::CreateType(3, 0, 0, "x", nullptr, 0), ::testing::ExitedWithCode(1),
                "ButtonAnim.CreateType: Unknown btn type 3");
}

TEST(Buttons, InterfaceButtonCountsItsTopRowAndClicksOnRelease) {
    static Image img;
    img.width = 80;
    img.height = 60;
    Button_Interface* b = Button_InterfaceCreate(100, 100, 5, &img, 0);
    MouseXPos = 120;
    MouseYPos = 100;   // top row: inside for this kind of button
    MouseLeftDown = 1; // the pass's view of the button, as UpdateMouseState leaves it
    MouseLeftPressed = 1;
    b->CheckMe();
    EXPECT_EQ(b->Button_State, -1);
    EXPECT_EQ(b->ButtonDown, 1);
    EXPECT_EQ(b->oy, 0);
    MouseLeftDown = 0;
    MouseLeftPressed = 0;
    b->CheckMe();
    EXPECT_EQ(b->Button_State, 1);
}

TEST(TextWrapping, EndsForAWordWiderThanTheWidth) {
    SetImageFont(nullptr);
    const std::string word(40, 'W');
    int one_line = TextHeight();
    int h = DrawTextWrapped(word, 0, 0, TextWidth("WWWW") + 1, 1);
    EXPECT_GE(h, 10 * one_line);
    EXPECT_EQ(DrawTextWrapped("", 0, 0, 100, 1), 0);
    int two = DrawTextWrapped("one\r\ntwo", 0, 0, 400, 1);
    EXPECT_EQ(two, 2 * one_line);
}

TEST(TextWrapping, BreaksBetweenWordsBeforeTheWidth) {
    SetImageFont(nullptr);
    int width = TextWidth("aaaa bbbb") + 1;
    EXPECT_EQ(DrawTextWrapped("aaaa bbbb cccc", 0, 0, width, 1), 2 * TextHeight());
}

TEST(Resources, NamesAreMatchedExactly) {
    std::vector<std::string> missing = Resources_RegisterAll();
    EXPECT_TRUE(missing.empty()) << missing.size() << " missing, first " << missing.front();
    EXPECT_EQ(Resources_Names().size(), 436u); // every name of the lists, once
    EXPECT_TRUE(ReadStream("incbin::images/bckgA1.png"));
    EXPECT_FALSE(ReadStream("incbin::images/bckga1.png"));
    EXPECT_TRUE(ReadStream("incbin::.\\sounds\\click.wav"));
    EXPECT_FALSE(ReadStream("incbin::sounds/click.wav"));
    EXPECT_EQ(Resources_AssetPath(".\\sounds\\KV_Auld Lang Syne.ogg"),
              "sounds/KV_Auld Lang Syne.ogg");
}
