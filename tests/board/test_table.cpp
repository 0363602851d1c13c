// Board geometry, the mouse-to-cell mapping, and levels read into and written from the board.
#include "board_fixture.h"

#include "board/board.h"
#include "board/pieces.h"
#include "board/ripple.h"
#include "board/table.h"
#include "data/level_file.h"
#include "engine/frame.h"
#include "engine/shell.h"
#include "engine/stream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace {

struct GeometryCase {
    int dx, dy;
    int cell, width, height, origin_x, origin_y, view_x, scene_w;
};

TEST(Table, GeometryCentresAndClampsTheBoard) {
    const GeometryCase cases[] = {
        {17, 14, 39, 663, 546, 6, 17, 0, 675}, // limited by width
        {9, 12, 48, 432, 576, 121, 2, 0, 675}, // limited by height
        {15, 15, 38, 570, 570, 52, 5, 0, 675}, // 15 * 580 < 15 * 675: height
        {13, 13, 44, 572, 572, 51, 4, 0, 675},
        {5, 3, 57, 285, 171, 195, 204, 0, 675},  // large cells clamp to 57
        {19, 10, 38, 722, 380, 0, 100, 23, 722}, // small cells clamp to 38 and overflow
        {30, 30, 19, 570, 570, 52, 5, 0, 675},   // beyond the clamping range
    };
    for (const GeometryCase& c : cases) {
        Table_dx = c.dx;
        Table_dy = c.dy;
        Table_Layout();
        EXPECT_EQ(Cell_Width, c.cell) << c.dx << "x" << c.dy;
        EXPECT_EQ(Cell_Height, c.cell);
        EXPECT_EQ(Table_PixelWidth, c.width);
        EXPECT_EQ(Table_PixelHeight, c.height);
        EXPECT_EQ(Table_OriginX, c.origin_x) << c.dx << "x" << c.dy;
        EXPECT_EQ(Table_OriginY, c.origin_y) << c.dx << "x" << c.dy;
        EXPECT_EQ(View_OffsetX, c.view_x);
        EXPECT_EQ(Scene_Width, c.scene_w);
        EXPECT_FLOAT_EQ(Cell_ScaleX, c.cell / 48.0f);
    }
}

TEST(Table, MouseOnTheRightOrBottomEdgeIsOffTheBoard) {
    Board_Build({"123", "456", "712"});
    struct {
        int dx, dy, over, cx, cy;
    } cases[] = {
        {0, 0, 1, 0, 0},
        {3 * Cell_Width - 1, 3 * Cell_Height - 1, 1, 2, 2},
        {3 * Cell_Width, 0, 0, -1, -1},
        {0, 3 * Cell_Height, 0, -1, -1},
        {-1, 0, 0, -1, -1},
    };
    for (auto c : cases) {
        Mouse_Cell = Point{-1, -1};
        MouseXPos = Table_OriginX + c.dx;
        MouseYPos = Table_OriginY + c.dy;
        Table_MouseCell();
        EXPECT_EQ(Mouse_OverTable, c.over) << c.dx << "," << c.dy;
        EXPECT_EQ(Mouse_Cell.x, c.cx);
        EXPECT_EQ(Mouse_Cell.y, c.cy);
    }
}

std::string TempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

// A 3 x 2 level: a void spawn cell with a contour tile, a chained bomb on snow, an empty cell.
std::vector<std::uint8_t> SampleLevel() {
    LevelSettings s;
    s.table_dx = 3;
    s.table_dy = 2;
    s.time = 300000;
    s.BombPercent = 2;
    int weights[Piece_Kinds] = {0, 10, 10, 0, 10};
    std::vector<LevelDataCell> cells(6);
    cells[0].void_ = 1;
    cells[0].autospawn = 1;
    cells[0].ContTile = 4;
    cells[1].color = 2;
    cells[1].background = 2;
    cells[1].bg_initial = 2;
    cells[1].locks = 1;
    cells[1].bomb = 1;
    cells[2].color = 0;
    cells[2].background = 1;
    cells[2].bg_initial = 1;
    for (int i = 3; i < 6; ++i)
        cells[i].color = 1 + i % 2;
    return LevelFile_Write(s, weights, cells);
}

TEST(Table, LevelFileLoadsOntoTheBoardAndSavesBack) {
    Board_Init(false);
    const std::string path = TempPath("board_sample.lev");
    const auto bytes = SampleLevel();
    ASSERT_TRUE(File_ReplaceAtomically(path, bytes.data(), bytes.size()));
    std::string error;
    ASSERT_TRUE(LoadLevelFile(path, &error)) << error;
    EXPECT_EQ(Table_dx, 3);
    EXPECT_EQ(Table_dy, 2);
    EXPECT_EQ(Level_Time, 300000);
    EXPECT_EQ(Piece_Bag_Count, 30);
    EXPECT_EQ(Intro_Active, 1);
    EXPECT_EQ(Table[0][0].void_, 1);
    EXPECT_EQ(Table[0][0].ContTile, 4);
    EXPECT_EQ(Table[0][0].piece_id, nullptr);
    const Piece* p = Table[1][0].piece_id;
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->color, 2);
    EXPECT_EQ(p->shields_count, 1);
    EXPECT_EQ(p->bomb, 1);
    EXPECT_EQ(p->x, Table_OriginX + Cell_Width);
    EXPECT_EQ(Table[2][0].piece_id, nullptr); // colour 0 stays empty until something falls in
    EXPECT_EQ(Table[2][0].background, 1);
    EXPECT_EQ(Pieces_Count(), 4);

    const std::string saved = TempPath("board_saved.lev");
    ASSERT_TRUE(SaveLevelFile(saved, &error)) << error;
    std::vector<std::uint8_t> again;
    ASSERT_TRUE(LoadBytes(saved, again));
    EXPECT_EQ(again, bytes);
    std::remove(path.c_str());
    std::remove(saved.c_str());
}

