// The level file reader, writer, piece bag and resource names.
#include "data/level_file.h"
#include "data/players.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <vector>

namespace {

// Little-endian bytes of a level file, written field by field so a test can shape any header.
struct Bytes {
    std::vector<std::uint8_t> b;
    Bytes& Int(int v) {
        for (int i = 0; i < 4; ++i)
            b.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
        return *this;
    }
    Bytes& Ints(std::initializer_list<int> vs) {
        for (int v : vs)
            Int(v);
        return *this;
    }
    Bytes& Zeros(int n) {
        b.insert(b.end(), static_cast<std::size_t>(n), 0);
        return *this;
    }
};

// A header of `bytesize` bytes whose known fields are given; the rest zero.
Bytes Header(int bytesize, int dx, int dy, int time, int cell_bytesize, int bomb = 0) {
    Bytes f;
    f.Ints({bytesize, dx, dy, time, cell_bytesize, 0, 0, 0, bomb});
    if (bytesize < 36)
        f.b.resize(static_cast<std::size_t>(bytesize));
    else
        f.Zeros(bytesize - 36);
    return f;
}

Bytes& Weights(Bytes& f, std::initializer_list<std::pair<int, int>> w) {
    int table[16] = {};
    for (auto [k, v] : w)
        table[k] = v;
    for (int v : table)
        f.Int(v);
    return f;
}

LevelFileData Parse(const Bytes& f, int missing_color = 2) {
    LevelFileData d;
    std::string error;
    EXPECT_TRUE(LevelFile_Parse(f.b.data(), f.b.size(), missing_color, d, error)) << error;
    return d;
}

TEST(LevelFile, LongerHeaderWarnsAndReadsWeightsAfterIt) {
    Bytes f = Header(80, 2, 1, 300000, 64, 3);
    Weights(f, {{1, 7}, {2, 9}});
    f.Zeros(2 * 64);
    LevelFileData d = Parse(f);
    ASSERT_EQ(d.warnings, std::vector<std::string>{LevelFile_MoreHeader});
    EXPECT_EQ(d.settings.bytesize, 80);
    EXPECT_EQ(d.settings.BombPercent, 3);
    EXPECT_EQ(d.weights[1], 7);
    EXPECT_EQ(d.weights[2], 9);
    EXPECT_EQ(d.cells.size(), 2u);
}

TEST(LevelFile, ShortHeaderKeepsDefaultsForTheFieldsItLacks) {
    // The weights follow the 20-byte header directly; none of them may leak into the
    // percentages that a 64-byte header would hold at the same offsets.
    Bytes f = Header(20, 3, 2, 123000, 64);
    Weights(f, {{1, 11}, {2, 12}, {3, 13}, {4, 14}, {5, 15}});
    f.Zeros(6 * 64);
    LevelFileData d = Parse(f);
    ASSERT_EQ(d.warnings, std::vector<std::string>{LevelFile_FewerHeader});
    EXPECT_EQ(d.settings.table_dx, 3);
    EXPECT_EQ(d.settings.table_dy, 2);
    EXPECT_EQ(d.settings.time, 123000);
    EXPECT_EQ(d.settings.cell_bytesize, 64);
    EXPECT_EQ(d.settings.ShieldPercent + d.settings.LaserPercent + d.settings.GoldenPercent +
                  d.settings.BombPercent,
              0);
    EXPECT_EQ(d.weights[5], 15);
}

TEST(LevelFile, HeaderOfEightBytesTakesTheDefaultSizeAndTime) {
    Bytes f;
    f.Ints({8, 2});
    Weights(f, {{1, 5}});
    f.Zeros(2 * 13 * 64);
    LevelFileData d = Parse(f);
    EXPECT_EQ(d.settings.table_dx, 2);
    EXPECT_EQ(d.settings.table_dy, 13);
    EXPECT_EQ(d.settings.time, 60000);
}

TEST(LevelFile, TwelveByteCellsReadVoidBackgroundAndColour) {
    Bytes f = Header(64, 2, 1, 1000, 12);
    Weights(f, {{1, 1}});
    f.Ints({1, 0, 0}).Ints({0, 2, 6});
    LevelFileData d = Parse(f);
    ASSERT_EQ(d.warnings, std::vector<std::string>{LevelFile_FewerCells});
    ASSERT_EQ(d.cells.size(), 2u);
    EXPECT_EQ(d.cells[0].void_, 1);
    EXPECT_EQ(d.cells[1].background, 2);
    EXPECT_EQ(d.cells[1].color, 6);
    for (const LevelDataCell& c : d.cells) {
        EXPECT_EQ(c.bg_initial, 1);
        EXPECT_EQ(c.ContTile, 0);
        EXPECT_EQ(c.autospawn, 0);
        EXPECT_EQ(c.locks + c.bomb + c.laser + c.golden, 0);
    }
}

TEST(LevelFile, EightByteCellsGiveEveryCellTheFileWideColour) {
    Bytes f = Header(64, 3, 1, 1000, 8);
    Weights(f, {{1, 1}});
    f.Ints({1, 0}).Ints({0, 1}).Ints({0, 0});
    for (int colour : {1, 2}) {
        LevelFileData d = Parse(f, colour);
        for (const LevelDataCell& c : d.cells)
            EXPECT_EQ(c.color, colour); // void cells too
        EXPECT_EQ(d.cells[0].void_, 1);
        EXPECT_EQ(d.cells[1].background, 1);
    }
}

TEST(LevelFile, LongerCellRecordsWarnAndSkipTheirTail) {
    Bytes f = Header(64, 2, 1, 1000, 72);
    Weights(f, {{1, 1}});
    f.Ints({0, 1, 3}).Zeros(60).Ints({0, 2, 4}).Zeros(60);
    LevelFileData d = Parse(f);
    ASSERT_EQ(d.warnings, std::vector<std::string>{LevelFile_MoreCells});
    EXPECT_EQ(d.cells[0].color, 3);
    EXPECT_EQ(d.cells[1].color, 4);
    EXPECT_EQ(d.cells[1].background, 2);
}

TEST(LevelFile, WarnsAboutHeaderAndCellsAtMostOnceEach) {
    Bytes f = Header(20, 2, 2, 1000, 8);
    Weights(f, {{1, 1}});
    f.Zeros(4 * 8);
    EXPECT_EQ(Parse(f).warnings,
              (std::vector<std::string>{LevelFile_FewerHeader, LevelFile_FewerCells}));
}

TEST(LevelFile, RejectsFilesThatWouldOverrunTheBoardOrTheirBytes) {
    struct Case {
        const char* what;
        Bytes file;
    };
    auto level = [](int bytesize, int dx, int dy, int cell, int cells_written) {
        Bytes f = Header(bytesize, dx, dy, 1000, cell);
        Weights(f, {{1, 1}});
        f.Zeros(cells_written * cell);
        return f;
    };
    const Case cases[] = {
        {"no columns", level(64, 0, 5, 64, 0)},
        {"49 columns", level(64, 49, 1, 64, 49)},
        {"negative rows", level(64, 3, -2, 64, 0)},
        {"49 rows", level(64, 1, 49, 64, 49)},
        {"header below 4 bytes", level(3, 1, 1, 64, 1)},
        {"cell record below 4 bytes", level(64, 2, 2, 2, 4)},
        {"huge cell record", level(64, 1, 1, 1 << 20, 0)},
        {"last cell cut short",
         [&] {
             Bytes f = level(64, 3, 3, 64, 9);
             f.b.pop_back();
             return f;
         }()},
        {"weights missing", Header(64, 1, 1, 1000, 64)},
        {"empty file", Bytes{}},
    };
    // A header that claims more bytes than any header can have.
    Bytes huge = Header(64, 1, 1, 1000, 64);
    huge.b[0] = 0, huge.b[1] = 0, huge.b[2] = 0x10; // 1 MiB
    for (const Case& c : cases) {
        LevelFileData d;
        std::string error;
        EXPECT_FALSE(LevelFile_Parse(c.file.b.data(), c.file.b.size(), 1, d, error)) << c.what;
        EXPECT_NE(error.find("level file rejected"), std::string::npos) << c.what;
    }
    LevelFileData d;
    std::string error;
    EXPECT_FALSE(LevelFile_Parse(huge.b.data(), huge.b.size(), 1, d, error));
}

TEST(LevelFile, AcceptsTheLargestBoard) {
    Bytes f = Header(64, 48, 48, 1000, 64);
    Weights(f, {{1, 1}});
    f.Zeros(48 * 48 * 64);
    EXPECT_EQ(Parse(f).cells.size(), 48u * 48u);
}

TEST(LevelFile, HostileHeaderValuesAreBroughtIntoRange) {
    struct Case {
        int time, expected_time;
    };
    // A time near the integer minimum would underflow the clock on its first frame.
    const Case cases[] = {{INT_MIN, LevelFile_MinTime},
                          {INT_MIN + 5, LevelFile_MinTime},
                          {-1, LevelFile_MinTime},
                          {0, LevelFile_MinTime},
                          {300000, 300000},
                          {INT_MAX, LevelFile_MaxTime}};
    for (const Case& c : cases) {
        Bytes f;
        f.Ints({64, 1, 1, c.time, 64, -7, 1000, INT_MIN, INT_MAX}).Zeros(28);
        f.Ints({INT_MAX, INT_MAX, -3, 7, 0, 0, 0, 0, INT_MAX, 0, 0, 0, INT_MIN, 0, 0, 1});
        f.Zeros(64);
        LevelFileData d = Parse(f);
        EXPECT_EQ(d.settings.time, c.expected_time) << c.time;
        EXPECT_EQ(d.settings.ShieldPercent, 0);
        EXPECT_EQ(d.settings.LaserPercent, 100);
        EXPECT_EQ(d.settings.GoldenPercent, 0);
        EXPECT_EQ(d.settings.BombPercent, 100);
        EXPECT_EQ(d.weights[0], 0);
        EXPECT_EQ(d.weights[1], Piece_BagLimit);
        EXPECT_EQ(d.weights[2], 0);
        EXPECT_EQ(d.weights[8], Piece_BagLimit);
        EXPECT_EQ(d.weights[12], 0);
        // The easing of the crystal's weight cannot overflow either.
        int bag[Piece_BagSlots], count = 0, kinds = 0;
        PieceBag_Build(d.weights, Easyness_Max, bag, count, kinds);
        EXPECT_EQ(d.weights[8], Piece_BagLimit * 5 / 2);
        EXPECT_EQ(count, Piece_BagLimit);
    }
}

TEST(LevelFile, PieceKindsOutsideTheTableReadAsCellsWithoutAPiece) {
    struct Case {
        int color, expected;
    };
    const Case cases[] = {{1000000, 0}, {INT_MAX, 0}, {INT_MIN, 0}, {-1, 0},
                          {16, 0},      {15, 15},     {1, 1},       {0, 0}};
    for (const Case& c : cases) {
        Bytes f = Header(64, 1, 1, 300000, 64);
        Weights(f, {{1, 10}});
        // void, background, colour, locks, contour, autospawn, bomb, laser, golden, bg_initial
        f.Ints({7, 9, c.color, 5, -9, 3, 4, -2, 8, -4}).Zeros(24);
        const LevelDataCell cell = Parse(f).cells.at(0);
        EXPECT_EQ(cell.color, c.expected) << c.color;
        EXPECT_EQ(cell.locks, c.expected ? 2 : 0) << c.color;
        EXPECT_EQ(cell.bomb, c.expected ? 1 : 0) << c.color;
        EXPECT_EQ(cell.laser, c.expected ? 1 : 0) << c.color;
        EXPECT_EQ(cell.void_, 1);
        EXPECT_EQ(cell.background, 2);
        EXPECT_EQ(cell.bg_initial, 0);
        EXPECT_EQ(cell.ContTile, -1);
        EXPECT_EQ(cell.autospawn, 1);
    }
}

TEST(LevelFile, OnlyRegularFilesUpToTheFormatsLargestAreRead) {
    char tmpl[] = "/tmp/snow_levels_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::filesystem::path dir = tmpl;
    // The largest file the format allows: longest header and cells on a 48 x 48 board.
    Bytes largest = Header(LevelFile_MaxRecordBytes, 48, 48, 300000, LevelFile_MaxRecordBytes);
    ASSERT_EQ(LevelFile_MaxBytes, 4096u + 64u + 48u * 48u * 4096u);
    const std::filesystem::path fits = dir / "fits.lev", over = dir / "over.lev";
    for (const auto& [path, size] :
         {std::pair{fits, LevelFile_MaxBytes}, std::pair{over, LevelFile_MaxBytes + 1}}) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(largest.b.data()), std::streamsize(4096));
        std::filesystem::resize_file(path, size);
    }
    ASSERT_EQ(mkfifo((dir / "pipe.lev").c_str(), 0644), 0);
    struct Case {
        std::string path;
        std::string error; // empty: read
    };
    const Case cases[] = {
        {fits.string(), ""},
        {over.string(), "level file refused: " + over.string() + " is longer than 9441344 bytes"},
        {(dir / "pipe.lev").string(),
         "level file refused: " + (dir / "pipe.lev").string() + " is not a regular file"},
        {"/dev/zero", "level file refused: /dev/zero is not a regular file"},
        {dir.string(), "level file refused: " + dir.string() + " is not a regular file"},
    };
    for (const Case& c : cases) {
        LevelFileData d;
        std::string error;
        EXPECT_EQ(LevelFile_Load(c.path, 1, d, error), c.error.empty()) << c.path;
        EXPECT_EQ(error, c.error);
    }
    std::filesystem::remove_all(dir);
}

