// Scores played on the soundfont come out at the written pitch and the written time.
#include "tools/sound/instrument.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const char* kSoundfont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";

Signal Play(const std::string& text) {
    static InstrumentBankPtr bank = [] {
        std::string error;
        InstrumentBankPtr b = Inst_Open(kSoundfont, error);
        EXPECT_TRUE(b) << error;
        return b;
    }();
    Score score;
    std::string error;
    EXPECT_TRUE(Score_Parse(text, score, error)) << error;
    if (!bank) return Signal_Silence(0.0, 2);
    return Mix_ToMono(Inst_Render(*bank, score, 0.5));
}

double RmsBetween(const Signal& s, double a, double b) {
    Signal part;
    part.samples.assign(s.samples.begin() + Signal_FrameAt(a),
                        s.samples.begin() + Signal_FrameAt(b));
    return Level_Rms(part);
}

TEST(Instrument, PlaysTheWrittenPitch) {
    // a flute's steady tone is close to a sine, so its zero crossings give its pitch
    Signal s = Play("tempo 60\npart flute program=73 reverb=0 chorus=0\nmf A4:2\n");
    Signal steady;
    steady.samples.assign(s.samples.begin() + Signal_FrameAt(0.5),
                          s.samples.begin() + Signal_FrameAt(1.5));
    Filter_LowPass(steady, 700); // keep the fundamental only
    int changes = 0;
    for (size_t i = 1000; i < steady.samples.size(); ++i)
        if ((steady.samples[i - 1] < 0) != (steady.samples[i] < 0)) ++changes;
    double seconds = double(steady.samples.size() - 1000) / kSampleRate;
    EXPECT_NEAR(changes / seconds / 2.0, 440.0, 440.0 * 0.02);
}

TEST(Instrument, NotesStartAndStopOnTheBeat) {
    // at 120 a quarter lasts 0.5 s: a note, a rest of 1 s, another note
    Signal s = Play("tempo 120\npart p program=0 reverb=0 legato=1\nf C5:4 r:2 C5:4\n");
    double sounding = RmsBetween(s, 0.05, 0.45);
    EXPECT_GT(sounding, 1e-3);                            // clearly not silence
    EXPECT_LT(RmsBetween(s, 1.0, 1.45), sounding * 0.1);  // the rest, after the release
    EXPECT_GT(RmsBetween(s, 1.55, 1.95), sounding * 0.5); // the second note
    EXPECT_NEAR(Signal_Seconds(s), 2.0 + 0.5, 0.01);      // score plus tail
}

TEST(Instrument, EachScoreStartsFromSilence) {
    // a long note cut off by the end of one score must not ring into the next
    Play("tempo 60\npart pad program=89\nff C4,E4,G4:1\n");
    Signal next = Play("tempo 60\npart quiet program=0\nr:4 p C5:4\n");
    EXPECT_LT(RmsBetween(next, 0.0, 0.9), 1e-4);
}

} // namespace
