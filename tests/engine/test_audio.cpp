// Sound decoding and channels, heard through an OpenAL Soft loopback device.
#include "engine/audio.h"

#include "engine/stream.h"

#include <AL/al.h>
#include <gtest/gtest.h>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>

namespace {

constexpr int kRate = 44100;

std::vector<std::int16_t> Sine(int frames, int channels, double hz = 440.0, double amp = 12000) {
    std::vector<std::int16_t> s(static_cast<std::size_t>(frames) * channels);
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            s[i * channels + c] =
                static_cast<std::int16_t>(amp * std::sin(i * 2 * M_PI * hz / kRate));
    return s;
}

void Put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    for (int i = 0; i < 4; ++i)
        v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
}

void Put16(std::vector<std::uint8_t>& v, std::uint16_t x) {
    v.push_back(static_cast<std::uint8_t>(x));
    v.push_back(static_cast<std::uint8_t>(x >> 8));
}

// A RIFF WAV with an extra chunk of odd size before the samples, as some writers add.
std::vector<std::uint8_t> MakeWav(const std::vector<std::uint8_t>& pcm, int channels, int bits) {
    std::vector<std::uint8_t> w = {'R', 'I', 'F', 'F'};
    Put32(w, static_cast<std::uint32_t>(4 + 8 + 16 + 8 + 3 + 1 + 8 + pcm.size()));
    w.insert(w.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put32(w, 16);
    Put16(w, 1);
    Put16(w, static_cast<std::uint16_t>(channels));
    Put32(w, kRate);
    Put32(w, static_cast<std::uint32_t>(kRate * channels * bits / 8));
    Put16(w, static_cast<std::uint16_t>(channels * bits / 8));
    Put16(w, static_cast<std::uint16_t>(bits));
    w.insert(w.end(), {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0});
    w.insert(w.end(), {'d', 'a', 't', 'a'});
    Put32(w, static_cast<std::uint32_t>(pcm.size()));
    w.insert(w.end(), pcm.begin(), pcm.end());
    return w;
}

std::vector<std::uint8_t> MakeWav16(const std::vector<std::int16_t>& samples, int channels) {
    std::vector<std::uint8_t> pcm;
    for (std::int16_t s : samples)
        Put16(pcm, static_cast<std::uint16_t>(s));
    return MakeWav(pcm, channels, 16);
}

std::vector<std::uint8_t> MakeOgg(const std::vector<std::int16_t>& samples, int channels,
                                  int rate = kRate) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    EXPECT_EQ(vorbis_encode_init_vbr(&vi, channels, rate, 0.3f), 0);
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 1);
    std::vector<std::uint8_t> out;
    auto put = [&](const ogg_page& pg) {
        out.insert(out.end(), pg.header, pg.header + pg.header_len);
        out.insert(out.end(), pg.body, pg.body + pg.body_len);
    };
    ogg_packet h[3];
    vorbis_analysis_headerout(&vd, &vc, &h[0], &h[1], &h[2]);
    for (ogg_packet& p : h)
        ogg_stream_packetin(&os, &p);
    ogg_page pg;
    while (ogg_stream_flush(&os, &pg))
        put(pg);
    const int frames = static_cast<int>(samples.size()) / channels;
    for (int done = 0; done <= frames;) {
        int n = std::min(4096, frames - done);
        if (n > 0) {
            float** buf = vorbis_analysis_buffer(&vd, n);
            for (int i = 0; i < n; ++i)
                for (int c = 0; c < channels; ++c)
                    buf[c][i] = samples[(done + i) * channels + c] / 32768.0f;
        }
        vorbis_analysis_wrote(&vd, n);
        done += n > 0 ? n : 1;
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &pg))
                    put(pg);
            }
        }
    }
    while (ogg_stream_flush(&os, &pg))
        put(pg);
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

// Registered test files must outlive their registry entries.
std::deque<std::vector<std::uint8_t>> Files;

std::string Register(const std::string& name, std::vector<std::uint8_t> bytes) {
    Files.push_back(std::move(bytes));
    Incbin_Register(name, Files.back().data(), Files.back().size());
    return "incbin::" + name;
}

