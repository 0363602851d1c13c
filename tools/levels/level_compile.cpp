// The compiler and decompiler of the level language, and the board analysis they share with the
// checks.
#include "board/contour.h"
#include "tools/levels/level_tools.h"

#include <algorithm>
#include <cstdint>

namespace {

// A small generator of our own, so a level compiles to the same bytes on every machine.
struct Lcg {
    std::uint32_t s;
    explicit Lcg(std::uint32_t seed) : s(seed) {}
    std::uint32_t Next() {
        s = s * 1664525u + 1013904223u;
        return s >> 8;
    }
    int Range(int lo, int hi) { return lo + static_cast<int>(Next() % (hi - lo + 1)); }
};

// Contour variants come from one fixed sequence walked in reading order over the void cells.
constexpr std::uint32_t ContourSeed = 20261209u;

bool TakesPart(const LevelDataCell& c) {
    return !c.void_ && c.color != 0 && c.color != 9;
}

void ApplyContours(int dx, int dy, std::vector<LevelDataCell>& cells) {
    Lcg rng(ContourSeed);
    auto is_void = [&](int x, int y) { return cells[y * dx + x].void_ != 0; };
    auto rand = [&](int lo, int hi) { return rng.Range(lo, hi); };
    for (int y = 0; y < dy; ++y)
        for (int x = 0; x < dx; ++x) {
            LevelDataCell& c = cells[y * dx + x];
            if (!c.void_) continue;
            ContourResult r = Contour_Compute(x, y, dx, dy, is_void, rand);
            c.ContTile = r.tile;
            c.background = r.variant;
        }
}

int PieceKind(char p) {
    if (p >= '1' && p <= '7') return p - '0';
    if (p == 'C') return 8;
    if (p == 'X') return 15;
    return 0;
}

char PieceChar(int kind) {
    if (kind >= 1 && kind <= 7) return static_cast<char>('0' + kind);
    if (kind == 8) return 'C';
    if (kind == 15) return 'X';
    if (kind == 0) return '-';
    return 0;
}

// True when the piece in (x, y) stands in a line of three.
bool InLine(const LevelBoard& b, int x, int y) {
    return Board_RunLength(b, x, y, 1, 0) >= 3 || Board_RunLength(b, x, y, 0, 1) >= 3;
}

struct FillPlan {
    std::vector<int> open; // cell indices left to the compiler, reading order
    std::vector<int> kinds, weights;
    int total = 0;
};

int DrawKind(const FillPlan& plan, Lcg& rng, const std::vector<int>& allowed) {
    int total = 0;
    for (std::size_t i = 0; i < plan.kinds.size(); ++i)
        if (allowed[i]) total += plan.weights[i];
    if (total == 0) return plan.kinds[rng.Range(0, static_cast<int>(plan.kinds.size()) - 1)];
    int r = rng.Range(0, total - 1);
    for (std::size_t i = 0; i < plan.kinds.size(); ++i) {
        if (!allowed[i]) continue;
        if (r < plan.weights[i]) return plan.kinds[i];
        r -= plan.weights[i];
    }
    return plan.kinds.back();
}

void FillOnce(const FillPlan& plan, Lcg& rng, LevelBoard& b, std::vector<LevelDataCell>& cells) {
    for (int idx : plan.open)
        cells[idx].color = 0;
    for (int idx : plan.open) {
        const int x = idx % b.dx, y = idx / b.dx;
        std::vector<int> allowed(plan.kinds.size(), 0);
        for (std::size_t i = 0; i < plan.kinds.size(); ++i) {
            cells[idx].color = plan.kinds[i];
            allowed[i] = !InLine(b, x, y);
        }
        cells[idx].color = DrawKind(plan, rng, allowed);
    }
}

bool Fill(const LevelSource& src, std::vector<LevelDataCell>& cells, std::string& error) {
    FillPlan plan;
    for (int y = 0; y < src.dy(); ++y)
        for (int x = 0; x < src.dx(); ++x)
            if (src.pieces[y][x] == '?') plan.open.push_back(y * src.dx() + x);
    LevelBoard b{src.dx(), src.dy(), &cells};
    int lx = 0, ly = 0;
    if (Board_FindLine(b, lx, ly)) {
        error = "cell (" + std::to_string(lx) + ", " + std::to_string(ly) +
                "): the preset pieces already make a line of three";
        return false;
    }
    if (plan.open.empty()) return true; // a board given in full is taken as it stands
    for (int k = 1; k <= 7; ++k)
        if (src.weights[k] > 0) plan.kinds.push_back(k), plan.weights.push_back(src.weights[k]);
    if (plan.kinds.size() < 2) {
        error = "open cells need at least two gem kinds with a weight";
        return false;
    }
    for (int attempt = 0; attempt < 4000; ++attempt) {
        Lcg rng(static_cast<std::uint32_t>(src.seed) * 7919u + static_cast<std::uint32_t>(attempt));
        FillOnce(plan, rng, b, cells);
        if (!Board_FindLine(b, lx, ly) && Board_BestMove(b) >= src.need) return true;
    }
    error = "no filling of the open cells avoids a line of three and offers a move making " +
            std::to_string(src.need);
    return false;
}

} // namespace

