#include "app/level_start.h"

#include "app/game_screen.h"
#include "app/resources.h"
#include "board/board.h"
#include "board/clock.h"
#include "board/matching.h"
#include "board/swap.h"
#include "board/table.h"
#include "data/level_file.h"

#include <cstdio>

namespace {

// The file of a level started from a level file; empty for the embedded levels.
std::string Level_SourceFile;

bool LoadCurrent(std::string* error) {
    if (Level_SourceFile.empty()) return LoadLevel(error);
    Level_FileName = Level_SourceFile;
    return LoadLevelFile(Level_SourceFile, error);
}

bool StartMatch(int relaxed) {
    Score_NewGame();
    Relaxed_Mode = relaxed;
    if (!ReloadCurrentLevel()) return false;
    FrameCounter = 0;
    StartPlaying();
    return true;
}

} // namespace

bool LevelStart_NewMatch(int level, int relaxed) {
    if (level < 1) {
        std::fprintf(stderr, "snowmere: there is no level %d\n", level);
        return false;
    }
    LevelCrt = level;
    Level_SourceFile.clear();
    return StartMatch(relaxed);
}

bool LevelStart_NewMatchFromFile(const std::string& path, int relaxed) {
    if (LevelCrt < 1) LevelCrt = 1; // the rules of big moves depend on a level number
    Level_SourceFile = path;
    return StartMatch(relaxed);
}

bool ReloadCurrentLevel() {
    std::string error;
    if (LoadCurrent(&error)) return true;
    const std::string what =
        Level_SourceFile.empty() ? "level " + std::to_string(LevelCrt) : Level_SourceFile;
    std::fprintf(stderr, "snowmere: cannot load %s: %s\n", what.c_str(), error.c_str());
    return false;
}
