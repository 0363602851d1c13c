#include "app/player_screen.h"

#include "app/main_loop.h"
#include "app/main_menu.h"
#include "app/match.h"
#include "app/resources.h"
#include "app/screens.h"
#include "audio/sound_fx.h"
#include "board/clock.h"
#include "data/config.h"
#include "data/level_file.h"
#include "data/players.h"
#include "engine/gfx.h"
#include "engine/input.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

std::vector<ButtonAnim*> PlayerButtons;
ButtonAnim* PlayerResetButton = nullptr;
ButtonAnim* PlayerContinueButton = nullptr;
ButtonAnim* PlayerMenuButton = nullptr;
ButtonAnim* Player_Selected = nullptr;
ButtonAnim* Name_Editing = nullptr;

std::string Typed_Name;
int Name_Cursor = 0;
int Name_InUse = 0;
int Name_BlinkOn = 0, Name_BlinkTimer = 500;

int NameDialogX = 200, NameDialogY = 175;
ButtonAnim* NameDialogOk = nullptr;
int Dialog_Cursor = 0;

namespace {

constexpr int Blink_Ms = 500;

// Push functions take no argument, so each slot button gets its own.
template <int Slot> void PushSlot() {
    if (Slot < static_cast<int>(PlayerButtons.size())) SelectSlot(PlayerButtons[Slot]);
}

template <std::size_t... I>
constexpr std::array<PushFn, sizeof...(I)> SlotPushes(std::index_sequence<I...>) {
    return {PushSlot<static_cast<int>(I)>...};
}

constexpr auto Slot_Push = SlotPushes(std::make_index_sequence<Players_Max>{});

void PlayRefusal() {
    Snd_Play(SND_REFUSAL, 0, 1.0f, 1.0f, 0);
}

void StartTyping(const std::string& name) {
    Typed_Name = name;
    Name_Cursor = 0;
    Name_BlinkTimer = Blink_Ms;
    Name_BlinkOn = 0;
    FlushKeys();
}

// A gamepad spells a name without a keyboard: Up and Down turn the letter before the cursor
// through these, in order, and Insert (the pad's X) puts in a new letter at the cursor.
constexpr std::string_view Letter_Wheel =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ";

void InsertLetter(int& cursor) {
    if (static_cast<int>(Typed_Name.size()) >= Name_MaxLength) return;
    cursor = std::clamp(cursor, 0, static_cast<int>(Typed_Name.size()));
    Typed_Name.insert(Typed_Name.begin() + cursor, Letter_Wheel.front());
    ++cursor;
}

// With no letter before the cursor, a new one goes in first.
void TurnLetter(int& cursor, int step) {
    cursor = std::clamp(cursor, 0, static_cast<int>(Typed_Name.size()));
    if (cursor == 0) {
        InsertLetter(cursor);
        return;
    }
    char& c = Typed_Name[static_cast<std::size_t>(cursor - 1)];
    const int n = static_cast<int>(Letter_Wheel.size());
    const std::size_t at = Letter_Wheel.find(c);
    const int from = at == std::string_view::npos ? (step > 0 ? -1 : 0) : static_cast<int>(at);
    c = Letter_Wheel[static_cast<std::size_t>((from + step + n) % n)];
}

// The cursor and Home/End/arrows, Backspace and Delete on `cursor`, Up and Down turning a letter,
// Insert putting one in; returns the key that acted, 0 when none was hit. One key a pass, in a
// fixed order.
int EditingKeys(int& cursor) {
    const int length = static_cast<int>(Typed_Name.size());
    if (KeyHit(VK_UP)) {
        TurnLetter(cursor, 1);
        return VK_UP;
    }
    if (KeyHit(VK_DOWN)) {
        TurnLetter(cursor, -1);
        return VK_DOWN;
    }
    if (KeyHit(VK_INSERT)) {
        InsertLetter(cursor);
        return VK_INSERT;
    }
    if (KeyHit(VK_RIGHT)) {
        if (cursor < length) ++cursor;
        return VK_RIGHT;
    }
    if (KeyHit(VK_LEFT)) {
        if (cursor > 0) --cursor;
        return VK_LEFT;
    }
    if (KeyHit(VK_END)) {
        cursor = length;
        return VK_END;
    }
    if (KeyHit(VK_HOME)) {
        cursor = 0;
        return VK_HOME;
    }
    if (KeyHit(VK_BACK)) {
        if (cursor > 0) Typed_Name.erase(static_cast<std::size_t>(--cursor), 1);
        FlushKeys();
        return VK_BACK;
    }
    if (KeyHit(VK_DELETE)) {
        if (cursor < length) Typed_Name.erase(static_cast<std::size_t>(cursor), 1);
        FlushKeys();
        return VK_DELETE;
    }
    if (KeyHit(VK_TAB)) {
        FlushKeys();
        return VK_TAB;
    }
    return 0;
}

// Typed characters go in at `cursor` until the name is full. Enter, space and Escape end the
// pass while the name is empty or refused; control characters never enter a name (the keys
// above have acted on them already).
void TypeCharacters(int& cursor, bool refused) {
    while (static_cast<int>(Typed_Name.size()) < Name_MaxLength) {
        const int c = GetChar();
        if (c == 0) return;
        const bool ender = c == VK_RETURN || c == VK_SPACE || c == VK_ESCAPE;
        if (ender && (Typed_Name.empty() || refused)) return;
        if (c < VK_SPACE || c == 127 || c > 255) continue;
        cursor = std::clamp(cursor, 0, static_cast<int>(Typed_Name.size()));
        Typed_Name.insert(Typed_Name.begin() + cursor, static_cast<char>(c));
        if (cursor < Name_MaxLength) ++cursor;
    }
}

void BlinkCursor() {
    Name_BlinkTimer = static_cast<int>(static_cast<float>(Name_BlinkTimer) - DeltaMs);
    if (Name_BlinkTimer < 0) {
        Name_BlinkOn = 1 - Name_BlinkOn;
        Name_BlinkTimer = Blink_Ms;
    }
}

void DrawCursorBar(int x, int y, int h) {
    SetColor(250, 250, 150);
    DrawRect(static_cast<float>(x), static_cast<float>(y + 4), 12, static_cast<float>(h - 8));
    SetColor(255, 255, 255);
}

// With a gamepad connected, a name field says how to spell with it.
void DrawPadNameHint(int x, int y) {
    if (PadCount() == 0) return;
    Font* font = GetImageFont();
    SetImageFont(FontSans16);
    SetColor(200, 220, 255);
    DrawText("Up, Down: letter    X: add    Y: delete", static_cast<float>(x),
             static_cast<float>(y));
    SetColor(255, 255, 255);
    SetImageFont(font);
}

int PrefixWidth(int cursor) {
    cursor = std::clamp(cursor, 0, static_cast<int>(Typed_Name.size()));
    return TextWidth(Typed_Name.substr(0, static_cast<std::size_t>(cursor)));
}

void SaveSlotName(int slot, const std::string& name) {
    Player_Names[slot] = name;
    Player_MarkSlotInUse(slot, true);
    SetConfigValue("PLAYER" + std::to_string(slot), name);
    // The progress file follows at once, so the slot is still known as taken after a crash.
    WriteConfigBin();
}

void DrawSlotButtons() {
    SetImageFont(FontPS28);
    for (ButtonAnim* b : PlayerButtons) {
        b->Update();
        SetBlend(BLEND_ALPHA);
        b->Draw();
        if (b == Name_Editing) {
            CheckNameInUse();
            NameEntryKeys();
            if (Name_Editing) DrawTypedName(); // Enter may just have committed the name
        } else if (b == Player_Selected && !Name_Editing) {
            const float a = GetAlpha();
            SetAlpha(a / 3.0f);
            DrawImage(ImgButtonMenuSelected, static_cast<float>(b->x), static_cast<float>(b->y));
            SetAlpha(a);
        }
    }
}

void DrawEnterYourName() {
    SetImageFont(FontPS30);
    SetColor(250, 250, 150);
    const int x = static_cast<int>(Name_Editing->x + ImageWidth(ImgButtonMenuOn) * 0.5);
    DrawTextCentered("Enter your name", x, 30);
    SetColor(255, 255, 255);
}

} // namespace

