// Level files and saved boards: any bytes are either refused with a reason, or read into values
// the rules can use, written back unchanged, and loaded as a board that plays a few seconds.
#include "board/board.h"
#include "board/gravity.h"
#include "board/matching.h"
#include "board/ripple.h"
#include "board/swap.h"
#include "board/table.h"
#include "data/level_file.h"
#include "engine/frame.h"
#include "engine/shell.h"
#include "engine/system.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

void CheckRanges(const LevelFileData& d) {
    const LevelSettings& s = d.settings;
    FUZZ_CHECK(s.table_dx >= 1 && s.table_dx <= LevelFile_MaxSide);
    FUZZ_CHECK(s.table_dy >= 1 && s.table_dy <= LevelFile_MaxSide);
    FUZZ_CHECK(s.time >= LevelFile_MinTime && s.time <= LevelFile_MaxTime);
    FUZZ_CHECK(d.cells.size() == static_cast<std::size_t>(s.table_dx) * s.table_dy);
    for (int k = 0; k < Piece_Kinds; ++k)
        FUZZ_CHECK(d.weights[k] >= 0 && d.weights[k] <= Piece_BagLimit);
    for (const LevelDataCell& c : d.cells) {
        FUZZ_CHECK(c.color >= 0 && c.color < Piece_Kinds);
        FUZZ_CHECK(c.background >= 0 && c.background <= 2 && c.locks >= 0 && c.locks <= 2);
        FUZZ_CHECK(c.ContTile >= -1);
    }
}

// What the file holds survives a save of the board: the writer's bytes read back the same.
void CheckRoundTrip(const LevelFileData& d) {
    const std::vector<std::uint8_t> bytes = LevelFile_Write(d.settings, d.weights, d.cells);
    LevelFileData again;
    std::string error;
    FUZZ_CHECK(LevelFile_Parse(bytes.data(), bytes.size(), 1, again, error));
    FUZZ_CHECK(again.warnings.empty());
    const LevelSettings &a = d.settings, &b = again.settings;
    FUZZ_CHECK(a.table_dx == b.table_dx && a.table_dy == b.table_dy && a.time == b.time);
    FUZZ_CHECK(a.ShieldPercent == b.ShieldPercent && a.LaserPercent == b.LaserPercent &&
               a.GoldenPercent == b.GoldenPercent && a.BombPercent == b.BombPercent);
    for (int k = 0; k < Piece_Kinds; ++k)
        FUZZ_CHECK(d.weights[k] == again.weights[k]);
    for (std::size_t i = 0; i < d.cells.size(); ++i) {
        const LevelDataCell &x = d.cells[i], &y = again.cells[i];
        FUZZ_CHECK(x.void_ == y.void_ && x.background == y.background && x.color == y.color &&
                   x.locks == y.locks && x.ContTile == y.ContTile && x.autospawn == y.autospawn &&
                   x.bomb == y.bomb && x.laser == y.laser && x.bg_initial == y.bg_initial);
    }
}

void PlayBoard() {
    GameState = STATE_PLAYING;
    Intro_Active = 0;
    Hint_Timer = 300; // a hint is looked for within the run
    FrameCounter = 1;
    Score_NewGame();
    DeltaMs = 50.0f;
    DeltaSec = 0.05f;
    for (int i = 0; i < 40; ++i)
        Table_Update();
    (void)Board_StateJson();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = [] {
        System_SetHeadless(true);
        Board_Init(false);
        return true;
    }();
    (void)ready;
    LevelFileData parsed;
    std::string error;
    if (!LevelFile_Parse(data, size, 1, parsed, error)) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    FUZZ_CHECK(parsed.warnings.size() <= 2);
    CheckRanges(parsed);
    CheckRoundTrip(parsed);
    Fuzz_Embed("fuzz/level.lev", data, size);
    SeedRnd(7);
    Fuzz_Guard([] {
        FUZZ_CHECK(LoadLevelFile("incbin::fuzz/level.lev"));
        PlayBoard();
    });
    return 0;
}
