// The player screen (ten slots to choose, name or reset) and the first-start name dialog.
#pragma once

#include "app/buttons.h"

#include <string>
#include <vector>

extern std::vector<ButtonAnim*> PlayerButtons; // one per slot, id = slot number
extern ButtonAnim* PlayerResetButton;
extern ButtonAnim* PlayerContinueButton;
extern ButtonAnim* PlayerMenuButton;
extern ButtonAnim* Player_Selected; // the current player's slot button, or null
extern ButtonAnim* Name_Editing;    // the slot button whose name is being typed, or null

constexpr int Name_MaxLength = 9;

extern std::string Typed_Name;
extern int Name_Cursor;
extern int Name_InUse; // 1 when Typed_Name equals another slot's name
extern int Name_BlinkOn, Name_BlinkTimer;

extern int NameDialogX, NameDialogY;
extern ButtonAnim* NameDialogOk;
extern int Dialog_Cursor;

void BuildPlayerScreen();
void EnterPlayerScreen();
void PlayerScreen();

// A slot button's push: makes the slot current; a free slot is reset and asks for a name.
void SelectSlot(ButtonAnim* button);
// Resets the current player's progress, name and saved match.
void ResetPlayer();

void CheckNameInUse();
void NameEntryKeys();
void DrawTypedName();
void CommitName();

// Side buttons of the player screen, and those shown now: only "Main menu" without a selected
// slot; "Reset" and "Main menu" while no name is typed; "Continue" while the name is free; none
// while the name is empty.
std::vector<ButtonAnim*> PlayerSideButtonsShown();
void PlayerContinue();
void PlayerMainMenu();
void PlayerReset();

// Reset confirmation, drawn in the quit dialog's frame with its "Yes"/"No" buttons.
void ResetDialogUpdate();
void ResetDialogDraw();

// First-start name dialog.
void OpenNameDialog();
void NameDialogUpdate();
void NameDialogDraw();
void NameDialogOkAction();