bool Level_Compile(const LevelSource& src, LevelFileData& out, std::string& error) {
    out = LevelFileData{};
    const int dx = src.dx(), dy = src.dy();
    if (dx < 1 || dy < 1 || dx > LevelFile_MaxSide || dy > LevelFile_MaxSide) {
        error = "the board must be 1..48 cells each way";
        return false;
    }
    LevelSettings& s = out.settings;
    s.bytesize = s.cell_bytesize = LevelFile_RecordBytes;
    s.table_dx = dx;
    s.table_dy = dy;
    s.time = src.time_ms;
    s.ShieldPercent = src.shield;
    s.LaserPercent = src.laser;
    s.GoldenPercent = src.golden;
    s.BombPercent = src.bomb;
    std::copy(src.weights, src.weights + Piece_Kinds, out.weights);
    out.cells.assign(static_cast<std::size_t>(dx) * dy, LevelDataCell{});
    for (int y = 0; y < dy; ++y)
        for (int x = 0; x < dx; ++x) {
            LevelDataCell& c = out.cells[y * dx + x];
            const char m = src.marks[y][x];
            c.autospawn = y == 0 || m == 's';
            if (src.board[y][x] == '.') {
                c.void_ = 1;
                continue;
            }
            c.background = c.bg_initial = src.board[y][x] - '0';
            c.color = PieceKind(src.pieces[y][x]);
            c.locks = m == 'l' ? 1 : m == 'L' ? 2 : 0;
            c.bomb = m == 'b';
        }
    ApplyContours(dx, dy, out.cells);
    return Fill(src, out.cells, error);
}

bool Level_Decompile(const LevelFileData& data, LevelSource& out, std::string& error) {
    out = LevelSource{};
    const LevelSettings& s = data.settings;
    const int dx = s.table_dx, dy = s.table_dy;
    out.time_ms = s.time;
    std::copy(data.weights, data.weights + Piece_Kinds, out.weights);
    out.weights[0] = 0;
    out.bomb = s.BombPercent, out.shield = s.ShieldPercent;
    out.laser = s.LaserPercent, out.golden = s.GoldenPercent;
    auto fail = [&](int x, int y, const std::string& why) {
        error = "cell (" + std::to_string(x) + ", " + std::to_string(y) + "): " + why;
        return false;
    };
    if (data.weights[0] != 0) return fail(0, 0, "weight of kind 0 is set");
    for (int y = 0; y < dy; ++y) {
        std::string board(dx, '.'), pieces(dx, '.'), marks(dx, '.');
        for (int x = 0; x < dx; ++x) {
            const LevelDataCell& c = data.cells[y * dx + x];
            if (c.laser || c.golden) return fail(x, y, "laser or golden marks cannot be written");
            if ((y == 0) != (c.autospawn != 0) && (c.void_ || y == 0))
                return fail(x, y, "spawn flag differs from the top-row rule");
            if (c.void_) {
                if (c.color || c.locks || c.bomb) return fail(x, y, "a void cell holds a piece");
                continue;
            }
            if (c.background < 0 || c.background > 2 || c.bg_initial != c.background)
                return fail(x, y, "ice layers outside 0..2 or changed since the start");
            if (c.ContTile != 0) return fail(x, y, "a playable cell carries a contour tile");
            board[x] = static_cast<char>('0' + c.background);
            pieces[x] = PieceChar(c.color);
            if (!pieces[x]) return fail(x, y, "piece kind " + std::to_string(c.color));
            const int marks_set = (c.locks != 0) + (c.bomb != 0) + (y > 0 && c.autospawn);
            if (marks_set > 1 || c.locks < 0 || c.locks > 2)
                return fail(x, y, "more marks than one character can hold");
            if (c.locks) marks[x] = c.locks == 1 ? 'l' : 'L';
            if (c.bomb) marks[x] = 'b';
            if (y > 0 && c.autospawn) marks[x] = 's';
        }
        out.board.push_back(board);
        out.pieces.push_back(pieces);
        out.marks.push_back(marks);
    }
    std::vector<LevelDataCell> check = data.cells;
    ApplyContours(dx, dy, check);
    for (int i = 0; i < dx * dy; ++i)
        if (check[i].ContTile != data.cells[i].ContTile ||
            check[i].background != data.cells[i].background)
            return fail(i % dx, i / dx, "contour tile or variant differs from the rule");
    return true;
}

