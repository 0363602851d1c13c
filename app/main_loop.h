// The program's start-up and its single main loop: display constants, frame timing, the
// per-frame mouse state, the one modal dialog slot and the quit dialog.
#pragma once

#include "engine/frame.h"
#include "engine/shell.h"

#include <string>
#include <vector>

class ButtonAnim;

// Display (its size and centre, read by every layer, are in engine/frame.h).
extern int ScreenHz, ScreenDepth;
struct activeViewPort {
    int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};
extern activeViewPort ViewPort;
extern int DesktopWidth, DesktopHeight;

// Loop control. GameState itself, with the state codes, is in engine/shell.h; the frame timing
// and the per-frame mouse state are in engine/frame.h.
extern int PrevGameState; // the state to return to when a suspension ends
enum SuspendState : int {
    SUSPEND_NONE = 0,     // the window is active
    SUSPEND_STOPPED = 1,  // minimised, hidden, or full screen without the focus: the game stops
    SUSPEND_INACTIVE = 2, // a window that lost the focus: shown, but not updated
};
extern int SuspendKind; // one of SuspendState
extern int QuitRequested;

// The modal dialog slot.
using DialogFn = void (*)();
extern DialogFn DialogUpdateFn, DialogDrawFn;
extern int DialogActive, DialogPassInput;

extern std::vector<ButtonAnim*> QuitDialogButtons;
extern int QuitDialogX, QuitDialogY;
extern int HintCountdown; // ms before the menu offers the options tip; 0 never; -1 due

void OpenGameWindow();
void OpenDialog(DialogFn update, DialogFn draw, int passInput);
void CloseDialog();
void DialogUpdate();
void DialogDraw();
int DrawTextWrapped(const std::string& text, int x, int y, int width, int measureOnly);
void BuildQuitDialog();
void QuitDialogUpdate();
void QuitDialogDraw();
void TickHintCountdown();

// How a run is set up: a normal start, or one driven by the automation harness.
struct RunOptions {
    bool headless = false;
    std::string data_dir; // empty: the per-user data folder
    bool seed_given = false;
    unsigned seed = 0;
    int fixed_delta = 0; // ms per frame, 0: real time
    int frames = -1;     // main-loop passes to run, -1: until quit
    bool skip_logos = false;
    int desktop_w = 0, desktop_h = 0; // 0: ask the platform
};

// Start-up, logo sequence, main loop and the final save; returns the exit code.
int Game_Run(const RunOptions& options);
void MainLoopPass();
// Draws the maker's logo with "Loading..." and presents it: the first picture of the window.
void ShowFirstLogo();
// The rest of the logos: the maker's stays 2.5 s from when it went up, then the publisher's.
void LogoSequence(bool skip_waiting);
// Called by the harness around every pass (may be null).
extern void (*MainLoop_BeforePass)(int pass);
extern void (*MainLoop_BeforeFlip)(int pass);
extern void (*MainLoop_AfterPass)(int pass);
// Called once after start-up, before the first pass; returning false ends the run with code 2.
extern bool (*MainLoop_AfterStartup)();
extern int MainLoop_Passes; // passes run so far
