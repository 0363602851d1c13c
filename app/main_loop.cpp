#include "app/main_loop.h"

#include "app/buttons.h"
#include "app/dev_overlay.h"
#include "app/game_screen.h"
#include "app/keyboard_nav.h"
#include "app/level_chooser.h"
#include "app/level_start.h"
#include "app/main_menu.h"
#include "app/options_screen.h"
#include "app/panel.h"
#include "app/player_screen.h"
#include "app/resources.h"
#include "app/screens.h"
#include "app/tip_view.h"
#include "audio/music.h"
#include "audio/sound_fx.h"
#include "board/board.h"
#include "board/tips.h"
#include "data/config.h"
#include "data/highscores.h"
#include "engine/audio.h"
#include "engine/gfx.h"
#include "engine/input.h"
#include "engine/stream.h"
#include "engine/system.h"
#include "fx/effects.h"
#include "fx/particles.h"
#include "fx/scenery.h"
#include "fx/trig.h"

#include <SDL.h>

#include <cstdio>

int ScreenHz = 60, ScreenDepth = 0;
activeViewPort ViewPort;
int DesktopWidth = 0, DesktopHeight = 0;

int PrevGameState = STATE_MAIN_MENU;
int SuspendKind = SUSPEND_NONE;
int QuitRequested = 0;

DialogFn DialogUpdateFn = nullptr, DialogDrawFn = nullptr;
int DialogActive = 0, DialogPassInput = 0;

std::vector<ButtonAnim*> QuitDialogButtons;
int QuitDialogX = 200, QuitDialogY = 185;
int HintCountdown = 1800000;

void (*MainLoop_BeforePass)(int pass) = nullptr;
void (*MainLoop_BeforeFlip)(int pass) = nullptr;
void (*MainLoop_AfterPass)(int pass) = nullptr;
bool (*MainLoop_AfterStartup)() = nullptr;
int MainLoop_Passes = 0;

namespace {

RunOptions Options;
int LogoShownAtMs = 0; // when the maker's logo went up: it stays at least 2.5 s

void RecomputeCentre() {
    ScreenCentreX = Trunc(ScreenWidth * 0.5);
    ScreenCentreY = Trunc(ScreenHeight * 0.5);
}

// False when there is no display to show the game on.
bool ReadDesktopSize() {
    if (Options.desktop_w > 0 && Options.desktop_h > 0) {
        DesktopWidth = Options.desktop_w;
        DesktopHeight = Options.desktop_h;
        return true;
    }
    return Graphics_DesktopSize(&DesktopWidth, &DesktopHeight);
}

std::string DefaultDataDir() {
    char* pref = SDL_GetPrefPath("Brimlet", "Snowmere");
    std::string dir = pref ? pref : ".";
    SDL_free(pref);
    return dir;
}

// Draws "Loading..." at the bottom of a logo screen, presents it and decodes a music track
// while it shows: the first logo the menu tune, the second the next carol. The harness sees
// logo screens as passes -1 and -2.
void ShowLoading(int logo) {
    Music_DrawLoading(MUSIC_LOADING_PLAIN);
    if (MainLoop_BeforeFlip) MainLoop_BeforeFlip(-logo);
    Flip(-1);
    Music_LoadTrack(logo - 1, MUSIC_LOADING_NONE);
}

// The scene's layers and its first cloud cycle; the menu's landscape and the first one the
// introductions show start fully visible.
void StartScenery() {
    Scenery_Init();
    Clouds_Create(1.0f, 0.0f, 0.0f, 1.0f, 200.0f);
    Clouds_Start();
    PictureLevel[1] = 1.0f;
    PictureLevel[2] = 1.0f;
}

void DrawPauseDots() {
    Cls();
    SetImageFont(FontSans16);
    DrawTextCentered("...", ScreenCentreX, ScreenCentreY);
    Delay(10);
}

void HandleSuspension() {
    if (!AppSuspended()) {
        if (SuspendKind == SUSPEND_STOPPED) {
            SuspendKind = SUSPEND_NONE;
            if (WindowedMode) {
                Delay(50);
                OpenGameWindow();
            }
            GameState = PrevGameState;
        }
        if (SuspendKind == SUSPEND_INACTIVE) {
            SuspendKind = SUSPEND_NONE;
            if (WindowedMode) {
                Delay(50);
                OpenGameWindow();
            }
        }
        if (SuspendKind == SUSPEND_NONE) {
            Snd_UpdateDelayed(DeltaMs);
            Snd_UpdateDynamic(DeltaMs);
            Music_Update();
        }
        return;
    }
    Delay(100);
    if (SuspendKind == SUSPEND_NONE) {
        if (Input_WindowMinimized() || !WindowedMode || Input_WindowHidden()) {
            PrevGameState = GameState;
            GameState = STATE_SUSPENDED;
            SuspendKind = SUSPEND_STOPPED;
        } else {
            SuspendKind = SUSPEND_INACTIVE;
        }
    }
    Audio_Silence();
    Delay(10);
}

void SwitchToFullScreenWhenMaximised() {
    if (!WindowedMode || !Input_WindowMaximized()) return;
    WindowedMode = 0;
    Options_Windowed = 0; // the options screen's switch shows full screen too
    OpenGameWindow();
    SetConfigValue("WINDOWED_MODE", "0");
}

// The level chooser's buttons, the text tables, the main menu and the player screen. Built
// before the random numbers are seeded: a button draws its first shimmer frame at random, and
// a level started from the command line lays out the same board whatever screens exist.
void BuildScreens() {
    InitChooserTexts();
    BuildLevelChooser();
    InitTexts();
    BuildMainMenu();
    BuildPlayerScreen();
    BuildOptionsScreen();
}

// The window needs a desktop larger than itself to show its frame. The message names 1024x768,
// the smallest common desktop that fits, because that is what a player can act on. A headless
// run has no desktop and no window, so it leaves the setting alone, unless a test gives it a
// desktop to check.
bool DesktopTooSmallForWindow() {
    if (Options.headless && Options.desktop_w <= 0) return false;
    return (DesktopWidth <= 800 || DesktopHeight <= 600) && WindowedMode == 1;
}

// The rules below the shell reach the screens only through these.
void ConnectShell() {
    Shell.SetGameState = SetGameState;
    Shell.OpenTimeWarningDialog = OpenTimeWarningDialog;
    Shell.OpenTimeUpDialog = OpenTimeUpDialog;
    Shell.Panel_BuildButton = Panel_BuildButton;
}

} // namespace

