#include "app/match.h"

#include "board/matching.h"
#include "data/config.h"
#include "data/level_file.h"
#include "data/players.h"
#include "engine/stream.h"

// LATER(saved-match): writing, reading and resuming the match file join here.

int LevelFirst = 0;
int PlayedTime = 0;

std::string Match_FilePath(int slot, const char* ext) {
    return Config_Dir + "/match_" + std::to_string(slot) + ext;
}

bool MatchExists() {
    return FileType(Match_FilePath(Player_Crt, ".jmm")) == 1;
}

void Match_DeleteFiles(int slot) {
    for (const char* ext : {".jmm", ".lev"}) {
        const std::string path = Match_FilePath(slot, ext);
        if (FileType(path) == 1) DeleteFile(path);
    }
}

void NewMatch() {
    Score_NewGame();
    LevelFirst = LevelCrt;
    PlayedTime = 0;
    Match_DeleteFiles(Player_Crt);
}