TEST(LevelFile, WriterProducesWhatTheReaderReadsAndDropsGoldenMarks) {
    LevelSettings s{};
    s.table_dx = 2, s.table_dy = 1, s.time = 250000, s.BombPercent = 2, s.empty3 = 9;
    int w[Piece_Kinds] = {0, 10, 0, 5};
    std::vector<LevelDataCell> cells(2);
    cells[0].void_ = 1, cells[0].ContTile = 3, cells[0].background = 1;
    cells[1].color = 3, cells[1].locks = 2, cells[1].golden = 1, cells[1].laser = 1,
    cells[1].empty2 = 7;
    const std::vector<std::uint8_t> bytes = LevelFile_Write(s, w, cells);
    ASSERT_EQ(bytes.size(), 64u + 64u + 2u * 64u);
    LevelFileData d;
    std::string error;
    ASSERT_TRUE(LevelFile_Parse(bytes.data(), bytes.size(), 1, d, error)) << error;
    EXPECT_TRUE(d.warnings.empty());
    EXPECT_EQ(d.settings.bytesize, 64);
    EXPECT_EQ(d.settings.cell_bytesize, 64);
    EXPECT_EQ(d.settings.empty3, 0);
    EXPECT_EQ(d.settings.BombPercent, 2);
    EXPECT_EQ(d.weights[3], 5);
    EXPECT_EQ(d.cells[0].ContTile, 3);
    EXPECT_EQ(d.cells[1].locks, 2);
    EXPECT_EQ(d.cells[1].laser, 1);
    EXPECT_EQ(d.cells[1].golden, 0);
    EXPECT_EQ(d.cells[1].empty2, 0);
}

