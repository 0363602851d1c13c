#include "app/match.h"

#include "app/buttons.h"
#include "app/level_flow.h"
#include "app/level_start.h"
#include "app/main_loop.h"
#include "app/resources.h"
#include "app/screens.h"
#include "board/clock.h"
#include "board/hammers.h"
#include "board/matching.h"
#include "board/table.h"
#include "data/config.h"
#include "data/level_file.h"
#include "data/players.h"
#include "engine/frame.h"
#include "engine/gfx.h"
#include "engine/input.h"
#include "engine/stream.h"
#include "engine/system.h"

#include <vector>

int LevelFirst = 0;
int PlayedTime = 0;
int LevelCrt_IsRunning = 0;
int ResumeDialogX = 0, ResumeDialogY = 0;
std::vector<ButtonAnim*> ResumeButtons;

namespace {

// Puts a record's counters into the running match. The clock's counters belong to the level
// in progress: they are taken only when that level's board is the one being played.
void Match_Apply(const Match_File& m, bool level_in_progress) {
    Lives = m.Lives;
    Score = m.Score;
    LevelFirst = m.LevelFirst;
    LevelCrt = m.LevelCrt;
    PlayedTime = m.PlayedTime;
    Relaxed_Mode = m.Relaxed_Mode;
    LevelCrt_IsRunning = m.LevelCrt_IsRunning;
    if (!level_in_progress) return;
    Hammer_Points = m.Hammer_Points;
    Time_Left = m.Time_Left;
    Time_Bought = m.Time_Bought;
    Score_Start_Level = m.Score_Start_Level;
}

// The match file's record, with its warnings; false when it cannot be read.
bool Match_ReadRecord(Match_File& m) {
    MatchFileFit fit = MATCH_FILE_EXACT;
    if (!MatchFile_Read(Match_FilePath(Player_Crt, ".jmm"), m, fit)) {
        Notify("Match_Load(): cant open match file!");
        return false;
    }
    if (fit == MATCH_FILE_LONGER) Notify("Match_Load(): size read bigger! Newer version?");
    if (fit == MATCH_FILE_SHORTER) Notify("Match_Load(): size read smaller! Older version?");
    return true;
}

} // namespace

std::string Match_FilePath(int slot, const char* ext) {
    return Config_Dir + "/match_" + std::to_string(slot) + ext;
}

bool MatchExists() {
    return FileType(Match_FilePath(Player_Crt, ".jmm")) == 1;
}

void Match_DeleteFiles(int slot) {
    for (const char* ext : {".jmm", ".lev"}) {
        const std::string path = Match_FilePath(slot, ext);
        File_RemoveStaleTemporaries(path);
        if (FileType(path) == 1) DeleteFile(path);
    }
}

void NewMatch() {
    Score_NewGame();
    LevelFirst = LevelCrt;
    PlayedTime = 0;
    Match_DeleteFiles(Player_Crt);
}

Match_File Match_Record(int level) {
    Match_File m;
    m.size = Match_FileBytes;
    m.Lives = Lives;
    m.Score = Score;
    m.LevelFirst = LevelFirst;
    m.LevelCrt = level;
    m.PlayedTime = PlayedTime;
    m.LevelCrt_IsRunning = LevelCrt_IsRunning;
    m.Relaxed_Mode = Relaxed_Mode;
    m.Hammer_Points = Hammer_Points;
    m.Score_Start_Level = Score_Start_Level;
    m.Time_Left = Time_Left;
    m.Time_Bought = Time_Bought;
    return m;
}

void SaveMatchFile(int level) {
    if (!MatchFile_Write(Match_FilePath(Player_Crt, ".jmm"), Match_Record(level)))
        RuntimeError("cant create match file!");
}

void SaveMatch(int level, int running) {
    LevelCrt_IsRunning = running;
    if (running == 1) {
        std::string error;
        if (!SaveLevelFile(Match_FilePath(Player_Crt, ".lev"), &error)) RuntimeError(error);
    }
    SaveMatchFile(level);
    WriteConfigBin();
}

bool LoadMatchFile() {
    Match_File m;
    if (!Match_ReadRecord(m)) return false;
    Match_Apply(m, true);
    return true;
}

bool LoadMatch() {
    Match_File m;
    if (!Match_ReadRecord(m)) return false;
    Match_Apply(m, true);
    if (LevelCrt_IsRunning == 1) {
        std::string error;
        if (LoadLevelFile(Match_FilePath(Player_Crt, ".lev"), &error)) {
            Match_Apply(m, true);
            return true;
        }
        // The board left in progress is gone or damaged: the level starts afresh instead.
        Notify("The board of the saved match could not be read; the level starts again.\n" + error);
        LevelCrt_IsRunning = 0;
    }
    LevelStart_UseEmbedded();
    const bool loaded = LoadLevel();
    Match_Apply(m, false);
    LevelCrt_IsRunning = 0;
    return loaded;
}

void AddPlayedTime() {
    PlayedTime = Trunc(PlayedTime + DeltaMs);
}

void OpenResumeDialog() {
    ResumeDialogX = ScreenCentreX - 200;
    ResumeDialogY = ScreenCentreY - 115;
    if (ResumeButtons.empty()) {
        const int y = ResumeDialogY + 210 - MenuButtonH;
        ResumeButtons.push_back(
            ButtonAnim::CreateType(BUTTON_MENU, ResumeDialogX + 32, y, "Resume", ResumeMatch, 0));
        ResumeButtons.push_back(ButtonAnim::CreateType(
            BUTTON_MENU, ResumeDialogX + 368 - MenuButtonW, y, "New match", ResumeNewMatch, 0));
    }
    OpenDialog(ResumeDialogUpdate, ResumeDialogDraw, 0);
}

void ResumeDialogUpdate() {
    for (ButtonAnim* b : ResumeButtons)
        b->Update();
    if (DialogUpdateFn == ResumeDialogUpdate && KeyHit(VK_ESCAPE) > 0) CloseDialog();
}

void ResumeDialogDraw() {
    SetBlend(BLEND_ALPHA);
    DrawImageRect(ImgFrame, static_cast<float>(ResumeDialogX), static_cast<float>(ResumeDialogY),
                  400, 230, 0);
    SetImageFont(FontPS30);
    SetColor(250, 250, 200);
    DrawText("Resume Current Match ?", static_cast<float>(ResumeDialogX + 48),
             static_cast<float>(ResumeDialogY + 10));
    SetColor(255, 255, 255);
    for (ButtonAnim* b : ResumeButtons)
        b->Draw();
}

void ResumeMatch() {
    NewMusicPending = 1;
    LevelStart_UseEmbedded();
    SetGameState(STATE_LEVEL_INTRO); // its entry loads level LevelCrt afresh
    LoadMatch();                     // then the board left in progress and its clock
    CloseDialog();
}

void ResumeNewMatch() {
    NewMatch();
    SetGameState(STATE_LEVEL_CHOOSER);
    CloseDialog();
}
