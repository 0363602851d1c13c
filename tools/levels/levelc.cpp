// levelc: compiles the level sources into level files and thumbnails, checks them, and turns a
// level file back into text.
//
//   levelc build --src <dir> --out <assets dir> [--table <file.md>] [--sheet <file.png> [--zoom
//   <n>]]
//                [--set partial]   (skip the rules over the whole set of 150)
//   levelc compile <level.txt> <level.lev>
//   levelc decompile <level.lev>
//   levelc check <level.lev> [--number <n>]
#include "tools/levels/level_tools.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <png.h>
#include <sstream>

namespace fs = std::filesystem;

namespace {

bool ReadText(const fs::path& p, std::string& out) {
    std::ifstream in(p, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    out = s.str();
    return true;
}

bool WriteBytes(const fs::path& p, const std::vector<std::uint8_t>& bytes) {
    std::error_code ec;
    fs::create_directories(p.parent_path(), ec);
    // Unchanged files keep their time stamps, so the embedding step is not redone for nothing.
    std::string old;
    if (ReadText(p, old) && old.size() == bytes.size() &&
        std::equal(bytes.begin(), bytes.end(), old.begin(),
                   [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }))
        return true;
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool ReadLevel(const fs::path& p, LevelFileData& data, std::string& error) {
    std::string bytes;
    if (!ReadText(p, bytes)) {
        error = "cannot read " + p.string();
        return false;
    }
    return LevelFile_Parse(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), 1,
                           data, error);
}

bool CompileFile(const fs::path& src_path, LevelSource& src, LevelFileData& data,
                 std::string& error) {
    std::string text;
    if (!ReadText(src_path, text)) {
        error = "cannot read " + src_path.string();
        return false;
    }
    if (!LevelText_Parse(text, src, error) || !Level_Compile(src, data, error)) {
        error = src_path.filename().string() + ": " + error;
        return false;
    }
    return true;
}

// The binary must read back to the text it came from and compile to the same bytes again.
bool RoundTrip(const LevelFileData& data, const std::vector<std::uint8_t>& bytes,
               std::string& error) {
    LevelSource back;
    LevelFileData again;
    if (!Level_Decompile(data, back, error)) return false;
    LevelSource reread;
    if (!LevelText_Parse(LevelText_Format(back), reread, error) ||
        !Level_Compile(reread, again, error))
        return false;
    if (LevelFile_Write(again.settings, again.weights, again.cells) != bytes) {
        error = "the decompiled text does not compile to the same bytes";
        return false;
    }
    return true;
}

struct Built {
    int number;
    std::string title;
    LevelFileData data;
};

std::string Title(const LevelSource& src) {
    for (const std::string& c : src.comments) {
        std::string t = c.substr(c.find_first_not_of("# "));
        if (!t.empty()) return t;
    }
    return "";
}

// What a level shows for the first time, read from its records (and, for the lessons that need
// no data, from the help tips the game opens on it).
std::string Introduces(const Built& b, std::map<std::string, bool>& seen, int& max_kinds) {
    static const std::map<int, std::string> lessons = {{1, "matching three"},
                                                       {2, "the candle clock"},
                                                       {3, "the hammer"},
                                                       {4, "a move making four: the ice crystal"},
                                                       {6, "five in a row: the snowball"}};
    const LevelFileData& d = b.data;
    std::vector<std::string> found;
    if (lessons.count(b.number)) found.push_back(lessons.at(b.number));
    auto first = [&](const std::string& what, bool present) {
        if (present && !seen[what]) seen[what] = true, found.push_back(what);
    };
    bool chains = false, doubles = false, snow = false, bomb = false, cube = false, crystal = false,
         inner_spawn = false;
    for (std::size_t i = 0; i < d.cells.size(); ++i) {
        const LevelDataCell& c = d.cells[i];
        chains |= c.locks >= 1, doubles |= c.locks == 2, bomb |= c.bomb != 0;
        cube |= c.color == 15, crystal |= c.color == 8;
        snow |= !c.void_ && c.background == 2;
        inner_spawn |=
            !c.void_ && c.autospawn && i >= static_cast<std::size_t>(d.settings.table_dx);
    }
    int kinds = 0;
    for (int k = 1; k <= 7; ++k)
        kinds += d.weights[k] > 0;
    first("chained pieces", chains);
    first("double chains", doubles);
    first("snow on the ice", snow);
    first("a bomb on the board", bomb);
    first("bombs among new pieces", d.settings.BombPercent > 0);
    first("an icecube on the board", cube);
    first("icecubes among new pieces", d.weights[15] > 0);
    first("a crystal on the board", crystal);
    first("crystals among new pieces", d.weights[8] > 0);
    first("spawn cells inside the board", inner_spawn);
    if (kinds > max_kinds) {
        if (max_kinds > 0) found.push_back(std::to_string(kinds) + " gem kinds");
        max_kinds = kinds;
    }
    std::string out;
    for (const std::string& f : found)
        out += (out.empty() ? "" : ", ") + f;
    return out;
}

void WriteTable(const std::vector<Built>& levels, const fs::path& path) {
    std::ofstream o(path);
    o << "| Level | Size | Time | Gem kinds | Ice | Snow | Bombs | Figure | Introduces |\n";
    o << "|---:|---|---|---|---:|---:|---|---|---|\n";
    std::map<std::string, bool> seen;
    int max_kinds = 0;
    for (const Built& b : levels) {
        const LevelFileData& d = b.data;
        int ice = 0, snow = 0, kinds = 0;
        for (const LevelDataCell& c : d.cells)
            if (!c.void_) ice += c.background == 1, snow += c.background == 2;
        for (int k = 1; k <= 7; ++k)
            kinds += d.weights[k] > 0;
        char time[16];
        std::snprintf(time, sizeof time, "%d:%02d", d.settings.time / 60000,
                      d.settings.time / 1000 % 60);
        std::string extra;
        if (d.weights[8]) extra += " + crystals";
        if (d.weights[15]) extra += " + icecubes";
        o << "| " << b.number << " | " << d.settings.table_dx << " x " << d.settings.table_dy
          << " | " << time << " | " << kinds << extra << " | " << ice << " | " << snow << " | "
          << (d.settings.BombPercent ? std::to_string(d.settings.BombPercent) + " %" : "-") << " | "
          << b.title << " | " << Introduces(b, seen, max_kinds) << " |\n";
    }
}

bool Png_Write(const RgbImage& img, const fs::path& path) {
    png_image p{};
    p.version = PNG_IMAGE_VERSION;
    p.width = static_cast<png_uint_32>(img.w);
    p.height = static_cast<png_uint_32>(img.h);
    p.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&p, path.string().c_str(), 0, img.rgb.data(), 0, nullptr) != 0;
}

// Every thumbnail on one picture, for a designer's review; `zoom` enlarges each pixel.
void WriteSheet(const std::vector<Built>& levels, const fs::path& path, int zoom) {
    const int cols = std::min<int>(10, std::max<std::size_t>(1, levels.size())), gap = 6,
              tw = 80 * zoom, th = 60 * zoom;
    const int rows = (static_cast<int>(levels.size()) + cols - 1) / cols;
    RgbImage sheet{cols * (tw + gap) + gap, rows * (th + gap) + gap, {}};
    sheet.rgb.assign(static_cast<std::size_t>(sheet.w) * sheet.h * 3, 40);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        RgbImage t = Level_Thumbnail(levels[i].data);
        const int ox = gap + static_cast<int>(i % cols) * (tw + gap);
        const int oy = gap + static_cast<int>(i / cols) * (th + gap);
        for (int y = 0; y < th; ++y)
            for (int x = 0; x < tw; ++x)
                for (int c = 0; c < 3; ++c)
                    sheet.rgb[((oy + y) * sheet.w + ox + x) * 3 + c] =
                        t.rgb[((y / zoom) * t.w + x / zoom) * 3 + c];
    }
    if (!Png_Write(sheet, path)) std::cerr << "cannot write " << path << "\n";
}

