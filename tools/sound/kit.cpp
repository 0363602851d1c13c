#include "tools/sound/kit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

double WaveAt(Wave wave, double phase) {
    switch (wave) {
    case Wave::Sine:
        return std::sin(kTwoPi * phase);
    case Wave::Triangle:
        return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
    case Wave::Saw:
        return 2.0 * phase - 1.0;
    case Wave::Square:
        return phase < 0.5 ? 1.0 : -1.0;
    }
    return 0.0;
}

// Second-order section after the well-known cookbook formulas; one state pair per channel.
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double z1[2] = {0, 0}, z2[2] = {0, 0};

    float Run(int ch, double x) {
        double y = b0 * x + z1[ch];
        z1[ch] = b1 * x - a1 * y + z2[ch];
        z2[ch] = b2 * x - a2 * y;
        return static_cast<float>(y);
    }
};

enum class FilterKind { LowPass, HighPass, BandPass };

void Biquad_Set(Biquad& f, FilterKind kind, double freq, double q) {
    freq = std::clamp(freq, 10.0, kSampleRate * 0.45);
    double w = kTwoPi * freq / kSampleRate;
    double cw = std::cos(w), alpha = std::sin(w) / (2.0 * q);
    double a0 = 1.0 + alpha;
    switch (kind) {
    case FilterKind::LowPass:
        f.b0 = f.b2 = (1.0 - cw) / 2.0 / a0;
        f.b1 = (1.0 - cw) / a0;
        break;
    case FilterKind::HighPass:
        f.b0 = f.b2 = (1.0 + cw) / 2.0 / a0;
        f.b1 = -(1.0 + cw) / a0;
        break;
    case FilterKind::BandPass: // constant 0 dB peak gain
        f.b0 = alpha / a0;
        f.b1 = 0.0;
        f.b2 = -alpha / a0;
        break;
    }
    f.a1 = -2.0 * cw / a0;
    f.a2 = (1.0 - alpha) / a0;
}

// Runs a filter whose frequency is freq_at(seconds), recomputed every 32 frames.
template <typename FreqAt> void RunFilter(Signal& s, FilterKind kind, double q, FreqAt freq_at) {
    Biquad f;
    int frames = Signal_Frames(s), chans = std::min(s.channels, 2);
    for (int i = 0; i < frames; ++i) {
        if (i % 32 == 0) Biquad_Set(f, kind, freq_at(double(i) / kSampleRate), q);
        for (int c = 0; c < chans; ++c) {
            float& v = s.samples[size_t(i) * s.channels + c];
            v = f.Run(c, v);
        }
    }
}

double ExpSweep(double f0, double f1, double t, double total) {
    double x = total > 0 ? std::clamp(t / total, 0.0, 1.0) : 1.0;
    return f0 * std::pow(f1 / f0, x);
}

double CurveAt(const std::vector<std::pair<double, double>>& points, double t) {
    if (points.empty()) return 1.0;
    if (t <= points.front().first) return points.front().second;
    for (size_t i = 1; i < points.size(); ++i) {
        if (t <= points[i].first) {
            auto [t0, v0] = points[i - 1];
            auto [t1, v1] = points[i];
            double x = t1 > t0 ? (t - t0) / (t1 - t0) : 1.0;
            return v0 + (v1 - v0) * x;
        }
    }
    return points.back().second;
}

void ScaleFrames(Signal& s, auto gain_at_frame) {
    int frames = Signal_Frames(s);
    for (int i = 0; i < frames; ++i) {
        float g = static_cast<float>(gain_at_frame(i));
        for (int c = 0; c < s.channels; ++c)
            s.samples[size_t(i) * s.channels + c] *= g;
    }
}

} // namespace

int Signal_Frames(const Signal& s) {
    return s.channels > 0 ? int(s.samples.size() / size_t(s.channels)) : 0;
}
double Signal_Seconds(const Signal& s) {
    return double(Signal_Frames(s)) / kSampleRate;
}
int Signal_FrameAt(double seconds) {
    return int(std::lround(seconds * kSampleRate));
}

Signal Signal_Silence(double seconds, int channels) {
    Signal s;
    s.channels = channels;
    s.samples.assign(size_t(std::max(0, Signal_FrameAt(seconds))) * size_t(channels), 0.0f);
    return s;
}

// ---- Oscillators ----------------------------------------------------------------------------

