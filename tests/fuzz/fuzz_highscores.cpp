// The highscore table: any file is read as a table, or replaced by a fresh one; the rows read
// make the texts the view shows, take new entries, and save and read back unchanged.
#include "app/level_flow.h"
#include "data/config.h"
#include "data/highscores.h"
#include "tests/fuzz/fuzz_support.h"

#include <cstring>

namespace {

void CheckTable() {
    for (const Highscore_Slot& row : Highscores) {
        FUZZ_CHECK(Highscore_Name(row).size() <= std::size_t(Highscore_NameLength));
        (void)FormatLevelTime(row.played_time);
    }
    Highscore_Slot entry;
    entry.score = Highscores[3].score + 1;
    Highscore_SetName(entry, "Fuzzy");
    const int rank = FindHighscoreRank(entry.score);
    FUZZ_CHECK(rank >= -1 && rank < Highscores_Rows);
    InsertHighscore(rank, entry);
    if (rank >= 0) FUZZ_CHECK(Highscores[rank].score == entry.score);
    Highscore_Slot before[Highscores_Rows];
    std::copy(std::begin(Highscores), std::end(Highscores), before);
    SaveHighscores();
    LoadHighscores();
    FUZZ_CHECK(Highscores_Encode(Highscores) == Highscores_Encode(before));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Config_SetDir(Fuzz_ScratchDir());
    const std::string path = Config_Dir + "/highscores.dat";
    Fuzz_WriteFile(path, data, size);
    Fuzz_Guard([&] {
        InitHighscores();
        const bool kept = size == std::size_t(Highscores_FileBytes);
        // A table of the right length is taken as it is; any other is replaced by a fresh one.
        const std::vector<std::uint8_t> now = Fuzz_ReadFile(path);
        if (kept)
            FUZZ_CHECK(std::memcmp(now.data(), data, size) == 0);
        else
            FUZZ_CHECK(now.size() == std::size_t(Highscores_FileBytes) &&
                       Highscores[0].user_id == -1);
        CheckTable();
    });
    return 0;
}
