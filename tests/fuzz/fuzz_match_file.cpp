// The saved match's record: any file reads as a record (fields past what it holds or claims
// stay 0), and the record saved reads back the same.
#include "data/saved_match.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool Same(const Match_File& a, const Match_File& b) {
    return MatchFile_Encode(a) == MatchFile_Encode(b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    Match_File decoded;
    const MatchFileFit fit = MatchFile_Decode(bytes, decoded);
    FUZZ_CHECK(fit == MATCH_FILE_EXACT || fit == MATCH_FILE_LONGER || fit == MATCH_FILE_SHORTER);
    if (size >= 4 && fit == MATCH_FILE_EXACT && size >= std::size_t(Match_FileBytes))
        FUZZ_CHECK(MatchFile_Encode(decoded) ==
                   std::vector<std::uint8_t>(data, data + Match_FileBytes));

    const std::string path = Fuzz_ScratchDir() + "/match_0.jmm";
    Fuzz_WriteFile(path, data, size);
    Match_File read;
    MatchFileFit read_fit = MATCH_FILE_EXACT;
    FUZZ_CHECK(MatchFile_Read(path, read, read_fit));
    FUZZ_CHECK(read_fit == fit && Same(read, decoded));

    Match_File saved = decoded;
    saved.size = Match_FileBytes;
    FUZZ_CHECK(MatchFile_Write(path, saved));
    FUZZ_CHECK(MatchFile_Read(path, read, read_fit));
    FUZZ_CHECK(read_fit == MATCH_FILE_EXACT && Same(read, saved));
    return 0;
}
