// The level language: parsing, compiling, the text round trip and the checks.
#include "tools/levels/level_tools.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

LevelSource ParseOk(const std::string& text) {
    LevelSource s;
    std::string error;
    EXPECT_TRUE(LevelText_Parse(text, s, error)) << error;
    return s;
}

LevelFileData CompileOk(const std::string& text) {
    LevelFileData d;
    std::string error;
    EXPECT_TRUE(Level_Compile(ParseOk(text), d, error)) << error;
    return d;
}

bool HasProblem(const std::vector<std::string>& problems, const std::string& part) {
    for (const std::string& p : problems)
        if (p.find(part) != std::string::npos) return true;
    return false;
}

// A small sound level: 9 x 10, a notch in each top corner fed by the top row.
const char* const GoodLevel = R"(time: 4:30
weights: 1=10 2=10 3=10 4=10

board:
.0000000.
011111110
011111110
011121110
011222110
011121110
011111110
011111110
000000000
000000000
)";

TEST(LevelText, ParsesHeaderForms) {
    struct Case {
        const char* line;
        int time_ms;
    };
    const Case cases[] = {
        {"time: 5:00", 300000}, {"time: 250 s", 250000}, {"time: 241500 ms", 241500}};
    for (const Case& c : cases) {
        LevelSource s =
            ParseOk(std::string(c.line) + "\nweights: 1=3 2=4\nbomb: 2%\nboard:\n000\n");
        EXPECT_EQ(s.time_ms, c.time_ms) << c.line;
        EXPECT_EQ(s.weights[2], 4);
        EXPECT_EQ(s.bomb, 2);
        EXPECT_EQ(s.pieces[0], "???"); // no pieces map: the compiler fills every playable cell
    }
}

TEST(LevelText, ReportsWhatIsWrongAndWhere) {
    struct Case {
        const char* text;
        const char* expect;
    };
    const std::string head = "time: 5:00\nweights: 1=10 2=10 3=10\n";
    const Case cases[] = {
        {"weights: 1=10\nboard:\n000\n", "no time"},
        {"time: 5:00\nboard:\n000\n", "no weights"},
        {"time: 5\nweights: 1=1\nboard:\n0\n", "line 1: bad time"},
        {"time: 5:00\nweights: 16=1\nboard:\n0\n", "line 2: kind 16"},
        {"time: 5:00\nweights: 1=1\ncolour: red\nboard:\n0\n", "unknown key"},
        {"board:\n000\n00\n", "row 1 has 2 cells"},
        {"board:\n0x0\n", "unknown character 'x'"},
        {"board:\n.00\npieces:\n1??\n", "void cell holds a piece"},
        {"board:\n000\npieces:\n.??\n", "playable cell needs"},
        {"board:\n000\n000\nmarks:\n.s.\n...\n", "top row is a spawn cell"},
        {"board:\n000\n000\npieces:\n???\n?X?\nmarks:\n...\n.l.\n", "chains and bombs go on gems"},
        {"board:\n.00\nmarks:\nb..\n", "void cell cannot carry a mark"},
        {"board:\n000\nboard:\n000\n", "given twice"},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        if (text.rfind("board:", 0) == 0) text = head + text;
        LevelSource s;
        std::string error;
        EXPECT_FALSE(LevelText_Parse(text, s, error)) << c.text;
        EXPECT_NE(error.find(c.expect), std::string::npos) << c.text << " -> " << error;
    }
}

TEST(LevelCompiler, FillsOpenCellsWithoutLinesAndWithAMove) {
    LevelFileData d = CompileOk(GoodLevel);
    LevelBoard b{9, 10, &d.cells};
    int x = 0, y = 0;
    EXPECT_FALSE(Board_FindLine(b, x, y)) << x << "," << y;
    EXPECT_GE(Board_BestMove(b), 3);
    for (const LevelDataCell& c : d.cells) {
        if (c.void_)
            EXPECT_EQ(c.color, 0);
        else
            EXPECT_TRUE(c.color >= 1 && c.color <= 4);
    }
    // Fixed seed: the same source gives the same bytes.
    LevelFileData again = CompileOk(GoodLevel);
    EXPECT_EQ(LevelFile_Write(d.settings, d.weights, d.cells),
              LevelFile_Write(again.settings, again.weights, again.cells));
    EXPECT_TRUE(Level_Check(20, d).empty()) << Level_Check(20, d)[0];
}

TEST(LevelCompiler, NeedFourLeavesAMoveMakingFour) {
    LevelFileData d = CompileOk(std::string(GoodLevel).insert(0, "need: 4\n"));
    LevelBoard b{9, 10, &d.cells};
    EXPECT_GE(Board_BestMove(b), 4);
}