void OpenGameWindow() {
    ScreenWidth = 800;
    ScreenHeight = 600;
    ScreenHz = 60;
    ScreenDepth = WindowedMode == 1 ? 0 : 32;
    DisplayOptions display;
    display.width = ScreenWidth;
    display.height = ScreenHeight;
    display.fullscreen = WindowedMode != 1;
    display.headless = Options.headless;
    display.title = "Brimlet : Snowmere";
    if (!Graphics_Open(display)) RuntimeError("Cannot open the game's display.");
    SetClsColor(0, 0, 0);
    ViewPort = {0, 0, ScreenWidth, ScreenHeight};
    RecomputeCentre();
}

void OpenDialog(DialogFn update, DialogFn draw, int passInput) {
    DialogUpdateFn = update;
    DialogDrawFn = draw;
    DialogPassInput = passInput;
    DialogActive = 1;
}

void CloseDialog() {
    DialogActive = 0;
}

void DialogUpdate() {
    if (!DialogActive) return;
    if (DialogUpdateFn) DialogUpdateFn();
    if (DialogPassInput) return;
    FlushKeys(); // the screen underneath sees nothing the dialog swallowed
    MouseHit(1);
    MouseHit(2);
    MouseHit(3);
    MouseMoved = 0;
    MouseLeftPrev = 0;
    MouseLeftPressed = 0;
}

void DialogDraw() {
    if (DialogActive && DialogDrawFn) DialogDrawFn();
}