void BuildPlayerScreen() {
    PlayerButtons.clear();
    const int h = MenuButtonH;
    int y = ScreenCentreY - (h + 8) * Players_Max / 2 + 30;
    for (int i = 0; i < Players_Max; ++i) {
        PlayerButtons.push_back(
            ButtonAnim::CreateType(BUTTON_MENU, 250, y, Player_Names[i], Slot_Push[i], i));
        y += h + 8;
    }
    PlayerResetButton = ButtonAnim::CreateType(BUTTON_MENU, 550, 270, "Reset", PlayerReset, 0);
    PlayerContinueButton =
        ButtonAnim::CreateType(BUTTON_MENU, 550, 320, "Continue", PlayerContinue, 0);
    PlayerMenuButton =
        ButtonAnim::CreateType(BUTTON_MENU, 550, 370, "Main menu", PlayerMainMenu, 0);
}

void EnterPlayerScreen() {
    Name_Editing = nullptr;
    Name_InUse = 0;
    Player_Selected = nullptr;
    if (Player_Crt >= 0 && Player_Crt < Players_Max) Typed_Name = Player_Names[Player_Crt];
    for (std::size_t i = 0; i < PlayerButtons.size(); ++i) {
        PlayerButtons[i]->caption = Player_Names[i];
        if (PlayerButtons[i]->id == Player_Crt) Player_Selected = PlayerButtons[i];
    }
}