TEST(LevelCompiler, PresetLineIsAnError) {
    LevelSource s =
        ParseOk("time: 5:00\nweights: 1=1 2=1\nboard:\n0000\n0000\npieces:\n111?\n????\n");
    LevelFileData d;
    std::string error;
    EXPECT_FALSE(Level_Compile(s, d, error));
    EXPECT_NE(error.find("cell (0, 0)"), std::string::npos) << error;
}

TEST(LevelCompiler, VoidCellsGetContourTilesAndTopRowSpawns) {
    LevelFileData d = CompileOk(GoodLevel);
    const LevelDataCell& corner = d.cells[0];
    EXPECT_EQ(corner.void_, 1);
    EXPECT_EQ(corner.ContTile, 0); // playable right, down-right and down
    EXPECT_EQ(corner.autospawn, 1);
    EXPECT_EQ(d.cells[8].ContTile, 3);
    for (int x = 0; x < 9; ++x)
        EXPECT_EQ(d.cells[x].autospawn, 1);
    EXPECT_EQ(d.cells[9].autospawn, 0);
}

TEST(LevelText, RoundTripThroughTheBinary) {
    // A source that names every piece reads back from its level file unchanged.
    LevelFileData first = CompileOk(GoodLevel);
    LevelSource full;
    std::string error;
    ASSERT_TRUE(Level_Decompile(first, full, error)) << error;
    full.marks[5][2] = 'L';
    full.marks[7][6] = 'b';
    full.marks[9][4] = 's';
    const std::string text = LevelText_Format(full);
    LevelFileData d = CompileOk(text);
    const std::vector<std::uint8_t> bytes = LevelFile_Write(d.settings, d.weights, d.cells);
    LevelFileData read;
    ASSERT_TRUE(LevelFile_Parse(bytes.data(), bytes.size(), 1, read, error)) << error;
    LevelSource back;
    ASSERT_TRUE(Level_Decompile(read, back, error)) << error;
    EXPECT_EQ(LevelText_Format(back), text);
}

TEST(LevelText, DecompileRefusesWhatTheLanguageCannotSay) {
    LevelFileData d = CompileOk(GoodLevel);
    struct Case {
        const char* what;
        void (*spoil)(LevelFileData&);
    };
    const Case cases[] = {
        {"laser", [](LevelFileData& x) { x.cells[20].laser = 1; }},
        {"contour", [](LevelFileData& x) { x.cells[0].ContTile = -1; }},
        {"spawn", [](LevelFileData& x) { x.cells[3].autospawn = 0; }},
        {"kind", [](LevelFileData& x) { x.cells[20].color = 12; }},
    };
    for (const Case& c : cases) {
        LevelFileData bad = d;
        c.spoil(bad);
        LevelSource s;
        std::string error;
        EXPECT_FALSE(Level_Decompile(bad, s, error)) << c.what;
        EXPECT_NE(error.find("cell ("), std::string::npos) << c.what;
    }
}

TEST(LevelCheck, CatchesBrokenLevels) {
    const LevelFileData good = CompileOk(GoodLevel);
    ASSERT_TRUE(Level_Check(20, good).empty());
    auto at = [](LevelFileData& d, int x, int y) -> LevelDataCell& { return d.cells[y * 9 + x]; };
    struct Case {
        const char* expect;
        std::function<void(LevelFileData&)> spoil;
    };
    const Case cases[] = {
        {"cell (0, 0): piece on a void cell", [&](LevelFileData& d) { at(d, 0, 0).color = 1; }},
        {"cell (4, 4): chains only on gems",
         [&](LevelFileData& d) { at(d, 4, 4).color = 15, at(d, 4, 4).locks = 1; }},
        {"cell (4, 9): new pieces cannot reach",
         [&](LevelFileData& d) {
             at(d, 4, 8).void_ = 1, at(d, 4, 8).color = 0, at(d, 4, 8).background = 0;
             at(d, 3, 8).locks = 1, at(d, 5, 8).locks = 1;
         }},
        {"cell (0, 8): ice no line can cross",
         [&](LevelFileData& d) {
             for (int y = 0; y < 10; ++y)
                 for (int x = 0; x < 9; ++x)
                     if (!(x == 0 && y == 8)) at(d, x, y).void_ = 1, at(d, x, y).color = 0;
             at(d, 0, 8).background = at(d, 0, 8).bg_initial = 1;
         }},
        {"line of three",
         [&](LevelFileData& d) { at(d, 1, 1).color = at(d, 2, 1).color = at(d, 3, 1).color = 2; }},
        {"cell (8, 0): contour tile", [&](LevelFileData& d) { at(d, 8, 0).ContTile = 8; }},
        {"above 151",
         [&](LevelFileData& d) {
             d.weights[1] = d.weights[2] = 30, d.weights[5] = 30, d.weights[6] = 30,
             d.weights[7] = 30;
         }},
        {"time outside", [&](LevelFileData& d) { d.settings.time = 60000; }},
        {"cell (4, 4): bomb only on a gem",
         [&](LevelFileData& d) { at(d, 4, 4).color = 8, at(d, 4, 4).bomb = 1; }},
    };
    for (const Case& c : cases) {
        LevelFileData bad = good;
        c.spoil(bad);
        EXPECT_TRUE(HasProblem(Level_Check(20, bad), c.expect)) << c.expect;
    }
}