struct Levels {
    int left = 0, right = 0; // peak magnitudes
};

// OpenAL ramps a restarted source's gains over its first few dozen frames; start measuring once
// they have settled.
void Settle() {
    std::vector<std::int16_t> out;
    Audio_RenderLoopback(128, out);
}

// Output this quiet is the mixer's rounding, not sound.
constexpr int kSilence = 2;

Levels Render(int frames) {
    std::vector<std::int16_t> out;
    EXPECT_TRUE(Audio_RenderLoopback(frames, out));
    Levels l;
    for (std::size_t i = 0; i + 1 < out.size(); i += 2) {
        l.left = std::max(l.left, std::abs(int(out[i])));
        l.right = std::max(l.right, std::abs(int(out[i + 1])));
    }
    return l;
}

// Renders in blocks until the channel stops; the frames it played for.
int FramesUntilStopped(Channel* ch, int limit) {
    constexpr int kBlock = 256;
    int frames = 0;
    std::vector<std::int16_t> out;
    while (Channel_Playing(ch) && frames < limit) {
        Audio_RenderLoopback(kBlock, out);
        frames += kBlock;
    }
    return frames;
}

class AudioLoopback : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(Audio_Open(AudioOptions{true, kRate}));
        half_second = LoadSound(Register("half.wav", MakeWav16(Sine(kRate / 2, 1), 1)));
        ASSERT_NE(half_second, nullptr);
    }
    void TearDown() override {
        Audio_Close();
        Incbin_Clear();
    }
    Sound* half_second = nullptr;
};

} // namespace

TEST_F(AudioLoopback, PanningHardLeftOrRightSoundsOnOneSideOnly) {
    struct Case {
        float pan, depth;
        bool left;
    };
    for (Case c : {Case{-1, 0, true}, Case{-1, 1, true}, Case{-1, -1, true}, Case{1, 0, false},
                   Case{1, -0.5f, false}}) {
        SCOPED_TRACE(testing::Message() << "pan " << c.pan << " depth " << c.depth);
        Channel* ch = CueSound(half_second);
        Channel_SetPan(ch, c.pan);
        Channel_SetDepth(ch, c.depth);
        Channel_SetPaused(ch, false);
        Settle();
        Levels l = Render(4096);
        Channel_Stop(ch);
        EXPECT_GT(c.left ? l.left : l.right, 3000);
        EXPECT_LE(c.left ? l.right : l.left, kSilence);
    }
    Channel* centre = PlaySound(half_second);
    Settle();
    Levels l = Render(4096);
    Channel_Stop(centre);
    EXPECT_GT(l.left, 2000);
    EXPECT_NEAR(l.left, l.right, l.left / 20);
}

TEST_F(AudioLoopback, RateTwoPlaysInHalfTheTime) {
    Channel* ch = AllocChannel();
    PlaySound(half_second, ch);
    int normal = FramesUntilStopped(ch, kRate * 4);
    EXPECT_NEAR(normal, kRate / 2, 512);

    PlaySound(half_second, ch);
    Channel_SetRate(ch, 2.0f);
    int fast = FramesUntilStopped(ch, kRate * 4);
    EXPECT_NEAR(fast, kRate / 4, 512);

    // The caller's channel keeps its rate for the next sound; a pool channel starts afresh.
    Channel* temp = PlaySound(half_second);
    Channel_SetRate(temp, 2.0f);
    FramesUntilStopped(temp, kRate * 4);
    Channel* reused = PlaySound(half_second);
    EXPECT_EQ(reused, temp);
    EXPECT_NEAR(FramesUntilStopped(reused, kRate * 4), kRate / 2, 512);
}

