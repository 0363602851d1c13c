// snowmere-bot: the level bot plays levels with many seeds and reports, level by level, how many it
// won, the median share of the level's time it used, its moves and its hammers.
//   snowmere-bot --levels 1-150 --seeds 20 [--table FILE] [--csv FILE] [--chart FILE]
//   snowmere-bot --from-csv A.csv,B.csv --table FILE --chart FILE   (runs split over processes)
#include "board/hammers.h"
#include "board/pieces.h"
#include "board/table.h"
#include "bot/bot.h"
#include "bot/bot_level.h"
#include "bot/runner/report.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
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
    "  --show-lost       print the ice left on the board of every lost seed\n"
    "  --chart FILE      draw the median time used and the win rate per level as a PNG\n"
    "  --from-csv LIST   play nothing: read the results of earlier runs (comma-separated CSV\n"
    "                    files) and write --table, --csv and --chart from them\n";

struct Options {
    std::vector<int> levels;
    int seeds = 10, first_seed = 1, frame_ms = 16, think_ms = 700;
    std::string assets = SNOW_ASSETS_DIR, level_file, table, csv, chart, from_csv;
    bool quiet = false, show_lost = false;
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
        else if (opt == "--chart")
            o->chart = v;
        else if (opt == "--from-csv")
            o->from_csv = v;
        else
            ok = false;
        if (!ok) return false;
    }
    return true;
}

// The board as the lost seed left it: '#' void, '.' no ice, '1' and '2' the layers left; then
// the pieces by kind ('x' an icecube or other special kind, '.' none).
void ShowIce(int level, int seed) {
    std::printf("level %d seed %d lost with this ice (hammer meter %d, hammer in hand %d):\n",
                level, seed, Hammer_Points, Hammer_Active);
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

// Reads the results of earlier runs, ordered by level.
bool ReadResults(const std::string& list, std::vector<Level_Report>* reps) {
    std::size_t start = 0;
    while (start < list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        std::string error;
        if (!Report_ReadCsv(list.substr(start, comma - start), reps, &error)) {
            std::fprintf(stderr, "snowmere-bot: %s\n", error.c_str());
            return false;
        }
        start = comma + 1;
    }
    std::sort(reps->begin(), reps->end(),
              [](const Level_Report& a, const Level_Report& b) { return a.level < b.level; });
    return true;
}

void PrintLevel(const Level_Report& rep) {
    std::printf("level %3d  won %2d/%-2d  median time used %5.1f %%  (worst won %5.1f %%)  "
                "time %s  moves %3d  snowballs %4.1f  hammers %3.1f  ice %d (lost with %.0f "
                "left)\n",
                rep.level, rep.wins, rep.seeds, rep.median_used, rep.worst_used,
                Report_TimeText(rep.level_time).c_str(), rep.median_moves, rep.snowballs,
                rep.hammers, rep.ice_cells, rep.ice_left_lost);
    std::fflush(stdout);
}

// Plays every level of the options; prints the speed as simulated seconds per second of the
// wall clock and of this process's processor time (the fairer figure on a shared machine).
bool PlayAll(const Options& o, std::vector<Level_Report>* reps) {
    long long simulated_ms = 0;
    const auto t0 = std::chrono::steady_clock::now();
    const std::clock_t c0 = std::clock();
    for (int level : o.levels) {
        Level_Report rep;
        if (!PlayLevel(o, level, &rep)) return false;
        simulated_ms += rep.simulated_ms;
        reps->push_back(rep);
        if (!o.quiet) PrintLevel(rep);
    }
    const double wall_s =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double cpu_s = static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
    const double sim_s = simulated_ms / 1000.0;
    std::printf("played %zu levels x %d seeds: %.0f simulated s in %.1f s (%.1f s of processor "
                "time): %.0f x real time by the wall clock, %.0f x per processor second\n",
                reps->size(), o.seeds, sim_s, wall_s, cpu_s, wall_s > 0 ? sim_s / wall_s : 0.0,
                cpu_s > 0 ? sim_s / cpu_s : 0.0);
    return true;
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
    const bool ok = o.from_csv.empty() ? PlayAll(o, &reps) : ReadResults(o.from_csv, &reps);
    if (!ok) return 1;
    bool written = true;
    if (!o.table.empty()) written &= Report_WriteTable(o.table, reps);
    if (!o.csv.empty()) written &= Report_WriteCsv(o.csv, reps);
    if (!o.chart.empty()) written &= Report_DrawChart(o.chart, reps);
    if (!written) std::fprintf(stderr, "snowmere-bot: a result file could not be written\n");
    return written ? 0 : 1;
}
