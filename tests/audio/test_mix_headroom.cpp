// The whole game's sound (effects, music and ambience together) recorded over a level with
// cascades: eight swaps on level 4 that each set off a chain of matches, dozens of dings and
// ice breaks piling up. The mix keeps its headroom: no sample near full scale, and even its
// loudest half second well under it.
#include "tests/app/game_run.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;

// The samples of the 16-bit stereo WAV the harness writes (its data chunk follows the header).
std::vector<std::int16_t> ReadWav(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(f)), {});
    const std::string text(bytes.begin(), bytes.end());
    const std::size_t data = text.find("data");
    if (data == std::string::npos || data + 8 > bytes.size()) return {};
    std::vector<std::int16_t> samples((bytes.size() - data - 8) / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        auto lo = static_cast<std::uint8_t>(bytes[data + 8 + 2 * i]);
        auto hi = static_cast<std::uint8_t>(bytes[data + 9 + 2 * i]);
        samples[i] = static_cast<std::int16_t>(lo | hi << 8);
    }
    return samples;
}

double Db(double level) {
    return 20.0 * std::log10(std::max(level, 1e-9) / 32768.0);
}

double PeakDb(const std::vector<std::int16_t>& s) {
    int peak = 0;
    for (std::int16_t v : s)
        peak = std::max(peak, std::abs(int(v)));
    return Db(peak);
}

// RMS of the loudest half second, in windows a quarter second apart.
double LoudestRmsDb(const std::vector<std::int16_t>& s) {
    const std::size_t window = kRate, step = kRate / 2; // stereo: samples of 0.5 s and 0.25 s
    double loudest = 0;
    for (std::size_t at = 0; at + window <= s.size(); at += step) {
        double sum = 0;
        for (std::size_t i = at; i < at + window; ++i)
            sum += double(s[i]) * s[i];
        loudest = std::max(loudest, sum / double(window));
    }
    return Db(std::sqrt(loudest));
}

class MixHeadroom : public GameRunTest {};

TEST_F(MixHeadroom, ACascadingLevelWithMusicAndAmbienceStaysUnderFullScale) {
    std::ifstream script(std::string(SNOW_SOURCE_DIR) + "/tests/audio/cascade.input");
    const std::string input((std::istreambuf_iterator<char>(script)), {});
    ASSERT_FALSE(input.empty());
    const std::string wav = (dir / "cascade.wav").string();
    ASSERT_EQ(RunGame("--frames 1330 --no-draw --skip-fade-in --level 4 --level-file " +
                          std::string(SNOW_SOURCE_DIR) + "/tests/audio/cascade.lev " +
                          "--record-audio " + wav,
                      input, {1329}),
              0);
    // the script still plays what it was written for: the menu tune and the ambience sound,
    // and the swaps cascade (a plain three-piece match scores a few hundred)
    EXPECT_EQ(Raw(1329, "AudioOff"), "0");
    EXPECT_EQ(Raw(1329, "AmbState"), "2");
    EXPECT_GE(std::stoi(Raw(1329, "Score")), 10000);
    const std::vector<std::int16_t> samples = ReadWav(wav);
    ASSERT_EQ(samples.size(), std::size_t(1330) * kRate / 50 * 2);
    EXPECT_LT(PeakDb(samples), -1.0);
    EXPECT_LT(LoudestRmsDb(samples), -14.0);
    EXPECT_GT(LoudestRmsDb(samples), -30.0); // and it is not silent
}

} // namespace