TEST_F(AudioLoopback, ACuedChannelIsSilentUntilUnpaused) {
    Channel* ch = CueSound(half_second);
    ASSERT_NE(ch, nullptr);
    EXPECT_EQ(Channel_Playing(ch), 0);
    EXPECT_LE(Render(2048).left, kSilence);

    Channel_SetPaused(ch, false);
    EXPECT_EQ(Channel_Playing(ch), 1);
    EXPECT_GT(Render(2048).left, 3000);

    Channel_SetPaused(ch, true);
    EXPECT_EQ(Channel_Playing(ch), 0);
    Settle();
    EXPECT_LE(Render(2048).left, kSilence);
    Channel_SetPaused(ch, false);
    EXPECT_EQ(Channel_Playing(ch), 1);

    // A pool channel that is cued is not handed out again.
    Channel* other = CueSound(half_second);
    EXPECT_NE(other, ch);
    EXPECT_NE(PlaySound(half_second), other);
}

TEST_F(AudioLoopback, VolumeZeroIsSilentAndRateZeroIsAccepted) {
    Channel* ch = PlaySound(half_second);
    Channel_SetVolume(ch, 0.0f);
    Settle();
    EXPECT_LE(Render(2048).left, kSilence);
    EXPECT_EQ(Channel_Playing(ch), 1);

    alGetError();
    for (float rate : {0.0f, -1.0f, NAN}) {
        Channel_SetRate(ch, rate);
        EXPECT_EQ(alGetError(), AL_NO_ERROR) << rate;
    }
    Render(1024);
    EXPECT_EQ(Channel_Playing(ch), 1);
    Channel_Stop(ch);
    EXPECT_EQ(Channel_Playing(ch), 0);
}

TEST_F(AudioLoopback, ALoopingSoundPlaysOnUntilStopped) {
    Sound* loop = LoadSound(Register("loop.wav", MakeWav16(Sine(2000, 1), 1)), SOUND_LOOP);
    ASSERT_NE(loop, nullptr);
    Channel* ch = PlaySound(loop);
    EXPECT_EQ(FramesUntilStopped(ch, 20000), 20224); // still going when the limit is hit
    Channel_Stop(ch);
    EXPECT_EQ(Channel_Playing(ch), 0);
}

TEST_F(AudioLoopback, OggSoundsDecodeAndPlay) {
    std::vector<std::int16_t> stereo = Sine(kRate, 2);
    Sound* s = LoadSound(Register("music.ogg", MakeOgg(stereo, 2)));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(Sound_Channels(s), 2);
    EXPECT_EQ(Sound_SampleRate(s), kRate);
    EXPECT_EQ(Sound_LengthMs(s), 1000);
    ASSERT_EQ(Sound_Samples(s).size(), stereo.size());
    Channel* ch = PlaySound(s);
    Levels l = Render(4096);
    EXPECT_GT(l.left, 5000);
    EXPECT_GT(l.right, 5000);
    Channel_Stop(ch);
}

TEST_F(AudioLoopback, ALongSoundStillGivesItsSamplesAfterUpload) {
    // Long enough that only its compressed bytes are kept once OpenAL has the samples.
    std::vector<std::int16_t> mono = Sine(1200000, 1, 300.0);
    Sound* s = LoadSound(Register("long.ogg", MakeOgg(mono, 1)));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(Sound_Samples(s).size(), mono.size());
    EXPECT_EQ(Sound_LengthMs(s), 1200000 * 1000 / kRate);
    Audio_Close(); // the sound survives a closed and re-opened device
    ASSERT_TRUE(Audio_Open(AudioOptions{true, kRate}));
    Channel* ch = PlaySound(s);
    EXPECT_GT(Render(4096).left, 4000); // centred, under the master gain
    Channel_Stop(ch);
}

TEST(SoundDecoding, WavSamplesOfEitherWidthBecomeSixteenBit) {
    std::vector<std::uint8_t> pcm8 = {0, 128, 255, 64};
    Sound* s8 = LoadSound(Register("eight.wav", MakeWav(pcm8, 2, 8)));
    ASSERT_NE(s8, nullptr);
    EXPECT_EQ(Sound_Channels(s8), 2);
    EXPECT_EQ(Sound_Samples(s8), (std::vector<std::int16_t>{-32768, 0, 32512, -16384}));

    std::vector<std::int16_t> samples = {-32768, 32767, 1, -1};
    Sound* s16 = LoadSound(Register("sixteen.wav", MakeWav16(samples, 1)));
    ASSERT_NE(s16, nullptr);
    EXPECT_EQ(Sound_Channels(s16), 1);
    EXPECT_EQ(Sound_SampleRate(s16), kRate);
    EXPECT_EQ(Sound_Samples(s16), samples);
    Incbin_Clear();
}

