#include "data/saved_match.h"

#include "data/config.h"
#include "data/level_file.h"
#include "engine/stream.h"

#include <algorithm>
#include <climits>

namespace {

// The record's fields in file order.
template <typename Record, typename Fn> void ForEachField(Record& m, Fn fn) {
    fn(m.size);
    fn(m.Lives);
    fn(m.Score);
    fn(m.LevelFirst);
    fn(m.LevelCrt);
    fn(m.PlayedTime);
    fn(m.LevelCrt_IsRunning);
    fn(m.Relaxed_Mode);
    fn(m.Hammer_Points);
    fn(m.Score_Start_Level);
    fn(m.Time_Left);
    fn(m.Time_Bought);
}

int IntAt(const std::vector<std::uint8_t>& in, std::size_t at) {
    std::uint32_t u = 0;
    for (std::size_t b = 0; b < 4; ++b)
        u |= static_cast<std::uint32_t>(in[at + b]) << (8 * b);
    return static_cast<int>(u);
}

// A damaged or hand-edited record is brought into what the game can play: a level it has (a
// level beyond them sent every resume back to the menu), counters that cannot go negative or
// overflow as they grow, flags of 0 or 1. Only the first `present` fields came from the file;
// the others stay 0. Records the game writes are never changed.
void ClampRecord(Match_File& m, int present) {
    constexpr int Count_Max = 1000000000; // scores and milliseconds: room left to add to
    const int last_level = std::max(Levels_Count, 1);
    struct Range {
        int lo, hi;
    };
    const Range ranges[] = {
        {INT_MIN, INT_MAX},         // size: only compared
        {0, Count_Max},             // Lives
        {0, Count_Max},             // Score
        {1, last_level},            // LevelFirst
        {1, last_level},            // LevelCrt
        {0, Count_Max},             // PlayedTime
        {0, 1},                     // LevelCrt_IsRunning
        {0, 1},                     // Relaxed_Mode
        {0, Count_Max},             // Hammer_Points
        {0, Count_Max},             // Score_Start_Level
        {0, 2 * LevelFile_MaxTime}, // Time_Left: the level's time and what was bought
        {0, LevelFile_MaxTime},     // Time_Bought
    };
    int i = 0;
    ForEachField(m, [&](int& v) {
        if (i < present) v = std::clamp(v, ranges[i].lo, ranges[i].hi);
        ++i;
    });
}

} // namespace

std::vector<std::uint8_t> MatchFile_Encode(const Match_File& m) {
    std::vector<std::uint8_t> out;
    out.reserve(Match_FileBytes);
    ForEachField(m, [&](int v) {
        const auto u = static_cast<std::uint32_t>(v);
        for (int b = 0; b < 4; ++b)
            out.push_back(static_cast<std::uint8_t>(u >> (8 * b)));
    });
    return out;
}

MatchFileFit MatchFile_Decode(const std::vector<std::uint8_t>& bytes, Match_File& m) {
    m = Match_File{};
    const int stored = bytes.size() >= 4 ? IntAt(bytes, 0) : 0;
    MatchFileFit fit = MATCH_FILE_EXACT;
    int n = stored;
    if (n > Match_FileBytes) {
        fit = MATCH_FILE_LONGER;
        n = Match_FileBytes;
    } else if (n < Match_FileBytes) {
        fit = MATCH_FILE_SHORTER;
    }
    // Only whole fields that the stored size claims and the file really holds are read.
    const std::size_t limit = std::min(static_cast<std::size_t>(std::max(n, 0)), bytes.size());
    std::size_t at = 0;
    int present = 0;
    ForEachField(m, [&](int& v) {
        if (at + 4 <= limit) v = IntAt(bytes, at), ++present;
        at += 4;
    });
    ClampRecord(m, present);
    return fit;
}

bool MatchFile_Write(const std::string& path, const Match_File& m) {
    const std::vector<std::uint8_t> bytes = MatchFile_Encode(m);
    return File_ReplaceAtomically(path, bytes.data(), bytes.size());
}

bool MatchFile_Read(const std::string& path, Match_File& m, MatchFileFit& fit) {
    std::vector<std::uint8_t> bytes;
    // A longer record than ours is read only as far as our fields; no more is ever needed.
    if (!File_ReadRegular(path, File_ReadLimit, bytes)) return false;
    fit = MatchFile_Decode(bytes, m);
    // A record cut before its level (an empty file, a few bytes) holds no match to resume; any
    // level it does hold has been brought to one the game has.
    return m.LevelCrt != 0;
}
