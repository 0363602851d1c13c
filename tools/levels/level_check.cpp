// The rules every shipped level keeps, checked on the compiled records.
#include "board/contour.h"
#include "tools/levels/level_tools.h"

#include <functional>

namespace {

struct Reporter {
    int number;
    std::vector<std::string>& out;
    void Level(const std::string& why) const {
        out.push_back("level " + std::to_string(number) + ": " + why);
    }
    void Cell(int x, int y, const std::string& why) const {
        out.push_back("level " + std::to_string(number) + " cell (" + std::to_string(x) + ", " +
                      std::to_string(y) + "): " + why);
    }
};

bool IsGem(int kind) {
    return kind >= 1 && kind <= 7;
}

void CheckHeader(const LevelFileData& d, const Reporter& r) {
    const LevelSettings& s = d.settings;
    if (s.bytesize != 64 || s.cell_bytesize != 64) r.Level("header and cell records are 64 bytes");
    if (s.table_dx < 9 || s.table_dx > 17 || s.table_dy < 10 || s.table_dy > 15)
        r.Level("size " + std::to_string(s.table_dx) + " x " + std::to_string(s.table_dy) +
                " outside 9..17 x 10..15");
    if (s.time < 240000 || s.time > 600000) r.Level("time outside 240000..600000 ms");
    if (s.ShieldPercent || s.LaserPercent || s.GoldenPercent)
        r.Level("shield, laser and golden percentages are 0");
    if (s.BombPercent < 0 || s.BombPercent > 3) r.Level("bomb percentage outside 0..3");
    int sum = 0, gems = 0;
    for (int k = 0; k < Piece_Kinds; ++k) {
        const int w = d.weights[k];
        sum += w;
        if (IsGem(k) && w > 0) ++gems;
        const bool ok = IsGem(k)  ? w >= 0 && w <= 30
                        : k == 8  ? w == 0 || w == 3
                        : k == 15 ? w >= 0 && w <= 2
                                  : w == 0;
        if (!ok) r.Level("weight " + std::to_string(w) + " of kind " + std::to_string(k));
    }
    if (sum > 151) r.Level("weights sum to " + std::to_string(sum) + ", above 151");
    if (gems < 3) r.Level("fewer than three gem kinds");
    const int px = Board_CellPixels(s.table_dx, s.table_dy);
    if (px < 38 || px > 57) r.Level("cells of " + std::to_string(px) + " pixels");
}

void CheckCells(const LevelFileData& d, const Reporter& r) {
    const int dx = d.settings.table_dx, dy = d.settings.table_dy;
    LevelBoard b{dx, dy, &d.cells};
    auto is_void = [&](int x, int y) { return b.at(x, y).void_ != 0; };
    for (int y = 0; y < dy; ++y)
        for (int x = 0; x < dx; ++x) {
            const LevelDataCell& c = b.at(x, y);
            if (y == 0 && !c.autospawn) r.Cell(x, y, "top-row cell is not a spawn cell");
            if (c.laser || c.golden) r.Cell(x, y, "laser or golden mark");
            if (c.void_) {
                if (c.color || c.locks || c.bomb) r.Cell(x, y, "piece on a void cell");
                if (y > 0 && c.autospawn) r.Cell(x, y, "void cell marked as a spawn cell");
                const int mask = Contour_NeighbourMask(x, y, dx, dy, is_void);
                if (c.ContTile != Contour_TileForMask(mask))
                    r.Cell(x, y,
                           "contour tile " + std::to_string(c.ContTile) + " where the rule gives " +
                               std::to_string(Contour_TileForMask(mask)));
                else if (c.background < 0 ||
                         c.background >= std::max(1, Contour_Variants(c.ContTile)))
                    r.Cell(x, y, "contour variant out of range");
                continue;
            }
            if (c.background < 0 || c.background > 2 || c.bg_initial != c.background)
                r.Cell(x, y, "background must be 0..2 and equal its starting value");
            if (c.ContTile != 0) r.Cell(x, y, "contour tile on a playable cell");
            if (!(c.color == 0 || IsGem(c.color) || c.color == 8 || c.color == 15))
                r.Cell(x, y, "piece kind " + std::to_string(c.color));
            if (c.color == 0) r.Cell(x, y, "playable cell starts empty");
            if (c.locks < 0 || c.locks > 2 || (c.locks && !IsGem(c.color)))
                r.Cell(x, y, "chains only on gems, at most two");
            if (c.bomb && !IsGem(c.color)) r.Cell(x, y, "bomb only on a gem");
            if (c.background > 0) {
                // Ice breaks only under a line of three: the cell must lie in a run of three
                // playable cells across or down.
                auto span = [&](int sx, int sy) {
                    int n = 1;
                    for (int k = 1; b.playable(x + k * sx, y + k * sy); ++k)
                        ++n;
                    for (int k = 1; b.playable(x - k * sx, y - k * sy); ++k)
                        ++n;
                    return n;
                };
                if (span(1, 0) < 3 && span(0, 1) < 3) r.Cell(x, y, "ice no line can cross");
            }
        }
    const std::vector<bool> fed = Board_Reachable(b);
    for (int y = 0; y < dy; ++y)
        for (int x = 0; x < dx; ++x)
            if (b.playable(x, y) && !fed[y * dx + x]) r.Cell(x, y, "new pieces cannot reach it");
    int lx = 0, ly = 0;
    if (Board_FindLine(b, lx, ly)) r.Cell(lx, ly, "the start board holds a line of three");
    if (Board_BestMove(b) < 3) r.Level("the start board offers no move");
}

// Counts cells with a property, remembering the first one.
int CountCells(const LevelFileData& d, const std::function<bool(const LevelDataCell&)>& pred) {
    int n = 0;
    for (const LevelDataCell& c : d.cells)
        n += pred(c) ? 1 : 0;
    return n;
}

void CheckTeaching(int n, const LevelFileData& d, const Reporter& r) {
    auto count = [&](auto pred) { return CountCells(d, pred); };
    const int chains = count([](const LevelDataCell& c) { return c.locks >= 1; });
    const int doubles = count([](const LevelDataCell& c) { return c.locks == 2; });
    const int snow = count([](const LevelDataCell& c) { return !c.void_ && c.background == 2; });
    const int bombs = count([](const LevelDataCell& c) { return c.bomb != 0; });
    const int cubes = count([](const LevelDataCell& c) { return c.color == 15; });
    // What the help tips point at must be on the board, and nothing is shown before its tip.
    if (n == 4 &&
        Board_BestMove(LevelBoard{d.settings.table_dx, d.settings.table_dy, &d.cells}) < 4)
        r.Level("the crystal tip needs a move that makes four");
    if (n == 5 && chains == 0) r.Level("the chain tip needs a chained piece");
    if (n == 7 && doubles == 0) r.Level("the double-chain tip needs a double-chained piece");
    if (n == 8 && snow == 0) r.Level("the snow tip needs a snow cell");
    if (n == 13 && bombs == 0) r.Level("the bomb tip needs a bomb");
    if (n == 16 && cubes == 0) r.Level("the icecube tip needs an icecube");
    if (n < 5 && chains) r.Level("chains appear before their tip on level 5");
    if (n < 7 && doubles) r.Level("double chains appear before their tip on level 7");
    if (n < 8 && snow) r.Level("snow appears before its tip on level 8");
    if (n < 13 && (bombs || d.settings.BombPercent)) r.Level("bombs appear before level 13");
    if (n < 16 && (cubes || d.weights[15])) r.Level("icecubes appear before level 16");
    if (n < 4 && d.weights[8]) r.Level("crystals fall before level 4");
}

void CheckFirstLevel(const LevelFileData& d, const Reporter& r) {
    const LevelSettings& s = d.settings;
    const int w[Piece_Kinds] = {0, 10, 10, 0, 10, 10};
    bool weights_ok = true;
    for (int k = 0; k < Piece_Kinds; ++k)
        weights_ok &= d.weights[k] == w[k];
    if (s.table_dx != 13 || s.table_dy != 13 || s.time != 300000 || s.BombPercent || !weights_ok)
        r.Level("the first level is 13 x 13, 300000 ms, kinds 1, 2, 4 and 5 weighted 10");
    if (d.cells.size() < 2) return;
    const LevelDataCell &a = d.cells[0], &b = d.cells[1];
    if (!(a.void_ == 1 && a.autospawn == 1 && a.ContTile == 0 && a.background == 0 &&
          a.bg_initial == 0 && a.color == 0))
        r.Cell(0, 0, "the first level starts with a void spawn cell showing contour tile 0");
    if (!(b.void_ == 0 && b.color == 5 && b.autospawn == 1 && b.background == 0 &&
          b.bg_initial == 0 && b.locks == 0 && b.bomb == 0 && b.ContTile == 0))
        r.Cell(1, 0, "the first level's second cell is a kind-5 spawn cell without ice");
}

} // namespace

