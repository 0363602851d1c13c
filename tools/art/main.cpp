// artgen: draws every picture of the game (and copies its fonts) into the generated data folder.
// Usage: artgen --out DIR --source DIR --work DIR [--jobs N] [module...]
#include "tools/art/art.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>

int main(int argc, char** argv) {
    ArtContext ctx;
    std::set<std::string> only;
    for (int i = 1; i < argc; ++i) {
        auto next = [&] { return i + 1 < argc ? std::string(argv[++i]) : std::string(); };
        if (!std::strcmp(argv[i], "--out"))
            ctx.out_dir = next();
        else if (!std::strcmp(argv[i], "--source"))
            ctx.source_dir = next();
        else if (!std::strcmp(argv[i], "--work"))
            ctx.work_dir = next();
        else if (!std::strcmp(argv[i], "--jobs"))
            ctx.jobs = std::max(1, std::atoi(next().c_str()));
        else
            only.insert(argv[i]);
    }
    if (ctx.out_dir.empty() || ctx.source_dir.empty() || ctx.work_dir.empty())
        Art_Fail("usage: artgen --out DIR --source DIR --work DIR [--jobs N] [module...]");
    std::filesystem::create_directories(ctx.work_dir);
    for (const ArtModuleEntry& m : Art_Modules()) {
        if (!only.empty() && !only.count(m.name)) continue;
        auto t0 = std::chrono::steady_clock::now();
        m.fn(ctx);
        double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        std::printf("artgen: %-12s %6.1f s\n", m.name, s);
    }
    return 0;
}
