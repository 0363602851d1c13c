// Help tips in runs of the program: the first level's tips for a new player, which clicks the
// first tip lets through, the ice tip holding the game until it is closed, the candle tip only
// in timed play, tips kept per player across starts, and the ice tip after ten misses.
#include "game_run.h"

#include <cstdio>
#include <fstream>
#include <regex>

namespace {

// The board of a state dump: each cell's piece kind (0 none), chains and ice, rows from the top.
struct Grid {
    int w = 0, h = 0;
    std::vector<int> kind, locks, ice, void_;
    int K(int x, int y) const {
        if (x < 0 || y < 0 || x >= w || y >= h) return -1;
        const int i = y * w + x;
        return void_[i] || locks[i] || kind[i] < 1 || kind[i] > 7 ? -1 : kind[i];
    }
};

// A move of two neighbours and the cells of the rows of three or more it makes.
struct Move {
    int x1 = -1, y1 = -1, x2 = -1, y2 = -1;
    std::vector<std::pair<int, int>> group;
    bool touches_ice = false;
};

class TipsRun : public GameRunTest {
  protected:
    // A run of a new player: the settings of earlier runs, with their seen tips, are gone.
    int RunNew(const std::string& args, const std::string& script, const std::vector<int>& dumps) {
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            std::filesystem::remove_all(entry.path());
        return RunGame(args, script, dumps);
    }

    Grid Board(int pass) const {
        Grid g;
        g.w = static_cast<int>(Number(pass, "Table_dx"));
        g.h = static_cast<int>(Number(pass, "Table_dy"));
        const std::string cells = Raw(pass, "cells");
        static const std::regex cell(
            R"(\{"void": (\d+), "background": (\d+), "autospawn": \d+, "piece": (null|\{"kind": (\d+), "locks": (\d+)))");
        for (auto it = std::sregex_iterator(cells.begin(), cells.end(), cell);
             it != std::sregex_iterator(); ++it) {
            const std::smatch& m = *it;
            g.void_.push_back(std::stoi(m[1]));
            g.ice.push_back(std::stoi(m[2]));
            g.kind.push_back(m[3] == "null" ? 0 : std::stoi(m[4]));
            g.locks.push_back(m[3] == "null" ? 0 : std::stoi(m[5]));
        }
        EXPECT_EQ(static_cast<int>(g.kind.size()), g.w * g.h);
        return g;
    }

    // Every move that makes a row of three, reading order.
    static std::vector<Move> Moves(Grid g) {
        std::vector<Move> out;
        for (int y = 0; y < g.h; ++y)
            for (int x = 0; x < g.w; ++x)
                for (auto [dx, dy] : {std::pair{1, 0}, std::pair{0, 1}}) {
                    if (g.K(x, y) < 0 || g.K(x + dx, y + dy) < 0) continue;
                    std::swap(g.kind[y * g.w + x], g.kind[(y + dy) * g.w + x + dx]);
                    Move m{x, y, x + dx, y + dy, {}, false};
                    for (auto [cx, cy] : {std::pair{x, y}, std::pair{x + dx, y + dy}})
                        AddRuns(g, cx, cy, m);
                    std::swap(g.kind[y * g.w + x], g.kind[(y + dy) * g.w + x + dx]);
                    if (!m.group.empty()) out.push_back(m);
                }
        return out;
    }

    static void AddRuns(const Grid& g, int x, int y, Move& m) {
        const int k = g.K(x, y);
        for (auto [dx, dy] : {std::pair{1, 0}, std::pair{0, 1}}) {
            int a = 0, b = 0;
            while (g.K(x - (a + 1) * dx, y - (a + 1) * dy) == k)
                ++a;
            while (g.K(x + (b + 1) * dx, y + (b + 1) * dy) == k)
                ++b;
            if (a + b + 1 < 3) continue;
            for (int i = -a; i <= b; ++i) {
                const int cx = x + i * dx, cy = y + i * dy;
                m.group.emplace_back(cx, cy);
                if (g.ice[cy * g.w + cx] > 0) m.touches_ice = true;
            }
        }
    }