TEST(SoundDecoding, DamagedFilesGiveNullNeverACrash) {
    const std::vector<std::uint8_t> wav = MakeWav16(Sine(4000, 1), 1);
    const std::vector<std::uint8_t> ogg = MakeOgg(Sine(20000, 2), 2);
    ASSERT_NE(LoadSound(Register("good.wav", wav)), nullptr);
    ASSERT_NE(LoadSound(Register("good.ogg", ogg)), nullptr);

    struct Damage {
        const char* what;
        bool wav_too; // a WAV has no checksum: changed samples are still a valid file
        std::function<void(std::vector<std::uint8_t>&)> apply;
    };
    const Damage damages[] = {
        {"empty", true, [](auto& b) { b.clear(); }},
        {"header only", true, [](auto& b) { b.resize(20); }},
        {"cut at 40%", true, [](auto& b) { b.resize(b.size() * 4 / 10); }},
        {"last byte missing", true, [](auto& b) { b.pop_back(); }},
        {"bytes flipped at 60%", false,
         [](auto& b) {
             for (std::size_t i = 0; i < 16; ++i)
                 b[b.size() * 6 / 10 + i] ^= 0x5A;
         }},
        {"bytes flipped near the start", true,
         [](auto& b) {
             for (std::size_t i = 20; i < 40; ++i)
                 b[i] ^= 0xFF;
         }},
        {"size fields maxed", true,
         [](auto& b) {
             for (std::size_t i = 4; i < 8; ++i)
                 b[i] = 0xFF;
             for (std::size_t i = 40; i < 44 && i < b.size(); ++i)
                 b[i] = 0xFF;
         }},
    };
    int n = 0;
    for (const auto* original : {&wav, &ogg}) {
        for (const Damage& d : damages) {
            if (original == &wav && !d.wav_too) continue;
            SCOPED_TRACE(std::string(original == &wav ? "wav: " : "ogg: ") + d.what);
            std::vector<std::uint8_t> bytes = *original;
            d.apply(bytes);
            EXPECT_EQ(LoadSound(Register("bad" + std::to_string(n++), bytes)), nullptr);
        }
    }
    EXPECT_EQ(LoadSound("incbin::never registered"), nullptr);
    Incbin_Clear();
}

TEST(SoundWithoutDevice, EveryCallIsHarmlessAndSoundsStillDecode) {
    ASSERT_FALSE(Audio_IsOpen());
    Sound* s = LoadSound(Register("quiet.wav", MakeWav16(Sine(1000, 1), 1)));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(Sound_Samples(s).size(), 1000u);
    Channel* ch = AllocChannel();
    EXPECT_EQ(PlaySound(s, ch), ch);
    Channel_SetVolume(ch, 0.5f);
    Channel_SetPan(ch, -1.0f);
    Channel_SetDepth(ch, 1.0f);
    Channel_SetRate(ch, 0.0f);
    Channel_SetPaused(ch, false);
    EXPECT_EQ(Channel_Playing(ch), 0);
    Channel_Stop(ch);
    CueSound(s);
    PlaySound(nullptr);
    Channel_Stop(nullptr);
    EXPECT_EQ(Channel_Playing(nullptr), 0);
    std::vector<std::int16_t> out;
    EXPECT_FALSE(Audio_RenderLoopback(64, out));
    Incbin_Clear();
}

// ---- Long sounds streamed from their compressed bytes ----------------------------------------

