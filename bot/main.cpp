// snowmere-bot: the level bot plays levels with many seeds and reports, level by level, how many it
// won, the median share of the level's time it used, its moves and its hammers.
//   snowmere-bot --levels 1-150 --seeds 20 [--table FILE] [--csv FILE]
#include "board/pieces.h"
#include "board/table.h"
#include "bot/bot.h"
#include "bot/bot_level.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

const char* const Usage =
    "usage: snowmere-bot [options]\n"
    "  --levels LIST     levels to play: 7, 1-150 or 1,50,100-110 (default 1-150)\n"
    "  --seeds N         seeds per level (default 10)\n"
    "  --first-seed S    the first seed (default 1)\n"
    "  --frame-ms MS     the fixed frame time (default 16)\n"
    "  --think MS        how long the bot looks at a calm board before acting (default 700)\n"
    "  --assets DIR      the generated data holding levels/KV_level_NNN.lev\n"
    "  --level-file PATH play this file instead (as each level of --levels)\n"
    "  --table FILE      write the results as rows of a Markdown table\n"
    "  --csv FILE        write the results as CSV\n"
    "  --quiet           no line per level on the standard output\n"
    "  --show-lost       print the ice left on the board of every lost seed\n";

struct Options {
    std::vector<int> levels;
    int seeds = 10, first_seed = 1, frame_ms = 16, think_ms = 700;
    std::string assets = SNOW_ASSETS_DIR, level_file, table, csv;
    bool quiet = false, show_lost = false;
};

struct Level_Report {
    int level = 0, level_time = 0, wins = 0, seeds = 0;
    double median_used = 0; // percent of the level's time
    double worst_used = 0;  // the largest share a won seed used
    int median_moves = 0;
    double snowballs = 0, hammers = 0; // per seed
    int ice_cells = 0;                 // playable cells with ice at the start
    double ice_left_lost = 0;          // median ice cells left by the lost seeds
    long long simulated_ms = 0;
};

bool ParseNumber(const std::string& s, int* out) {
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (s.empty() || *end != '\0' || v < 0 || v > 1000000) return false;
    *out = static_cast<int>(v);
    return true;
}

// "1-150", "7" or "1,50,100-110".
bool ParseLevels(const std::string& s, std::vector<int>* out) {
    out->clear();
    std::size_t start = 0;
    while (start <= s.size()) {
        const std::size_t comma = std::min(s.find(',', start), s.size());
        const std::string part = s.substr(start, comma - start);
        const std::size_t dash = part.find('-');
        int a = 0, b = 0;
        if (dash == std::string::npos) {
            if (!ParseNumber(part, &a)) return false;
            b = a;
        } else if (!ParseNumber(part.substr(0, dash), &a) ||
                   !ParseNumber(part.substr(dash + 1), &b)) {
            return false;
        }
        if (a < 1 || b < a || b > 150) return false;
        for (int n = a; n <= b; ++n)
            out->push_back(n);
        start = comma + 1;
    }
    return !out->empty();
}

bool ParseArgs(int argc, char** argv, Options* o) {
    if (!ParseLevels("1-150", &o->levels)) return false;
    for (int i = 1; i < argc; ++i) {
        const std::string opt = argv[i];
        if (opt == "--quiet" || opt == "--show-lost") {
            (opt == "--quiet" ? o->quiet : o->show_lost) = true;
            continue;
        }
        if (i + 1 >= argc) return false;
        const std::string v = argv[++i];
        bool ok = true;
        if (opt == "--levels")
            ok = ParseLevels(v, &o->levels);
        else if (opt == "--seeds")
            ok = ParseNumber(v, &o->seeds) && o->seeds >= 1;
        else if (opt == "--first-seed")
            ok = ParseNumber(v, &o->first_seed);
        else if (opt == "--frame-ms")
            ok = ParseNumber(v, &o->frame_ms) && o->frame_ms >= 1 && o->frame_ms <= 100;
        else if (opt == "--think")
            ok = ParseNumber(v, &o->think_ms);
        else if (opt == "--assets")
            o->assets = v;
        else if (opt == "--level-file")
            o->level_file = v;
        else if (opt == "--table")
            o->table = v;
        else if (opt == "--csv")
            o->csv = v;
        else
            ok = false;
        if (!ok) return false;
    }
    return true;
}

