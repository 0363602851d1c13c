// The synthesis kit: small building blocks from which every sound of the game is a short recipe.
//
// A Signal is interleaved float audio at 44.1 kHz, nominally within -1..1. Generators return a new
// Signal; shapers (envelopes, filters, reverb, gain) change one in place.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

constexpr int kSampleRate = 44100;

struct Signal {
    int channels = 1;
    std::vector<float> samples; // interleaved frames
};

int Signal_Frames(const Signal& s);
double Signal_Seconds(const Signal& s);
Signal Signal_Silence(double seconds, int channels = 1);
int Signal_FrameAt(double seconds); // the frame index of a time

// ---- Oscillators ----------------------------------------------------------------------------

enum class Wave { Sine, Triangle, Saw, Square };

// A tone of constant frequency; phase in cycles (0..1).
Signal Osc_Tone(Wave wave, double freq, double seconds, double phase = 0.0);
// A tone whose frequency glides exponentially from f0 to f1 over its length.
Signal Osc_Glide(Wave wave, double f0, double f1, double seconds);
// A struck, inharmonic tone: partial i sounds at freq * ratios[i] with gains[i] and decays with
// time constant decays[i] seconds. Bells, bars and chains are made of these.
struct Partial {
    double ratio, gain, decay;
};
Signal Osc_Partials(double freq, const std::vector<Partial>& partials, double seconds);

// ---- Noise ----------------------------------------------------------------------------------

// A small, seeded generator so that every build writes the same bytes.
struct Rng {
    std::uint64_t state;
};
Rng Rng_Make(std::uint64_t seed);
double Rng_Uniform(Rng& rng);                     // 0..1
double Rng_Range(Rng& rng, double lo, double hi); // lo..hi

Signal Noise_White(double seconds, std::uint64_t seed);
// Brown (integrated) noise: a deep rumble.
Signal Noise_Brown(double seconds, std::uint64_t seed);

// ---- Envelopes ------------------------------------------------------------------------------

// Multiplies by straight segments between (time, gain) points; before the first point the first
// gain holds, after the last the last gain holds.
void Env_Points(Signal& s, const std::vector<std::pair<double, double>>& points);
// Attack, decay to the sustain level, hold it, release to silence; zero afterwards. Its length is
// attack + decay + hold + release.
void Env_ADSR(Signal& s, double attack, double decay, double sustain, double hold, double release);
// A linear attack then an exponential decay with the given time constant.
void Env_Strike(Signal& s, double attack, double decay);
void Env_FadeIn(Signal& s, double seconds);
void Env_FadeOut(Signal& s, double seconds);

// ---- Filters --------------------------------------------------------------------------------

// Second-order (12 dB per octave) filters, run over every channel.
void Filter_LowPass(Signal& s, double cutoff, double q = 0.707);
void Filter_HighPass(Signal& s, double cutoff, double q = 0.707);
void Filter_BandPass(Signal& s, double centre, double q);
// Filters whose frequency moves exponentially from f0 to f1 over the signal: swooshes and wind.
void Filter_LowPassSweep(Signal& s, double f0, double f1, double q = 0.707);
void Filter_BandPassSweep(Signal& s, double f0, double f1, double q);
// A band-pass whose centre follows a curve given as (time, frequency) points.
void Filter_BandPassCurve(Signal& s, const std::vector<std::pair<double, double>>& points,
                          double q);

// ---- Reverb ---------------------------------------------------------------------------------

struct ReverbParams {
    double room = 0.7; // 0 small .. 1 large (the tail's length)
    double damp = 0.4; // 0 bright .. 1 dull
    double wet = 0.25; // level of the reverberated sound
    double dry = 1.0;  // level of the direct sound
};
// A comb-and-allpass room. The signal is extended by `tail` seconds so the reverb can ring out.
void Reverb_Apply(Signal& s, const ReverbParams& p, double tail = 1.0);

// ---- Mixing ---------------------------------------------------------------------------------

// Adds src into dst starting at `at` seconds (dst grows as needed). A mono src added to a stereo
// dst is panned (-1 left .. 1 right, equal power).
void Mix_Add(Signal& dst, const Signal& src, double at = 0.0, double gain = 1.0, double pan = 0.0);
void Mix_Gain(Signal& s, double gain);
Signal Mix_ToMono(const Signal& s);
Signal Mix_ToStereo(const Signal& s);
// Plays the signal at `rate` times its speed (2 = an octave up and half as long), as the game's
// channels do; linear interpolation.
Signal Mix_Resample(const Signal& s, double rate);
// Drops the silent end (below `threshold_db` relative to full scale), keeping a short fade.
void Mix_TrimTail(Signal& s, double threshold_db = -70.0);
// Makes the signal loop without a seam: the last `overlap` seconds are cross-faded into the
// start, so the result is `overlap` shorter and its end runs straight into its beginning.
void Mix_LoopCrossfade(Signal& s, double overlap);

// ---- Levels ---------------------------------------------------------------------------------

double Db_FromGain(double gain);
double Db_ToGain(double db);
double Level_Peak(const Signal& s);
double Level_Rms(const Signal& s);
// RMS over the part that sounds: the 10 ms windows within 30 dB of the loudest one.
double Level_ActiveRms(const Signal& s);
// Scales to an active RMS of `rms_db` dBFS. Peaks above `peak_db` dBFS are held down by the
// limiter by at most `max_limit_db`; beyond that the whole sound is made quieter instead.
void Level_Match(Signal& s, double rms_db, double peak_db, double max_limit_db = 6.0);
// A look-ahead peak limiter: the gain falls smoothly just before a peak that would pass the
// ceiling and recovers over `release` seconds, so transients are tamed without distortion.
void Level_Limit(Signal& s, double ceiling_db, double release = 0.06);
void Level_NormalizePeak(Signal& s, double peak_db);
// Stereo image of a two-channel signal: the correlation of left and right (1 the same, 0
// unrelated, -1 one channel inverted; 0 for mono or silence), and how many dB quieter the mono
// fold-down (L + R) / 2 is than the stereo signal (0 when both sides are the same, 3 when they
// are unrelated, more when they cancel).
double Level_Correlation(const Signal& s);
double Level_MonoLossDb(const Signal& s);
// Narrows a stereo signal just enough for its left/right correlation to reach `correlation`:
// the difference of the sides is turned down, the sum kept. Returns the difference's gain (1
// when the signal already holds together).
double Mix_NarrowTo(Signal& s, double correlation);