    // The screen centre of a cell, from the geometry in the dump.
    std::pair<int, int> CellCentre(int pass, int x, int y) const {
        const int w = static_cast<int>(Number(pass, "Cell_Width"));
        const int h = static_cast<int>(Number(pass, "Cell_Height"));
        return {static_cast<int>(Number(pass, "Table_OriginX") - Number(pass, "View_OffsetX")) +
                    x * w + w / 2,
                static_cast<int>(Number(pass, "Table_OriginY") - Number(pass, "View_OffsetY")) +
                    y * h + h / 2};
    }

    std::string ClickCell(int pass, int dump_pass, int x, int y) const {
        const auto [sx, sy] = CellCentre(dump_pass, x, y);
        return Click(pass, sx, sy);
    }

    // The two clicks of a swap, from pass `pass` on (six passes).
    std::string SwapScript(int pass, int dump_pass, const Move& m) const {
        return ClickCell(pass, dump_pass, m.x1, m.y1) + ClickCell(pass + 5, dump_pass, m.x2, m.y2);
    }

    // Plays `count` moves chosen by `pick`, one every `gap` passes from pass `from`, each read
    // from the board as it stands. Returns the script; the last dump is at from + count * gap.
    template <typename Pick>
    std::string PlayMoves(const std::string& args, std::string script, int from, int count, int gap,
                          Pick pick) {
        int pass = from;
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(
                RunNew(args + " --no-draw --frames " + std::to_string(pass + 1), script, {pass}),
                0);
            const std::vector<Move> moves = Moves(Board(pass));
            const Move* chosen = pick(moves);
            if (!chosen) {
                ADD_FAILURE() << "no move to make at pass " << pass;
                return script;
            }
            script += SwapScript(pass + 1, pass, *chosen);
            pass += gap;
        }
        return script;
    }
};

constexpr int Shown = 200; // the first level's board has faded in by then