// The board as the lost seed left it: '#' void, '.' no ice, '1' and '2' the layers left; then
// the pieces by kind ('x' an icecube or other special kind, '.' none).
void ShowIce(int level, int seed) {
    std::printf("level %d seed %d lost with this ice:\n", level, seed);
    for (int y = 0; y < Table_dy; ++y) {
        std::string row;
        for (int x = 0; x < Table_dx; ++x) {
            const Table_cell& c = Table[x][y];
            row += c.void_ ? '#' : c.background > 0 ? static_cast<char>('0' + c.background) : '.';
        }
        row += "   ";
        for (int x = 0; x < Table_dx; ++x) {
            const Piece* p = Table[x][y].piece_id;
            row += !p ? '.' : p->color < 10 ? static_cast<char>('0' + p->color) : 'x';
        }
        std::printf("  %s\n", row.c_str());
    }
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Every seed of one level. The median time counts lost seeds as their whole time used, so a level
// that is often lost shows as hard in both columns.
bool PlayLevel(const Options& o, int level, Level_Report* rep) {
    rep->level = level;
    rep->seeds = o.seeds;
    std::vector<double> used, moves, left;
    const std::string path = o.level_file.empty() ? Bot_LevelPath(o.assets, level) : o.level_file;
    for (int s = 0; s < o.seeds; ++s) {
        Bot_LevelResult r;
        std::string error;
        if (!Bot_PlayLevel(path, level, static_cast<unsigned>(o.first_seed + s), o.frame_ms, &r,
                           &error)) {
            std::fprintf(stderr, "snowmere-bot: level %d: %s\n", level, error.c_str());
            return false;
        }
        rep->level_time = r.level_time;
        rep->ice_cells = r.ice_start;
        if (!r.won) left.push_back(r.ice_left);
        if (!r.won && o.show_lost) ShowIce(level, o.first_seed + s);
        rep->wins += r.won ? 1 : 0;
        const double share = r.level_time > 0 ? 100.0 * r.time_used / r.level_time : 100.0;
        used.push_back(share);
        if (r.won) rep->worst_used = std::max(rep->worst_used, share);
        moves.push_back(r.moves);
        rep->snowballs += r.snowballs;
        rep->hammers += r.hammers;
        rep->simulated_ms += r.time_used;
    }
    rep->median_used = Median(used);
    rep->ice_left_lost = Median(left);
    rep->median_moves = static_cast<int>(Median(moves));
    rep->snowballs /= o.seeds;
    rep->hammers /= o.seeds;
    return true;
}

std::string TimeText(int ms) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d:%02d", ms / 60000, ms / 1000 % 60);
    return buf;
}

void WriteTable(const std::string& file, const std::vector<Level_Report>& reps) {
    std::ofstream f(file);
    f << "| level | win % | median time used % | level time | worst won % | median moves | "
         "snowballs | hammers |\n";
    f << "|---:|---:|---:|---:|---:|---:|---:|---:|\n";
    char line[256];
    for (const Level_Report& r : reps) {
        std::snprintf(line, sizeof line, "| %d | %.0f | %.0f | %s | %.0f | %d | %.1f | %.1f |\n",
                      r.level, 100.0 * r.wins / r.seeds, r.median_used,
                      TimeText(r.level_time).c_str(), r.worst_used, r.median_moves, r.snowballs,
                      r.hammers);
        f << line;
    }
}

void WriteCsv(const std::string& file, const std::vector<Level_Report>& reps) {
    std::ofstream f(file);
    f << "level,seeds,wins,win_percent,median_used_percent,worst_won_percent,level_time_ms,"
         "median_moves,snowballs,hammers,ice_cells,ice_left_lost\n";
    char line[256];
    for (const Level_Report& r : reps) {
        std::snprintf(line, sizeof line, "%d,%d,%d,%.1f,%.1f,%.1f,%d,%d,%.2f,%.2f,%d,%.0f\n",
                      r.level, r.seeds, r.wins, 100.0 * r.wins / r.seeds, r.median_used,
                      r.worst_used, r.level_time, r.median_moves, r.snowballs, r.hammers,
                      r.ice_cells, r.ice_left_lost);
        f << line;
    }
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    if (!ParseArgs(argc, argv, &o)) {
        std::fputs(Usage, stderr);
        return 2;
    }
    BotSettings.think_ms = o.think_ms;
    std::vector<Level_Report> reps;
    long long simulated_ms = 0;
    const auto t0 = std::chrono::steady_clock::now();
    for (int level : o.levels) {
        Level_Report rep;
        if (!PlayLevel(o, level, &rep)) return 1;
        simulated_ms += rep.simulated_ms;
        reps.push_back(rep);
        if (!o.quiet)
            std::printf("level %3d  won %2d/%-2d  median time used %5.1f %%  (worst won %5.1f %%)  "
                        "time %s  moves %3d  snowballs %4.1f  hammers %3.1f  ice %d (lost with "
                        "%.0f left)\n",
                        level, rep.wins, rep.seeds, rep.median_used, rep.worst_used,
                        TimeText(rep.level_time).c_str(), rep.median_moves, rep.snowballs,
                        rep.hammers, rep.ice_cells, rep.ice_left_lost);
        std::fflush(stdout);
    }
    const double real_s =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("played %zu levels x %d seeds: %.0f simulated s in %.1f real s, %.0f x real time\n",
                reps.size(), o.seeds, simulated_ms / 1000.0, real_s,
                real_s > 0 ? simulated_ms / 1000.0 / real_s : 0.0);
    if (!o.table.empty()) WriteTable(o.table, reps);
    if (!o.csv.empty()) WriteCsv(o.csv, reps);
    return 0;
}
