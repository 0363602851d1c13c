#include "app/level_start.h"

#include "app/game_screen.h"
#include "app/match.h"
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
int Level_SourceLevel = 0; // the level number the file is played as

bool LoadCurrent(std::string* error) {
    if (Level_SourceFile.empty()) return LoadLevel(error);
    Level_FileName = Level_SourceFile;
    return LoadLevelFile(Level_SourceFile, error);
}

bool StartMatch(int relaxed) {
    NewMatch();
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

bool LevelStart_NewMatchFromFile(const std::string& path, int relaxed, int level) {
    if (level > 0) LevelCrt = level;
    if (LevelCrt < 1) LevelCrt = 1; // the rules of big moves depend on a level number
    Level_SourceFile = path;
    Level_SourceLevel = LevelCrt;
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

bool LevelStart_LoadForIntro() {
    if (!Level_SourceFile.empty() && LevelCrt != Level_SourceLevel) Level_SourceFile.clear();
    return ReloadCurrentLevel();
}

void LevelStart_UseEmbedded() {
    Level_SourceFile.clear();
}
