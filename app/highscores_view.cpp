#include "app/highscores_view.h"

#include "app/buttons.h"
#include "app/level_flow.h"
#include "app/main_loop.h"
#include "app/main_menu.h"
#include "app/match.h"
#include "app/resources.h"
#include "board/matching.h"
#include "data/players.h"
#include "engine/gfx.h"
#include "engine/input.h"

#include <cstdio>
#include <vector>

int Highscore_Highlight = -1;
int HighscoreX = 110, HighscoreY = 165;

namespace {

std::vector<ButtonAnim*> HighscoreButtons;

struct Column {
    const char* head;
    int head_x, row_x;
};
// Numbers sit under the middle of their heads; the name and score start where theirs do.
constexpr Column Columns[] = {
    {"User", 34, 34},          {"Score", 114, 114},      {"Total Time", 194, 194},
    {"First Level", 294, 326}, {"Last Level", 394, 426},
};

constexpr int Column_HeadRoom = 94;

std::string RowText(const Highscore_Slot& row, int column) {
    switch (column) {
    case 0:
        return Highscore_Name(row);
    case 1:
        return std::to_string(row.score);
    case 2:
        return FormatLevelTime(row.played_time);
    case 3:
        return std::to_string(row.start_level);
    default:
        return std::to_string(row.end_level);
    }
}

void DrawRow(int i, int y) {
    const Highscore_Slot& row = Highscores[i];
    if (i == Highscore_Highlight) {
        SetColor(64, 64, 192);
        SetAlpha(0.5f);
        DrawRect(static_cast<float>(HighscoreX), static_cast<float>(y), 552, 18);
        SetAlpha(1.0f);
        SetColor(255, 255, 64);
    } else {
        SetColor(0, 255, 255);
    }
    for (int c = 0; c < static_cast<int>(std::size(Columns)); ++c)
        DrawText(RowText(row, c), static_cast<float>(HighscoreX + Columns[c].row_x),
                 static_cast<float>(y));
}

} // namespace

Highscore_Slot MakeHighscoreEntry(int endLevel) {
    Highscore_Slot e;
    e.user_id = Player_Crt;
    e.score = Score;
    e.start_level = LevelFirst;
    e.end_level = endLevel;
    e.played_time = PlayedTime / 1000;
    const bool known = Player_Crt >= 0 && Player_Crt < Players_Max;
    Highscore_SetName(e, known ? Player_Names[Player_Crt] : std::string());
    return e;
}

int Highscores_EnterMatch(int endLevel) {
    const int rank = FindHighscoreRank(Score);
    if (rank == -1) return -1;
    InsertHighscore(rank, MakeHighscoreEntry(endLevel));
    SaveHighscores();
    return rank;
}

void OpenHighscores(int highlight) {
    Highscore_Highlight = highlight;
    HighscoreX = 110;
    HighscoreY = 165;
    if (HighscoreButtons.empty()) {
        HighscoreButtons.push_back(ButtonAnim::CreateType(BUTTON_MENU, HighscoreX + 201,
                                                          HighscoreY + 244, "Ok", CloseDialog, 0));
        HighscoreButtons.push_back(ButtonAnim::CreateType(BUTTON_MENU, HighscoreX + 382,
                                                          HighscoreY + 244, "Reset HighScore",
                                                          OpenResetHighscores, 0));
    }
    LoadHighscores();
    OpenDialog(HighscoresUpdate, HighscoresDraw, 0);
}

void HighscoresUpdate() {
    if (KeyHit(VK_ESCAPE) > 0) {
        CloseDialog();
        return;
    }
    for (ButtonAnim* b : HighscoreButtons) {
        b->Update();
        if (DialogUpdateFn != HighscoresUpdate) return; // a button closed or replaced the view
    }
}

void HighscoresDraw() {
    SetBlend(BLEND_ALPHA);
    SetColor(255, 255, 255);
    DrawImage(ImgHighscores, static_cast<float>(HighscoreX), static_cast<float>(HighscoreY), 0);
    SetImageFont(FontPS38);
    DrawTextCentered(MenuTexts[6], HighscoreX + ImageWidth(ImgHighscores) / 2, HighscoreY + 37);
    SetImageFont(FontPS28);
    SetColor(255, 255, 0);
    for (const Column& c : Columns) {
        // The heads stand 100 px apart; a wider one is narrowed so it never runs into the next.
        const int w = TextWidth(c.head);
        const float sx = w > Column_HeadRoom ? static_cast<float>(Column_HeadRoom) / w : 1.0f;
        SetScale(sx, 1.0f);
        DrawText(c.head, static_cast<float>(HighscoreX + c.head_x),
                 static_cast<float>(HighscoreY + 64));
    }
    SetScale(1.0f, 1.0f);
    SetImageFont(FontPS20);
    for (int i = 0; i < Highscores_Rows; ++i)
        if (Highscores[i].user_id != -1) DrawRow(i, HighscoreY + 92 + 18 * i);
    SetColor(255, 255, 255);
    for (ButtonAnim* b : HighscoreButtons)
        b->Draw();
}

void OpenResetHighscores() {
    OpenDialog(ResetHighscoresUpdate, ResetHighscoresDraw, 0);
}

void ResetHighscoresUpdate() {
    const bool yes = KeyHit('Y') > 0, no = KeyHit('N') > 0;
    const bool escape = KeyHit(VK_ESCAPE) > 0;
    for (ButtonAnim* b : QuitDialogButtons) {
        b->Update();
        const bool pushed = b->Pushed();
        if (pushed && b->id == DIALOG_YES) return ResetHighscores();
        if (pushed && b->id == DIALOG_NO) return CloseDialog();
    }
    if (yes) return ResetHighscores();
    if (no || escape) CloseDialog();
}

void ResetHighscoresDraw() {
    SetBlend(BLEND_ALPHA);
    SetColor(255, 255, 255);
    DrawImageRect(ImgFrame, static_cast<float>(QuitDialogX), static_cast<float>(QuitDialogY), 400,
                  230, 0);
    SetImageFont(FontPS30);
    DrawText("Reset HighScores ?", static_cast<float>(QuitDialogX + 48),
             static_cast<float>(QuitDialogY + 40));
    for (ButtonAnim* b : QuitDialogButtons)
        b->Draw();
}

void ResetHighscores() {
    Highscores_Clear();
    CloseDialog();
}
