// Reading and writing the level language.
#include "tools/levels/level_tools.h"

#include <cctype>
#include <cstdio>
#include <sstream>

namespace {

std::string Trim(const std::string& s) {
    std::size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a])))
        ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1])))
        --b;
    return s.substr(a, b - a);
}

bool ParseInt(const std::string& s, int& v) {
    if (s.empty() || s.size() > 9) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    v = std::stoi(s);
    return true;
}

// "5:00", "300 s" or "300000 ms".
bool ParseTime(const std::string& value, int& ms) {
    std::string v = Trim(value);
    std::size_t colon = v.find(':');
    int a = 0, b = 0;
    if (colon != std::string::npos) {
        if (!ParseInt(v.substr(0, colon), a) || !ParseInt(v.substr(colon + 1), b) || b > 59 ||
            v.size() - colon - 1 != 2)
            return false;
        ms = (a * 60 + b) * 1000;
        return a < 1000;
    }
    std::istringstream in(v);
    std::string num, unit, rest;
    in >> num >> unit >> rest;
    if (!rest.empty() || !ParseInt(num, a)) return false;
    if (unit == "ms")
        ms = a;
    else if (unit == "s" && a < 1000000)
        ms = a * 1000;
    else
        return false;
    return true;
}

bool ParsePercent(std::string v, int& out) {
    v = Trim(v);
    if (!v.empty() && v.back() == '%') v = Trim(v.substr(0, v.size() - 1));
    return ParseInt(v, out) && out <= 100;
}

bool ParseWeights(const std::string& value, int (&w)[Piece_Kinds], std::string& why) {
    std::istringstream in(value);
    std::string tok;
    bool any = false;
    while (in >> tok) {
        std::size_t eq = tok.find('=');
        int k = 0, n = 0;
        if (eq == std::string::npos || !ParseInt(tok.substr(0, eq), k) ||
            !ParseInt(tok.substr(eq + 1), n)) {
            why = "\"" + tok + "\" is not kind=weight";
            return false;
        }
        if (k < 1 || k >= Piece_Kinds || n > Piece_BagLimit) {
            why = "kind " + std::to_string(k) + " or weight " + std::to_string(n) +
                  " out of range (kinds 1..15, weights 0..500)";
            return false;
        }
        w[k] = n;
        any = true;
    }
    if (!any) why = "no weights given";
    return any;
}

const char* const BoardChars = ".012";
const char* const PieceChars = ".?-1234567CX";
const char* const MarkChars = ".slLb";

bool IsAny(char c, const char* set) {
    return c != 0 && std::string(set).find(c) != std::string::npos;
}

std::string Where(int line) {
    return "line " + std::to_string(line) + ": ";
}

bool CheckMaps(LevelSource& s, std::string& error) {
    if (s.board.empty()) {
        error = "no board map";
        return false;
    }
    const std::size_t w = s.board[0].size();
    auto same = [&](const std::vector<std::string>& m, const char* name, const char* chars) {
        if (m.empty()) return true;
        if (m.size() != s.board.size()) {
            error = std::string(name) + " map has " + std::to_string(m.size()) +
                    " rows, the board " + std::to_string(s.board.size());
            return false;
        }
        for (std::size_t y = 0; y < m.size(); ++y) {
            if (m[y].size() != w) {
                error = std::string(name) + " map row " + std::to_string(y) + " has " +
                        std::to_string(m[y].size()) + " cells, the board " + std::to_string(w);
                return false;
            }
            for (std::size_t x = 0; x < w; ++x)
                if (!IsAny(m[y][x], chars)) {
                    error = std::string(name) + " map cell (" + std::to_string(x) + ", " +
                            std::to_string(y) + "): unknown character '" + m[y][x] + "'";
                    return false;
                }
        }
        return true;
    };
    if (!same(s.board, "board", BoardChars) || !same(s.pieces, "pieces", PieceChars) ||
        !same(s.marks, "marks", MarkChars))
        return false;
    if (w == 0) {
        error = "empty board map";
        return false;
    }
    if (s.pieces.empty())
        for (const std::string& row : s.board) {
            std::string p(row.size(), '?');
            for (std::size_t x = 0; x < row.size(); ++x)
                if (row[x] == '.') p[x] = '.';
            s.pieces.push_back(p);
        }
    if (s.marks.empty()) s.marks.assign(s.board.size(), std::string(w, '.'));
    for (int y = 0; y < s.dy(); ++y)
        for (int x = 0; x < s.dx(); ++x) {
            const bool is_void = s.board[y][x] == '.';
            const char p = s.pieces[y][x], m = s.marks[y][x];
            std::string cell = "cell (" + std::to_string(x) + ", " + std::to_string(y) + "): ";
            if (is_void != (p == '.')) {
                error = cell + (is_void ? "a void cell holds a piece"
                                        : "a playable cell needs "
                                          "a piece, '?' or '-'");
                return false;
            }
            if (is_void && m != '.') {
                error = cell + "a void cell cannot carry a mark";
                return false;
            }
            if (m == 's' && y == 0) {
                error = cell + "every cell of the top row is a spawn cell already";
                return false;
            }
            if ((m == 'l' || m == 'L' || m == 'b') && !(p == '?' || (p >= '1' && p <= '7'))) {
                error = cell + "chains and bombs go on gems only";
                return false;
            }
        }
    return true;
}

} // namespace

