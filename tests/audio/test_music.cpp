// The music playlist and the winter ambience heard through an OpenAL Soft loopback device. The
// carols are stood in for by short tones, so nothing here waits for a real decode; a sound
// "plays" until the test renders past its end.
#include "audio/music.h"

#include "audio/sound_fx.h"
#include "data/players.h"
#include "engine/frame.h"
#include "engine/gfx.h"
#include "engine/shell.h"
#include "engine/stream.h"
#include "engine/system.h"
#include "fx/scenery.h"
#include "tests/support/tone_wav.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr float kFrameMs = 1000.0f / 60.0f;

Sound* ToneSound(const std::string& name, int ms, double hz) {
    static std::vector<std::vector<std::uint8_t>> keep; // the registry keeps pointers
    keep.push_back(ToneWav(ms, hz, 12000));
    Incbin_Register(name, keep.back().data(), keep.back().size());
    return LoadSound("incbin::" + name);
}

// Mean energy per sample of the next `ms` of mixed sound.
double Render(int ms) {
    std::vector<std::int16_t> out;
    EXPECT_TRUE(Audio_RenderLoopback(kRate * ms / 1000, out));
    double sum = 0;
    for (std::int16_t s : out)
        sum += double(s) * s;
    return out.empty() ? 0 : sum / double(out.size());
}

// Silence as the mixer renders it: at most a dither of about one step.
bool Quiet(double energy) {
    return energy < 4.0;
}

// Nearly silent: a test tone at the ambience's floor volume of 0.001 (a full-volume tone has an
// energy of about 7e7).
bool Hushed(double energy) {
    return energy < 1000.0;
}

void Frame(float ms = kFrameMs) {
    DeltaMs = ms;
    DeltaSec = ms / 1000.0f;
}

class MusicTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(Audio_Open(AudioOptions{true, kRate}));
        for (int t = 0; t < Music_Tracks - 1; ++t)
            Tones[t] = ToneSound("test_track" + std::to_string(t) + ".wav", 20000, 220.0 + 110 * t);
        Ambient = ToneSound("test_ambient.wav", 20000, 330.0);
        for (Channel*& ch : MusicChannels)
            ch = AllocChannel();
        for (int i = 1; i <= 3; ++i)
            AmbChannels[i] = AllocChannel();
    }
    static void TearDownTestSuite() { Audio_Close(); }

    void SetUp() override {
        if (!Audio_IsOpen()) {
            ASSERT_TRUE(Audio_Open(AudioOptions{true, kRate}));
        }
        for (Channel* ch : MusicChannels)
            Channel_Stop(ch);
        for (Channel* ch : AmbChannels)
            Channel_Stop(ch);
        Render(10); // lets the stopped sounds' last few samples out
        // The last track stays unregistered: its file is missing, as a damaged install's would be.
        for (int t = 0; t < Music_Tracks - 1; ++t)
            MusicTracks[t] = Tones[t];
        SoundFx[SND_AMBIENT_A] = SoundFx[SND_AMBIENT_B] = SoundFx[SND_AMBIENT_C] = Ambient;
        AudioOff = 0;
        Player_Crt = 0;
        MusicVolume[0] = 0.8f;
        AmbientVolume[0] = 0.6f;
        ActiveMusicChannel = OtherMusicChannel = 0;
        CurrentTrack = 0;
        MusicFadeInVol = MusicFadeOutVol = 0.0f;
        AmbState = AMB_OFF;
        AmbKindA = AmbKindB = 0;
        AmbFadeIn = AmbFadeOut = 0.0f;
        for (float& level : PictureLevel)
            level = 0.0f;
        PictureLevel[1] = PictureLevel[2] = PictureLevel[3] = 1.0f;
        CloudLayerCur = 1;
        CloudLayerNext = 2;
        GameState = STATE_PLAYING;
        ScreenWidth = 800;
        ScreenHeight = 600;
        ScreenCentreX = 400;
        ScreenCentreY = 300;
        System_SetFixedDelta(20); // every Flip moves the clock on by 20 ms: flips can be counted
        Frame();
    }
    void TearDown() override { System_SetFixedDelta(0); }

    // Track `track` playing steadily on the active channel, as after its fade-in.
    static void Playing(int track) {
        ASSERT_EQ(Music_Start(track), track);
        MusicFadeInVol = MusicVolume[0];
        MusicFadeOutVol = 0.0f;
        Channel_Stop(MusicChannels[OtherMusicChannel]);
    }

    static bool ActivePlays() { return Channel_Playing(MusicChannels[ActiveMusicChannel]) == 1; }
    static bool OtherPlays() { return Channel_Playing(MusicChannels[OtherMusicChannel]) == 1; }

    static inline Sound* Tones[Music_Tracks] = {};
    static inline Sound* Ambient = nullptr;
};

