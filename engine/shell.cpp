#include "engine/shell.h"

int GameState = STATE_MAIN_MENU;
Shell_Calls Shell;

void Shell_SetGameState(int state) {
    if (Shell.SetGameState) Shell.SetGameState(state);
}

void Shell_OpenTimeWarningDialog() {
    if (Shell.OpenTimeWarningDialog) Shell.OpenTimeWarningDialog();
}

void Shell_OpenTimeUpDialog() {
    if (Shell.OpenTimeUpDialog) Shell.OpenTimeUpDialog();
}

void Shell_BuildPanelButton() {
    if (Shell.Panel_BuildButton) Shell.Panel_BuildButton();
}