int DrawTextWrapped(const std::string& text, int x, int y, int width, int measureOnly) {
    int height = 0;
    std::string line;
    auto emit = [&] {
        if (!measureOnly) DrawText(line, static_cast<float>(x), static_cast<float>(y + height));
        height += TextHeight();
        line.clear();
    };
    int n = static_cast<int>(text.size());
    int w = -1; // start of the word being walked, -1 on blanks
    int i = 0;
    for (; i < n; ++i) {
        char c = text[i];
        if (c == '\r') {
            emit();
            ++i; // the line feed after it
            w = -1;
            continue;
        }
        if (c == ' ')
            w = -1;
        else if (w == -1)
            w = i;
        line += c;
        if (TextWidth(line) < width) continue;
        int word_len = i - w + 1;
        if (w != -1 && word_len < static_cast<int>(line.size())) {
            // the unfinished word moves to the next line
            line.resize(line.size() - word_len);
            i = w - 1;
        } else if (w != -1 && line.size() > 1) {
            // a single word wider than the width: break it inside the word
            line.pop_back();
            i -= 1;
            w = i + 1;
        }
        emit();
        if (w != -1 && i == w - 1) w = -1;
    }
    if (i > 1) emit();
    return height;
}

static void QuitDialogPush(ButtonAnim* b) {
    if (b->id == DIALOG_YES || KeyDown('Y')) {
        QuitRequested = 1;
        CloseDialog();
    } else if (b->id == DIALOG_NO || KeyDown('N')) {
        CloseDialog();
    }
}

void BuildQuitDialog() {
    QuitDialogButtons.clear();
    QuitDialogX = ScreenCentreX - 200;
    QuitDialogY = ScreenCentreY - 115;
    int y = QuitDialogY + 230 - MenuButtonH - 20;
    const int margin = 26; // two menu buttons in the 400-pixel frame, well apart
    QuitDialogButtons.push_back(
        ButtonAnim::CreateType(BUTTON_MENU, QuitDialogX + margin, y, "Yes", nullptr, DIALOG_YES));
    QuitDialogButtons.push_back(ButtonAnim::CreateType(
        BUTTON_MENU, QuitDialogX + 400 - MenuButtonW - margin, y, "No", nullptr, DIALOG_NO));
}

void QuitDialogUpdate() {
    bool escape = KeyHit(VK_ESCAPE) > 0;
    for (ButtonAnim* b : QuitDialogButtons) {
        b->Update();
        if (b->Pushed()) QuitDialogPush(b);
    }
    if (escape) CloseDialog();
}

void QuitDialogDraw() {
    DrawImageRect(ImgFrame, static_cast<float>(QuitDialogX), static_cast<float>(QuitDialogY), 400,
                  230, 0);
    SetImageFont(FontPS30);
    DrawText("Really want to quit ?", static_cast<float>(QuitDialogX + 48),
             static_cast<float>(QuitDialogY + 40));
    for (ButtonAnim* b : QuitDialogButtons)
        b->Draw();
}

void TickHintCountdown() {
    if (HintCountdown == 0) return;
    HintCountdown = Trunc(HintCountdown - DeltaMs);
    if (HintCountdown > 0) return;
    // Offered on the main menu only, with no dialog over it; otherwise retried every pass.
    const bool shown =
        GameState == STATE_MAIN_MENU && !DialogActive && Tip_Show(TIP_OPTIONS, 1, 1) == 1;
    HintCountdown = shown ? 0 : -1;
}

void ShowFirstLogo() {
    LogoShownAtMs = MilliSecs();
    SetBlend(BLEND_ALPHA);
    SetClsColor(0, 0, 0);
    Cls();
    DrawImage(ImgMakerLogo, ScreenWidth * 0.5f, ScreenHeight * 0.5f, 0);
    RecomputeCentre();
    ShowLoading(1);
}

void LogoSequence(bool skip_waiting) {
    int elapsed = MilliSecs() - LogoShownAtMs;
    if (!skip_waiting && elapsed < 2500) Delay(2500 - elapsed);
    std::string pub = Config_Dir + "/logo_pub.jpg";
    if (FileType(pub) == 1) {
        if (Image* img = LoadImage(pub, IMG_DEFAULT)) {
            ImgPublisherLogo = img;
            MidHandleImage(img);
        }
    }
    if (ImgPublisherLogo) {
        DrawImage(ImgPublisherLogo, ScreenWidth * 0.5f, ScreenHeight * 0.5f, 0);
        ShowLoading(2);
        for (float countdown = skip_waiting ? 0.0f : 3000.0f; countdown > 0;) {
            UpdateFrameTiming();
            countdown -= DeltaMs;
            Cls();
            DrawImage(ImgPublisherLogo, ScreenWidth * 0.5f, ScreenHeight * 0.5f, 0);
            Flip(-1);
        }
    }
    SetClsColor(0, 0, 0);
}

