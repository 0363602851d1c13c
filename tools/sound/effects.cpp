// Effect recipes. Each starts from kit pieces (and, for the tuned ones, a short score played on
// the instruments) and is mono. Seeds are fixed so every build writes the same bytes.
#include "tools/sound/recipes.h"

#include <cmath>

namespace {

// Partials of a small struck metal bar or bell: inharmonic, the upper ones dying first.
const std::vector<Partial> kBellPartials = {{1.00, 1.00, 0.55}, {2.02, 0.45, 0.30},
                                            {2.76, 0.50, 0.22}, {4.07, 0.22, 0.12},
                                            {5.40, 0.18, 0.08}, {6.80, 0.08, 0.05}};

const std::vector<Partial> kLinkPartials = {{1.00, 1.00, 0.05},
                                            {1.56, 0.8, 0.04},
                                            {2.21, 0.7, 0.035},
                                            {3.27, 0.5, 0.025},
                                            {4.11, 0.3, 0.02}};

Signal Burst(double seconds, std::uint64_t seed, double low, double high, double decay) {
    Signal s = Noise_White(seconds, seed);
    Filter_HighPass(s, low);
    Filter_LowPass(s, high);
    Env_Strike(s, 0.0005, decay);
    return s;
}

// A sharp ice crack: a few noise spikes a handful of milliseconds apart.
Signal Crack(std::uint64_t seed, double brightness) {
    Signal s = Signal_Silence(0.12);
    Rng rng = Rng_Make(seed);
    for (int i = 0; i < 5; ++i) {
        Signal spike =
            Burst(0.05, seed * 31 + i, 1500 * brightness, 9000, Rng_Range(rng, 0.002, 0.008));
        Mix_Add(s, spike, Rng_Range(rng, 0.0, 0.04), Rng_Range(rng, 0.4, 1.0));
    }
    return s;
}

// Little pings of falling ice crystals, spread over `spread` seconds. Each is a tiny noisy tick
// with a short inharmonic ring at its own pitch, spread over two octaves: piled up by a cascade
// they stay a glitter instead of building one steady band of pure tones.
Signal Tinkles(std::uint64_t seed, int count, double spread, double low, double high) {
    Signal s = Signal_Silence(spread + 0.4);
    Rng rng = Rng_Make(seed);
    for (int i = 0; i < count; ++i) {
        double f = low * std::pow(high / low, Rng_Uniform(rng)); // even over the octaves
        double ring = Rng_Range(rng, 0.025, 0.07);
        Signal ping = Osc_Partials(f,
                                   {{1.0, 1.0, ring},
                                    {Rng_Range(rng, 2.3, 2.9), 0.3, ring * 0.5},
                                    {Rng_Range(rng, 4.1, 5.3), 0.12, ring * 0.3}},
                                   0.25);
        Env_FadeIn(ping, 0.001);
        Env_FadeOut(ping, 0.08);
        Signal tick =
            Burst(0.02, seed * 97 + std::uint64_t(i), f * 0.7, std::min(f * 2.0, 12000.0), 0.003);
        Mix_Add(ping, tick, 0.0, 0.5);
        double at = spread * std::pow(Rng_Uniform(rng), 1.6); // thicker at the start
        Mix_Add(s, ping, at, Rng_Range(rng, 0.12, 0.4) * (1.0 - 0.6 * at / spread));
    }
    Filter_LowPass(s, 8000); // bright, not piercing
    return s;
}

// A low thump whose pitch falls, the body of every impact.
Signal Thump(double f0, double f1, double seconds, double decay) {
    Signal s = Osc_Glide(Wave::Sine, f0, f1, seconds);
    Env_Strike(s, 0.002, decay);
    return s;
}

Signal Fx_Click(const SoundContext&) {
    // played at double speed on hover (a light tick) and half speed on press (a soft tock)
    Signal s = Osc_Partials(1500, {{1, 1, 0.010}, {2.3, 0.4, 0.006}, {3.9, 0.2, 0.004}}, 0.08);
    Env_FadeIn(s, 0.0004);
    Mix_Add(s, Burst(0.03, 11, 2500, 12000, 0.0015), 0.0, 0.6);
    Mix_Add(s, Thump(700, 400, 0.06, 0.01), 0.0, 0.5);
    Env_FadeOut(s, 0.01);
    return s;
}

// Partials of the ding: a small bell struck with a soft mallet, its upper partials weaker and
// shorter than the plain bell's, so a row of dings at different speeds blends instead of beating.
const std::vector<Partial> kDingPartials = {{1.00, 1.00, 0.45},
                                            {2.02, 0.30, 0.18},
                                            {2.76, 0.28, 0.12},
                                            {4.07, 0.10, 0.06},
                                            {5.40, 0.06, 0.04}};

Signal Fx_Ding(const SoundContext&) {
    // always played slowed (rates 0.30 to about 0.8), so it is pitched high and kept clean:
    // partials and a faint mallet tick, which stay bell-like an octave and more below
    Signal s = Osc_Partials(2637.0, kDingPartials, 1.4);
    Env_FadeIn(s, 0.002);
    Mix_Add(s, Burst(0.02, 12, 2000, 7000, 0.002), 0.0, 0.08);
    Env_FadeOut(s, 0.6); // slowed to 0.3 the tail lasts seconds: it must die away, not stop
    Reverb_Apply(s, {0.5, 0.3, 0.12, 1.0}, 0.4);
    Env_FadeOut(s, 0.3);
    return s;
}

Signal Fx_GlassBreaking(const SoundContext&) {
    Signal s = Signal_Silence(1.2);
    Mix_Add(s, Crack(21, 1.0), 0.0, 0.9);
    Mix_Add(s, Crack(22, 0.7), 0.05, 0.5);
    Signal crunch = Burst(0.4, 23, 800, 6000, 0.08);
    Mix_Add(s, crunch, 0.01, 0.35);
    Mix_Add(s, Tinkles(24, 20, 0.7, 1800, 7000), 0.04, 0.6);
    Reverb_Apply(s, {0.45, 0.4, 0.15, 1.0}, 0.3);
    Mix_TrimTail(s, -60);
    return s;
}

Signal Fx_ShieldOut(const SoundContext&) {
    // the snap of a link giving way, then the loose links rattling off
    Signal s = Signal_Silence(0.6);
    Signal snap = Osc_Partials(1250, kLinkPartials, 0.3);
    Env_FadeIn(snap, 0.0005);
    Mix_Add(s, snap, 0.0, 0.8);
    Mix_Add(s, Burst(0.05, 31, 2000, 10000, 0.004), 0.0, 0.8);
    const double rattles[][3] = {
        {0.07, 1650, 0.45}, {0.13, 1420, 0.35}, {0.21, 1900, 0.25}, {0.26, 1550, 0.15}};
    for (auto [at, f, g] : rattles) {
        Signal link = Osc_Partials(f, kLinkPartials, 0.2);
        Env_FadeIn(link, 0.0005);
        Mix_Add(s, link, at, g);
        Mix_Add(s, Burst(0.02, std::uint64_t(f), 3000, 9000, 0.002), at, g * 0.6);
    }
    Reverb_Apply(s, {0.3, 0.5, 0.1, 1.0}, 0.2);
    Mix_TrimTail(s, -60);
    return s;
}

Signal Fx_Explosion(const SoundContext&) {
    // soft and snowy: a muffled thump and a puff of powder rather than a bang
    Signal s = Signal_Silence(1.4);
    Mix_Add(s, Thump(110, 40, 0.7, 0.18), 0.0, 0.9);
    Signal puff = Noise_White(1.2, 41);
    Filter_LowPassSweep(puff, 2500, 250);
    Env_Strike(puff, 0.01, 0.25);
    Mix_Add(s, puff, 0.0, 0.9);
    Signal powder = Noise_White(1.3, 42);
    Filter_BandPassSweep(powder, 5000, 1800, 0.8);
    Env_Points(powder, {{0, 0}, {0.03, 0.5}, {0.25, 0.3}, {1.3, 0}});
    Mix_Add(s, powder, 0.02, 0.5);
    Reverb_Apply(s, {0.6, 0.6, 0.2, 1.0}, 0.4);
    Mix_TrimTail(s, -60);
    return s;
}

Signal Fx_Error(const SoundContext&) {
    // two low, rounded blips falling a minor third: clearly "no", never harsh
    Signal s = Signal_Silence(0.4);
    const double blips[][2] = {{0.0, 233.1}, {0.14, 196.0}};
    for (auto [at, f] : blips) {
        Signal tone = Osc_Tone(Wave::Saw, f, 0.13);
        Mix_Add(tone, Osc_Tone(Wave::Square, f * 1.005, 0.13), 0.0, 0.5);
        Filter_LowPass(tone, 1100, 0.9);
        Env_ADSR(tone, 0.006, 0.03, 0.7, 0.06, 0.03);
        Mix_Add(s, tone, at, 1.0);
    }
    Mix_TrimTail(s, -60);
    return s;
}

Signal Fx_TimeAlarm(const SoundContext&) {
    // a wooden tick with a small bell on top, which cuts through the music when time runs low
    Signal s = Signal_Silence(0.35);
    Signal wood = Osc_Partials(950, {{1, 1, 0.02}, {2.7, 0.4, 0.01}, {4.1, 0.2, 0.006}}, 0.1);
    Env_FadeIn(wood, 0.0005);
    Mix_Add(s, wood, 0.0, 0.8);
    Mix_Add(s, Burst(0.02, 51, 1500, 7000, 0.002), 0.0, 0.5);
    Signal bell = Osc_Partials(1975.5, kBellPartials, 0.3);
    Env_FadeIn(bell, 0.001);
    Env_FadeOut(bell, 0.15);
    Mix_Add(s, bell, 0.0, 0.35);
    Mix_TrimTail(s, -60);
    return s;
}

Signal Fx_Triangle(const SoundContext& ctx) {
    return Mix_ToMono(Recipe_PlayScore(ctx, "sound/triangle.score", 2.5));
}

Signal Fx_GemMove(const SoundContext&) {
    // two pieces sliding past each other: two overlapping swooshes of icy noise
    Signal s = Signal_Silence(0.45);
    const double slides[][4] = {{0.0, 900, 3200, 1.0}, {0.04, 1400, 4200, 0.7}};
    for (auto [at, f0, f1, g] : slides) {
        Signal swoosh = Noise_White(0.3, std::uint64_t(f0));
        Filter_BandPassCurve(swoosh, {{0, f0}, {0.14, f1}, {0.3, f0 * 0.8}}, 1.6);
        Env_Points(swoosh, {{0, 0}, {0.12, 1.0}, {0.3, 0}});
        Mix_Add(s, swoosh, at, g);
    }
    Signal scrape = Noise_White(0.3, 61);
    Filter_BandPass(scrape, 6500, 3.0);
    Env_Points(scrape, {{0, 0}, {0.1, 0.3}, {0.3, 0}});
    Mix_Add(s, scrape, 0.02, 0.6);
    Filter_LowPass(s, 8000); // a soft slide, not a hiss
    Mix_TrimTail(s, -60);
    return s;
}

Signal Fx_ClickGem(const SoundContext& ctx) {
    Signal s = Mix_ToMono(Recipe_PlayScore(ctx, "sound/click_gem.score", 0.5));
    Signal tick = Osc_Partials(2200, {{1, 1, 0.008}, {2.4, 0.4, 0.005}}, 0.05);
    Env_FadeIn(tick, 0.0004);
    Mix_Add(s, tick, 0.0, 0.25);
    Mix_TrimTail(s, -60);
    return s;
}

Signal Fx_FourGem(const SoundContext& ctx) {
    // rising bells over a shimmer of frost; also played at 1.5 and 2 times its speed
    Signal s = Mix_ToMono(Recipe_PlayScore(ctx, "sound/combo.score", 1.0));
    Signal shimmer = Noise_White(1.0, 71);
    Filter_BandPassSweep(shimmer, 1500, 7000, 4.0);
    Env_Points(shimmer, {{0, 0}, {0.5, 1.0}, {1.0, 0}});
    Mix_Add(s, shimmer, 0.0, 0.05);
    Mix_TrimTail(s, -60);
    return s;
}

Signal Fx_Boulder(const SoundContext&) {
    // played at half speed: blocks of ice grinding back into place, a rumble under small knocks
    Signal s = Signal_Silence(1.1);
    Signal rumble = Noise_Brown(1.0, 81);
    Filter_LowPass(rumble, 500);
    Env_Points(rumble, {{0, 0}, {0.1, 1.0}, {0.6, 0.8}, {1.0, 0}});
    Mix_Add(s, rumble, 0.0, 0.8);
    Rng rng = Rng_Make(82);
    for (int i = 0; i < 14; ++i) {
        double at = Rng_Range(rng, 0.0, 0.75);
        Signal knock = Thump(Rng_Range(rng, 180, 320), 120, 0.12, Rng_Range(rng, 0.015, 0.04));
        Mix_Add(s, knock, at, Rng_Range(rng, 0.2, 0.5));
        Mix_Add(s, Burst(0.04, 83 + i, 700, 5000, 0.006), at, Rng_Range(rng, 0.1, 0.3));
    }
    Mix_Add(s, Tinkles(84, 8, 0.6, 2000, 4500), 0.3, 0.5);
    Reverb_Apply(s, {0.5, 0.5, 0.15, 1.0}, 0.3);
    Mix_TrimTail(s, -60);
    return s;
}

Signal Fx_GetHammer(const SoundContext& ctx) {
    return Mix_ToMono(Recipe_PlayScore(ctx, "sound/get_hammer.score", 1.2));
}

// A hammer hitting ice: the knock of the head, a ringing crack and splinters. `weight` 1 is the
// first hammer, larger is heavier.
Signal HammerStrike(double weight, std::uint64_t seed) {
    Signal s = Signal_Silence(1.5);
    Mix_Add(s, Thump(170 / weight, 50 / weight, 0.5 * weight, 0.08 * weight), 0.0, 1.0);
    Signal head = Osc_Partials(620 / weight, kLinkPartials, 0.25);
    Env_FadeIn(head, 0.0005);
    Mix_Add(s, head, 0.0, 0.35);
    Mix_Add(s, Crack(seed, 1.0 / weight), 0.0, 0.9);
    Signal debris = Burst(0.6, seed + 1, 600, 7000, 0.06 * weight);
    Mix_Add(s, debris, 0.005, 0.4);
    Mix_Add(s, Tinkles(seed + 2, int(10 * weight), 0.4 * weight, 2200, 6500), 0.03, 0.8);
    Reverb_Apply(s, {0.4 + 0.15 * weight, 0.5, 0.14, 1.0}, 0.4);
    Mix_TrimTail(s, -60);
    return s;
}

Signal Fx_Hammer1(const SoundContext&) {
    return HammerStrike(1.0, 91);
}
Signal Fx_Hammer2(const SoundContext&) {
    return HammerStrike(1.5, 95);
}

Signal Fx_WinLevel(const SoundContext& ctx) {
    return Mix_ToMono(Recipe_PlayScore(ctx, "sound/win_level.score", 1.0));
}

Signal Fx_GameOver(const SoundContext& ctx) {
    // played slowing down from 0.75 to 0.2 times its speed: pitched high, plain bell-like
    // timbres that stay musical far below where they were written
    return Mix_ToMono(Recipe_PlayScore(ctx, "sound/game_over.score", 1.0));
}

} // namespace