int Build(const fs::path& src_dir, const fs::path& out_dir, const fs::path& table,
          const fs::path& sheet, int zoom, bool whole_set) {
    std::map<int, fs::path> sources;
    for (const auto& e : fs::directory_iterator(src_dir)) {
        const std::string name = e.path().filename().string();
        int n = 0;
        char tail = 0;
        if (std::sscanf(name.c_str(), "level_%3d.tx%c", &n, &tail) == 2 && tail == 't' &&
            name.size() == 13)
            sources[n] = e.path();
    }
    std::vector<std::string> problems;
    std::vector<Built> levels;
    std::vector<LevelFileData> set;
    int expected = 1;
    for (const auto& [n, path] : sources) {
        if (n != expected) problems.push_back("level " + std::to_string(expected) + ": missing");
        expected = n + 1;
        LevelSource src;
        LevelFileData data;
        std::string error;
        if (!CompileFile(path, src, data, error)) {
            problems.push_back("level " + std::to_string(n) + ": " + error);
            continue;
        }
        const std::vector<std::uint8_t> bytes =
            LevelFile_Write(data.settings, data.weights, data.cells);
        LevelFileData shipped; // check what the game will read, not what the compiler meant
        if (!LevelFile_Parse(bytes.data(), bytes.size(), 1, shipped, error) ||
            !RoundTrip(shipped, bytes, error)) {
            problems.push_back("level " + std::to_string(n) + ": " + error);
            continue;
        }
        for (std::string& p : Level_Check(n, shipped))
            problems.push_back(p);
        std::vector<std::uint8_t> jpg;
        if (!WriteBytes(out_dir / Level_ResourceName(n), bytes) ||
            !Jpeg_Write(Level_Thumbnail(shipped), 90, jpg) ||
            !WriteBytes(out_dir / Level_ImageName(n), jpg))
            problems.push_back("level " + std::to_string(n) + ": cannot write its files");
        levels.push_back({n, Title(src), shipped});
        set.push_back(shipped);
    }
    if (whole_set)
        for (std::string& p : LevelSet_Check(set))
            problems.push_back(p);
    if (!table.empty()) WriteTable(levels, table);
    if (!sheet.empty()) WriteSheet(levels, sheet, std::max(1, zoom));
    for (const std::string& p : problems)
        std::cerr << p << "\n";
    std::cout << "levelc: " << levels.size() << " levels built, " << problems.size()
              << " problems\n";
    return problems.empty() ? 0 : 1;
}

