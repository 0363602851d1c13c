// The sound effects manager heard through an OpenAL Soft loopback device. The loopback mixes only
// when a test renders, so a sound "plays" until the test renders past its end.
#include "audio/sound_fx.h"

#include "data/players.h"
#include "engine/stream.h"
#include "tests/support/tone_wav.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace {

constexpr int kRate = 44100;

Sound* ToneSound(const std::string& name, int ms) {
    static std::vector<std::vector<std::uint8_t>> keep; // the registry keeps pointers
    keep.push_back(ToneWav(ms, 440.0, 12000));
    Incbin_Register(name, keep.back().data(), keep.back().size());
    return LoadSound("incbin::" + name);
}

struct Energy {
    double left = 0, right = 0;
};

Energy Render(int ms) {
    std::vector<std::int16_t> out;
    EXPECT_TRUE(Audio_RenderLoopback(kRate * ms / 1000, out));
    Energy e;
    for (std::size_t i = 0; i + 1 < out.size(); i += 2) {
        e.left += double(out[i]) * out[i];
        e.right += double(out[i + 1]) * out[i + 1];
    }
    return e;
}

// Silence as the mixer renders it: at most a dither of about one step.
bool Quiet(const Energy& e, int ms) {
    return (e.left + e.right) / (2.0 * kRate * ms / 1000) < 4.0;
}

class SoundFxTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(Audio_Open(AudioOptions{true, kRate}));
        Long = ToneSound("test_long.wav", 3000);
        Short = ToneSound("test_short.wav", 50);
    }
    static void TearDownTestSuite() { Audio_Close(); }

    void SetUp() override {
        for (Channel*& ch : SfxChannels) {
            Channel_Stop(ch);
            ch = nullptr;
        }
        Render(10); // lets the stopped sounds' last few samples out
        Snd_ClearRequests();
        Snd_ResetPieces();
        for (Sound*& s : SoundFx)
            s = nullptr;
        for (int slot : {0, 2, 5, 6, 7, 16, 17, 27})
            SoundFx[slot] = Long;
        LastSfxChannel = -1;
        AudioOff = 0;
        Player_Crt = 0;
        FxVolume[0] = 0.8f;
        BoardOffset = 0;
        Snd_BoardOffsetX = &BoardOffset;
    }

    static void FillPool() {
        for (int i = 0; i < SfxChannels_Max; ++i)
            ASSERT_NE(Snd_Play(0, 0, 1, 1, 0), nullptr) << i;
    }

    static inline Sound *Long = nullptr, *Short = nullptr;
    static inline int BoardOffset = 0;
};

TEST_F(SoundFxTest, CoalescedRecordPlaysOnceAtTheLastPiece) {
    for (int i = 0; i < 10; ++i)
        Snd_CountPiece(2, 40 + i * 80, 100); // the last piece sits at the right edge
    Snd_FlushPieces();
    EXPECT_EQ(Snd_PlayingCount(), 1);
    EXPECT_EQ(LastSfxChannel, 0);
    Energy e = Render(50);
    EXPECT_GT(e.right, 4 * e.left) << "the sound pans to the last piece counted";

    Snd_ResetPieces();
    Snd_FlushPieces(); // nothing counted in this pass: nothing plays
    EXPECT_EQ(Snd_PlayingCount(), 1);
}

TEST_F(SoundFxTest, CoalescedRecordsFlushInSlotOrderWithTheirOwnVolume) {
    Snd_CountPiece(6, 400, 0);
    Snd_CountPiece(2, 400, 0);
    Snd_CountPiece(18, 400, 0); // lasers: an empty slot, so silent
    Snd_FlushPieces();
    EXPECT_EQ(Snd_PlayingCount(), 2);
    EXPECT_EQ(LastSfxChannel, 1);
}

struct DelayCase {
    const char* name;
    int delay_ms;
    float frame_ms;
    int starts_on_update;
};

class DelayedTest : public SoundFxTest, public ::testing::WithParamInterface<DelayCase> {};