std::vector<SoundRecipe> Effects_Recipes() {
    using K = SoundKind;
    return {
        {"hammer01.ogg", K::Effect, Fx_Hammer1},
        {"hammer02.ogg", K::Effect, Fx_Hammer2},
        {"gem_move.ogg", K::Effect, Fx_GemMove},
        {"click_gem.ogg", K::Effect, Fx_ClickGem},
        {"4gem.ogg", K::Effect, Fx_FourGem},
        {"Boulder.ogg", K::Effect, Fx_Boulder},
        {"GetHammer.ogg", K::Effect, Fx_GetHammer},
        {"click.wav", K::Effect, Fx_Click},
        {"ding1.wav", K::Effect, Fx_Ding, -7.0},                    // one per piece of every match
        {"glass_breaking2.ogg", K::Effect, Fx_GlassBreaking, -5.0}, // one per broken ice
        {"Shieldout.wav", K::Effect, Fx_ShieldOut},
        {"bub_timealarm.ogg", K::Effect, Fx_TimeAlarm},
        {"explo3.wav", K::Effect, Fx_Explosion},
        {"triangle1.wav", K::Effect, Fx_Triangle},
        {"WinLevel.ogg", K::Effect, Fx_WinLevel},
        {"GameOver.ogg", K::Effect, Fx_GameOver},
        {"error1.wav", K::Effect, Fx_Error},
    };
}