Signal Osc_Tone(Wave wave, double freq, double seconds, double phase) {
    Signal s = Signal_Silence(seconds);
    double step = freq / kSampleRate;
    for (float& v : s.samples) {
        v = static_cast<float>(WaveAt(wave, phase));
        phase += step;
        phase -= std::floor(phase);
    }
    return s;
}

Signal Osc_Glide(Wave wave, double f0, double f1, double seconds) {
    Signal s = Signal_Silence(seconds);
    double phase = 0.0;
    int frames = Signal_Frames(s);
    for (int i = 0; i < frames; ++i) {
        s.samples[size_t(i)] = static_cast<float>(WaveAt(wave, phase));
        phase += ExpSweep(f0, f1, double(i) / kSampleRate, seconds) / kSampleRate;
        phase -= std::floor(phase);
    }
    return s;
}

Signal Osc_Partials(double freq, const std::vector<Partial>& partials, double seconds) {
    Signal s = Signal_Silence(seconds);
    for (const Partial& p : partials) {
        double f = freq * p.ratio;
        if (f >= kSampleRate * 0.45) continue; // above what the file can hold: it would alias
        double w = kTwoPi * f / kSampleRate, fall = std::exp(-1.0 / (p.decay * kSampleRate));
        double amp = p.gain;
        for (size_t i = 0; i < s.samples.size(); ++i) {
            s.samples[i] += static_cast<float>(amp * std::sin(w * double(i)));
            amp *= fall;
        }
    }
    return s;
}

// ---- Noise ----------------------------------------------------------------------------------

Rng Rng_Make(std::uint64_t seed) {
    return Rng{seed * 0x9E3779B97F4A7C15ull + 1};
}

double Rng_Uniform(Rng& rng) {
    // xorshift64*: fast, and the same sequence on every machine
    rng.state ^= rng.state >> 12;
    rng.state ^= rng.state << 25;
    rng.state ^= rng.state >> 27;
    return double((rng.state * 0x2545F4914F6CDD1Dull) >> 11) / double(1ull << 53);
}

double Rng_Range(Rng& rng, double lo, double hi) {
    return lo + (hi - lo) * Rng_Uniform(rng);
}

Signal Noise_White(double seconds, std::uint64_t seed) {
    Signal s = Signal_Silence(seconds);
    Rng rng = Rng_Make(seed);
    for (float& v : s.samples)
        v = static_cast<float>(Rng_Range(rng, -1.0, 1.0));
    return s;
}

Signal Noise_Brown(double seconds, std::uint64_t seed) {
    Signal s = Noise_White(seconds, seed);
    double acc = 0.0;
    for (float& v : s.samples) {
        acc = 0.995 * acc + 0.1 * v; // leaky, so it never drifts off
        v = static_cast<float>(acc);
    }
    Level_NormalizePeak(s, 0.0);
    return s;
}

// ---- Envelopes ------------------------------------------------------------------------------

void Env_Points(Signal& s, const std::vector<std::pair<double, double>>& points) {
    ScaleFrames(s, [&](int i) { return CurveAt(points, double(i) / kSampleRate); });
}

void Env_ADSR(Signal& s, double attack, double decay, double sustain, double hold, double release) {
    double t1 = attack, t2 = t1 + decay, t3 = t2 + hold, t4 = t3 + release;
    Env_Points(s, {{0.0, 0.0}, {t1, 1.0}, {t2, sustain}, {t3, sustain}, {t4, 0.0}});
}

void Env_Strike(Signal& s, double attack, double decay) {
    ScaleFrames(s, [&](int i) {
        double t = double(i) / kSampleRate;
        return t < attack ? t / attack : std::exp(-(t - attack) / decay);
    });
}

void Env_FadeIn(Signal& s, double seconds) {
    ScaleFrames(s, [&](int i) { return std::min(1.0, double(i) / kSampleRate / seconds); });
}

void Env_FadeOut(Signal& s, double seconds) {
    double end = Signal_Seconds(s);
    ScaleFrames(
        s, [&](int i) { return std::clamp((end - double(i) / kSampleRate) / seconds, 0.0, 1.0); });
}

// ---- Filters --------------------------------------------------------------------------------

