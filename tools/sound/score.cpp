#include "tools/sound/score.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

namespace {

// Beyond these a piece would be minutes per note or a blur, and its length could run away.
constexpr double kMinTempo = 10.0, kMaxTempo = 1000.0;
const char* const kTempoRange = "the tempo must be 10 to 1000 quarter notes per minute";

struct Token {
    std::string text;
    int line;
};

struct PartSource {
    ScorePart part;
    std::vector<Token> tokens;
};

struct Source {
    std::map<std::string, std::vector<Token>> phrases;
    std::vector<PartSource> parts;
    double bar_beats = 0.0; // 0: no bar checks
};

struct ParseError {
    std::string message;
};

[[noreturn]] void Fail(int line, const std::string& message) {
    throw ParseError{"line " + std::to_string(line) + ": " + message};
}

double ToNumber(const std::string& text, int line) {
    try {
        size_t used = 0;
        double v = std::stod(text, &used);
        if (used == text.size() && std::isfinite(v)) return v;
    } catch (const std::exception&) {
    }
    Fail(line, "\"" + text + "\" is not a number");
}

// A comment starts at a "#" that begins a word; the "#" inside "F#4" is a sharp.
std::string StripComment(const std::string& raw) {
    for (size_t i = 0; i < raw.size(); ++i)
        if (raw[i] == '#' && (i == 0 || std::isspace(static_cast<unsigned char>(raw[i - 1]))))
            return raw.substr(0, i);
    return raw;
}

// A whole number within lo..hi; anything else (fractions, exponents past the range) is refused.
int ToInt(const std::string& text, int line, int lo, int hi, const std::string& what) {
    double v = ToNumber(text, line);
    if (v != std::floor(v) || v < lo || v > hi)
        Fail(line, what + " must be a whole number from " + std::to_string(lo) + " to " +
                       std::to_string(hi));
    return int(v);
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

// key=value options of a "part" or "reverb" line.
std::map<std::string, std::string> Options(const std::vector<std::string>& words, size_t from) {
    std::map<std::string, std::string> opts;
    for (size_t i = from; i < words.size(); ++i) {
        size_t eq = words[i].find('=');
        if (eq == std::string::npos)
            opts[words[i]] = "1";
        else
            opts[words[i].substr(0, eq)] = words[i].substr(eq + 1);
    }
    return opts;
}

std::string TakeText(std::map<std::string, std::string>& opts, const std::string& key,
                     const std::string& fallback) {
    auto it = opts.find(key);
    if (it == opts.end()) return fallback;
    std::string v = it->second;
    opts.erase(it);
    return v;
}

double TakeOption(std::map<std::string, std::string>& opts, const std::string& key, double fallback,
                  int line) {
    auto it = opts.find(key);
    if (it == opts.end()) return fallback;
    double v = ToNumber(it->second, line);
    opts.erase(it);
    return v;
}

ScorePart ReadPartLine(const std::vector<std::string>& words, int line) {
    if (words.size() < 2) Fail(line, "a part needs a name");
    ScorePart p;
    p.name = words[1];
    auto opts = Options(words, 2);
    p.program = ToInt(TakeText(opts, "program", "0"), line, 0, 127, "program");
    p.bank = ToInt(TakeText(opts, "bank", "0"), line, 0, 16383, "bank");
    p.drums = TakeOption(opts, "drums", 0, line) != 0;
    p.volume = TakeOption(opts, "vol", p.volume, line);
    p.pan = TakeOption(opts, "pan", p.pan, line);
    p.reverb = TakeOption(opts, "reverb", p.reverb, line);
    p.chorus = TakeOption(opts, "chorus", p.chorus, line);
    p.legato = TakeOption(opts, "legato", p.legato, line);
    if (!opts.empty()) Fail(line, "unknown part option \"" + opts.begin()->first + "\"");
    return p;
}

ScoreReverb ReadReverbLine(const std::vector<std::string>& words, int line) {
    ScoreReverb r;
    auto opts = Options(words, 1);
    r.room = TakeOption(opts, "room", r.room, line);
    r.damp = TakeOption(opts, "damp", r.damp, line);
    r.width = TakeOption(opts, "width", r.width, line);
    r.level = TakeOption(opts, "level", r.level, line);
    if (!opts.empty()) Fail(line, "unknown reverb option \"" + opts.begin()->first + "\"");
    return r;
}

// Reads the directives; note lines go to the phrase or part opened last.
void ReadLines(const std::string& text, Source& src, Score& out) {
    std::istringstream in(text);
    std::vector<Token>* target = nullptr;
    int line = 0;
    out.tempo = {{0.0, 100.0}};
    for (std::string raw; std::getline(in, raw);) {
        ++line;
        auto words = Words(StripComment(raw));
        if (words.empty()) continue;
        const std::string& head = words[0];
        if (head == "tempo" && words.size() == 2) {
            out.tempo[0].bpm = ToNumber(words[1], line);
        } else if (head == "time" && words.size() == 2) {
            size_t slash = words[1].find('/');
            if (slash == std::string::npos) Fail(line, "time is written like 3/4");
            double count = ToNumber(words[1].substr(0, slash), line);
            double unit = ToNumber(words[1].substr(slash + 1), line);
            src.bar_beats = count * 4.0 / unit;
        } else if (head == "reverb") {
            out.reverb = ReadReverbLine(words, line);
        } else if (head == "phrase") {
            if (words.size() != 2) Fail(line, "a phrase needs exactly one name");
            if (src.phrases.count(words[1])) Fail(line, "phrase " + words[1] + " exists already");
            target = &src.phrases[words[1]];
        } else if (head == "part") {
            src.parts.push_back({ReadPartLine(words, line), {}});
            target = &src.parts.back().tokens;
        } else {
            if (!target) Fail(line, "notes before any part or phrase");
            for (const std::string& w : words)
                target->push_back({w, line});
        }
    }
    if (out.tempo[0].bpm < kMinTempo || out.tempo[0].bpm > kMaxTempo) Fail(line, kTempoRange);
}

double ReadLength(const std::string& written, int line) {
    double total = 0.0;
    std::istringstream in(written);
    for (std::string term; std::getline(in, term, '+');) {
        size_t digits = 0;
        while (digits < term.size() && std::isdigit(static_cast<unsigned char>(term[digits])))
            ++digits;
        if (digits == 0) Fail(line, "bad length \":" + written + "\"");
        int value = ToInt(term.substr(0, digits), line, 1, 64, "a note value");
        if ((value & (value - 1)) != 0) Fail(line, "a note value is 1, 2, 4, 8, 16, 32 or 64");
        double beats = 4.0 / value, add = beats / 2;
        for (size_t i = digits; i < term.size(); ++i) {
            if (term[i] == '.') {
                beats += add;
                add /= 2;
            } else if (term[i] == 't') {
                beats *= 2.0 / 3.0;
            } else {
                Fail(line, "bad length \":" + written + "\"");
            }
        }
        total += beats;
    }
    if (total <= 0) Fail(line, "bad length \":" + written + "\"");
    return total;
}

int ReadPitch(const std::string& text, int line) {
    if (text.size() >= 2 && text[0] == 'n') {
        return ToInt(text.substr(1), line, 0, 127, "a key number");
    }
    static const int kSteps[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (text.empty() || text[0] < 'A' || text[0] > 'G') Fail(line, "bad pitch \"" + text + "\"");
    int key = kSteps[text[0] - 'A'];
    size_t i = 1;
    for (; i < text.size() && (text[i] == '#' || text[i] == 'b'); ++i)
        key += text[i] == '#' ? 1 : -1;
    if (i == text.size()) Fail(line, "pitch \"" + text + "\" has no octave");
    key += 12 * (ToInt(text.substr(i), line, -1, 9, "an octave") + 1);
    if (key < 0 || key > 127) Fail(line, "pitch \"" + text + "\" is out of range");
    return key;
}

int DynamicVelocity(const std::string& word) {
    static const std::map<std::string, int> kLevels = {{"ppp", 24}, {"pp", 38},  {"p", 52},
                                                       {"mp", 66},  {"mf", 80},  {"f", 96},
                                                       {"ff", 112}, {"fff", 124}};
    auto it = kLevels.find(word);
    return it == kLevels.end() ? -1 : it->second;
}

// Walks one part's tokens, expanding phrases, and appends its notes and tempo changes.
struct PartReader {
    const Source& src;
    Score& out;
    int part;
    double pos = 0.0, length = 1.0, pickup = -1.0;
    int velocity = 80;

    void BarLine(int line) {
        constexpr double eps = 1e-6;
        if (src.bar_beats <= 0) return;
        if (pickup < 0) {
            if (pos > src.bar_beats + eps) Fail(line, "the first bar is longer than the time");
            pickup = std::fmod(pos, src.bar_beats);
            return;
        }
        double over = std::fmod(pos - pickup + eps, src.bar_beats);
        if (over > 2 * eps)
            Fail(line, "bar ends " + std::to_string(over) + " beats after a bar line should be");
    }

    void Note(const std::string& text, int line, int transpose) {
        size_t colon = text.find(':');
        std::string head = text.substr(0, colon);
        if (colon != std::string::npos) length = ReadLength(text.substr(colon + 1), line);
        if (head != "r" && !head.empty()) {
            std::istringstream pitches(head);
            for (std::string p; std::getline(pitches, p, ',');) {
                int key = ReadPitch(p, line) + transpose;
                if (key < 0 || key > 127) Fail(line, "transposed out of range");
                out.notes.push_back({pos, length, key, velocity, part});
            }
        }
        pos += length;
    }

    void Run(const std::vector<Token>& tokens, int transpose, int depth) {
        if (depth > 8) Fail(tokens.empty() ? 0 : tokens[0].line, "phrases nest too deep");
        for (const Token& t : tokens) {
            const std::string& w = t.text;
            if (w == "|") {
                BarLine(t.line);
            } else if (w[0] == '@') {
                size_t sign = w.find_first_of("+-", 1);
                auto it = src.phrases.find(w.substr(1, sign - 1));
                if (it == src.phrases.end()) Fail(t.line, "no phrase \"" + w.substr(1) + "\"");
                int shift = sign == std::string::npos
                                ? 0
                                : ToInt(w.substr(sign), t.line, -48, 48, "a transposition");
                Run(it->second, transpose + shift, depth + 1);
            } else if (w.rfind("t=", 0) == 0) {
                double bpm = ToNumber(w.substr(2), t.line);
                if (bpm < kMinTempo || bpm > kMaxTempo) Fail(t.line, kTempoRange);
                out.tempo.push_back({pos, bpm});
            } else if (w.rfind("v=", 0) == 0) {
                velocity = ToInt(w.substr(2), t.line, 1, 127, "a velocity");
            } else if (DynamicVelocity(w) > 0) {
                velocity = DynamicVelocity(w);
            } else {
                Note(w, t.line, transpose);
            }
        }
    }
};

} // namespace

bool Score_Parse(const std::string& text, Score& out, std::string& error) {
    out = Score{};
    try {
        Source src;
        ReadLines(text, src, out);
        if (src.parts.empty()) Fail(0, "the score has no part");
        for (size_t i = 0; i < src.parts.size(); ++i) {
            out.parts.push_back(src.parts[i].part);
            PartReader reader{src, out, int(i)};
            reader.Run(src.parts[i].tokens, 0, 0);
        }
    } catch (const ParseError& e) {
        error = e.message;
        return false;
    }
    std::stable_sort(out.notes.begin(), out.notes.end(),
                     [](const ScoreNote& a, const ScoreNote& b) { return a.beat < b.beat; });
    std::stable_sort(out.tempo.begin(), out.tempo.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.beat < b.beat; });
    for (const ScoreNote& n : out.notes)
        out.length_beats = std::max(out.length_beats, n.beat + n.beats);
    return true;
}

bool Score_Load(const std::string& path, Score& out, std::string& error) {
    std::ifstream f(path);
    if (!f) {
        error = "cannot read " + path;
        return false;
    }
    std::stringstream text;
    text << f.rdbuf();
    if (!Score_Parse(text.str(), out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

double Score_Seconds(const Score& score, double beat) {
    double seconds = 0.0;
    for (size_t i = 0; i < score.tempo.size(); ++i) {
        double from = score.tempo[i].beat;
        if (beat <= from) break;
        double to = i + 1 < score.tempo.size() ? std::min(beat, score.tempo[i + 1].beat) : beat;
        seconds += (to - from) * 60.0 / score.tempo[i].bpm;
    }
    return seconds;
}