TEST(PieceBag, EasingAndFilling) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, int>> weights;
        int easyness;
        int expect_w8, expect_w12, count, kinds;
    };
    const Case cases[] = {
        {"first level", {{1, 10}, {2, 10}, {4, 10}, {5, 10}}, 0, 0, 0, 40, 4},
        {"crystals grow a quarter per step", {{1, 10}, {8, 3}}, 4, 6, 0, 16, 2},
        {"crystal growth capped at one and a half", {{1, 10}, {8, 4}}, 10, 10, 0, 20, 2},
        {"bacteria shrink a fifth per step", {{1, 10}, {12, 10}}, 3, 0, 4, 14, 2},
        {"bacteria never below one", {{1, 10}, {12, 1}}, 9, 0, 1, 11, 2},
        {"no easing without failed tries", {{8, 3}, {12, 10}}, 0, 3, 10, 13, 2},
        {"the bag stops at 500 entries", {{1, 300}, {2, 300}, {3, 5}}, 0, 0, 0, 500, 2},
    };
    for (const Case& c : cases) {
        int w[Piece_Kinds] = {};
        for (auto [k, v] : c.weights)
            w[k] = v;
        int bag[Piece_BagSlots] = {}, count = -1, kinds = -1;
        PieceBag_Build(w, c.easyness, bag, count, kinds);
        EXPECT_EQ(w[8], c.expect_w8) << c.what;
        EXPECT_EQ(w[12], c.expect_w12) << c.what;
        EXPECT_EQ(count, c.count) << c.what;
        EXPECT_EQ(kinds, c.kinds) << c.what;
        for (int i = 1; i < count; ++i)
            EXPECT_LE(bag[i - 1], bag[i]) << c.what;
    }
}