void Filter_LowPass(Signal& s, double cutoff, double q) {
    RunFilter(s, FilterKind::LowPass, q, [=](double) { return cutoff; });
}
void Filter_HighPass(Signal& s, double cutoff, double q) {
    RunFilter(s, FilterKind::HighPass, q, [=](double) { return cutoff; });
}
void Filter_BandPass(Signal& s, double centre, double q) {
    RunFilter(s, FilterKind::BandPass, q, [=](double) { return centre; });
}
void Filter_LowPassSweep(Signal& s, double f0, double f1, double q) {
    double total = Signal_Seconds(s);
    RunFilter(s, FilterKind::LowPass, q, [=](double t) { return ExpSweep(f0, f1, t, total); });
}
void Filter_BandPassSweep(Signal& s, double f0, double f1, double q) {
    double total = Signal_Seconds(s);
    RunFilter(s, FilterKind::BandPass, q, [=](double t) { return ExpSweep(f0, f1, t, total); });
}
void Filter_BandPassCurve(Signal& s, const std::vector<std::pair<double, double>>& points,
                          double q) {
    RunFilter(s, FilterKind::BandPass, q, [&](double t) { return CurveAt(points, t); });
}

// ---- Reverb ---------------------------------------------------------------------------------

namespace {

struct Comb {
    std::vector<float> buf;
    size_t pos = 0;
    float store = 0;
    float Run(float x, float feedback, float damp) {
        float out = buf[pos];
        store = out * (1 - damp) + store * damp;
        buf[pos] = x + store * feedback;
        pos = (pos + 1) % buf.size();
        return out;
    }
};

struct Allpass {
    std::vector<float> buf;
    size_t pos = 0;
    float Run(float x) {
        float b = buf[pos];
        buf[pos] = x + b * 0.5f;
        pos = (pos + 1) % buf.size();
        return b - x;
    }
};

// Classic delay lengths (in frames at 44.1 kHz); the right channel's are slightly longer so the
// two sides decorrelate.
constexpr int kCombLengths[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr int kAllpassLengths[] = {556, 441, 341, 225};

void ReverbChannel(const Signal& in, Signal& out, int ch, int spread, const ReverbParams& p) {
    std::vector<Comb> combs;
    std::vector<Allpass> allpasses;
    for (int n : kCombLengths)
        combs.push_back({std::vector<float>(size_t(n + spread)), 0, 0});
    for (int n : kAllpassLengths)
        allpasses.push_back({std::vector<float>(size_t(n + spread))});
    float feedback = float(0.7 + 0.28 * p.room), damp = float(0.4 * p.damp);
    int frames = Signal_Frames(out), in_frames = Signal_Frames(in);
    for (int i = 0; i < frames; ++i) {
        float x = 0;
        if (i < in_frames) {
            for (int c = 0; c < in.channels; ++c)
                x += in.samples[size_t(i) * in.channels + c];
            x *= 0.015f / float(in.channels); // the combs' gain, as the usual design scales it
        }
        float acc = 0;
        for (Comb& c : combs)
            acc += c.Run(x, feedback, damp);
        for (Allpass& a : allpasses)
            acc = a.Run(acc);
        out.samples[size_t(i) * out.channels + ch] += float(p.wet) * acc;
    }
}

} // namespace

void Reverb_Apply(Signal& s, const ReverbParams& p, double tail) {
    Signal in = s;
    Signal out = Signal_Silence(Signal_Seconds(s) + tail, s.channels);
    for (size_t i = 0; i < in.samples.size(); ++i)
        out.samples[i] = float(p.dry) * in.samples[i];
    for (int c = 0; c < std::min(s.channels, 2); ++c)
        ReverbChannel(in, out, c, c * 23, p);
    s = std::move(out);
}

// ---- Mixing ---------------------------------------------------------------------------------

void Mix_Add(Signal& dst, const Signal& src, double at, double gain, double pan) {
    int start = Signal_FrameAt(at), frames = Signal_Frames(src);
    size_t need = size_t(start + frames) * size_t(dst.channels);
    if (dst.samples.size() < need) dst.samples.resize(need, 0.0f);
    double angle = (std::clamp(pan, -1.0, 1.0) + 1.0) * std::numbers::pi / 4.0;
    double side[2] = {std::cos(angle) * std::numbers::sqrt2, std::sin(angle) * std::numbers::sqrt2};
    for (int i = 0; i < frames; ++i) {
        for (int c = 0; c < dst.channels; ++c) {
            float v = src.samples[size_t(i) * src.channels + size_t(std::min(c, src.channels - 1))];
            double g = (src.channels == 1 && dst.channels == 2) ? gain * side[c] : gain;
            dst.samples[size_t(start + i) * dst.channels + c] += float(g * v);
        }
    }
}

void Mix_Gain(Signal& s, double gain) {
    for (float& v : s.samples)
        v = float(v * gain);
}

Signal Mix_ToMono(const Signal& s) {
    if (s.channels == 1) return s;
    Signal m = Signal_Silence(Signal_Seconds(s), 1);
    for (size_t i = 0; i < m.samples.size(); ++i) {
        float sum = 0;
        for (int c = 0; c < s.channels; ++c)
            sum += s.samples[i * s.channels + c];
        m.samples[i] = sum / float(s.channels);
    }
    return m;
}

Signal Mix_ToStereo(const Signal& s) {
    if (s.channels == 2) return s;
    Signal st = Signal_Silence(0, 2);
    st.samples.reserve(s.samples.size() * 2);
    for (float v : s.samples) {
        st.samples.push_back(v);
        st.samples.push_back(v);
    }
    return st;
}

Signal Mix_Resample(const Signal& s, double rate) {
    Signal out = Signal_Silence(Signal_Seconds(s) / rate, s.channels);
    int in_frames = Signal_Frames(s), frames = Signal_Frames(out);
    for (int i = 0; i < frames; ++i) {
        double pos = i * rate;
        int a = int(pos);
        double x = pos - a;
        for (int c = 0; c < s.channels; ++c) {
            auto at = [&](int f) {
                return f < in_frames ? s.samples[size_t(f) * s.channels + c] : 0.0f;
            };
            out.samples[size_t(i) * s.channels + c] = float(at(a) * (1 - x) + at(a + 1) * x);
        }
    }
    return out;
}

void Mix_TrimTail(Signal& s, double threshold_db) {
    float limit = float(Db_ToGain(threshold_db));
    int last = Signal_Frames(s) - 1;
    while (last > 0) {
        bool loud = false;
        for (int c = 0; c < s.channels; ++c)
            loud |= std::fabs(s.samples[size_t(last) * s.channels + c]) > limit;
        if (loud) break;
        --last;
    }
    int keep = std::min(Signal_Frames(s), last + 1 + Signal_FrameAt(0.02));
    s.samples.resize(size_t(keep) * s.channels);
    Env_FadeOut(s, 0.02);
}

void Mix_LoopCrossfade(Signal& s, double overlap) {
    int n = Signal_FrameAt(overlap), total = Signal_Frames(s);
    if (n <= 0 || n * 2 > total) return;
    int keep = total - n;
    for (int i = 0; i < n; ++i) {
        // equal power: the two ends are unrelated sound, so their powers add
        double x = (i + 0.5) / n;
        double g_in = std::sin(x * std::numbers::pi / 2),
               g_out = std::cos(x * std::numbers::pi / 2);
        for (int c = 0; c < s.channels; ++c) {
            float& head = s.samples[size_t(i) * s.channels + c];
            float tail = s.samples[size_t(keep + i) * s.channels + c];
            head = float(head * g_in + tail * g_out);
        }
    }
    s.samples.resize(size_t(keep) * s.channels);
}

// ---- Levels ---------------------------------------------------------------------------------

double Db_FromGain(double gain) {
    return 20.0 * std::log10(std::max(gain, 1e-12));
}
double Db_ToGain(double db) {
    return std::pow(10.0, db / 20.0);
}

double Level_Peak(const Signal& s) {
    float peak = 0;
    for (float v : s.samples)
        peak = std::max(peak, std::fabs(v));
    return peak;
}

double Level_Rms(const Signal& s) {
    if (s.samples.empty()) return 0.0;
    double sum = 0;
    for (float v : s.samples)
        sum += double(v) * v;
    return std::sqrt(sum / double(s.samples.size()));
}

double Level_Correlation(const Signal& s) {
    if (s.channels != 2) return 0.0;
    double lr = 0, ll = 0, rr = 0;
    for (size_t i = 0; i + 1 < s.samples.size(); i += 2) {
        double l = s.samples[i], r = s.samples[i + 1];
        lr += l * r;
        ll += l * l;
        rr += r * r;
    }
    return ll > 0 && rr > 0 ? lr / std::sqrt(ll * rr) : 0.0;
}

double Level_MonoLossDb(const Signal& s) {
    if (s.channels != 2) return 0.0;
    double stereo = 0, mono = 0;
    for (size_t i = 0; i + 1 < s.samples.size(); i += 2) {
        double l = s.samples[i], r = s.samples[i + 1];
        stereo += (l * l + r * r) / 2.0;
        mono += (l + r) * (l + r) / 4.0;
    }
    if (stereo <= 0) return 0.0;
    if (mono <= 0) return 200.0; // all cancelled
    return 10.0 * std::log10(stereo / mono);
}

namespace {

// The correlation the signal would have with its side (L - R) / 2 scaled by g, from the energies
// of the mid, the side and their product.
double CorrelationWithSide(double mm, double ss, double ms, double g) {
    double l = mm + g * g * ss + 2 * g * ms, r = mm + g * g * ss - 2 * g * ms;
    return l > 0 && r > 0 ? (mm - g * g * ss) / std::sqrt(l * r) : 1.0;
}

} // namespace

double Mix_NarrowTo(Signal& s, double correlation) {
    if (s.channels != 2) return 1.0;
    double mm = 0, ss = 0, ms = 0;
    for (size_t i = 0; i + 1 < s.samples.size(); i += 2) {
        double m = (s.samples[i] + s.samples[i + 1]) / 2.0,
               d = (s.samples[i] - s.samples[i + 1]) / 2.0;
        mm += m * m;
        ss += d * d;
        ms += m * d;
    }
    if (CorrelationWithSide(mm, ss, ms, 1.0) >= correlation) return 1.0;
    double lo = 0.0, hi = 1.0; // the correlation falls as the side grows
    for (int i = 0; i < 40; ++i) {
        double mid = (lo + hi) / 2;
        (CorrelationWithSide(mm, ss, ms, mid) >= correlation ? lo : hi) = mid;
    }
    for (size_t i = 0; i + 1 < s.samples.size(); i += 2) {
        double m = (s.samples[i] + s.samples[i + 1]) / 2.0,
               d = (s.samples[i] - s.samples[i + 1]) / 2.0;
        s.samples[i] = float(m + lo * d);
        s.samples[i + 1] = float(m - lo * d);
    }
    return lo;
}

double Level_ActiveRms(const Signal& s) {
    size_t window = size_t(kSampleRate / 100) * s.channels;
    std::vector<double> energies;
    for (size_t at = 0; at < s.samples.size(); at += window) {
        size_t end = std::min(s.samples.size(), at + window);
        double sum = 0;
        for (size_t i = at; i < end; ++i)
            sum += double(s.samples[i]) * s.samples[i];
        energies.push_back(sum / double(end - at));
    }
    if (energies.empty()) return 0.0;
    double loudest = *std::max_element(energies.begin(), energies.end());
    double sum = 0;
    int count = 0;
    for (double e : energies) {
        if (e >= loudest * 1e-3) { // within 30 dB
            sum += e;
            ++count;
        }
    }
    return std::sqrt(sum / count);
}

void Level_Match(Signal& s, double rms_db, double peak_db, double max_limit_db) {
    double rms = Level_ActiveRms(s), peak = Level_Peak(s);
    if (rms <= 0 || peak <= 0) return;
    double gain = std::min(Db_ToGain(rms_db) / rms, Db_ToGain(peak_db + max_limit_db) / peak);
    Mix_Gain(s, gain);
    Level_Limit(s, peak_db);
    if (Level_Peak(s) > Db_ToGain(peak_db)) Level_NormalizePeak(s, peak_db);
}

void Level_Limit(Signal& s, double ceiling_db, double release) {
    const int ahead = Signal_FrameAt(0.002), frames = Signal_Frames(s);
    const double ceiling = Db_ToGain(ceiling_db);
    std::vector<double> gain(size_t(frames) + 1, 1.0);
    for (int i = 0; i < frames; ++i) {
        double loudest = 0;
        for (int c = 0; c < s.channels; ++c)
            loudest = std::max(loudest, double(std::fabs(s.samples[size_t(i) * s.channels + c])));
        if (loudest > ceiling) gain[size_t(i)] = ceiling / loudest;
    }
    // backwards: the gain may only fall over the look-ahead, never jump
    for (int i = frames - 1; i >= 0; --i)
        gain[size_t(i)] = std::min(gain[size_t(i)], gain[size_t(i) + 1] + 1.0 / ahead);
    // forwards: after a peak the gain recovers exponentially
    double recover = 1.0 - std::exp(-1.0 / (release * kSampleRate)), g = 1.0;
    for (int i = 0; i < frames; ++i) {
        g = std::min(gain[size_t(i)], g + (1.0 - g) * recover);
        for (int c = 0; c < s.channels; ++c)
            s.samples[size_t(i) * s.channels + c] *= float(g);
    }
}

void Level_NormalizePeak(Signal& s, double peak_db) {
    double peak = Level_Peak(s);
    if (peak > 0) Mix_Gain(s, Db_ToGain(peak_db) / peak);
}
