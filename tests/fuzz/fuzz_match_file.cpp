// The saved match's record: any file reads as a record the game can play (fields past what it
// holds or claims stay 0), and the record saved reads back the same.
#include "data/config.h"
#include "data/saved_match.h"
#include "tests/fuzz/fuzz_support.h"

#include <algorithm>

namespace {

bool Same(const Match_File& a, const Match_File& b) {
    return MatchFile_Encode(a) == MatchFile_Encode(b);
}

void CheckRanges(const Match_File& m) {
    // Fields the file lacks stay 0; any level read is one the game has.
    FUZZ_CHECK(m.LevelCrt == 0 || (m.LevelCrt >= 1 && m.LevelCrt <= Levels_Count));
    FUZZ_CHECK(m.LevelFirst == 0 || (m.LevelFirst >= 1 && m.LevelFirst <= Levels_Count));
    FUZZ_CHECK(m.Lives >= 0 && m.Score >= 0 && m.PlayedTime >= 0 && m.Hammer_Points >= 0);
    FUZZ_CHECK(m.LevelCrt_IsRunning == 0 || m.LevelCrt_IsRunning == 1);
    FUZZ_CHECK(m.Time_Left >= 0 && m.Time_Bought >= 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    Match_File decoded;
    const MatchFileFit fit = MatchFile_Decode(bytes, decoded);
    FUZZ_CHECK(fit == MATCH_FILE_EXACT || fit == MATCH_FILE_LONGER || fit == MATCH_FILE_SHORTER);
    CheckRanges(decoded);

    const std::string path = Fuzz_ScratchDir() + "/match_0.jmm";
    Fuzz_WriteFile(path, data, size);
    Match_File read;
    MatchFileFit read_fit = MATCH_FILE_EXACT;
    // Only a record cut before its level is refused: it holds no match to resume.
    FUZZ_CHECK(MatchFile_Read(path, read, read_fit) == (decoded.LevelCrt != 0));
    FUZZ_CHECK(read_fit == fit && Same(read, decoded));

    // Saved whole, as the game saves it: a level always set.
    Match_File saved = decoded;
    saved.size = Match_FileBytes;
    saved.LevelFirst = std::max(saved.LevelFirst, 1);
    saved.LevelCrt = std::max(saved.LevelCrt, 1);
    FUZZ_CHECK(MatchFile_Write(path, saved));
    FUZZ_CHECK(MatchFile_Read(path, read, read_fit));
    FUZZ_CHECK(read_fit == MATCH_FILE_EXACT && Same(read, saved));
    return 0;
}