TEST_F(TipsRun, LevelOneTeachesTheFirstMoveThenHoldsTheGameForTheIceTip) {
    ASSERT_EQ(RunNew("--no-draw --level 1 --frames 201", "", {Shown}), 0);
    ASSERT_EQ(Number(Shown, "Tip_Showing"), 1);
    EXPECT_EQ(Number(Shown, "Tip_Current"), 0);
    EXPECT_EQ(Number(Shown, "Tip_Blocking"), 0);
    EXPECT_EQ(Raw(Shown, "Tip_Seen"), "[0]");
    // The arrow points up at the corner of the hinted move's first cell.
    const Grid g = Board(Shown);
    const std::vector<Move> moves = Moves(g);
    ASSERT_FALSE(moves.empty());
    std::smatch hint;
    const std::string hint_raw = Raw(Shown, "Hint_Move");
    ASSERT_TRUE(std::regex_match(hint_raw, hint, std::regex(R"(\[(\d+), (\d+), \d+, \d+\])")));
    const auto [hx, hy] = CellCentre(Shown, std::stoi(hint[1]), std::stoi(hint[2]));
    const int cw = static_cast<int>(Number(Shown, "Cell_Width"));
    EXPECT_EQ(Raw(Shown, "Tip_Arrow"),
              "[" + std::to_string(hx - cw / 2 - 23) + ", " + std::to_string(hy - cw / 2) + "]");

    // A cell without a move takes no click; a cell with one is selected; the swap's match
    // closes the tip.
    int still_x = -1, still_y = -1;
    for (int y = 0; y < g.h && still_x < 0; ++y)
        for (int x = 0; x < g.w && still_x < 0; ++x) {
            bool has_move = false;
            for (const Move& m : moves)
                has_move |= (m.x1 == x && m.y1 == y) || (m.x2 == x && m.y2 == y);
            if (g.K(x, y) > 0 && !has_move) still_x = x, still_y = y;
        }
    ASSERT_GE(still_x, 0);
    const Move& first = moves.front();
    std::string script = ClickCell(201, Shown, still_x, still_y) +
                         ClickCell(210, Shown, first.x1, first.y1) +
                         ClickCell(215, Shown, first.x2, first.y2);
    ASSERT_EQ(RunNew("--no-draw --level 1 --frames 321", script, {208, 213, 320}), 0);
    EXPECT_EQ(Number(208, "Selection_Active"), 0) << "the click on a cell without a move";
    EXPECT_EQ(Number(208, "Tip_Showing"), 1);
    EXPECT_EQ(Number(213, "Selection_Active"), 1);
    EXPECT_EQ(Number(320, "Player_Matches"), 1);
    EXPECT_EQ(Number(320, "Tip_Showing"), 0) << "the first match closes the tip";

    // Two more matches open the ice tip, which holds the clock until it is closed; Escape
    // closes it instead of pausing.
    script = PlayMoves("--level 1", script, 320, 2, 120,
                       [](const std::vector<Move>& m) { return m.empty() ? nullptr : &m[0]; });
    const int held = 320 + 2 * 120;
    struct Closer {
        const char* name;
        std::string lines;
    };
    const Closer closers[] = {{"Space", Key(held + 21, 32)},
                              {"Enter", Key(held + 21, 13)},
                              {"Escape", Key(held + 21, 27)}};
    for (const Closer& c : closers) {
        ASSERT_EQ(RunNew("--no-draw --level 1 --frames " + std::to_string(held + 61),
                         script + c.lines, {held, held + 20, held + 23, held + 60}),
                  0);
        ASSERT_EQ(Number(held, "Tip_Showing"), 1) << c.name;
        EXPECT_EQ(Number(held, "Tip_Current"), 1);
        EXPECT_EQ(Number(held, "Player_Matches"), 3);
        EXPECT_EQ(Number(held, "Time_Left"), Number(held + 20, "Time_Left")) << "held";
        EXPECT_EQ(Number(held + 23, "Tip_Showing"), 0) << c.name;
        EXPECT_EQ(Number(held + 23, "GameState"), 1) << c.name << " does not pause";
        EXPECT_LT(Number(held + 60, "Time_Left"), Number(held + 23, "Time_Left")) << c.name;
    }
    // The button closes it too.
    const std::string button = Raw(held, "Tip_Button");
    std::smatch at;
    ASSERT_TRUE(std::regex_match(button, at, std::regex(R"(\[(\d+), (\d+)\])"))) << button;
    const std::string click = Click(held + 21, std::stoi(at[1]) + 60, std::stoi(at[2]) + 20);
    ASSERT_EQ(RunNew("--no-draw --level 1 --frames " + std::to_string(held + 31), script + click,
                     {held + 30}),
              0);
    EXPECT_EQ(Number(held + 30, "Tip_Showing"), 0);
}

TEST_F(TipsRun, CandleTipOnlyInTimedPlay) {
    struct Case {
        const char* args;
        int showing;
    };
    for (const Case& c : {Case{"--level 2", 1}, Case{"--level 2 --relaxed", 0}}) {
        ASSERT_EQ(RunNew(std::string(c.args) + " --no-draw --frames 201", "", {Shown}), 0);
        EXPECT_EQ(Number(Shown, "Tip_Showing"), c.showing) << c.args;
        if (c.showing) {
            EXPECT_EQ(Number(Shown, "Tip_Current"), 3);
            EXPECT_EQ(Number(Shown, "Tip_Blocking"), 1);
        }
    }
}

// The move tip stays open until the first match; a level lost before it must not keep it open on
// the level end, where nothing draws or closes it and the game-over picture waits for it.
TEST_F(TipsRun, ALevelLostBeforeTheFirstMatchEndsWithoutTheTip) {
    // Control+D runs the clock out; Enter answers "Time's up..." on the last life.
    const std::string script =
        "199 keydown 162\n200 keydown 68\n201 keyup 68\n202 keyup 162\n" + Key(230, 13);
    ASSERT_EQ(RunNew("--no-draw --dev-keys --level 1 --frames 421", script, {190, 420}), 0);
    EXPECT_EQ(Number(190, "Tip_Showing"), 1);
    EXPECT_EQ(Number(190, "Tip_Current"), 0);
    EXPECT_EQ(Number(420, "GameState"), 6);
    EXPECT_EQ(Number(420, "Tip_Showing"), 0);
}