TEST(Table, UnreadableLevelLeavesTheBoardAsItWas) {
    Board_Build({"123", "456"});
    const std::string path = TempPath("board_broken.lev");
    const std::uint8_t junk[] = {64, 0, 0, 0, 99, 0, 0, 0};
    ASSERT_TRUE(File_ReplaceAtomically(path, junk, sizeof junk));
    std::string error;
    EXPECT_FALSE(LoadLevelFile(path, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(LoadLevelFile(TempPath("board_missing.lev"), &error));
    EXPECT_NE(error.find("cant open file level file"), std::string::npos);
    EXPECT_EQ(Table_dx, 3);
    EXPECT_EQ(Board_Text()[1], "456");
    std::remove(path.c_str());
}

TEST(Table, StateDescriptionIsDeterministic) {
    Board_Build({"1#", "a."});
    const std::string json = Board_StateJson();
    EXPECT_NE(json.find("\"Table_dx\": 2"), std::string::npos);
    EXPECT_NE(json.find("{\"void\": 1, \"background\": 0, \"autospawn\": 0, \"piece\": null}"),
              std::string::npos);
    EXPECT_NE(json.find("\"kind\": 1, \"locks\": 1"), std::string::npos);
    EXPECT_EQ(json, Board_StateJson());
    EXPECT_EQ(json.find('{'), json.find("{\"void\"")); // a fragment: no outer braces
}

TEST(Ripple, PatternZeroSeedsTheCentreAndReachesTheCornersLast) {
    Board_Build(std::vector<std::string>(13, "1111111111111"));
    Ripple_Start();
    Ripple_Pattern = 0;
    Ripple_Step();
    for (int x = 0; x < 13; ++x)
        for (int y = 0; y < 13; ++y)
            EXPECT_EQ(Ripple_Prev[x + 1][y + 1] > 0.0f, x == 6 && y == 6) << x << "," << y;
    int frames = 1;
    while (Intro_Active && frames < 10000) {
        Ripple_Step();
        ++frames;
        if (Ripple_Alpha(0, 0) < 1.0f) {
            EXPECT_EQ(Intro_Active, 1);
        }
    }
    EXPECT_EQ(Intro_Active, 0);
    EXPECT_LT(frames, 600); // a few seconds at 60 frames per second
    EXPECT_FLOAT_EQ(Ripple_Alpha(0, 0), 1.0f);
    EXPECT_FLOAT_EQ(Ripple_AlphaAt(-Cell_Width * 2, 0), -1.0f);
}

TEST(Ripple, PatternsSeedTheirCorners) {
    struct {
        int pattern;
        std::vector<std::pair<int, int>> seeds;
    } cases[] = {
        {1, {{0, 0}, {4, 3}, {4, 0}, {0, 3}}}, {2, {{0, 0}, {4, 3}}}, {3, {{4, 0}, {0, 3}}}};
    for (const auto& c : cases) {
        Board_Build(std::vector<std::string>(4, "11111"));
        Ripple_Start();
        Ripple_Pattern = c.pattern;
        Ripple_Step();
        int lit = 0;
        for (int x = 0; x < 5; ++x)
            for (int y = 0; y < 4; ++y)
                lit += Ripple_Prev[x + 1][y + 1] > 0.0f; // the seeded field
        EXPECT_EQ(lit, static_cast<int>(c.seeds.size())) << "pattern " << c.pattern;
        for (auto s : c.seeds)
            EXPECT_GT(Ripple_Prev[s.first + 1][s.second + 1], 0.0f);
    }
}

TEST(Contour, FramePieceDarkensWhenBareNeighboursOutnumberIcedOnes) {
    struct {
        const char* ice; // ice of the eight neighbours of the void centre, row by row
        bool dark;
    } cases[] = {{"22211000", false}, {"11110000", true}, {"11111000", false}, {"00000000", true}};
    for (auto c : cases) {
        Board_Build({"111", "1#1", "111"});
        const int pos[8][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};
        for (int i = 0; i < 8; ++i)
            Table[pos[i][0]][pos[i][1]].background = c.ice[i] - '0';
        EXPECT_EQ(Contour_Dark(1, 1), c.dark) << c.ice;
    }
}

} // namespace
