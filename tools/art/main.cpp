// artgen: draws every picture of the game (and copies its fonts) into the generated data folder.
// Usage: artgen --out DIR --source DIR --work DIR [--jobs N] [module...]
//        artgen --out DIR [--sheet FILE] [--sheet-width N] [--sheet-scale K] [--mockups]
//        [module...]
//        artgen --icons DIR NAME
// With --sheet or --mockups, only the modules named run (none by default); then a contact sheet
// of every picture in DIR is written to FILE, and --mockups writes mock_*.png screens beside DIR.
#include "tools/art/art.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>

void Art_Mockups(const std::string& data_dir); // review screens next to the data folder
// The desktop icon as DIR/hicolor/<size>/apps/NAME.png and .../scalable/apps/NAME.svg.
void Art_WriteIcons(const std::string& dir, const std::string& name);

int main(int argc, char** argv) {
    if (argc == 4 && !std::strcmp(argv[1], "--icons")) {
        Art_WriteIcons(argv[2], argv[3]);
        return 0;
    }
    ArtContext ctx;
    std::set<std::string> only;
    std::string sheet;
    int sheet_width = 1800;
    bool mockups = false;
    double sheet_scale = 1.0;
    for (int i = 1; i < argc; ++i) {
        auto next = [&] { return i + 1 < argc ? std::string(argv[++i]) : std::string(); };
        if (!std::strcmp(argv[i], "--out"))
            ctx.out_dir = next();
        else if (!std::strcmp(argv[i], "--source"))
            ctx.source_dir = next();
        else if (!std::strcmp(argv[i], "--work"))
            ctx.work_dir = next();
        else if (!std::strcmp(argv[i], "--sheet"))
            sheet = next();
        else if (!std::strcmp(argv[i], "--sheet-scale"))
            sheet_scale = std::clamp(std::atof(next().c_str()), 0.05, 1.0);
        else if (!std::strcmp(argv[i], "--mockups"))
            mockups = true;
        else if (!std::strcmp(argv[i], "--sheet-width"))
            sheet_width = std::max(400, std::atoi(next().c_str()));
        else if (!std::strcmp(argv[i], "--jobs"))
            ctx.jobs = std::max(1, std::atoi(next().c_str()));
        else
            only.insert(argv[i]);
    }
    bool run_modules = (sheet.empty() && !mockups) || !only.empty();
    if (ctx.out_dir.empty() || (run_modules && (ctx.source_dir.empty() || ctx.work_dir.empty())))
        Art_Fail("usage: artgen --out DIR --source DIR --work DIR [--jobs N] [module...]\n"
                 "       artgen --out DIR [--sheet FILE] [--sheet-width N] [--sheet-scale K] "
                 "[--mockups] [module...]");
    if (run_modules) std::filesystem::create_directories(ctx.work_dir);
    for (const ArtModuleEntry& m : Art_Modules()) {
        if (!run_modules || (!only.empty() && !only.count(m.name))) continue;
        auto t0 = std::chrono::steady_clock::now();
        m.fn(ctx);
        double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        std::printf("artgen: %-12s %6.1f s\n", m.name, s);
    }
    if (mockups) Art_Mockups(ctx.out_dir);
    if (!sheet.empty() && !Art_ContactSheet(ctx.out_dir, sheet, sheet_width, sheet_scale))
        Art_Fail("cannot write the contact sheet " + sheet);
    return 0;
}