int Usage() {
    std::cerr << "usage: levelc build --src <dir> --out <dir> [--table <md>] [--sheet <png>]\n"
                 "       levelc compile <level.txt> <level.lev>\n"
                 "       levelc decompile <level.lev>\n"
                 "       levelc check <level.lev> [--number <n>]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> a(argv + 1, argv + argc);
    if (a.empty()) return Usage();
    std::map<std::string, std::string> opt;
    std::vector<std::string> pos;
    for (std::size_t i = 1; i < a.size(); ++i) {
        if (a[i].rfind("--", 0) == 0 && i + 1 < a.size())
            opt[a[i]] = a[i + 1], ++i;
        else
            pos.push_back(a[i]);
    }
    std::string error;
    if (a[0] == "build" && opt.count("--src") && opt.count("--out"))
        return Build(opt["--src"], opt["--out"], opt["--table"], opt["--sheet"],
                     std::atoi(opt["--zoom"].c_str()), opt["--set"] != "partial");
    if (a[0] == "compile" && pos.size() == 2) {
        LevelSource src;
        LevelFileData data;
        if (!CompileFile(pos[0], src, data, error)) return std::cerr << error << "\n", 1;
        return WriteBytes(pos[1], LevelFile_Write(data.settings, data.weights, data.cells)) ? 0 : 1;
    }
    if (a[0] == "decompile" && pos.size() == 1) {
        LevelFileData data;
        LevelSource src;
        if (!ReadLevel(pos[0], data, error) || !Level_Decompile(data, src, error))
            return std::cerr << pos[0] << ": " << error << "\n", 1;
        std::cout << LevelText_Format(src);
        return 0;
    }
    if (a[0] == "check" && pos.size() == 1) {
        LevelFileData data;
        if (!ReadLevel(pos[0], data, error)) return std::cerr << pos[0] << ": " << error << "\n", 1;
        const int n = opt.count("--number") ? std::atoi(opt["--number"].c_str()) : 0;
        std::vector<std::string> problems = Level_Check(n, data);
        for (const std::string& p : problems)
            std::cerr << p << "\n";
        return problems.empty() ? 0 : 1;
    }
    return Usage();
}
