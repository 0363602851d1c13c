// The synthesis kit's pieces do what their names say.
#include "tools/sound/codec.h"
#include "tools/sound/kit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>

#include <unistd.h>

namespace {

int SignChanges(const Signal& s, int from, int to) {
    int changes = 0;
    for (int i = from + 1; i < to; ++i)
        if ((s.samples[size_t(i - 1)] < 0) != (s.samples[size_t(i)] < 0)) ++changes;
    return changes;
}

struct WaveCase {
    Wave wave;
    double freq;
};

class OscillatorFrequency : public ::testing::TestWithParam<WaveCase> {};

TEST_P(OscillatorFrequency, CrossesZeroTwicePerCycle) {
    auto [wave, freq] = GetParam();
    Signal s = Osc_Tone(wave, freq, 1.0, 0.1); // a phase off the crossings, so none is doubled
    EXPECT_NEAR(SignChanges(s, 0, Signal_Frames(s)), 2 * freq, 2);
}

INSTANTIATE_TEST_SUITE_P(Waves, OscillatorFrequency,
                         ::testing::Values(WaveCase{Wave::Sine, 440}, WaveCase{Wave::Sine, 57},
                                           WaveCase{Wave::Triangle, 1000}, WaveCase{Wave::Saw, 220},
                                           WaveCase{Wave::Square, 3000}));

TEST(Oscillator, GlideMovesFromTheFirstFrequencyToTheSecond) {
    Signal s = Osc_Glide(Wave::Sine, 200, 800, 2.0);
    int tenth = Signal_FrameAt(0.1), frames = Signal_Frames(s);
    EXPECT_NEAR(SignChanges(s, 0, tenth) / 0.2, 200 * std::pow(4.0, 0.025), 15);
    EXPECT_NEAR(SignChanges(s, frames - tenth, frames) / 0.2, 800 * std::pow(4.0, -0.025), 30);
}

Signal Ones(double seconds) {
    Signal s = Signal_Silence(seconds);
    std::fill(s.samples.begin(), s.samples.end(), 1.0f);
    return s;
}

TEST(Envelope, AdsrLastsAttackDecayHoldAndRelease) {
    Signal s = Ones(2.0);
    Env_ADSR(s, 0.05, 0.1, 0.5, 0.3, 0.25); // 0.7 s in all
    auto at = [&](double t) { return s.samples[size_t(Signal_FrameAt(t))]; };
    EXPECT_NEAR(at(0.05), 1.0, 0.01);
    EXPECT_NEAR(at(0.3), 0.5, 0.01);
    EXPECT_GT(at(0.69), 0.0f);
    EXPECT_EQ(at(0.71), 0.0f);
    EXPECT_EQ(at(1.9), 0.0f);
}

TEST(Envelope, StrikeFallsByOneOverEPerTimeConstant) {
    Signal s = Ones(1.0);
    Env_Strike(s, 0.01, 0.2);
    EXPECT_NEAR(s.samples[size_t(Signal_FrameAt(0.21))], std::exp(-1.0), 0.01);
    EXPECT_NEAR(s.samples[size_t(Signal_FrameAt(0.41))], std::exp(-2.0), 0.01);
}

double GainDb(void (*filter)(Signal&, double, double), double cutoff, double tone) {
    Signal s = Osc_Tone(Wave::Sine, tone, 1.0);
    double before = Level_Rms(s);
    filter(s, cutoff, 0.707);
    s.samples.erase(s.samples.begin(), s.samples.begin() + 4410); // past the filter's settling
    return Db_FromGain(Level_Rms(s) / before);
}

TEST(Filter, LowPassKeepsLowTonesAndCutsHighOnes) {
    EXPECT_NEAR(GainDb(Filter_LowPass, 1000, 100), 0.0, 0.5);
    EXPECT_LT(GainDb(Filter_LowPass, 1000, 8000), -30.0);
    EXPECT_NEAR(GainDb(Filter_LowPass, 1000, 1000), -3.0, 0.5); // the cutoff's definition
}

TEST(Filter, HighPassKeepsHighTonesAndCutsLowOnes) {
    EXPECT_NEAR(GainDb(Filter_HighPass, 1000, 10000), 0.0, 0.5);
    EXPECT_LT(GainDb(Filter_HighPass, 1000, 125), -30.0);
}

TEST(Filter, BandPassPeaksAtItsCentre) {
    auto band = [](Signal& s, double f, double) { Filter_BandPass(s, f, 2.0); };
    EXPECT_NEAR(GainDb(band, 2000, 2000), 0.0, 0.5);
    EXPECT_LT(GainDb(band, 2000, 200), -15.0);
    EXPECT_LT(GainDb(band, 2000, 16000), -15.0);
}

TEST(Reverb, LeavesATailThatDiesAway) {
    Signal s = Osc_Tone(Wave::Sine, 500, 0.1);
    Reverb_Apply(s, {0.7, 0.4, 0.3, 1.0}, 3.0);
    ASSERT_NEAR(Signal_Seconds(s), 3.1, 0.01);
    auto rms_between = [&](double a, double b) {
        Signal part;
        part.samples.assign(s.samples.begin() + Signal_FrameAt(a),
                            s.samples.begin() + Signal_FrameAt(b));
        return Level_Rms(part);
    };
    EXPECT_GT(rms_between(0.2, 0.4), 0.001); // the room answers after the sound stopped
    EXPECT_LT(rms_between(2.8, 3.1), rms_between(0.2, 0.4) * 0.1);
}

TEST(Mix, LoopCrossfadeJoinsTheEndToTheStart) {
    // a tone whose length is not a whole number of cycles clicks when looped as it is
    Signal s = Osc_Tone(Wave::Sine, 440.37, 3.0);
    float raw_jump = std::fabs(s.samples.back() - s.samples.front());
    Mix_LoopCrossfade(s, 0.5);
    EXPECT_NEAR(Signal_Seconds(s), 2.5, 0.001);
    float step =
        float(2 * std::numbers::pi * 440.37 / kSampleRate); // the largest step of the tone itself
    EXPECT_GT(raw_jump, step * 1.5f);
    EXPECT_LE(std::fabs(s.samples.back() - s.samples.front()), step * 1.05f);
}

TEST(Mix, ResampleChangesPitchAndLength) {
    Signal s = Osc_Tone(Wave::Sine, 300, 1.0, 0.1);
    Signal up = Mix_Resample(s, 2.0);
    EXPECT_NEAR(Signal_Seconds(up), 0.5, 0.001);
    EXPECT_NEAR(SignChanges(up, 0, Signal_Frames(up)) / 0.5, 1200, 6);
}

TEST(Levels, LimiterHoldsPeaksAndLeavesQuietPartsAlone) {
    Signal s = Osc_Tone(Wave::Sine, 200, 2.0);
    for (size_t i = 0; i < s.samples.size(); ++i)
        s.samples[i] *= i < s.samples.size() / 2 ? 0.1f : 0.9f;
    Level_Limit(s, -6.0, 0.05);
    EXPECT_LE(Level_Peak(s), Db_ToGain(-6.0) + 1e-6);
    EXPECT_NEAR(s.samples[size_t(Signal_FrameAt(0.5) + 55)],
                0.1 * std::sin(2 * std::numbers::pi * 200 * (0.5 + 55.0 / kSampleRate)), 1e-4);
}

TEST(Levels, MatchReachesTheRmsTargetWithinThePeakCeiling) {
    Signal s = Noise_White(1.0, 5);
    Filter_LowPass(s, 2000);
    Level_Match(s, -20.0, -3.0);
    EXPECT_NEAR(Db_FromGain(Level_ActiveRms(s)), -20.0, 0.3);
    EXPECT_LE(Db_FromGain(Level_Peak(s)), -3.0 + 1e-3);
}

// Two channels made of a shared part and a part of each side's own, `inverted` turning the right
// side's copy of the shared part upside down (what a reverb fed back inverted does).
Signal StereoOf(double shared, double own, bool inverted) {
    Signal common = Noise_White(1.0, 1), left = Noise_White(1.0, 2), right = Noise_White(1.0, 3);
    Signal s = Signal_Silence(1.0, 2);
    for (int i = 0; i < Signal_Frames(s); ++i) {
        double c = shared * common.samples[size_t(i)];
        s.samples[size_t(i) * 2] = float(c + own * left.samples[size_t(i)]);
        s.samples[size_t(i) * 2 + 1] = float((inverted ? -c : c) + own * right.samples[size_t(i)]);
    }
    return s;
}

TEST(Levels, StereoCorrelationAndMonoFoldDown) {
    struct Case {
        const char* what;
        double shared, own;
        bool inverted;
        double correlation, mono_loss_db;
    };
    const Case cases[] = {
        {"the same on both sides", 0.5, 0.0, false, 1.0, 0.0},
        {"unrelated sides", 0.0, 0.5, false, 0.0, 3.0},
        {"half shared", 0.5, 0.5, false, 0.5, 1.25},
        {"mostly one side inverted", 0.5, 0.3, true, -0.74, 8.8},
    };
    for (const Case& c : cases) {
        Signal s = StereoOf(c.shared, c.own, c.inverted);
        EXPECT_NEAR(Level_Correlation(s), c.correlation, 0.03) << c.what;
        EXPECT_NEAR(Level_MonoLossDb(s), c.mono_loss_db, 0.25) << c.what;
    }
    EXPECT_EQ(Level_Correlation(Signal_Silence(0.1, 2)), 0.0);
    EXPECT_EQ(Level_Correlation(Noise_White(0.1, 4)), 0.0); // mono has no stereo image
}

TEST(Mix, NarrowToReachesTheCorrelationAndKeepsTheSum) {
    Signal wide = StereoOf(0.5, 0.3, true), narrowed = wide;
    double side = Mix_NarrowTo(narrowed, 0.4);
    EXPECT_LT(side, 1.0);
    EXPECT_NEAR(Level_Correlation(narrowed), 0.4, 0.01);
    for (size_t i = 0; i + 1 < wide.samples.size(); i += 2) // the mono fold-down is untouched
        ASSERT_NEAR(wide.samples[i] + wide.samples[i + 1],
                    narrowed.samples[i] + narrowed.samples[i + 1], 1e-5);
    Signal already = StereoOf(0.5, 0.2, false), kept = already;
    EXPECT_EQ(Mix_NarrowTo(kept, 0.4), 1.0); // holds together already: left as it is
    EXPECT_EQ(kept.samples, already.samples);
}

TEST(Noise, SameSeedSameNoiseOtherSeedOtherNoise) {
    EXPECT_EQ(Noise_White(0.1, 7).samples, Noise_White(0.1, 7).samples);
    EXPECT_NE(Noise_White(0.1, 7).samples, Noise_White(0.1, 8).samples);
}

std::string ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

class CodecRoundTrip : public ::testing::Test {
  protected:
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("snow_sound_codec_" + std::to_string(::getpid()));
    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override { std::filesystem::remove_all(dir); }
};

TEST_F(CodecRoundTrip, WavKeepsEverySampleTo16Bits) {
    Signal s = Mix_ToStereo(Osc_Tone(Wave::Triangle, 330, 0.2));
    Mix_Gain(s, 0.5);
    std::string path = (dir / "t.wav").string();
    ASSERT_TRUE(Wav_Write(path, s));
    Signal back;
    ASSERT_TRUE(Wav_Read(path, back));
    ASSERT_EQ(back.channels, 2);
    ASSERT_EQ(back.samples.size(), s.samples.size());
    for (size_t i = 0; i < s.samples.size(); ++i)
        ASSERT_NEAR(back.samples[i], s.samples[i], 1.0 / 32000);
}

TEST_F(CodecRoundTrip, OggDecodesToTheSameSoundAndSameBytesEachTime) {
    Signal s = Osc_Tone(Wave::Sine, 440, 1.0);
    Mix_Gain(s, 0.5);
    std::string a = (dir / "a.ogg").string(), b = (dir / "b.ogg").string();
    ASSERT_TRUE(Ogg_Write(a, s, 0.35f));
    ASSERT_TRUE(Ogg_Write(b, s, 0.35f));
    EXPECT_EQ(ReadAll(a), ReadAll(b)); // rebuilding changes nothing
    Signal back;
    ASSERT_TRUE(Ogg_Read(a, back));
    EXPECT_EQ(back.channels, 1);
    EXPECT_EQ(Signal_Frames(back), Signal_Frames(s));
    EXPECT_NEAR(Db_FromGain(Level_Rms(back)), Db_FromGain(Level_Rms(s)), 0.5);
}

TEST_F(CodecRoundTrip, ReadersRefuseWhatIsNotTheirFormat) {
    std::string path = (dir / "junk.ogg").string();
    std::ofstream(path) << "not a sound file at all";
    Signal out;
    EXPECT_FALSE(Ogg_Read(path, out));
    EXPECT_FALSE(Wav_Read(path, out));
    EXPECT_FALSE(Ogg_Read((dir / "missing.ogg").string(), out));
}

} // namespace
