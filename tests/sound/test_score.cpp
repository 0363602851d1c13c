// Scores: note text becomes the right notes at the right times, and mistakes in a score are
// reported with their line rather than played wrong.
#include "tools/sound/score.h"

#include <gtest/gtest.h>

namespace {

Score Parse(const std::string& text) {
    Score s;
    std::string error;
    EXPECT_TRUE(Score_Parse(text, s, error)) << error;
    return s;
}

TEST(Score, NotesChordsRestsAndLengths) {
    Score s = Parse("tempo 120\n"
                    "part a program=8 vol=0.5\n"
                    "C4 D#4:8 r:4. Bb3,D4,F4:2+8 E4:8t f G4 # a comment\n"
                    "part b drums\n"
                    "n42:16 v=101 n42\n");
    ASSERT_EQ(s.parts.size(), 2u);
    EXPECT_EQ(s.parts[0].program, 8);
    EXPECT_DOUBLE_EQ(s.parts[0].volume, 0.5);
    EXPECT_TRUE(s.parts[1].drums);

    struct Want {
        double beat, beats;
        int key, part;
    };
    const Want want[] = {
        {0.0, 1.0, 60, 0},     {0.0, 0.25, 42, 1},
        {0.25, 0.25, 42, 1}, // C4, hi-hats
        {1.0, 0.5, 63, 0},   // D#4 eighth
        {3.0, 2.5, 58, 0},     {3.0, 2.5, 62, 0},
        {3.0, 2.5, 65, 0},                                      // chord after r:4.
        {5.5, 1.0 / 3, 64, 0}, {5.5 + 1.0 / 3, 1.0 / 3, 67, 0}, // triplet, length carries
    };
    ASSERT_EQ(s.notes.size(), std::size(want));
    for (size_t i = 0; i < s.notes.size(); ++i) {
        EXPECT_NEAR(s.notes[i].beat, want[i].beat, 1e-9) << i;
        EXPECT_NEAR(s.notes[i].beats, want[i].beats, 1e-9) << i;
        EXPECT_EQ(s.notes[i].key, want[i].key) << i;
        EXPECT_EQ(s.notes[i].part, want[i].part) << i;
    }
    EXPECT_EQ(s.notes[2].velocity, 101); // v=101 applies from the second hi-hat on
    EXPECT_GT(s.notes.back().velocity, s.notes.front().velocity); // f is louder than the default
}

TEST(Score, PhrasesRepeatAndTranspose) {
    Score s = Parse("phrase motif\nC4:8 E4\n"
                    "phrase twice\n@motif @motif+12\n"
                    "part a\n@twice-2\n");
    std::vector<int> keys;
    for (const ScoreNote& n : s.notes)
        keys.push_back(n.key);
    EXPECT_EQ(keys, (std::vector<int>{58, 62, 70, 74}));
    EXPECT_DOUBLE_EQ(s.length_beats, 2.0);
}

TEST(Score, TempoChangesShapeTheTimeline) {
    Score s = Parse("tempo 60\npart a\nC4:1 t=120 C4:1 C4\n");
    EXPECT_DOUBLE_EQ(Score_Seconds(s, 4.0), 4.0); // first bar at one beat a second
    EXPECT_DOUBLE_EQ(Score_Seconds(s, 8.0), 6.0); // then twice as fast
    EXPECT_DOUBLE_EQ(Score_Seconds(s, 12.0), 8.0);
}

TEST(Score, BarLinesAllowAPickupAndCatchMiscountedBars) {
    Parse("time 3/4\npart a\nC4 | D4:2. | E4:2 F4:4 |\n");
    Score s;
    std::string error;
    EXPECT_FALSE(Score_Parse("time 3/4\npart a\nC4 | D4:2. |\nE4:2 |\n", s, error));
    EXPECT_NE(error.find("line 4"), std::string::npos) << error;
}

struct BadScore {
    const char* text;
    const char* line;
};

class ScoreErrors : public ::testing::TestWithParam<BadScore> {};

TEST_P(ScoreErrors, AreRefusedWithTheirLine) {
    Score s;
    std::string error;
    EXPECT_FALSE(Score_Parse(GetParam().text, s, error));
    EXPECT_NE(error.find(GetParam().line), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScoreErrors,
    ::testing::Values(BadScore{"part a\nC4 H4\n", "line 2"},            // no such pitch
                      BadScore{"part a\nC\n", "line 2"},                // no octave
                      BadScore{"part a\nC4:3\n", "line 2"},             // no such note value
                      BadScore{"part a\n@nowhere\n", "line 2"},         // unknown phrase
                      BadScore{"phrase x\n@x\npart a\n@x\n", "line 2"}, // a phrase inside itself
                      BadScore{"part a loud=1\n", "line 1"},            // unknown option
                      BadScore{"part a program=300\n", "line 1"},       // program out of range
                      BadScore{"C4\n", "line 1"},                       // notes outside a part
                      BadScore{"tempo 0\npart a\nC4\n", "line"},        // a tempo that never moves
                      BadScore{"part a\nA9:4\n", "line 2"},             // above the keyboard
                      BadScore{"part a\nC4 t=0.001 C4\n", "line 2"},    // a piece without end
                      BadScore{"part a\nC1e20\n", "line 2"},            // an octave past any range
                      BadScore{"part a\nn1e20\n", "line 2"},
                      BadScore{"part a\nC4:99999999999\n", "line 2"},
                      BadScore{"part a\nv=1e20 C4\n", "line 2"},
                      BadScore{"phrase x\nC4\npart a\n@x+1e20\n", "line 4"},
                      BadScore{"", "no part"}));

} // namespace
