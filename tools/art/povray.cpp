#include "tools/art/povray.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

static std::string RenderDir(const ArtContext& ctx) {
    return ctx.work_dir + "/objects";
}

// The renderer only reads and writes inside its working folder, so the scenes are copied there.
static void CopyScenes(const ArtContext& ctx) {
    fs::path src = fs::path(ctx.source_dir) / "objects";
    if (!fs::is_directory(src)) Art_Fail("no scenes in " + src.string());
    fs::create_directories(RenderDir(ctx));
    for (const auto& e : fs::directory_iterator(src)) {
        std::string ext = e.path().extension().string();
        if (ext == ".pov" || ext == ".inc")
            fs::copy_file(e.path(), fs::path(RenderDir(ctx)) / e.path().filename(),
                          fs::copy_options::overwrite_existing);
    }
}

static int Rows(const PovStrip& s) {
    int cols = std::min(s.columns, s.count);
    return (s.count + cols - 1) / cols;
}

static std::string Command(const PovStrip& s) {
    int cols = std::min(s.columns, s.count);
    std::ostringstream cmd;
    const int ss = std::max(1, s.supersample);
    // The scene's units stay frame pixels (FW, FH); only the picture grows by ss.
    cmd << "povray -I" << s.scene << " -O" << s.tag << ".png +W" << s.frame_w * cols * ss << " +H"
        << s.frame_h * Rows(s) * ss << " +A" << s.antialias << " +AM2 +R2 +UA -D +WT1 +FN"
        << (ss > 1 ? " -J" : "") << " Declare=FW=" << s.frame_w << " Declare=FH=" << s.frame_h
        << " Declare=Count=" << s.count << " Declare=Cols=" << cols << " Declare=Rows=" << Rows(s);
    for (const auto& [k, v] : s.declares)
        cmd << " Declare=" << k << "=" << v;
    cmd << " > " << s.tag << ".log 2>&1";
    return cmd.str();
}

static std::string LogTail(const std::string& path) {
    std::ifstream f(path);
    std::string all((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    return all.size() > 1500 ? all.substr(all.size() - 1500) : all;
}

std::vector<std::vector<Picture>> Pov_Render(const ArtContext& ctx,
                                             const std::vector<PovStrip>& strips) {
    CopyScenes(ctx);
    for (const PovStrip& s : strips) // never mistake an old render for a new one
        fs::remove(RenderDir(ctx) + "/" + s.tag + ".png");
    std::vector<int> status(strips.size(), -1);
    std::atomic<size_t> next{0};
    auto worker = [&] {
        for (size_t i; (i = next++) < strips.size();) {
            std::string cmd = "cd '" + RenderDir(ctx) + "' && " + Command(strips[i]);
            status[i] = std::system(cmd.c_str());
        }
    };
    std::vector<std::thread> pool;
    for (int j = 0; j < std::max(1, ctx.jobs); ++j)
        pool.emplace_back(worker);
    for (auto& t : pool)
        t.join();

    std::vector<std::vector<Picture>> out;
    for (size_t i = 0; i < strips.size(); ++i) {
        const PovStrip& s = strips[i];
        std::string base = RenderDir(ctx) + "/" + s.tag;
        Picture grid;
        if (status[i] != 0 || !Picture_ReadPng(base + ".png", &grid))
            Art_Fail("povray failed on " + s.scene + " (" + s.tag + "):\n" +
                     LogTail(base + ".log"));
        const int ss = std::max(1, s.supersample);
        std::vector<Picture> frames =
            Pov_Cut(grid, s.frame_w * ss, s.frame_h * ss, s.count, std::min(s.columns, s.count));
        if (ss > 1)
            for (Picture& f : frames)
                f = Pov_Downsample(f, ss);
        out.push_back(std::move(frames));
    }
    return out;
}

Picture Pov_Downsample(const Picture& p, int factor) {
    Picture out = Picture_New(p.w / factor, p.h / factor);
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x) {
            double sum[4] = {0, 0, 0, 0};
            for (int dy = 0; dy < factor; ++dy)
                for (int dx = 0; dx < factor; ++dx) {
                    const std::uint8_t* s =
                        &p.rgba[(static_cast<size_t>(y * factor + dy) * p.w + x * factor + dx) * 4];
                    for (int k = 0; k < 3; ++k)
                        sum[k] += s[k] * s[3];
                    sum[3] += s[3];
                }
            std::uint8_t* d = &out.rgba[(static_cast<size_t>(y) * out.w + x) * 4];
            for (int k = 0; k < 3; ++k)
                d[k] = static_cast<std::uint8_t>(sum[3] > 0 ? sum[k] / sum[3] + 0.5 : 0);
            d[3] = static_cast<std::uint8_t>(sum[3] / (factor * factor) + 0.5);
        }
    return out;
}

Picture Pov_Crop(const Picture& p, int x, int y, int w, int h) {
    Picture c = Picture_New(w, h);
    for (int r = 0; r < h; ++r)
        for (int col = 0; col < w; ++col) {
            int sx = x + col, sy = y + r;
            if (sx < 0 || sy < 0 || sx >= p.w || sy >= p.h) continue;
            std::copy_n(&p.rgba[(static_cast<size_t>(sy) * p.w + sx) * 4], 4,
                        &c.rgba[(static_cast<size_t>(r) * w + col) * 4]);
        }
    return c;
}

std::vector<Picture> Pov_Cut(const Picture& grid, int w, int h, int count, int columns) {
    std::vector<Picture> frames;
    for (int i = 0; i < count; ++i)
        frames.push_back(Pov_Crop(grid, (i % columns) * w, (i / columns) * h, w, h));
    return frames;
}

void Pov_Over(Picture& dst, const Picture& src, int x, int y) {
    for (int r = 0; r < src.h; ++r)
        for (int c = 0; c < src.w; ++c) {
            int dx = x + c, dy = y + r;
            if (dx < 0 || dy < 0 || dx >= dst.w || dy >= dst.h) continue;
            const std::uint8_t* s = &src.rgba[(static_cast<size_t>(r) * src.w + c) * 4];
            std::uint8_t* d = &dst.rgba[(static_cast<size_t>(dy) * dst.w + dx) * 4];
            double sa = s[3] / 255.0, da = d[3] / 255.0, oa = sa + da * (1 - sa);
            for (int k = 0; k < 3; ++k)
                d[k] = static_cast<std::uint8_t>(
                    oa > 0 ? (s[k] * sa + d[k] * da * (1 - sa)) / oa + 0.5 : 0);
            d[3] = static_cast<std::uint8_t>(oa * 255 + 0.5);
        }
}