// What one Music_Update does on the screens that keep the menu tune and on those that do not.
TEST_F(MusicTest, OneUpdateOnEachScreen) {
    struct Case {
        const char* name;
        int state;
        int playing;    // track playing before the update, -1 none
        float volume;   // the player's music volume before the update
        float raise_to; // the volume just before the update (the options slider), -1 unchanged
        int track_after;
        bool crossfaded; // the channels swapped roles
        bool plays_after;
    };
    const Case cases[] = {
        {"back on the menu while track 3 plays", STATE_MAIN_MENU, 3, 0.8f, -1, 0, true, true},
        {"level chooser while track 4 plays", STATE_LEVEL_CHOOSER, 4, 0.8f, -1, 0, true, true},
        {"menu already on its tune", STATE_MAIN_MENU, 0, 0.8f, -1, 0, false, true},
        {"music raised from 0 on the options", STATE_OPTIONS, -1, 0.0f, 0.5f, 0, true, true},
        {"music left at 0 on the options", STATE_OPTIONS, -1, 0.0f, -1, 0, false, false},
        {"a level keeps its track", STATE_PLAYING, 3, 0.8f, -1, 3, false, true},
        {"the introduction keeps its track", STATE_LEVEL_INTRO, 2, 0.8f, -1, 2, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        MusicVolume[0] = c.volume;
        if (c.playing >= 0) Playing(c.playing);
        const int channel_before = ActiveMusicChannel;
        if (c.raise_to >= 0) MusicVolume[0] = c.raise_to;
        GameState = c.state;
        Music_Update();
        EXPECT_EQ(CurrentTrack, c.track_after);
        EXPECT_EQ(ActiveMusicChannel != channel_before, c.crossfaded);
        EXPECT_EQ(ActivePlays(), c.plays_after);
        if (c.crossfaded && c.playing >= 0) {
            EXPECT_TRUE(OtherPlays()) << "the old track fades out rather than stopping";
            EXPECT_NEAR(MusicFadeOutVol, c.volume, 0.3f * DeltaSec + 1e-4f);
        }
    }
}

TEST_F(MusicTest, NextTrackWrapsAndNeedsMusicOn) {
    struct Case {
        int from;
        float volume;
        int expected;
    };
    const Case cases[] = {{5, 0.8f, 0}, {2, 0.8f, 3}, {0, 0.8f, 1}, {4, 0.0f, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        SetUp();
        CurrentTrack = c.from;
        MusicVolume[0] = c.volume;
        Music_Next();
        EXPECT_EQ(CurrentTrack, c.expected);
        EXPECT_EQ(ActivePlays(), c.volume > 0);
    }
}

TEST_F(MusicTest, MusicOffChangesNothing) {
    for (int off : {0, 1}) {
        SetUp();
        if (off)
            AudioOff = 1;
        else
            MusicVolume[0] = 0.0f;
        CurrentTrack = 2;
        EXPECT_EQ(Music_Play(3, 1), -1);
        EXPECT_EQ(Music_Start(4), -1);
        EXPECT_EQ(CurrentTrack, 2);
        EXPECT_EQ(ActiveMusicChannel, 0);
        EXPECT_FALSE(ActivePlays());
    }
}

// The new track fades in at 0.15 a second and the old one out at 0.3: with volume 0.8 about
// 5.3 s and 2.7 s. The faded channel is stopped and kept for the next cross-fade.
TEST_F(MusicTest, CrossFadeTimings) {
    Playing(2);
    Channel* const channels[2] = {MusicChannels[0], MusicChannels[1]};
    ASSERT_EQ(Music_Start(3), 3);
    int frames_out = -1, frames_in = -1;
    for (int frame = 1; frame <= 600 && (frames_out < 0 || frames_in < 0); ++frame) {
        Music_Update();
        Render(static_cast<int>(kFrameMs));
        if (frames_out < 0 && !OtherPlays()) frames_out = frame;
        if (frames_in < 0 && MusicFadeInVol >= 0.8f) frames_in = frame;
    }
    EXPECT_NEAR(frames_out * kFrameMs, 2667, 40);
    EXPECT_NEAR(frames_in * kFrameMs, 5333, 40);
    EXPECT_TRUE(ActivePlays());
    EXPECT_EQ(MusicChannels[0], channels[0]);
    EXPECT_EQ(MusicChannels[1], channels[1]);
}

// A cross-fade starts the new track silent, so it never bursts in at full volume for the frame
// before the first update turns it down.
TEST_F(MusicTest, CrossFadeStartsSilent) {
    ASSERT_EQ(Music_Start(1), 1);
    EXPECT_TRUE(Quiet(Render(15)));
    Music_Update();
    Frame(1000.0f);
    for (int i = 0; i < 3; ++i)
        Music_Update();
    EXPECT_FALSE(Quiet(Render(15)));
}

// A track that ends starts again from its beginning on the same channel, without a fade.
TEST_F(MusicTest, EndedTrackRestartsOnItsChannel) {
    Sound* blip = ToneSound("test_blip.wav", 40, 500.0);
    MusicTracks[2] = blip;
    Playing(2);
    const int channel = ActiveMusicChannel;
    Render(80);
    ASSERT_FALSE(ActivePlays());
    Music_Update();
    EXPECT_TRUE(ActivePlays());
    EXPECT_EQ(ActiveMusicChannel, channel);
    EXPECT_EQ(CurrentTrack, 2);
    EXPECT_FALSE(Quiet(Render(20)));
}

// The notice shows on every cross-fade, whether or not the track still had to be decoded.
TEST_F(MusicTest, LoadingNoticeOnEveryCrossFade) {
    System_SetHeadless(true);
    DisplayOptions display;
    display.headless = true;
    const bool drawn = Graphics_Open(display);
    struct Case {
        const char* name;
        int track;
        bool loaded;
    };
    const Case cases[] = {{"already decoded", 3, true}, {"never decoded", 5, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        ASSERT_EQ(MusicTracks[c.track] != nullptr, c.loaded);
        SetClsColor(0, 0, 0);
        Cls();
        const int before = MilliSecs();
        ASSERT_EQ(Music_Start(c.track), c.track);
        EXPECT_EQ(MilliSecs() - before, 20) << "one frame presented";
        if (!drawn) continue;
        std::vector<std::uint8_t> rgba;
        int w = 0, h = 0;
        ASSERT_TRUE(Graphics_ReadPixels(rgba, &w, &h));
        int lit = 0;
        for (int y = 570; y < 590; ++y)
            for (int x = 340; x < 460; ++x)
                lit += rgba[(static_cast<std::size_t>(y) * w + x) * 4] > 128;
        EXPECT_GT(lit, 20) << "\"Loading...\" at the bottom centre";
    }
    if (drawn) Graphics_Close();
}

// A track whose file is missing or damaged stays silent and is not tried again: the menu does
// not stall a frame behind "Loading..." on every pass.
TEST_F(MusicTest, UndecodableTrackIsTriedOnce) {
    Music_LoadTrack(5, MUSIC_LOADING_NONE);
    EXPECT_EQ(MusicTracks[5], nullptr);
    EXPECT_EQ(TrackJustLoaded, 0);
    EXPECT_FALSE(Music_NeedsDecoding(5));
    MusicTracks[Music_MenuTrack] = nullptr;
    Music_LoadTrack(Music_MenuTrack, MUSIC_LOADING_NONE);
    ASSERT_FALSE(Music_NeedsDecoding(Music_MenuTrack));
    GameState = STATE_MAIN_MENU;
    const int before = MilliSecs();
    for (int i = 0; i < 10; ++i)
        Music_Update();
    EXPECT_EQ(MilliSecs(), before) << "no notice presented";
    EXPECT_FALSE(ActivePlays());
    MusicTracks[Music_MenuTrack] = Tones[Music_MenuTrack];
}

TEST_F(MusicTest, SilenceWhileInactiveAndBackAfter) {
    Playing(1);
    Amb_Preview();
    ASSERT_FALSE(Quiet(Render(20)));
    Audio_Silence();
    for (int i = 0; i < 3; ++i)
        Render(20); // the mixer eases a volume change in over a few of its passes
    EXPECT_TRUE(Quiet(Render(20)));
    Music_Update();
    Amb_Keep();
    EXPECT_FALSE(Quiet(Render(20)));
}

TEST_F(MusicTest, StartProbe) {
    struct Case {
        const char* name;
        bool device;
        float volume;
        int audio_off_before;
        int audio_off_after;
        bool reports;
    };
    const Case cases[] = {
        {"working output", true, 0.8f, 1, 0, false},
        {"no output", false, 0.8f, 0, 1, true},
        {"music off: nothing probed", false, 0.0f, 1, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        if (!c.device) Audio_Close();
        MusicVolume[0] = c.volume;
        AudioOff = c.audio_off_before;
        testing::internal::CaptureStdout();
        Audio_StartProbe();
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(AudioOff, c.audio_off_after);
        EXPECT_EQ(out.find("Problem finding sound channel ! ") != std::string::npos, c.reports);
        EXPECT_EQ(out.find("NO channel at start ! ") != std::string::npos, c.reports);
        if (c.device) {
            EXPECT_TRUE(ActivePlays());
        }
        if (!c.device && c.audio_off_after == 1) {
            // The game runs on silent: every later request is ignored.
            GameState = STATE_MAIN_MENU;
            Music_Update();
            Music_Next();
            Amb_Start();
            Amb_Update();
            Amb_Preview();
            EXPECT_EQ(Music_Start(2), -1);
        }
    }
}

class AmbienceTest : public MusicTest {
  protected:
    static bool APlays() { return Channel_Playing(AmbChannels[1]) == 1; }
    static bool BPlays() { return Channel_Playing(AmbChannels[2]) == 1; }

    // Game time until AmbState reaches `state`, updating at 60 frames a second.
    static float MsUntil(int state) {
        float ms = 0;
        for (int i = 0; i < 1000 && AmbState != state; ++i) {
            Amb_Update();
            ms += kFrameMs;
        }
        return ms;
    }
};

// The options screen's preview fades out over about 3.3 s once the main menu takes over.
TEST_F(AmbienceTest, PreviewFadesOutAfterOptions) {
    Amb_Preview();
    EXPECT_EQ(AmbState, AMB_STEADY);
    EXPECT_EQ(AmbKindA, 1);
    EXPECT_TRUE(APlays());
    AmbFadeOut = 1.0f; // what entering the main menu does
    AmbState = AMB_FADE_OUT;
    EXPECT_NEAR(MsUntil(AMB_OFF), 3333, 20);
    EXPECT_EQ(AmbFadeIn, 0.0f);
    // Channels are left nearly silent but still playing, ready to fade in again.
    EXPECT_TRUE(APlays());
    Render(20);
    EXPECT_TRUE(Hushed(Render(20)));
}

TEST_F(AmbienceTest, PlayFadesInOnTheCloudLayers) {
    CloudLayerCur = 3;
    CloudLayerNext = 1;
    AmbFadeIn = 1.0f; // left over from a fade-out cut short by the screens in between
    Amb_Start();
    EXPECT_EQ(AmbKindA, 3);
    EXPECT_EQ(AmbKindB, 1);
    EXPECT_EQ(AmbState, AMB_FADE_IN);
    EXPECT_TRUE(APlays());
    EXPECT_TRUE(BPlays());
    EXPECT_TRUE(Hushed(Render(15)));
    EXPECT_NEAR(MsUntil(AMB_STEADY), 3333, 20);
    EXPECT_EQ(AmbFadeOut, 1.0f);
    EXPECT_FALSE(Quiet(Render(15)));
}

// A channel whose cloud layer has faded from view moves to a layer the other is not playing.
TEST_F(AmbienceTest, FollowsTheScenery) {
    struct Case {
        const char* name;
        int a, b, cur, next;
        float level_a, level_b;
        int a_after, b_after;
    };
    const Case cases[] = {
        {"layers unchanged", 1, 2, 1, 2, 1.0f, 1.0f, 1, 2},
        {"A's layer still visible", 1, 2, 2, 3, 0.3f, 1.0f, 1, 2},
        {"A's layer gone: A takes the next", 1, 2, 2, 3, 0.0f, 1.0f, 3, 2},
        {"A's layer gone, B already on next", 1, 3, 2, 3, 0.0f, 1.0f, 2, 3},
        {"B's layer gone: B takes the showing one", 3, 1, 2, 3, 1.0f, 0.0f, 3, 2},
        {"B's layer gone, A on the showing one", 2, 1, 2, 3, 1.0f, 0.0f, 2, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        AmbKindA = c.a;
        AmbKindB = c.b;
        CloudLayerCur = c.cur;
        CloudLayerNext = c.next;
        PictureLevel[c.a] = c.level_a;
        PictureLevel[c.b] = c.level_b;
        AmbState = AMB_STEADY;
        Amb_Update();
        EXPECT_EQ(AmbKindA, c.a_after);
        EXPECT_EQ(AmbKindB, c.b_after);
        EXPECT_TRUE(APlays());
        EXPECT_TRUE(BPlays());
    }
}

TEST_F(AmbienceTest, OffOrSilencedDoesNothing) {
    // Switched off: not even a fade moves.
    AmbKindA = 1;
    AmbFadeIn = 0.5f;
    Amb_Update();
    EXPECT_FALSE(APlays());
    EXPECT_EQ(AmbFadeIn, 0.5f);
    // Ambience volume 0: the channels are never started.
    AmbientVolume[0] = 0.0f;
    Amb_Start();
    Amb_Update();
    Amb_Preview();
    EXPECT_FALSE(APlays());
    EXPECT_FALSE(BPlays());
}

} // namespace
