#include "engine/draw_profile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

const char* ProfilePath() {
    static const char* path = std::getenv("SNOW_DRAW_PROFILE");
    return path && *path ? path : nullptr;
}

double ProcessCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

struct Row {
    double ms = 0, pixels = 0;
    long calls = 0;
};

struct Profile {
    std::unordered_map<SDL_Texture*, std::string> names;
    std::map<std::string, Row> rows;
    double begin_ms = 0, frame_start_ms = -1, drawing_ms = 0;
    long frames = 0;
};
Profile p;

const char* ModeName(SDL_BlendMode m) {
    switch (m) {
    case SDL_BLENDMODE_NONE:
        return "opaque";
    case SDL_BLENDMODE_BLEND:
        return "blend";
    case SDL_BLENDMODE_ADD:
        return "add";
    case SDL_BLENDMODE_MOD:
        return "mod";
    default:
        return "custom";
    }
}

void Add(const std::string& label, double ms, double pixels) {
    Row& r = p.rows[label];
    r.ms += ms;
    r.pixels += pixels;
    ++r.calls;
    p.drawing_ms += ms;
}

} // namespace

bool DrawProfile_Skipped(SDL_Texture* texture) {
    static const std::vector<std::string> words = [] {
        std::vector<std::string> w;
        const char* env = std::getenv("SNOW_SKIP_DRAW");
        std::string all = env ? env : "";
        for (std::size_t start = 0; start < all.size();) {
            std::size_t end = std::min(all.find(',', start), all.size());
            if (end > start) w.push_back(all.substr(start, end - start));
            start = end + 1;
        }
        return w;
    }();
    if (words.empty() || !texture) return false;
    auto it = p.names.find(texture);
    if (it == p.names.end()) return false;
    for (const std::string& w : words)
        if (it->second.find(w) != std::string::npos) return true;
    return false;
}

bool DrawProfile_On() {
    return ProfilePath() != nullptr;
}

void DrawProfile_NameTexture(SDL_Texture* texture, const std::string& name) {
    if (DrawProfile_On() || std::getenv("SNOW_SKIP_DRAW")) p.names[texture] = name;
}

void DrawProfile_Begin() {
    if (DrawProfile_On()) p.begin_ms = ProcessCpuMs();
}

void DrawProfile_End(SDL_Texture* texture, SDL_BlendMode mode, double pixels) {
    if (!DrawProfile_On()) return;
    std::string name = "(shapes and fills)";
    if (texture) {
        auto it = p.names.find(texture);
        name = it != p.names.end() ? it->second : "(unnamed texture)";
    }
    Add(name + " [" + ModeName(mode) + "]", ProcessCpuMs() - p.begin_ms, pixels);
}

void DrawProfile_EndOther(const char* label) {
    if (!DrawProfile_On()) return;
    Add(label, ProcessCpuMs() - p.begin_ms, 0);
}

void DrawProfile_FrameEnd() {
    if (!DrawProfile_On()) return;
    double now = ProcessCpuMs();
    if (p.frame_start_ms >= 0) {
        Row& rest = p.rows["(rules, input, sound, recording)"];
        rest.ms += std::max(0.0, now - p.frame_start_ms - p.drawing_ms);
        ++rest.calls;
        ++p.frames;
    } else {
        p.rows.clear(); // the first frame's loading is not a frame's cost
    }
    p.frame_start_ms = now;
    p.drawing_ms = 0;
}

void DrawProfile_Report() {
    if (!DrawProfile_On() || p.frames == 0) return;
    std::string path = ProfilePath();
    FILE* f = path == "-" ? stderr : std::fopen(path.c_str(), "w");
    if (!f) return;
    std::vector<std::pair<std::string, Row>> rows(p.rows.begin(), p.rows.end());
    std::sort(rows.begin(), rows.end(),
              [](const auto& a, const auto& b) { return a.second.ms > b.second.ms; });
    double total = 0;
    for (const auto& r : rows)
        total += r.second.ms;
    const double n = double(p.frames), screen = 800.0 * 600.0;
    std::fprintf(f, "%ld frames, %.2f ms of process CPU per frame (each call waited for)\n",
                 p.frames, total / n);
    std::fprintf(f, "%8s %6s %7s %8s  %s\n", "ms/frame", "share", "calls", "screens", "what");
    for (const auto& [label, r] : rows)
        std::fprintf(f, "%8.3f %5.1f%% %7.1f %8.3f  %s\n", r.ms / n, 100.0 * r.ms / total,
                     double(r.calls) / n, r.pixels / n / screen, label.c_str());
    if (f != stderr) std::fclose(f);
    p = Profile{};
}
