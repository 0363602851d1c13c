#include "data/saved_match.h"

#include "engine/stream.h"

#include <algorithm>

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
    ForEachField(m, [&](int& v) {
        if (at + 4 <= limit) v = IntAt(bytes, at);
        at += 4;
    });
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
    return true;
}
