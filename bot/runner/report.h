// The runner's results, level by level: as played, written as a Markdown table or CSV, read back
// from CSV files (runs split over several processes merge so), and drawn as a chart.
#pragma once

#include <string>
#include <vector>

struct Level_Report {
    int level = 0, level_time = 0, wins = 0, seeds = 0;
    double median_used = 0; // percent of the level's time, lost seeds counting as all of it
    double worst_used = 0;  // the largest share a won seed used
    int median_moves = 0;
    double snowballs = 0, hammers = 0; // per seed
    int ice_cells = 0;                 // playable cells with ice at the start
    double ice_left_lost = 0;          // median ice cells left by the lost seeds
    long long simulated_ms = 0;

    double WinPercent() const { return seeds > 0 ? 100.0 * wins / seeds : 0.0; }
};

std::string Report_TimeText(int ms); // "9:45"
bool Report_WriteTable(const std::string& file, const std::vector<Level_Report>& reps);
bool Report_WriteCsv(const std::string& file, const std::vector<Level_Report>& reps);
// Appends the rows of a CSV file written by Report_WriteCsv; false with `error` set when the file
// cannot be read or a row is malformed.
bool Report_ReadCsv(const std::string& file, std::vector<Level_Report>* reps, std::string* error);
// A PNG chart: the median time used per level as bars, the win rate as a line, the targets as
// dashed lines.
bool Report_DrawChart(const std::string& file, const std::vector<Level_Report>& reps);
