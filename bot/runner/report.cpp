#include "bot/runner/report.h"

#include <cstdio>
#include <fstream>
#include <sstream>

std::string Report_TimeText(int ms) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d:%02d", ms / 60000, ms / 1000 % 60);
    return buf;
}

bool Report_WriteTable(const std::string& file, const std::vector<Level_Report>& reps) {
    std::ofstream f(file);
    f << "| level | win % | median time used % | level time | worst won % | median moves | "
         "snowballs | hammers | ice cells |\n";
    f << "|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n";
    char line[256];
    for (const Level_Report& r : reps) {
        std::snprintf(line, sizeof line,
                      "| %d | %.0f | %.0f | %s | %.0f | %d | %.1f | %.1f | %d |\n", r.level,
                      r.WinPercent(), r.median_used, Report_TimeText(r.level_time).c_str(),
                      r.worst_used, r.median_moves, r.snowballs, r.hammers, r.ice_cells);
        f << line;
    }
    return static_cast<bool>(f);
}

namespace {
const char* const Csv_Header = "level,seeds,wins,win_percent,median_used_percent,worst_won_percent,"
                               "level_time_ms,median_moves,snowballs,hammers,ice_cells,"
                               "ice_left_lost,simulated_ms";
}

bool Report_WriteCsv(const std::string& file, const std::vector<Level_Report>& reps) {
    std::ofstream f(file);
    f << Csv_Header << "\n";
    char line[256];
    for (const Level_Report& r : reps) {
        std::snprintf(line, sizeof line, "%d,%d,%d,%.1f,%.1f,%.1f,%d,%d,%.2f,%.2f,%d,%.0f,%lld\n",
                      r.level, r.seeds, r.wins, r.WinPercent(), r.median_used, r.worst_used,
                      r.level_time, r.median_moves, r.snowballs, r.hammers, r.ice_cells,
                      r.ice_left_lost, r.simulated_ms);
        f << line;
    }
    return static_cast<bool>(f);
}

bool Report_ReadCsv(const std::string& file, std::vector<Level_Report>* reps, std::string* error) {
    std::ifstream f(file);
    std::string line;
    if (!f || !std::getline(f, line) || line != Csv_Header) {
        *error = file + ": not a results file of snowmere-bot";
        return false;
    }
    for (int number = 2; std::getline(f, line); ++number) {
        Level_Report r;
        double win_percent = 0;
        const int n = std::sscanf(line.c_str(), "%d,%d,%d,%lf,%lf,%lf,%d,%d,%lf,%lf,%d,%lf,%lld",
                                  &r.level, &r.seeds, &r.wins, &win_percent, &r.median_used,
                                  &r.worst_used, &r.level_time, &r.median_moves, &r.snowballs,
                                  &r.hammers, &r.ice_cells, &r.ice_left_lost, &r.simulated_ms);
        if (n != 13 || r.seeds <= 0 || r.wins < 0 || r.wins > r.seeds) {
            *error = file + ": line " + std::to_string(number) + " is not understood";
            return false;
        }
        reps->push_back(r);
    }
    return true;
}