int Board_RunLength(const LevelBoard& b, int x, int y, int sx, int sy) {
    if (!b.inside(x, y) || !TakesPart(b.at(x, y))) return 0;
    const int kind = b.at(x, y).color;
    int n = 1;
    for (int dir = -1; dir <= 1; dir += 2)
        for (int cx = x + dir * sx, cy = y + dir * sy;
             b.inside(cx, cy) && TakesPart(b.at(cx, cy)) && b.at(cx, cy).color == kind;
             cx += dir * sx, cy += dir * sy)
            ++n;
    return n;
}

bool Board_FindLine(const LevelBoard& b, int& x, int& y) {
    for (y = 0; y < b.dy; ++y)
        for (x = 0; x < b.dx; ++x)
            if (InLine(b, x, y)) return true;
    return false;
}

int Board_BestMove(const LevelBoard& b, int* move) {
    std::vector<LevelDataCell> cells = *b.cells;
    LevelBoard t{b.dx, b.dy, &cells};
    auto movable = [&](int x, int y) {
        return t.playable(x, y) && TakesPart(t.at(x, y)) && t.at(x, y).locks == 0;
    };
    auto best_at = [&](int x, int y) {
        int h = Board_RunLength(t, x, y, 1, 0), v = Board_RunLength(t, x, y, 0, 1);
        return std::max(h >= 3 ? h : 0, v >= 3 ? v : 0);
    };
    int best = 0;
    for (int y = 0; y < b.dy; ++y)
        for (int x = 0; x < b.dx; ++x)
            for (int d = 0; d < 2; ++d) {
                const int nx = x + (d == 0), ny = y + (d == 1);
                if (!movable(x, y) || !movable(nx, ny)) continue;
                if (t.at(x, y).color == t.at(nx, ny).color) continue;
                std::swap(cells[y * b.dx + x].color, cells[ny * b.dx + nx].color);
                const int got = std::max(best_at(x, y), best_at(nx, ny));
                std::swap(cells[y * b.dx + x].color, cells[ny * b.dx + nx].color);
                if (got > best) {
                    best = got;
                    if (move) move[0] = x, move[1] = y, move[2] = nx, move[3] = ny;
                }
            }
    return best;
}

std::vector<bool> Board_Reachable(const LevelBoard& b) {
    std::vector<bool> fed(static_cast<std::size_t>(b.dx) * b.dy, false);
    auto is_fed = [&](int x, int y) { return b.playable(x, y) && fed[y * b.dx + x]; };
    auto free_piece = [&](int x, int y) { return is_fed(x, y) && b.at(x, y).locks == 0; };
    for (bool changed = true; changed;) {
        changed = false;
        for (int y = 0; y < b.dy; ++y)
            for (int x = 0; x < b.dx; ++x) {
                if (!b.playable(x, y) || fed[y * b.dx + x]) continue;
                bool ok = b.at(x, y).autospawn != 0 || free_piece(x, y - 1);
                // A gap its own column can never refill (under a void cell or a chained piece)
                // takes pieces sliding in diagonally from the row above.
                const bool sealed = y > 0 && (!b.playable(x, y - 1) || b.at(x, y - 1).locks > 0);
                if (!ok && sealed) ok = free_piece(x - 1, y - 1) || free_piece(x + 1, y - 1);
                if (ok) fed[y * b.dx + x] = true, changed = true;
            }
    }
    return fed;
}

int Board_CellPixels(int dx, int dy) {
    const int W = 675, H = 580;
    if (dx * H > dy * W) {
        int c = W / dx;
        return dx <= 19 ? std::clamp(c, 38, 57) : c;
    }
    int c = H / dy;
    return dy <= 12 ? std::clamp(c, 38, 57) : c;
}
