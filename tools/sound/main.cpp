// soundgen: writes every sound of the game into <out>/, named as the game registers them.
//
//   soundgen --out build/assets/sounds --assets assets
//            [--soundfont /usr/share/sounds/sf2/FluidR3_GM.sf2] [--only NAME] [--report FILE]
//
// Every file is made, levelled, encoded, then decoded again and measured: a decoded peak above
// -1 dBFS fails the run, so no file the game plays can clip.
#include "tools/sound/codec.h"
#include "tools/sound/recipes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

constexpr double kPeakLimitDb = -1.0;  // measured on the decoded file
constexpr double kPeakTargetDb = -3.0; // before encoding: room for the codec's overshoot
constexpr float kOggQuality = 0.35f;
// Music must hold together in stereo and on one speaker: left and right mostly alike, and a mono
// fold-down hardly quieter than the stereo mix.
constexpr double kMusicMinCorrelation = 0.3;
constexpr double kMusicMaxMonoLossDb = 3.0;
// What a carol is narrowed to when its reverb spreads it wider: a margin over the limit for the
// encoder's own changes to the stereo image.
constexpr double kMusicNarrowTo = 0.4;

struct Options {
    std::string out, assets, soundfont = "/usr/share/sounds/sf2/FluidR3_GM.sf2", only, report;
};

struct Levels {
    double rms_db; // active RMS
    int channels;
};

Levels TargetOf(SoundKind kind) {
    switch (kind) {
    case SoundKind::Effect:
        return {-16.0, 1};
    case SoundKind::Ambience:
        return {-25.0, 2};
    case SoundKind::Music:
        return {-22.0, 2}; // 6 dB under the effects
    }
    return {-16.0, 1};
}

struct Result {
    std::string file;
    double seconds = 0, peak_db = 0, rms_db = 0, active_rms_db = 0;
    double correlation = 0, mono_loss_db = 0; // stereo files only
    double side_gain = 1;                     // how far the music was narrowed
    int channels = 0;
    std::string error;
};

bool ReadOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string key = argv[i], value = argv[i + 1];
        if (key == "--out")
            o.out = value;
        else if (key == "--assets")
            o.assets = value;
        else if (key == "--soundfont")
            o.soundfont = value;
        else if (key == "--only")
            o.only = value;
        else if (key == "--report")
            o.report = value;
        else
            return false;
    }
    return argc % 2 == 1 && !o.out.empty() && !o.assets.empty();
}

// Levels the signal, writes it, reads it back and measures what the game will hear. A codec
// overshoot past the limit is taken back once by encoding a little quieter.
Result Finish(const std::string& path, Signal s, SoundKind kind, double level_db) {
    Result r;
    r.file = std::filesystem::path(path).filename().string();
    Levels target = TargetOf(kind);
    s = target.channels == 1 ? Mix_ToMono(s) : Mix_ToStereo(s);
    // whatever still rings when a file ends is faded, never cut; the ambience is the exception,
    // its end runs on into its own beginning
    if (kind != SoundKind::Ambience) Env_FadeOut(s, 0.02);
    if (kind == SoundKind::Music) r.side_gain = Mix_NarrowTo(s, kMusicNarrowTo);
    Level_Match(s, target.rms_db + level_db, kPeakTargetDb);
    Signal decoded;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!Sound_Write(path, s, kOggQuality)) {
            r.error = "cannot write " + path;
            return r;
        }
        if (!Sound_Read(path, decoded)) {
            r.error = "cannot decode " + path + " again";
            return r;
        }
        double over = Db_FromGain(Level_Peak(decoded)) - kPeakLimitDb;
        if (over <= 0) break;
        Mix_Gain(s, Db_ToGain(-(over + 0.5)));
    }
    r.seconds = Signal_Seconds(decoded);
    r.channels = decoded.channels;
    r.peak_db = Db_FromGain(Level_Peak(decoded));
    r.rms_db = Db_FromGain(Level_Rms(decoded));
    r.active_rms_db = Db_FromGain(Level_ActiveRms(decoded));
    r.correlation = Level_Correlation(decoded);
    r.mono_loss_db = Level_MonoLossDb(decoded);
    if (kind == SoundKind::Music && r.correlation < kMusicMinCorrelation)
        r.error = "left/right correlation " + std::to_string(r.correlation) + " is below " +
                  std::to_string(kMusicMinCorrelation);
    if (kind == SoundKind::Music && r.mono_loss_db > kMusicMaxMonoLossDb)
        r.error = "the mono fold-down is " + std::to_string(r.mono_loss_db) +
                  " dB quieter, more than " + std::to_string(kMusicMaxMonoLossDb);
    if (r.peak_db > kPeakLimitDb)
        r.error = "decoded peak " + std::to_string(r.peak_db) + " dBFS is above -1 dBFS";
    if (r.channels != target.channels) r.error = "wrong channel count";
    return r;
}