std::vector<std::string> Level_Check(int number, const LevelFileData& data) {
    std::vector<std::string> out;
    Reporter r{number, out};
    if (data.cells.size() !=
        static_cast<std::size_t>(data.settings.table_dx) * data.settings.table_dy) {
        r.Level("cell records do not match the board size");
        return out;
    }
    CheckHeader(data, r);
    CheckCells(data, r);
    if (number > 0) CheckTeaching(number, data, r); // 0: a level outside the numbered set
    if (number == 1) CheckFirstLevel(data, r);
    return out;
}

std::vector<std::string> LevelSet_Check(const std::vector<LevelFileData>& levels) {
    std::vector<std::string> out;
    auto set = [&](const std::string& why) { out.push_back("level set: " + why); };
    int crystal_levels = 0, crystal_cells = 0, cube_cells = 0, bomb_cells = 0;
    int cube_levels = 0, bomb_levels = 0;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const LevelFileData& d = levels[i];
        crystal_levels += d.weights[8] > 0;
        cube_levels += d.weights[15] > 0;
        bomb_levels += d.settings.BombPercent > 0;
        crystal_cells += CountCells(d, [](const LevelDataCell& c) { return c.color == 8; });
        cube_cells += CountCells(d, [](const LevelDataCell& c) { return c.color == 15; });
        bomb_cells += CountCells(d, [](const LevelDataCell& c) { return c.bomb != 0; });
    }
    if (levels.size() != 150) set(std::to_string(levels.size()) + " levels, not 150");
    if (crystal_levels != 1)
        set("crystals weighted on " + std::to_string(crystal_levels) + " levels, not one");
    if (crystal_cells != 1) set(std::to_string(crystal_cells) + " preset crystal cells, not one");
    if (cube_cells != 1) set(std::to_string(cube_cells) + " preset icecube cells, not one");
    if (bomb_cells < 3 || bomb_cells > 8)
        set(std::to_string(bomb_cells) + " preset bombs, not a handful");
    if (cube_levels < 15 || cube_levels > 21)
        set(std::to_string(cube_levels) + " icecube levels, not about 18");
    if (bomb_levels < 60 || bomb_levels > 80)
        set(std::to_string(bomb_levels) + " bomb levels, not about half");
    return out;
}
