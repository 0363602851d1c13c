// The winter ambience and the six carols, and the list of every file in registration order.
#include "tools/sound/recipes.h"

#include <stdexcept>

namespace {

constexpr double kAmbienceSeconds = 30.0, kAmbienceOverlap = 4.0;

// Wind for one side: noise through a band-pass that wanders slowly, swelling in gusts.
Signal WindSide(std::uint64_t seed, double seconds) {
    Rng rng = Rng_Make(seed);
    std::vector<std::pair<double, double>> centre, gusts;
    for (double t = 0; t <= seconds + 3.0; t += Rng_Range(rng, 1.5, 3.5)) {
        centre.push_back({t, Rng_Range(rng, 260, 620)});
        gusts.push_back({t, Rng_Range(rng, 0.35, 1.0)});
    }
    Signal body = Noise_White(seconds, seed + 1);
    Filter_BandPassCurve(body, centre, 1.2);
    Filter_LowPass(body, 1800);
    Env_Points(body, gusts);

    // a thin whistle riding on top, following the gusts an octave and a half up
    for (auto& [t, f] : centre)
        f *= 2.6;
    Signal whistle = Noise_White(seconds, seed + 2);
    Filter_BandPassCurve(whistle, centre, 9.0);
    Env_Points(whistle, gusts);
    Mix_Add(body, whistle, 0.0, 0.5);
    return body;
}

Signal Ambience(const SoundContext& ctx) {
    double total = kAmbienceSeconds + kAmbienceOverlap;
    Signal s = Signal_Silence(total, 2);
    Signal left = WindSide(101, total), right = WindSide(202, total);
    Mix_Add(s, left, 0.0, 1.0, -0.6);
    Mix_Add(s, right, 0.0, 1.0, 0.6);
    Level_Match(s, -16.0, -1.0);
    Signal chimes = Recipe_PlayScore(ctx, "sound/ambient_chimes.score", 4.0);
    Filter_LowPass(chimes, 4500);     // far away
    Level_Match(chimes, -19.0, -4.0); // when they ring, clear over the wind but not on top of it
    Mix_Add(s, chimes, 0.0, 1.0);
    s.samples.resize(size_t(Signal_FrameAt(total)) * 2);
    // the recording loops in the game: its last seconds are folded into its first, so the end
    // runs on into the beginning without a seam
    Mix_LoopCrossfade(s, kAmbienceOverlap);
    return s;
}

Signal Carol(const SoundContext& ctx, const std::string& score) {
    Signal s = Recipe_PlayScore(ctx, "music/" + score, 5.0);
    Mix_TrimTail(s, -66.0);
    return s;
}

SoundRecipe CarolRecipe(const std::string& file, const std::string& score) {
    return {file, SoundKind::Music, [score](const SoundContext& ctx) { return Carol(ctx, score); }};
}

} // namespace

Signal Recipe_PlayScore(const SoundContext& ctx, const std::string& relative_path, double tail) {
    Score score;
    std::string error;
    if (!Score_Load(ctx.assets_dir + "/" + relative_path, score, error))
        throw std::runtime_error(error);
    if (!ctx.bank) throw std::runtime_error("no instruments loaded for " + relative_path);
    return Inst_Render(*ctx.bank, score, tail);
}

std::vector<SoundRecipe> Music_Recipes() {
    return {
        {"KV_Ambient.ogg", SoundKind::Ambience, Ambience},
        CarolRecipe("Kv_Silent_Night.ogg", "silent_night.score"),
        CarolRecipe("KV_Angels_We_Have_Heard.ogg", "angels_we_have_heard.score"),
        CarolRecipe("KV_Away_in_a_Manger.ogg", "away_in_a_manger.score"),
        CarolRecipe("KV_O_Come_All_Ye_Faithful.ogg", "o_come_all_ye_faithful.score"),
        CarolRecipe("KV_Amazing_Grace.ogg", "amazing_grace.score"),
        CarolRecipe("KV_Auld Lang Syne.ogg", "auld_lang_syne.score"),
    };
}

const std::vector<SoundRecipe>& Recipes_All() {
    static const std::vector<SoundRecipe> all = [] {
        auto list = Effects_Recipes();
        // in the game's order the ambience follows GameOver.ogg and error1.wav ends the effects
        auto music = Music_Recipes();
        list.insert(list.end() - 1, music.front());
        list.insert(list.end(), music.begin() + 1, music.end());
        return list;
    }();
    return all;
}