TEST(LevelCheck, TeachingLevelsNeedWhatTheirTipsPointAt) {
    const LevelFileData snowy = CompileOk(GoodLevel); // snow, no chains, bombs or icecubes
    const std::pair<int, const char*> cases[] = {{5, "chained piece"},
                                                 {7, "double-chained piece"},
                                                 {7, "snow appears before"},
                                                 {13, "needs a bomb"},
                                                 {16, "needs an icecube"}};
    for (auto [level, expect] : cases)
        EXPECT_TRUE(HasProblem(Level_Check(level, snowy), expect)) << level << " " << expect;
    LevelFileData early = snowy;
    early.settings.BombPercent = 2;
    EXPECT_TRUE(HasProblem(Level_Check(12, early), "bombs appear before level 13"));
}

TEST(LevelCheck, BoardsOutsideTheShippedSizes) {
    for (const char* board : {"00000000\n", "0000000000000000000\n"}) {
        std::string text = "time: 5:00\nweights: 1=1 2=1 3=1\nboard:\n";
        const std::string row = std::string(board).substr(0, std::string(board).size() - 1);
        for (int y = 0; y < 10; ++y)
            text += row + "\n";
        LevelFileData d = CompileOk(text);
        EXPECT_TRUE(HasProblem(Level_Check(20, d), "outside 9..17 x 10..15")) << row.size();
    }
}

TEST(LevelSet, ShippedLevelsCompileIdenticallyFromTheirSources) {
    // The build checks every level; this guards that the embedded files are what the sources
    // say, so a stale generated folder cannot slip through.
    for (int n : {1, 4, 16, 150}) {
        char name[32];
        std::snprintf(name, sizeof name, "/assets/levels/level_%03d.txt", n);
        std::ifstream in(std::string(SNOW_SOURCE_DIR) + name);
        ASSERT_TRUE(in) << name;
        std::stringstream text;
        text << in.rdbuf();
        LevelFileData d = CompileOk(text.str());
        EXPECT_TRUE(Level_Check(n, d).empty()) << n << ": " << Level_Check(n, d)[0];
        const std::string built = std::string(SNOW_ASSETS_DIR) + "/" + Level_ResourceName(n);
        std::ifstream lev(built, std::ios::binary);
        if (!lev) continue; // data not generated in this build
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(lev)), {});
        EXPECT_EQ(bytes, LevelFile_Write(d.settings, d.weights, d.cells)) << n;
    }
}

} // namespace

namespace {

// Which cells new pieces reach, on boards drawn as text: '.' void, '#' playable, 'l' chained,
// 's' a spawn cell below the top row. Cells marked '!' must stay unreachable.
TEST(LevelBoard, NewPiecesReachGapsBySlidingOnly) {
    struct Case {
        const char* what;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {"a two-wide hole fills from both sides", {"####", "#..#", "####"}},
        {"the middle under a three-wide hole stays empty", {"#####", "#...#", "##!##"}},
        {"a spawn cell feeds it", {"#####", "#...#", "##s##"}},
        {"pieces slide round a chained piece", {"###", "#l#", "###"}},
        {"a chain with chains beside it seals the column", {"###", "lll", "!!!"}},
        {"an island under void needs its own spawn", {"##...", "##...", "...!!", "...!!"}},
    };
    for (const Case& c : cases) {
        const int dx = static_cast<int>(c.rows[0].size()), dy = static_cast<int>(c.rows.size());
        std::vector<LevelDataCell> cells(static_cast<std::size_t>(dx * dy));
        for (int y = 0; y < dy; ++y)
            for (int x = 0; x < dx; ++x) {
                LevelDataCell& cell = cells[y * dx + x];
                const char ch = c.rows[y][x];
                cell.void_ = ch == '.';
                cell.autospawn = y == 0 || ch == 's';
                cell.locks = ch == 'l';
                cell.color = cell.void_ ? 0 : 1;
            }
        const std::vector<bool> fed = Board_Reachable(LevelBoard{dx, dy, &cells});
        for (int y = 0; y < dy; ++y)
            for (int x = 0; x < dx; ++x)
                if (c.rows[y][x] != '.') {
                    EXPECT_EQ(fed[y * dx + x], c.rows[y][x] != '!')
                        << c.what << " at (" << x << ", " << y << ")";
                }
    }
}

} // namespace
