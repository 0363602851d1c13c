// Buttons click through the sound manager: high when the pointer comes in, low when pushed.
// The pitch is measured in the loopback mix.
#include "app/buttons.h"
#include "app/main_loop.h"
#include "audio/sound_fx.h"
#include "data/players.h"
#include "engine/gfx.h"
#include "engine/stream.h"
#include "tests/support/tone_wav.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;

// The pitch of what the pool plays now: rising swings through zero in 100 ms of the mix, with
// a margin so the mixer's dither around silence does not count.
double PitchHz() {
    std::vector<std::int16_t> out;
    EXPECT_TRUE(Audio_RenderLoopback(kRate / 10, out));
    int rises = 0;
    bool low = false;
    for (std::size_t i = 0; i + 1 < out.size(); i += 2) {
        const int v = out[i] + out[i + 1];
        if (v < -1000) low = true;
        if (low && v > 1000) {
            ++rises;
            low = false;
        }
    }
    return rises / 0.1;
}

void StopPool() {
    for (Channel*& ch : SfxChannels) {
        Channel_Stop(ch);
        ch = nullptr;
    }
}

void Frame(ButtonAnim* b, int x, int y, bool down) {
    MouseXPos = x;
    MouseYPos = y;
    MouseLeftPrev = MouseLeftDown;
    MouseLeftDown = down;
    MouseLeftPressed = MouseLeftDown && !MouseLeftPrev;
    MouseLeftReleased = !MouseLeftDown && MouseLeftPrev;
    b->Update();
}

void NoPush() {}

TEST(ButtonSounds, ClickAnOctaveUpOnEntryAndAnOctaveDownOnPush) {
    ASSERT_TRUE(Audio_Open(AudioOptions{true, kRate}));
    static std::vector<std::uint8_t> bytes = ToneWav(2000, 440.0, 10000);
    Incbin_Register("test_button_click.wav", bytes.data(), bytes.size());
    SndClick = LoadSound("incbin::test_button_click.wav");
    ASSERT_NE(SndClick, nullptr);
    Player_Crt = 0;
    FxVolume[0] = 0.8f;
    AudioOff = 0;
    StopPool();
    static Image off;
    off.width = 151;
    off.height = 42;
    ButtonAnim* b =
        ButtonAnim::Create(0, 300, 300, &off, &off, nullptr, 0, 0, 1, 150, "", nullptr, NoPush);
    MouseLeftDown = 0;
    Frame(b, 100, 100, false); // outside: nothing
    EXPECT_EQ(Snd_PlayingCount(), 0);
    for (int i = 0; i < 3; ++i) // in, and staying in: one click
        Frame(b, 350, 320, false);
    EXPECT_EQ(Snd_PlayingCount(), 1);
    EXPECT_NEAR(PitchHz(), 880.0, 60.0);
    StopPool();
    PitchHz(); // the stopped click's last samples
    Frame(b, 350, 320, true);
    Frame(b, 350, 320, false); // pushed
    EXPECT_EQ(Snd_PlayingCount(), 1);
    EXPECT_NEAR(PitchHz(), 220.0, 30.0);
    StopPool();
    Audio_Close();
}

} // namespace
