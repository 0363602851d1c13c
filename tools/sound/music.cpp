// The winter ambience and the six carols, and the list of every file in registration order.
#include "tools/sound/recipes.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

// Three times as long as a chime's ear would need to notice a repeat; the chimes in it follow no
// rhythm at all.
constexpr double kAmbienceSeconds = 90.0, kAmbienceOverlap = 4.0;
constexpr std::uint64_t kChimeSeed = 7;

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

std::string ReadText(const std::string& path) {
    std::ifstream f(path);
    if (!f) throw std::runtime_error("cannot read " + path);
    std::stringstream text;
    text << f.rdbuf();
    return text.str();
}

// Rests lasting `seconds` at one quarter note a second, to the nearest eighth of a second.
std::string RestOf(double seconds) {
    static const std::pair<int, const char*> kValues[] = {{32, "r:1 "}, {16, "r:2 "}, {8, "r:4 "},
                                                          {4, "r:8 "},  {2, "r:16 "}, {1, "r:32 "}};
    int eighths = int(std::lround(std::max(seconds, 0.0) * 8.0));
    std::string out;
    for (auto [size, token] : kValues)
        for (; eighths >= size; eighths -= size)
            out += token;
    return out;
}

// How long a phrase of the chime score lasts, in seconds, read from the score itself.
double PhraseSeconds(const std::string& head, const std::string& phrase) {
    Score score;
    std::string error;
    if (!Score_Parse(head + "\npart probe\n@" + phrase + "\n", score, error))
        throw std::runtime_error("sound/ambient_chimes.score: " + error);
    return Score_Seconds(score, score.length_beats);
}

struct ChimeLine {
    std::string marker, text;
    double at = 0.0; // where the line's notes have got to, in seconds
};

void PlaceMotif(ChimeLine& line, double when, const std::string& dynamic, const std::string& motif,
                double length) {
    const double start = line.at + double(std::lround(std::max(when - line.at, 0.0) * 8.0)) / 8.0;
    line.text += RestOf(when - line.at) + dynamic + " @" + motif + " ";
    line.at = start + length;
}

// The chime score with its motifs scattered over `seconds` by a seeded pattern: a gap of 4 to
// 13 s, then a motif unlike the last one, on a side unlike the last one, softly or less softly;
// now and then a far bell. Nothing repeats within the loop.
Signal PlayChimes(const SoundContext& ctx, double seconds) {
    const std::string path = ctx.assets_dir + "/sound/ambient_chimes.score";
    std::string text = ReadText(path);
    const std::string head = text.substr(0, text.find("\npart "));
    const std::vector<std::string> motifs = {"m1", "m2", "m3", "m4", "m5", "m6", "m7", "m8"};
    const std::vector<std::string> tolls = {"toll1", "toll2", "toll3"};
    const std::vector<std::string> dynamics = {"pp", "p", "p", "mp"};
    std::vector<ChimeLine> sides = {
        {"%chimes-left", "", 0.0}, {"%chimes-centre", "", 0.0}, {"%chimes-right", "", 0.0}};
    ChimeLine bell{"%bell", "", 0.0};
    Rng rng = Rng_Make(kChimeSeed);
    auto pick = [&](size_t count, size_t avoid) {
        size_t i = size_t(Rng_Uniform(rng) * double(count)) % count;
        return i == avoid ? (i + 1) % count : i;
    };
    size_t motif = motifs.size(), side = sides.size();
    // the last seconds fold into the first, so the pattern stops short of the end
    const double last = seconds - kAmbienceOverlap - 2.0;
    for (double t = Rng_Range(rng, 1.0, 4.0); t < last; t += Rng_Range(rng, 4.0, 13.0)) {
        motif = pick(motifs.size(), motif);
        side = pick(sides.size(), side);
        const std::string& name = motifs[motif];
        PlaceMotif(sides[side], t, dynamics[pick(dynamics.size(), dynamics.size())], name,
                   PhraseSeconds(head, name));
    }
    size_t toll = tolls.size();
    for (double t = Rng_Range(rng, 8.0, 20.0); t < last - 4.0; t += Rng_Range(rng, 18.0, 34.0)) {
        toll = pick(tolls.size(), toll);
        PlaceMotif(bell, t, Rng_Uniform(rng) < 0.5 ? "ppp" : "pp", tolls[toll],
                   PhraseSeconds(head, tolls[toll]));
    }
    sides.push_back(bell);
    for (const ChimeLine& line : sides) {
        size_t at = text.find("\n" + line.marker); // a line of its own, not a mention
        if (at == std::string::npos)
            throw std::runtime_error(path + ": no line " + line.marker + " for the chimes");
        // a line nothing was placed on still needs a note-free body
        text.replace(at + 1, line.marker.size(), line.text.empty() ? "r:4" : line.text);
    }
    Score score;
    std::string error;
    if (!Score_Parse(text, score, error)) throw std::runtime_error(path + ": " + error);
    if (!ctx.bank) throw std::runtime_error("no instruments loaded for " + path);
    return Inst_Render(*ctx.bank, score, 4.0);
}

Signal Ambience(const SoundContext& ctx) {
    double total = kAmbienceSeconds + kAmbienceOverlap;
    Signal s = Signal_Silence(total, 2);
    Signal left = WindSide(101, total), right = WindSide(202, total);
    Mix_Add(s, left, 0.0, 1.0, -0.6);
    Mix_Add(s, right, 0.0, 1.0, 0.6);
    Level_Match(s, -16.0, -1.0);
    Signal chimes = PlayChimes(ctx, total);
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