TEST(LevelNames, ThreeDigitNumbers) {
    const std::pair<int, const char*> cases[] = {{7, "007"}, {42, "042"}, {150, "150"}};
    for (auto [n, digits] : cases) {
        EXPECT_EQ(Level_ResourceUrl(n), std::string("incbin::levels/KV_level_") + digits + ".lev");
        EXPECT_EQ(Level_ImageUrl(n), std::string("incbin::images/Level") + digits + ".jpg");
    }
}

TEST(LevelFile, ShippedFirstLevelLoadsThroughTheStreams) {
    const std::string path = std::string(SNOW_ASSETS_DIR) + "/" + Level_ResourceName(1);
    if (!std::filesystem::exists(path)) GTEST_SKIP() << "levels not generated in " << path;
    LevelFileData d;
    std::string error;
    ASSERT_TRUE(LevelFile_Load(path, 1, d, error)) << error;
    Easyness = 0;
    LevelFile_ApplyHeader(d);
    EXPECT_EQ(Table_dx, 13);
    EXPECT_EQ(Table_dy, 13);
    EXPECT_EQ(Level_Time, 300000);
    EXPECT_EQ(Piece_Bag_Count, 40);
    EXPECT_EQ(Piece_Kinds_Count, 4);
}

TEST(LevelFile, MissingFileNamesTheFullResource) {
    LevelFileData d;
    std::string error;
    EXPECT_FALSE(LevelFile_Load("/nonexistent/level.lev", 1, d, error));
    EXPECT_EQ(error, "cant open file level file littleendian::/nonexistent/level.lev");
}

} // namespace