// The seen marks are the player's: kept in the settings across starts, and another player
// sees the tips afresh.
TEST_F(TipsRun, EachPlayerSeesATipOnce) {
    auto set_player = [&](int slot) {
        const std::filesystem::path txt = dir / "gx_config.txt";
        std::ifstream in(txt);
        std::stringstream s;
        s << in.rdbuf();
        in.close();
        std::string text = std::regex_replace(s.str(), std::regex("PLAYER_CRT=\\d+"),
                                              "PLAYER_CRT=" + std::to_string(slot));
        text = std::regex_replace(text, std::regex("PLAYER1=[^\\r\\n]*"), "PLAYER1=Bea");
        std::ofstream(txt) << text;
    };
    struct Step {
        int player, showing;
    };
    const Step steps[] = {{0, 1}, {0, 0}, {1, 1}, {0, 0}, {1, 0}};
    for (const Step& s : steps) {
        if (std::filesystem::exists(dir / "gx_config.txt")) set_player(s.player);
        ASSERT_EQ(RunGame("--no-draw --level 1 --frames 201", "", {Shown}), 0);
        EXPECT_EQ(Number(Shown, "Player_Crt"), s.player);
        EXPECT_EQ(Number(Shown, "Tip_Showing"), s.showing) << "player " << s.player;
    }
}

// Half an hour on the main menu brings the options tip, unless a dialog is open then; at a
// second of game time a pass, that is pass 1800.
TEST_F(TipsRun, HalfAnHourOnTheMenuOffersTheOptionsTip) {
    const std::string half_hour = " --no-draw --fixed-delta 1000 --frames 1806";
    // The first start's name dialog stays open: the offer waits.
    ASSERT_EQ(RunGame(half_hour, "", {1805}), 0);
    EXPECT_EQ(Raw(1805, "Dialog"), "\"name\"");
    EXPECT_EQ(Number(1805, "HintCountdown"), -1);
    EXPECT_EQ(Number(1805, "Tip_Showing"), 0);
    // A named player on the menu: the tip opens and the countdown ends.
    std::filesystem::remove(dir / "gx_config.bin");
    ASSERT_EQ(RunGame("--no-draw --frames 60", "20 text Anna\n" + Key(30, 13), {}), 0);
    ASSERT_EQ(RunGame(half_hour, "", {1795, 1805}), 0);
    EXPECT_EQ(Number(1795, "Tip_Showing"), 0);
    EXPECT_EQ(Number(1805, "Tip_Showing"), 1);
    EXPECT_EQ(Number(1805, "Tip_Current"), 20);
    EXPECT_EQ(Number(1805, "HintCountdown"), 0);
}

TEST_F(TipsRun, TenMatchesAwayFromTheIceOpenTheIceTip) {
    const std::string args = "--level 2 --relaxed";
    auto away_from_ice = [](const std::vector<Move>& moves) -> const Move* {
        for (const Move& m : moves)
            if (!m.touches_ice) return &m;
        return nullptr;
    };
    const std::string script = PlayMoves(args, "", Shown, 10, 120, away_from_ice);
    const int after = Shown + 10 * 120;
    ASSERT_EQ(RunNew(args + " --no-draw --frames " + std::to_string(after + 1), script,
                     {Shown + 9 * 120, after}),
              0);
    EXPECT_EQ(Number(Shown + 9 * 120, "Tip_MissCount"), 9);
    EXPECT_EQ(Number(Shown + 9 * 120, "Tip_Showing"), 0);
    EXPECT_EQ(Number(after, "Player_Matches"), 10);
    EXPECT_EQ(Number(after, "Tip_Showing"), 1);
    EXPECT_EQ(Number(after, "Tip_Current"), 14);
    EXPECT_EQ(Number(after, "Tip_MissCount"), -1);
}

} // namespace