TEST_P(DelayedTest, StartsOnTheExpectedUpdate) {
    const DelayCase& c = GetParam();
    Snd_AddDelayed(0, 1.0f, 0.4f, c.delay_ms, 0.0f, 400, 0);
    int update = 0;
    while (Snd_PlayingCount() == 0 && update < 1000) {
        Snd_UpdateDelayed(c.frame_ms);
        ++update;
    }
    EXPECT_EQ(update, c.starts_on_update);
    ASSERT_EQ(DelayedSounds.size(), 1u);
    EXPECT_EQ(DelayedSounds[0].delay_play, 0);
    EXPECT_NE(DelayedSounds[0].channel, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Delays, DelayedTest,
                         ::testing::Values(DelayCase{"Zero", 0, 20, 1},
                                           DelayCase{"Ms250At20", 250, 20, 13},
                                           DelayCase{"Ms240At20", 240, 20, 12},
                                           DelayCase{"TruncatedEachFrame", 34, 16.5f, 2}),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

TEST_F(SoundFxTest, DelayedRequestLeavesTheListWhenItsSoundEnds) {
    SoundFx[0] = Short;
    Snd_AddDelayed(0, 1.0f, 0.4f, 0, 0.0f, 400, 0);
    Snd_UpdateDelayed(20);
    ASSERT_EQ(Snd_PlayingCount(), 1);
    Snd_UpdateDelayed(20); // still playing: depth starts at -1 and the request stays
    EXPECT_EQ(DelayedSounds.size(), 1u);
    EXPECT_FLOAT_EQ(DelayedSounds[0].depth, -1.0f);
    Render(100);
    Snd_UpdateDelayed(20);
    EXPECT_TRUE(DelayedSounds.empty());
}

TEST_F(SoundFxTest, AFullPoolIsSilencedAndTheRequestDropped) {
    FillPool();
    EXPECT_EQ(LastSfxChannel, 127);
    EXPECT_EQ(Snd_PlayingCount(), 128);
    EXPECT_EQ(Snd_Play(7, 0, 1, 1, 0), nullptr);
    EXPECT_EQ(LastSfxChannel, -1);
    EXPECT_EQ(Snd_PlayingCount(), 0);
    Render(10); // the stopped sounds' last few samples
    EXPECT_TRUE(Quiet(Render(20), 20));
    EXPECT_NE(Snd_Play(7, 0, 1, 1, 0), nullptr);
    EXPECT_EQ(LastSfxChannel, 0);
}

TEST_F(SoundFxTest, ScanReusesTheFirstFinishedSlotOnly) {
    SoundFx[2] = Short;
    Snd_Play(0, 0, 1, 1, 0); // slot 0, long
    Snd_Play(2, 0, 1, 1, 0); // slot 1, short
    Snd_Play(2, 0, 1, 1, 0); // slot 2, short
    Render(100);             // both short ones end
    Snd_Play(0, 0, 1, 1, 0);
    EXPECT_EQ(LastSfxChannel, 1);
    EXPECT_NE(SfxChannels[2], nullptr) << "the scan stops at the first usable slot";
    EXPECT_EQ(Snd_PlayingCount(), 2);
}

TEST_F(SoundFxTest, RequestsThatMustNotTakeAChannel) {
    struct Case {
        const char* what;
        std::function<Channel*()> request;
    };
    const Case cases[] = {
        {"negative rate", [] { return Snd_Play(5, 0, 1, -1.0f, 0); }},
        {"rate not a number", [] { return Snd_PlayObj(Long, 1, std::nanf(""), 100, 0); }},
        {"empty slot", [] { return Snd_Play(18, 0, 1, 1, 0); }},
        {"slot out of range", [] { return Snd_Play(28, 0, 1, 1, 0); }},
        {"no sound object", [] { return Snd_PlayObj(nullptr, 1, 1, 100, 0); }},
    };
    for (const Case& c : cases) {
        SetUp();
        FillPool(); // a request that takes no channel must not silence a full pool either
        EXPECT_EQ(c.request(), nullptr) << c.what;
        EXPECT_EQ(Snd_PlayingCount(), 128) << c.what;
        EXPECT_EQ(LastSfxChannel, 127) << c.what;
    }
}

// Half of the ice breaks ask for rate 0: they play at the recorded pitch and end on time.
TEST_F(SoundFxTest, RateZeroPlaysAtTheRecordedPitchAndEnds) {
    SoundFx[27] = Short;
    ASSERT_NE(Snd_PlayAt(27, 1, 0.0f, 400, 0, 0), nullptr);
    EXPECT_FALSE(Quiet(Render(40), 40));
    Render(100);
    Snd_Play(0, 0, 1, 1, 0); // the scan frees the finished slot and reuses it
    EXPECT_EQ(LastSfxChannel, 0);
    EXPECT_EQ(Snd_PlayingCount(), 1);
}

TEST_F(SoundFxTest, SilencedRequestsPlayNothing) {
    struct Case {
        const char* what;
        float fx_volume;
        int audio_off;
    };
    const Case cases[] = {{"effect volume 0", 0.0f, 0}, {"no sound output", 0.8f, 1}};
    for (const Case& c : cases) {
        SetUp();
        FxVolume[0] = c.fx_volume;
        AudioOff = c.audio_off;
        LastSfxChannel = 5;
        EXPECT_EQ(Snd_Play(7, 0, 1.0f, 1.0f, 0), nullptr) << c.what << ": the refusal sound";
        EXPECT_EQ(Snd_PlayObj(Long, 1, 1, 400, 0), nullptr) << c.what;
        EXPECT_EQ(Snd_PlayAt(27, 1, 1, 400, 0, 1), nullptr) << c.what;
        Snd_AddDynamic(17, 0, 1, 0.75f);
        Snd_AddDelayed(0, 1, 1, 0, 0, 400, 0);
        Snd_UpdateDelayed(20);
        Snd_UpdateDynamic(20);
        EXPECT_TRUE(DelayedSounds.empty()) << c.what;
        EXPECT_TRUE(DynamicSounds.empty()) << c.what;
        EXPECT_EQ(LastSfxChannel, 5) << c.what;
        EXPECT_EQ(Snd_PlayingCount(), 0) << c.what;
        EXPECT_TRUE(Quiet(Render(20), 20)) << c.what;
    }
}

TEST_F(SoundFxTest, GameOverRateSlidesDownTo02In221Steps) {
    Snd_AddDynamic(17, 0, 1, 0.75f);
    ASSERT_EQ(DynamicSounds.size(), 1u);
    Snd_UpdateDynamic(40); // one step a frame at most, however long the frame
    EXPECT_FLOAT_EQ(DynamicSounds[0].rate, 0.7475f);
    for (int step = 2; step <= 220; ++step)
        Snd_UpdateDynamic(20);
    EXPECT_GT(DynamicSounds[0].rate, 0.2f);
    Snd_UpdateDynamic(20);
    EXPECT_EQ(DynamicSounds[0].rate, 0.2f);
    Snd_UpdateDynamic(20);
    EXPECT_EQ(DynamicSounds[0].rate, 0.2f);
}

TEST_F(SoundFxTest, GameOverStepsEvery16MsOrMore) {
    Snd_AddDynamic(17, 0, 1, 0.75f);
    Snd_UpdateDynamic(10); // 16 - 10 = 6 left
    EXPECT_FLOAT_EQ(DynamicSounds[0].rate, 0.75f);
    Snd_UpdateDynamic(10); // -4: step, and the timer starts again at 16
    EXPECT_FLOAT_EQ(DynamicSounds[0].rate, 0.7475f);
    EXPECT_EQ(DynamicSounds[0].timer_change, 16);
}

TEST_F(SoundFxTest, OtherDynamicSoundsKeepTheirRate) {
    Snd_AddDynamic(5, 0, 1, 0.75f);
    for (int i = 0; i < 50; ++i)
        Snd_UpdateDynamic(20);
    EXPECT_FLOAT_EQ(DynamicSounds[0].rate, 0.75f);
}

TEST_F(SoundFxTest, DynamicRequestEndsWithItsSoundNotWithALaterOne) {
    Snd_AddDynamic(17, 0, 1, 0.75f); // pool slot 0
    ASSERT_EQ(LastSfxChannel, 0);
    for (int i = 1; i < SfxChannels_Max; ++i)
        Snd_Play(0, 0, 1, 1, 0);
    Snd_Play(0, 0, 1, 1, 0); // full: the whole pool stops, the jingle too
    Snd_Play(0, 0, 1, 1, 0); // a new sound on slot 0's channel
    ASSERT_EQ(LastSfxChannel, 0);
    Snd_UpdateDynamic(20);
    EXPECT_TRUE(DynamicSounds.empty());
}

TEST_F(SoundFxTest, ClearRequestsKeepsPlayingSounds) {
    Snd_AddDynamic(17, 0, 1, 0.75f);
    Snd_AddDelayed(0, 1, 1, 500, 0, 0, 0);
    Snd_ClearRequests();
    EXPECT_TRUE(DelayedSounds.empty());
    EXPECT_TRUE(DynamicSounds.empty());
    EXPECT_EQ(Snd_PlayingCount(), 1);
}

struct PanCase {
    const char* name;
    int x;
    int board_offset;
    int screen;
    int side; // -1 left louder, 0 balanced, 1 right louder
};

class PanTest : public SoundFxTest, public ::testing::WithParamInterface<PanCase> {};

TEST_P(PanTest, PanFollowsTheScreenColumn) {
    const PanCase& c = GetParam();
    BoardOffset = c.board_offset;
    ASSERT_NE(Snd_PlayAt(6, 1, 1, c.x, 3, c.screen), nullptr);
    Energy e = Render(50);
    ASSERT_GT(e.left + e.right, 0.0);
    double balance = (e.right - e.left) / (e.right + e.left);
    if (c.side == 0)
        EXPECT_NEAR(balance, 0.0, 0.05);
    else
        EXPECT_GT(balance * c.side, 0.5);
}

INSTANTIATE_TEST_SUITE_P(Columns, PanTest,
                         ::testing::Values(PanCase{"LeftEdge", 0, 0, 0, -1},
                                           PanCase{"Centre", 400, 0, 0, 0},
                                           PanCase{"RightEdge", 790, 0, 0, 1},
                                           PanCase{"BoardShiftedToCentre", 500, 100, 0, 0},
                                           PanCase{"BoardShiftedLeft", 300, 250, 0, -1},
                                           PanCase{"ScreenPositionIgnoresOffset", 400, 250, 1, 0}),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

TEST_F(SoundFxTest, DelayedAndNamedSoundsPanFromX) {
    Snd_AddDelayed(0, 1, 1, 0, 0, 10, 0);
    Snd_UpdateDelayed(20);
    Energy e = Render(30);
    EXPECT_GT(e.left, 4 * e.right);
    SetUp();
    Snd_PlayObj(Long, 1, 1, 795, 0);
    e = Render(30);
    EXPECT_GT(e.right, 4 * e.left);
}

} // namespace

// A match breaking six ice cells starts six copies of one sound in the same pass. Started
// together at one pitch they would add up sample for sample, 36 times the energy of one and far
// past full scale; spread a little in pitch and level they add up like unrelated sounds.
TEST_F(SoundFxTest, CopiesStartedInOnePassDoNotAddUpSampleForSample) {
    auto break_ice = [](int copies) {
        Snd_UpdateDelayed(0); // a new pass
        for (int i = 0; i < copies; ++i)
            Snd_PlayAt(SND_ICE_BREAK, 0.8f, 0.0f, 400, 0, SND_AT_DISPLAY);
        Energy e = Render(200);
        for (Channel*& ch : SfxChannels) {
            Channel_Stop(ch);
            ch = nullptr;
        }
        Render(10);
        return e.left + e.right;
    };
    const double one = break_ice(1);
    ASSERT_GT(one, 0.0);
    const double six = break_ice(6);
    EXPECT_GT(six, 1.5 * one); // every copy is heard
    EXPECT_LT(six, 4.0 * one);
    EXPECT_NEAR(break_ice(1), one, one * 0.01); // the next pass starts afresh
}