bool LevelText_Parse(const std::string& text, LevelSource& out, std::string& error) {
    out = LevelSource{};
    std::istringstream in(text);
    std::string raw;
    std::vector<std::string>* map = nullptr;
    bool header_seen = false, time_seen = false, weights_seen = false;
    int line = 0;
    while (std::getline(in, raw)) {
        ++line;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        std::string t = Trim(raw);
        if (t.empty()) continue;
        if (t[0] == '#') {
            if (!header_seen && !map) out.comments.push_back(raw);
            continue;
        }
        if (t == "board:" || t == "pieces:" || t == "marks:") {
            map = t == "board:" ? &out.board : t == "pieces:" ? &out.pieces : &out.marks;
            if (!map->empty()) {
                error = Where(line) + "the " + t + " map is given twice";
                return false;
            }
            continue;
        }
        if (map) {
            map->push_back(t);
            continue;
        }
        std::size_t colon = t.find(':');
        if (colon == std::string::npos) {
            error = Where(line) + "expected \"key: value\" or a map";
            return false;
        }
        header_seen = true;
        std::string key = Trim(t.substr(0, colon)), value = Trim(t.substr(colon + 1));
        std::string why;
        bool ok = true;
        if (key == "time")
            ok = time_seen = ParseTime(value, out.time_ms), why = "bad time";
        else if (key == "weights")
            ok = weights_seen = ParseWeights(value, out.weights, why);
        else if (key == "bomb")
            ok = ParsePercent(value, out.bomb), why = "bad percentage";
        else if (key == "shield")
            ok = ParsePercent(value, out.shield), why = "bad percentage";
        else if (key == "laser")
            ok = ParsePercent(value, out.laser), why = "bad percentage";
        else if (key == "golden")
            ok = ParsePercent(value, out.golden), why = "bad percentage";
        else if (key == "seed")
            ok = ParseInt(value, out.seed), why = "bad seed";
        else if (key == "need") {
            ok = ParseInt(value, out.need) && out.need >= 3 && out.need <= 5;
            why = "need is 3, 4 or 5";
        } else
            ok = false, why = "unknown key \"" + key + "\"";
        if (!ok) {
            error = Where(line) + why;
            return false;
        }
    }
    if (!time_seen || !weights_seen) {
        error = !time_seen ? "no time given" : "no weights given";
        return false;
    }
    return CheckMaps(out, error);
}

std::string LevelText_Format(const LevelSource& s) {
    std::ostringstream o;
    for (const std::string& c : s.comments)
        o << c << "\n";
    if (s.time_ms % 1000 == 0) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%d:%02d", s.time_ms / 60000, s.time_ms / 1000 % 60);
        o << "time: " << buf << "\n";
    } else {
        o << "time: " << s.time_ms << " ms\n";
    }
    o << "weights:";
    for (int k = 1; k < Piece_Kinds; ++k)
        if (s.weights[k] > 0) o << " " << k << "=" << s.weights[k];
    o << "\n";
    auto percent = [&](const char* key, int v) {
        if (v) o << key << ": " << v << "%\n";
    };
    percent("bomb", s.bomb);
    percent("shield", s.shield);
    percent("laser", s.laser);
    percent("golden", s.golden);
    if (s.seed != 1) o << "seed: " << s.seed << "\n";
    if (s.need != 3) o << "need: " << s.need << "\n";
    auto map = [&](const char* name, const std::vector<std::string>& m) {
        o << "\n" << name << ":\n";
        for (const std::string& row : m)
            o << row << "\n";
    };
    map("board", s.board);
    bool open_only = true, no_marks = true;
    for (int y = 0; y < s.dy(); ++y)
        for (int x = 0; x < s.dx(); ++x) {
            if (s.pieces[y][x] != '?' && s.pieces[y][x] != '.') open_only = false;
            if (s.marks[y][x] != '.') no_marks = false;
        }
    if (!open_only) map("pieces", s.pieces);
    if (!no_marks) map("marks", s.marks);
    return o.str();
}