void MainLoopPass() {
    Input_Poll();
    if (MainLoop_BeforePass) MainLoop_BeforePass(MainLoop_Passes);
    HandleSuspension();
    UpdateMouseState();
    KeyNav_BeginPass();
    // Read before a dialog takes the keys for itself, so the chord works over any dialog.
    const bool quit_chord = KeyDown(VK_ESCAPE) && KeyDown('E');
    DevOverlay_BeginPass();
    if (!Input_WindowMinimized()) {
        DialogUpdate();
        TickHintCountdown();
        if (GameState == STATE_SUSPENDED)
            DrawPauseDots();
        else
            Screens_RunRoutine(GameState);
        DialogDraw();
        DevOverlay_Frame();
        if (MainLoop_BeforeFlip) MainLoop_BeforeFlip(MainLoop_Passes);
        Flip(-1);
    }
    if (AppTerminate()) OpenDialog(QuitDialogUpdate, QuitDialogDraw, 0);
    SwitchToFullScreenWhenMaximised();
    UpdateFrameTiming();
    if (quit_chord || (KeyDown(VK_ESCAPE) && KeyDown('E'))) QuitRequested = 1;
    if (System_QuitSignalled()) QuitRequested = 1; // SIGTERM or SIGINT: the same way out
    if (MainLoop_AfterPass) MainLoop_AfterPass(MainLoop_Passes);
    ++MainLoop_Passes;
}

int Game_Run(const RunOptions& options) {
    System_CatchQuitSignals(); // before SDL starts, which would install its own handlers
    Options = options;
    ConnectShell();
    System_SetHeadless(options.headless);
    System_SetFixedDelta(options.fixed_delta);
    std::vector<std::string> missing = Resources_RegisterAll();
    if (!missing.empty())
        std::fprintf(stderr, "snowmere: %zu data files are missing, first %s\n", missing.size(),
                     missing.front().c_str());
    AudioOptions audio;
    audio.loopback = options.headless;
    AudioOff = Audio_Open(audio) ? 0 : 1; // without a device the game runs silent
    Resources_LoadStartup();
    Music_LoadingFont = FontSans16;
    BuildScreens();
    SeedRnd(options.seed_given ? options.seed : static_cast<unsigned>(MilliSecs()));
    if (!ReadDesktopSize()) {
        std::fprintf(stderr, "snowmere: no display to show the game on (is DISPLAY set?)\n");
        Audio_Close();
        return 1;
    }
    Config_SetDir(options.data_dir.empty() ? DefaultDataDir() : options.data_dir);
    ReadConfig();
    if (DesktopTooSmallForWindow()) {
        WindowedMode = 0;
        SetConfigValue("WINDOWED_MODE", "0");
        Notify("Sorry, cant run windowed in a resolution less than 1024x768.", false);
        return 0;
    }
    OpenGameWindow();
    // The maker's logo shows as soon as the window maps; the set-ups below run behind it.
    ShowFirstLogo();
    SetImageFont(FontSans16);
    Levels_Count = 150;
    MapLastPage = (Levels_Count - 1) / Chooser_PerPage;
    // One-time set-ups: tilesets, pieces, the board grid, the effect sounds, the pictures the
    // board, the effects and the candle draw, the sine tables, the effects, the texts, the
    // level-flow buttons, then the quit dialog.
    Board_Init(true);
    Snd_Load();
    InitHighscores();
    Resources_WirePictures();
    Trig_Init();
    Gfx_Init();
    Particles_Init();
    StartScenery();
    BuildLevelFlowButtons();
    TipView_Init();
    BuildQuitDialog();
    LogoSequence(options.skip_logos);
    Audio_StartProbe();
    CurrentTrack = Music_MenuTrack;
    SetGameState(STATE_MAIN_MENU);
    int code = 0;
    if (MainLoop_AfterStartup && !MainLoop_AfterStartup()) {
        QuitRequested = 1;
        code = 2;
    }
    while (!QuitRequested && (options.frames < 0 || MainLoop_Passes < options.frames))
        MainLoopPass();
    WriteConfigBin();
    Graphics_Close();
    Audio_Close();
    return code;
}