void WriteReport(const std::string& path, const std::vector<Result>& results, double seconds) {
    std::ofstream f(path);
    f << "| file | channels | length (s) | peak (dBFS) | RMS (dBFS) | active RMS (dBFS) | "
         "L/R correlation | mono fold-down (dB) |\n"
      << "|---|---|---|---|---|---|---|---|\n";
    char line[320];
    for (const Result& r : results) {
        std::snprintf(line, sizeof line, "| %s | %d | %.2f | %.1f | %.1f | %.1f |", r.file.c_str(),
                      r.channels, r.seconds, r.peak_db, r.rms_db, r.active_rms_db);
        f << line;
        if (r.channels == 2)
            std::snprintf(line, sizeof line, " %+.2f | %.1f |\n", r.correlation, -r.mono_loss_db);
        else
            std::snprintf(line, sizeof line, " | |\n");
        f << line;
    }
    f << "\nGenerated in " << int(seconds + 0.5) << " s.\n";
}

} // namespace

int main(int argc, char** argv) {
    Options opt;
    if (!ReadOptions(argc, argv, opt)) {
        std::fprintf(stderr, "usage: soundgen --out DIR --assets DIR [--soundfont FILE] "
                             "[--only NAME] [--report FILE]\n");
        return 2;
    }
    auto started = std::chrono::steady_clock::now();
    std::error_code ec;
    std::filesystem::create_directories(opt.out, ec);
    // Two workers, each with its own synthesizer, share the list in a fixed split: every
    // synthesizer plays the same scores in the same order on every run, so the bytes never change.
    const auto& recipes = Recipes_All();
    if (!opt.only.empty() && std::none_of(recipes.begin(), recipes.end(),
                                          [&](const auto& r) { return r.file == opt.only; })) {
        std::fprintf(stderr, "soundgen: no sound is named \"%s\"\n", opt.only.c_str());
        return 2;
    }
    std::vector<Result> slots(recipes.size());
    std::vector<std::string> errors(2);
    auto work = [&](int worker) {
        std::string error;
        InstrumentBankPtr bank = Inst_Open(opt.soundfont, error);
        if (!bank) {
            errors[size_t(worker)] = error;
            return;
        }
        SoundContext ctx{bank.get(), opt.assets};
        for (size_t i = size_t(worker); i < recipes.size(); i += 2) {
            const SoundRecipe& recipe = recipes[i];
            if (!opt.only.empty() && recipe.file != opt.only) continue;
            try {
                slots[i] = Finish(opt.out + "/" + recipe.file, recipe.make(ctx), recipe.kind,
                                  recipe.level_db);
            } catch (const std::exception& e) {
                slots[i].file = recipe.file;
                slots[i].error = e.what();
            }
        }
    };
    std::thread second(work, 1);
    work(0);
    second.join();
    for (const std::string& e : errors) {
        if (e.empty()) continue;
        std::fprintf(stderr, "soundgen: %s\n", e.c_str());
        return 1;
    }
    std::vector<Result> results;
    int failed = 0;
    for (const Result& r : slots) {
        if (r.file.empty()) continue;
        if (!r.error.empty()) {
            std::fprintf(stderr, "soundgen: %s: %s\n", r.file.c_str(), r.error.c_str());
            ++failed;
            continue;
        }
        results.push_back(r);
        std::printf("%-32s %d ch %7.2f s  peak %6.1f dBFS  rms %6.1f dBFS  active %6.1f dBFS",
                    r.file.c_str(), r.channels, r.seconds, r.peak_db, r.rms_db, r.active_rms_db);
        if (r.channels == 2)
            std::printf("  corr %+.2f  mono %+.1f dB  side x%.2f", r.correlation, -r.mono_loss_db,
                        r.side_gain);
        std::printf("\n");
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("soundgen: %zu files in %.1f s\n", results.size(), seconds);
    if (!opt.report.empty()) WriteReport(opt.report, results, seconds);
    return failed ? 1 : 0;
}