void PlayerScreen() {
    DrawImage(ImgMenuBackground, 0, 0, 0);
    DrawSlotButtons();
    for (ButtonAnim* b : PlayerSideButtonsShown())
        b->UpdateDraw();
    if (Name_Editing) {
        DrawEnterYourName();
    } else if (KeyHit(VK_ESCAPE)) {
        PlayerMainMenu();
    }
}

void SelectSlot(ButtonAnim* button) {
    if (Name_Editing || !button || button->id < 0 || button->id >= Players_Max) return;
    Player_Crt = button->id;
    SetConfigValue("PLAYER_CRT", std::to_string(Player_Crt));
    Player_Selected = button;
    if (Player_SlotInUse(Player_Crt)) {
        // The player goes on where they left off, not at the previous player's level.
        const int last = Last_Level[Player_Crt];
        LevelCrt = Level_Available(last) ? last : 1;
        Typed_Name = Player_Names[Player_Crt];
        return;
    }
    ResetPlayer();
    button->caption.clear();
    Name_Editing = button;
    StartTyping("");
}

void ResetPlayer() {
    const int p = Player_Crt;
    if (p < 0 || p >= Players_Max) return;
    Player_ResetTables(p);
    SetConfigValue("MUSIC_VOL", Config_FormatReal(MusicVolume[p]));
    SetConfigValue("FX_VOL", Config_FormatReal(FxVolume[p]));
    SetConfigValue("AMBIENT_VOL", Config_FormatReal(AmbientVolume[p]));
    Player_Names[p].clear();
    if (Player_Selected) Player_Selected->caption.clear();
    LevelCrt = 1;
    NewMatch(); // the slot's saved match goes with its player
}

void CheckNameInUse() {
    Name_InUse = 0;
    for (int i = 0; i < Players_Max; ++i) {
        if (!Typed_Name.empty() && Typed_Name == Player_Names[i]) {
            Name_InUse = 1;
            break;
        }
    }
    if (Name_InUse && Name_Editing) {
        // The small font keeps the line clear of the slot column, level with the name.
        SetImageFont(FontPS20);
        const int y = Name_Editing->y + (MenuButtonH - TextHeight()) / 2;
        SetColor(200, 0, 0);
        DrawText("This name is already in use", 8, static_cast<float>(y));
        SetColor(255, 255, 255);
        SetImageFont(FontPS28);
    }
}

void NameEntryKeys() {
    if (!Name_Editing) return;
    if (EditingKeys(Name_Cursor) == 0 && KeyHit(VK_RETURN)) {
        if (!Typed_Name.empty() && Name_InUse == 0) {
            CommitName();
            FlushKeys();
            return;
        }
    }
    TypeCharacters(Name_Cursor, Name_InUse == 1);
    BlinkCursor();
}

void DrawTypedName() {
    if (!Name_Editing) return;
    const int w = TextWidth(Typed_Name), h = TextHeight();
    const int x = Name_Editing->x + MenuButtonW / 2 - w / 2;
    const int y = Name_Editing->y + MenuButtonH / 2 - h / 2;
    if (Name_BlinkOn == 1) DrawCursorBar(x + PrefixWidth(Name_Cursor), y, h);
    SetColor(250, 250, 150);
    DrawText(Typed_Name, static_cast<float>(x), static_cast<float>(y));
    SetColor(255, 255, 255);
    DrawPadNameHint(Name_Editing->x + MenuButtonW + 12, Name_Editing->y + MenuButtonH / 2 - 8);
}

void CommitName() {
    if (Name_InUse == 1) {
        PlayRefusal();
        return;
    }
    if (!Name_Editing) return;
    SaveSlotName(Name_Editing->id, Typed_Name);
    Name_Editing->caption = Typed_Name;
    Name_Editing = nullptr;
}

std::vector<ButtonAnim*> PlayerSideButtonsShown() {
    if (!Player_Selected) return {PlayerMenuButton};
    if (Typed_Name.empty()) return {};
    std::vector<ButtonAnim*> shown;
    if (!Name_Editing) shown = {PlayerResetButton, PlayerMenuButton};
    if (Name_InUse == 0) shown.push_back(PlayerContinueButton);
    return shown;
}

