// The generated sound files as the game loads them: every one decodes, has the channel layout the
// mixer needs, lasts as long as its use allows, never clips, and the ambience loops without a
// seam.
#include "engine/audio.h"
#include "tools/sound/kit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace {

struct Expected {
    const char* file;
    int channels;
    double min_s, max_s;
};

// Effects are mono (the game pans them by position), music and ambience stereo. The lengths are
// what each use allows: a UI tick must be short, a jingle 2 to 4 s, a carol 60 to 150 s.
const Expected kFiles[] = {
    {"hammer01.ogg", 1, 0.3, 2.0},
    {"hammer02.ogg", 1, 0.3, 2.5},
    {"gem_move.ogg", 1, 0.15, 0.8},
    {"click_gem.ogg", 1, 0.05, 1.0},
    {"4gem.ogg", 1, 0.4, 2.5},
    {"Boulder.ogg", 1, 0.5, 2.5},
    {"GetHammer.ogg", 1, 0.6, 3.0},
    {"click.wav", 1, 0.02, 0.3},
    {"ding1.wav", 1, 0.3, 2.0},
    {"glass_breaking2.ogg", 1, 0.3, 2.0},
    {"Shieldout.wav", 1, 0.2, 1.5},
    {"bub_timealarm.ogg", 1, 0.1, 1.0},
    {"explo3.wav", 1, 0.4, 2.5},
    {"triangle1.wav", 1, 0.5, 4.0},
    {"WinLevel.ogg", 1, 2.0, 4.0},
    {"GameOver.ogg", 1, 2.0, 4.0},
    {"KV_Ambient.ogg", 2, 60.0, 100.0}, // long enough that its chimes never seem to repeat
    {"error1.wav", 1, 0.1, 1.0},
    {"Kv_Silent_Night.ogg", 2, 60.0, 150.0},
    {"KV_Angels_We_Have_Heard.ogg", 2, 60.0, 150.0},
    {"KV_Away_in_a_Manger.ogg", 2, 60.0, 150.0},
    {"KV_O_Come_All_Ye_Faithful.ogg", 2, 60.0, 150.0},
    {"KV_Amazing_Grace.ogg", 2, 60.0, 150.0},
    {"KV_Auld Lang Syne.ogg", 2, 60.0, 150.0},
};

std::string PathOf(const std::string& file) {
    return std::string(SNOW_ASSETS_DIR) + "/sounds/" + file;
}

// Each file is decoded once for all the tests (the carols take a while).
Sound* Load(const std::string& file) {
    static std::map<std::string, Sound*> loaded;
    auto it = loaded.find(file);
    if (it == loaded.end()) it = loaded.emplace(file, LoadSound(PathOf(file), 0)).first;
    return it->second;
}

Signal ToSignal(Sound* sound) {
    Signal s;
    s.channels = Sound_Channels(sound);
    for (std::int16_t v : Sound_Samples(sound))
        s.samples.push_back(float(v) / 32768.0f);
    return s;
}

class GeneratedSound : public ::testing::TestWithParam<Expected> {};

TEST_P(GeneratedSound, DecodesWithItsLayoutLengthAndHeadroom) {
    const Expected& e = GetParam();
    Sound* sound = Load(e.file);
    ASSERT_NE(sound, nullptr) << e.file << " does not decode";
    EXPECT_EQ(Sound_Channels(sound), e.channels) << e.file;
    EXPECT_EQ(Sound_SampleRate(sound), 44100) << e.file;
    double seconds = Sound_LengthMs(sound) / 1000.0;
    EXPECT_GE(seconds, e.min_s) << e.file;
    EXPECT_LE(seconds, e.max_s) << e.file;

    Signal s = ToSignal(sound);
    double peak_db = Db_FromGain(Level_Peak(s));
    EXPECT_LE(peak_db, -1.0) << e.file << " peaks too close to full scale";
    EXPECT_GE(peak_db, -20.0) << e.file << " is nearly silent";
}

INSTANTIATE_TEST_SUITE_P(AllFiles, GeneratedSound, ::testing::ValuesIn(kFiles),
                         [](const ::testing::TestParamInfo<Expected>& param_info) {
                             std::string name = param_info.param.file;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

double ActiveRmsDb(const char* file) {
    Sound* sound = Load(file);
    return sound ? Db_FromGain(Level_ActiveRms(ToSignal(sound))) : -200.0;
}

TEST(GeneratedLevels, MusicSitsBelowTheEffects) {
    std::vector<double> effects, music;
    for (const Expected& e : kFiles) {
        std::string name = e.file;
        double db = ActiveRmsDb(e.file);
        if (name.rfind("KV_", 0) == 0 || name.rfind("Kv_", 0) == 0) {
            if (name != "KV_Ambient.ogg") music.push_back(db);
        } else {
            effects.push_back(db);
        }
    }
    ASSERT_EQ(music.size(), 6u);
    std::sort(effects.begin(), effects.end());
    double typical_effect = effects[effects.size() / 2];
    for (double db : music)
        EXPECT_LE(db, typical_effect - 3.0);
    // loudness-matched: no effect stands far out from the others
    for (double db : effects)
        EXPECT_NEAR(db, typical_effect, 7.0);
}

// The carols sound whole in stereo and on one speaker: left and right mostly alike, nothing lost
// to cancellation when they are folded down to mono.
TEST(GeneratedLevels, CarolsHoldTogetherInStereoAndInMono) {
    for (const Expected& e : kFiles) {
        std::string name = e.file;
        if (e.channels != 2 || name == "KV_Ambient.ogg") continue;
        Sound* sound = Load(e.file);
        ASSERT_NE(sound, nullptr) << name;
        Signal s = ToSignal(sound);
        EXPECT_GE(Level_Correlation(s), 0.3) << name;
        EXPECT_LE(Level_MonoLossDb(s), 3.0) << name;
    }
}

// The n-th differences of a run of samples.
std::vector<double> Differences(std::vector<double> x, int order) {
    for (int k = 0; k < order; ++k) {
        for (size_t i = 0; i + 1 < x.size(); ++i)
            x[i] = x[i + 1] - x[i];
        x.pop_back();
    }
    return x;
}

double Rms(const std::vector<double>& x) {
    double sum = 0;
    for (double v : x)
        sum += v * v;
    return std::sqrt(sum / double(x.size()));
}

TEST(GeneratedAmbience, EndRunsIntoTheStartWithoutAJump) {
    Sound* sound = Load("KV_Ambient.ogg");
    ASSERT_NE(sound, nullptr);
    Signal s = ToSignal(sound);
    ASSERT_EQ(s.channels, 2);
    const int frames = Signal_Frames(s), side = kSampleRate / 20; // 50 ms either side of the seam
    ASSERT_GT(frames, 4 * side);
    for (int c = 0; c < 2; ++c) {
        // The loop as the player hears it: the last 50 ms, then the first 50 ms.
        std::vector<double> around;
        for (int i = frames - side; i < frames + side; ++i)
            around.push_back(s.samples[size_t(i % frames) * 2 + size_t(c)]);
        for (int order : {1, 2}) { // no jump in the value, no kink in the slope
            auto d = Differences(around, order);
            double typical = Rms(d);
            ASSERT_GT(typical, 0.0);
            for (int i = side - 2; i < side + 1; ++i) // the differences that span the seam
                EXPECT_LE(std::fabs(d[size_t(i)]), 4.0 * typical)
                    << "channel " << c << ", difference of order " << order;
        }
    }
}

} // namespace