namespace {

constexpr int kStreamSeconds = 14; // past the length from which Ogg sounds are streamed

// A stereo 200 Hz tone whose loudness rises steadily from start to end, so the level heard tells
// where in the sound a channel is.
std::string RisingToneOgg(const std::string& name) {
    const int frames = kStreamSeconds * kRate;
    std::vector<std::int16_t> s(static_cast<std::size_t>(frames) * 2);
    for (int i = 0; i < frames; ++i) {
        double amp = 2000.0 + 26000.0 * i / frames;
        auto v = static_cast<std::int16_t>(amp * std::sin(i * 2 * M_PI * 200.0 / kRate));
        s[std::size_t(i) * 2] = s[std::size_t(i) * 2 + 1] = v;
    }
    static std::vector<std::uint8_t> encoded = MakeOgg(s, 2); // encoded once for every test
    return Register(name, encoded);
}

// The level the rising tone has at `seconds`, as the mixer plays it in these tests.
double RisingLevelAt(double seconds, double full) {
    return full * (2000.0 + 26000.0 * seconds / kStreamSeconds) / 28000.0;
}

// The full-scale level of the rising tone, from the peak of its first 100 ms.
double FullFrom(int first_peak) {
    return first_peak * 28000.0 / (2000.0 + 26000.0 * 0.1 / kStreamSeconds);
}

// Peak of the left side over the next `ms` milliseconds.
int PeakOver(int ms) {
    return Render(kRate * ms / 1000).left;
}

} // namespace

TEST_F(AudioLoopback, AStreamedSoundPlaysThroughWithoutAGapAndEnds) {
    Sound* s = LoadSound(RisingToneOgg("rising.ogg"));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(Sound_LengthMs(s), kStreamSeconds * 1000);
    EXPECT_EQ(Sound_Channels(s), 2);
    Channel* ch = PlaySound(s);
    Settle();
    // 100 ms pieces all the way: each as loud as the tone is at that moment (a gap, a repeat or
    // a jump would show), rendered in steps far longer than the queue
    const double full = FullFrom(PeakOver(100));
    for (int piece = 1; piece < kStreamSeconds * 10 - 2; ++piece) {
        int peak = PeakOver(100);
        double expected = RisingLevelAt(piece / 10.0 + 0.1, full);
        ASSERT_NEAR(peak, expected, expected * 0.04 + 100) << "at " << piece / 10.0 << " s";
    }
    EXPECT_LT(FramesUntilStopped(ch, kRate), kRate / 2); // ends with the sound
    EXPECT_EQ(Channel_Playing(ch), 0);
}

TEST_F(AudioLoopback, AStreamedSoundLoopsPausesAndPlaysOnTwoChannelsAtOnce) {
    Sound* loop = LoadSound(RisingToneOgg("rising_loop.ogg"), SOUND_LOOP);
    ASSERT_NE(loop, nullptr);
    Channel* a = AllocChannel();
    PlaySound(loop, a);
    Settle();
    const double full = FullFrom(PeakOver(100));
    Render(kRate * (kStreamSeconds - 1)); // to 13.1 s
    EXPECT_NEAR(PeakOver(100), RisingLevelAt(13.2, full), full * 0.05);
    Render(kRate * 2); // round the end: about 1.2 s into the second round
    EXPECT_NEAR(PeakOver(100), RisingLevelAt(1.3, full), full * 0.05);
    EXPECT_EQ(Channel_Playing(a), 1);

    // a second channel starts the same sound from its beginning; the first keeps its place
    Channel* b = AllocChannel();
    PlaySound(loop, b);
    Channel_SetPaused(a, true);
    Settle();
    EXPECT_NEAR(PeakOver(100), RisingLevelAt(0.1, full), full * 0.05);
    Channel_Stop(b);
    Render(kRate * 3); // paused: a stays where it was
    Channel_SetPaused(a, false);
    Settle();
    EXPECT_NEAR(PeakOver(100), RisingLevelAt(1.5, full), full * 0.05);
    Channel_Stop(a);
    EXPECT_EQ(Channel_Playing(a), 0);
    Settle();
    EXPECT_LE(PeakOver(100), kSilence);
}

TEST_F(AudioLoopback, ADamagedLongOggIsRefusedAtLoading) {
    RisingToneOgg("whole.ogg");
    std::vector<std::uint8_t> cut = Files.back();
    cut.resize(cut.size() * 2 / 3); // the file ends inside a page
    EXPECT_EQ(LoadSound(Register("cut.ogg", cut)), nullptr);
}