void PlayerContinue() {
    if (Name_InUse == 1) {
        PlayRefusal();
    } else if (Name_Editing) {
        CommitName();
        FlushKeys();
    } else {
        if (MatchExists() && LoadMatch()) {
            OpenResumeDialog();
            return;
        }
        Relaxed_Mode = 0;
        SetGameState(STATE_LEVEL_CHOOSER);
    }
}

void PlayerMainMenu() {
    const int p = Player_Crt;
    if (p >= 0 && p < Players_Max) {
        // Choosing the slot put the level where this player stands (level 1 for a new one);
        // only a level the game does not have falls back to the first.
        if (!Level_Available(LevelCrt)) LevelCrt = 1;
        Last_Level[p] = LevelCrt;
    }
    if (PlayerButton) PlayerButton->caption = PlayerCaption();
    SetGameState(STATE_MAIN_MENU);
}

void PlayerReset() {
    OpenDialog(ResetDialogUpdate, ResetDialogDraw, 0);
}

void ResetDialogUpdate() {
    const bool escape = KeyHit(VK_ESCAPE) > 0;
    for (ButtonAnim* b : QuitDialogButtons) {
        b->Update();
        if (!b->Pushed()) continue;
        b->state = 0;
        if (b->id == DIALOG_YES) {
            ResetPlayer();
            SelectSlot(Player_Selected); // the emptied slot asks for its new name
        }
        CloseDialog();
        return;
    }
    if (escape) CloseDialog();
}

void ResetDialogDraw() {
    DrawImageRect(ImgFrame, static_cast<float>(QuitDialogX), static_cast<float>(QuitDialogY), 400,
                  230, 0);
    SetImageFont(FontPS30);
    DrawText("Reset player ?", static_cast<float>(QuitDialogX + 48),
             static_cast<float>(QuitDialogY + 40));
    for (ButtonAnim* b : QuitDialogButtons)
        b->Draw();
}

void OpenNameDialog() {
    NameDialogX = ScreenCentreX - 200;
    NameDialogY = ScreenCentreY - 125;
    if (!NameDialogOk)
        NameDialogOk = ButtonAnim::CreateType(BUTTON_MENU, NameDialogX + 40,
                                              NameDialogY + 250 - MenuButtonH - 20, "OK!",
                                              NameDialogOkAction, 0);
    First_Run = 0;
    Typed_Name.clear();
    Dialog_Cursor = 0;
    Name_BlinkTimer = Blink_Ms;
    Name_BlinkOn = 0;
    OpenDialog(NameDialogUpdate, NameDialogDraw, 0);
}

void NameDialogUpdate() {
    NameDialogOk->Update();
    if (!DialogActive) return; // "OK!" was pushed
    if (EditingKeys(Dialog_Cursor) == 0) {
        if (KeyHit(VK_RETURN) && !Typed_Name.empty()) {
            FlushKeys();
            NameDialogOkAction();
            return;
        }
        if (KeyHit(VK_ESCAPE)) {
            FlushKeys();
            return;
        }
    }
    TypeCharacters(Dialog_Cursor, false);
    BlinkCursor();
}

void NameDialogDraw() {
    const float alpha = GetAlpha();
    SetAlpha(1);
    SetColor(255, 255, 255);
    DrawImageRect(ImgFrame, static_cast<float>(NameDialogX), static_cast<float>(NameDialogY), 400,
                  250, 0);
    SetImageFont(FontPS30);
    DrawText("Enter your name", static_cast<float>(NameDialogX + 40),
             static_cast<float>(NameDialogY + 40));
    if (Name_BlinkOn == 1)
        DrawCursorBar(NameDialogX + 70 + PrefixWidth(Dialog_Cursor), NameDialogY + 80,
                      TextHeight());
    SetColor(250, 250, 150);
    DrawText(Typed_Name, static_cast<float>(NameDialogX + 70),
             static_cast<float>(NameDialogY + 80));
    SetColor(255, 255, 255);
    DrawPadNameHint(NameDialogX + 40, NameDialogY + 130);
    NameDialogOk->Draw();
    SetAlpha(alpha);
}

void NameDialogOkAction() {
    if (Typed_Name.empty()) return;
    Player_Crt = 0;
    SaveSlotName(0, Typed_Name);
    SetConfigValue("PLAYER_CRT", "0");
    LevelCrt = 1;
    Last_Level[0] = 1;
    if (PlayerButton) PlayerButton->caption = PlayerCaption();
    CloseDialog();
    NewMatch();
    SetGameState(STATE_LEVEL_INTRO);
}
