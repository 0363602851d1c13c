// The player screen's rules, driven pass by pass as the main loop would: typing a name with its
// editing keys, the in-use refusal, which side buttons show, choosing a taken or a free slot,
// the reset confirmation, and the first-start dialog's refusals.
#include "app/main_loop.h"
#include "app/match.h"
#include "app/player_screen.h"
#include "app/resources.h"
#include "app/screens.h"
#include "data/config.h"
#include "data/level_file.h"
#include "data/players.h"
#include "engine/gfx.h"
#include "engine/input.h"
#include "engine/stream.h"

#include "game_run.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <variant>
#include <vector>

namespace fs = std::filesystem;

namespace {

// One pass of input: typed text, or a key pressed and released.
using Event = std::variant<const char*, int>;

class PlayerScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("snow_players_" + std::to_string(getpid()) + "_" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        Config_SetDir(dir.string());
        Players_ClearTables();
        ReadConfig(); // a first start: default names, defaults in every slot
        // Buttons the size of the large menu button, without pictures.
        menu_off.width = 151;
        menu_off.height = 42;
        ImgButtonMenuOff = &menu_off;
        MenuButtonW = 151;
        MenuButtonH = 42;
        BuildPlayerScreen();
        EnterPlayerScreen();
        BuildQuitDialog();
        FlushKeys();
        DialogActive = 0;
        DeltaMs = 20;
    }
    void TearDown() override {
        FlushKeys();
        fs::remove_all(dir);
    }

    // A player who has played: a name, a won level, a tip seen, own volumes and a saved match.
    void MakePlayer(int slot, const std::string& name) {
        Player_Names[slot] = name;
        Level_Status[slot][1] = 1;
        Level_Status[slot][2] = -1;
        Last_Level[slot] = 2;
        Tip_Seen[slot][4] = 1;
        Skips_Left[slot] = 2;
        FxVolume[slot] = 0.3f;
        Player_MarkSlotInUse(slot, true);
        std::ofstream(Match_FilePath(slot, ".jmm")) << "match";
        std::ofstream(Match_FilePath(slot, ".lev")) << "board";
    }

    // Chooses a free slot and types into it, one event a pass.
    void StartTypingIn(int slot) {
        SelectSlot(PlayerButtons[slot]);
        ASSERT_EQ(Name_Editing, PlayerButtons[slot]);
    }

    static void Inject(const Event& e) {
        if (const char* const* text = std::get_if<const char*>(&e)) {
            Input_InjectText(*text);
        } else {
            Input_InjectKey(std::get<int>(e), true);
            Input_InjectKey(std::get<int>(e), false);
        }
    }

    // One pass of the player screen's name entry.
    static void TypingPass(const Event& e) {
        Inject(e);
        CheckNameInUse();
        NameEntryKeys();
    }

    static void ClickDialogButton(ButtonAnim* b) {
        const int x = b->x + 20, y = b->y + 20;
        auto frame = [&](bool down) {
            MouseXPos = x;
            MouseYPos = y;
            MouseLeftPrev = MouseLeftDown;
            MouseLeftDown = down;
            MouseLeftPressed = MouseLeftDown && !MouseLeftPrev;
            MouseLeftReleased = !MouseLeftDown && MouseLeftPrev;
            ResetDialogUpdate();
        };
        frame(false);
        frame(true);
        frame(false);
    }

    std::string ConfigText() { return LoadString(Config_TxtPath); }

    fs::path dir;
    Image menu_off;
};

TEST_F(PlayerScreenTest, TypingAndEditingKeys) {
    struct Case {
        const char* what;
        std::vector<Event> passes;
        std::string name;
        int cursor;
    };
    const Case cases[] = {
        {"nine characters at most", {"Annabellex"}, "Annabelle", 9},
        {"a tenth in a later pass", {"Annabelle", "x"}, "Annabelle", 9},
        {"tenth typed in the middle", {"Annabelle", VK_HOME, "x"}, "Annabelle", 0},
        {"a leading space is refused", {" "}, "", 0},
        {"space first, then letters", {" ", "Ann"}, "Ann", 3},
        {"an inner space is kept", {"Ann Lee"}, "Ann Lee", 7},
        {"Enter on an empty name", {VK_RETURN}, "", 0},
        {"control characters never enter", {VK_TAB, "A", VK_ESCAPE}, "A", 1},
        {"insert before the cursor", {"Bn", VK_LEFT, "e"}, "Ben", 2},
        {"Backspace before the cursor", {"Anna", VK_LEFT, VK_BACK}, "Ana", 2},
        {"Backspace at the start", {"Anna", VK_HOME, VK_BACK}, "Anna", 0},
        {"Delete at the cursor", {"Anna", VK_HOME, VK_DELETE}, "nna", 0},
        {"Delete at the end", {"Anna", VK_DELETE}, "Anna", 4},
        {"End after Home", {"Anna", VK_HOME, VK_END}, "Anna", 4},
        {"Right stops at the end", {"An", VK_RIGHT}, "An", 2},
        {"Left stops at the start", {"An", VK_HOME, VK_LEFT}, "An", 0},
        {"Latin letters", {"Zoë"}, "Zo\xEB", 3},
    };
    for (const Case& c : cases) {
        SetUp();
        StartTypingIn(4);
        for (const Event& e : c.passes)
            TypingPass(e);
        EXPECT_EQ(Typed_Name, c.name) << c.what;
        EXPECT_EQ(Name_Cursor, c.cursor) << c.what;
        EXPECT_EQ(Name_Editing, PlayerButtons[4]) << c.what; // nothing was committed
    }
}

TEST_F(PlayerScreenTest, ANameInUseIsRefusedUntilItDiffers) {
    MakePlayer(0, "Anna");
    MakePlayer(1, "Ben");
    StartTypingIn(2);
    for (const char* part : {"B", "e", "n"})
        TypingPass(part);
    TypingPass(VK_RETURN); // refused: the name is taken
    EXPECT_EQ(Name_InUse, 1);
    EXPECT_EQ(Name_Editing, PlayerButtons[2]);
    EXPECT_EQ(PlayerSideButtonsShown(), std::vector<ButtonAnim*>{});
    TypingPass(" "); // space is refused on a taken name
    EXPECT_EQ(Typed_Name, "Ben");
    PlayerContinue(); // refused as well
    EXPECT_EQ(Name_Editing, PlayerButtons[2]);

    TypingPass(VK_BACK);
    TypingPass("x"); // the next pass checks again
    EXPECT_EQ(Typed_Name, "Bex");
    EXPECT_EQ(Name_InUse, 0);
    EXPECT_EQ(PlayerSideButtonsShown(), std::vector<ButtonAnim*>{PlayerContinueButton});

    TypingPass(VK_RETURN);
    EXPECT_EQ(Name_Editing, nullptr);
    EXPECT_EQ(Player_Names[2], "Bex");
    EXPECT_EQ(PlayerButtons[2]->caption, "Bex");
    EXPECT_NE(ConfigText().find("PLAYER2=Bex\r\n"), std::string::npos);
    EXPECT_TRUE(Player_SlotInUse(2));
    // Named and not yet played, the slot is still taken the next time it is chosen.
    EnterPlayerScreen();
    SelectSlot(PlayerButtons[2]);
    EXPECT_EQ(Name_Editing, nullptr);
    EXPECT_EQ(Player_Names[2], "Bex");
}

TEST_F(PlayerScreenTest, SideButtonsFollowTheSelectionAndTheTypedName) {
    MakePlayer(3, "Cleo");
    Player_Crt = 7; // a free slot, never chosen on this screen
    EnterPlayerScreen();
    Player_Selected = nullptr;
    EXPECT_EQ(PlayerSideButtonsShown(), std::vector<ButtonAnim*>{PlayerMenuButton});
    SelectSlot(PlayerButtons[3]);
    EXPECT_EQ(
        PlayerSideButtonsShown(),
        (std::vector<ButtonAnim*>{PlayerResetButton, PlayerMenuButton, PlayerContinueButton}));
    SelectSlot(PlayerButtons[5]); // free: the name entry opens with an empty name
    EXPECT_EQ(PlayerSideButtonsShown(), std::vector<ButtonAnim*>{});
    TypingPass("D");
    TypingPass("a");
    EXPECT_EQ(PlayerSideButtonsShown(), std::vector<ButtonAnim*>{PlayerContinueButton});
}

TEST_F(PlayerScreenTest, ChoosingATakenSlotKeepsItsProgressAndAFreeOneStartsAfresh) {
    MakePlayer(2, "Dana");
    MakePlayer(6, "Eve");
    Player_Names[6] = "New Player";
    Player_MarkSlotInUse(6, false);
    Level_Status[6][1] = -1; // named by default, never played: a free slot with old data
    FxVolume_Crt = 0.8f;
    LevelCrt = 40; // where the previous player stood

    SelectSlot(PlayerButtons[2]);
    EXPECT_EQ(Player_Crt, 2);
    EXPECT_EQ(Player_Selected, PlayerButtons[2]);
    EXPECT_EQ(Name_Editing, nullptr);
    EXPECT_EQ(Level_Status[2][1], 1);
    EXPECT_EQ(Skips_Left[2], 2);
    EXPECT_EQ(Tip_Seen[2][4], 1);
    EXPECT_FLOAT_EQ(FxVolume[2], 0.3f);
    EXPECT_EQ(LevelCrt, 2); // the chosen player's own level
    EXPECT_TRUE(fs::exists(Match_FilePath(2, ".jmm")));
    EXPECT_NE(ConfigText().find("PLAYER_CRT=2\r\n"), std::string::npos);

    SelectSlot(PlayerButtons[6]);
    EXPECT_EQ(Player_Crt, 6);
    EXPECT_EQ(Name_Editing, PlayerButtons[6]);
    EXPECT_EQ(Typed_Name, "");
    EXPECT_EQ(Name_Cursor, 0);
    EXPECT_EQ(PlayerButtons[6]->caption, "");
    EXPECT_EQ(Level_Status[6][1], -1);
    EXPECT_EQ(Level_Status[6][2], 0);
    EXPECT_EQ(Skips_Left[6], 5);
    EXPECT_EQ(Tip_Seen[6][4], 0);
    EXPECT_FLOAT_EQ(FxVolume[6], 0.8f);
    EXPECT_EQ(LevelCrt, 1);
    EXPECT_FALSE(fs::exists(Match_FilePath(6, ".jmm")));
    EXPECT_FALSE(fs::exists(Match_FilePath(6, ".lev")));
    EXPECT_TRUE(fs::exists(Match_FilePath(2, ".jmm"))); // the other player's match stays
    EXPECT_NE(ConfigText().find("PLAYER_CRT=6\r\nFX_VOL=0.800000012\r\n"), std::string::npos);

    // While a name is typed, the other slots cannot take the selection.
    SelectSlot(PlayerButtons[2]);
    EXPECT_EQ(Player_Crt, 6);
    EXPECT_EQ(Name_Editing, PlayerButtons[6]);
}

TEST_F(PlayerScreenTest, BackToTheMenuAPlayerKeepsTheirLevelEvenWithLevelOneUnwon) {
    MakePlayer(8, "Gus");
    Level_Status[8][1] = -1; // level 1 replayed and lost after reaching level 40
    Last_Level[8] = 40;
    LevelCrt = 3;
    SelectSlot(PlayerButtons[8]);
    GameState = STATE_PLAYER_SELECT;
    PlayerMainMenu();
    EXPECT_EQ(LevelCrt, 40);
    EXPECT_EQ(Last_Level[8], 40);
    EXPECT_EQ(GameState, STATE_MAIN_MENU);
}

TEST_F(PlayerScreenTest, TheResetConfirmation) {
    struct Case {
        const char* what;
        int button; // 0 "Yes", 1 "No", -1 Escape
        bool reset;
    };
    const Case cases[] = {{"Yes", 0, true}, {"No", 1, false}, {"Escape", -1, false}};
    for (const Case& c : cases) {
        SetUp();
        MakePlayer(1, "Finn");
        SelectSlot(PlayerButtons[1]);
        PlayerReset();
        ASSERT_EQ(DialogActive, 1);
        if (c.button >= 0) {
            ClickDialogButton(QuitDialogButtons[static_cast<std::size_t>(c.button)]);
        } else {
            Inject(VK_ESCAPE);
            ResetDialogUpdate();
        }
        EXPECT_EQ(DialogActive, 0) << c.what;
        EXPECT_EQ(Level_Status[1][1], c.reset ? -1 : 1) << c.what;
        EXPECT_EQ(Player_Names[1], c.reset ? "" : "Finn") << c.what;
        EXPECT_EQ(fs::exists(Match_FilePath(1, ".jmm")), !c.reset) << c.what;
        // A reset slot asks for its new name at once.
        EXPECT_EQ(Name_Editing, c.reset ? PlayerButtons[1] : nullptr) << c.what;
    }
}

TEST_F(PlayerScreenTest, TheFirstStartDialogRefusesAnEmptyName) {
    ImgFrame = &menu_off;
    OpenNameDialog();
    EXPECT_EQ(First_Run, 0);
    ASSERT_EQ(DialogActive, 1);
    for (Event e : {Event{" "}, Event{VK_RETURN}})
        Inject(e), NameDialogUpdate();
    NameDialogOkAction();
    EXPECT_EQ(DialogActive, 1);
    EXPECT_EQ(Typed_Name, "");
    EXPECT_EQ(Player_Names[0], "New Player");
    for (Event e : {Event{"Ann"}, Event{VK_LEFT}, Event{"a"}, Event{VK_END}, Event{" Lee"}})
        Inject(e), NameDialogUpdate();
    EXPECT_EQ(Typed_Name, "Anan Lee");
    EXPECT_EQ(Dialog_Cursor, 8);
    Inject(VK_ESCAPE); // does not close the dialog: a first start needs a name
    NameDialogUpdate();
    EXPECT_EQ(DialogActive, 1);
    CloseDialog();
}

} // namespace

// The same screens in the game program, driven by scripted input.
namespace {

class PlayerFlow : public GameRunTest {
  protected:
    int Run(int frames, const std::string& script, const std::vector<int>& dumps,
            const std::string& extra = "") {
        return RunGame("--frames " + std::to_string(frames) + " " + extra, script, dumps);
    }
    int Value(int pass, const std::string& key) { return static_cast<int>(Number(pass, key)); }
    std::string ConfigText() { return LoadString((dir / "gx_config.txt").string()); }
    // One 32-bit value of the progress file.
    int BinValue(int offset) {
        const std::string bin = LoadString((dir / "gx_config.bin").string());
        if (bin.size() < static_cast<std::size_t>(offset + 4)) return -999;
        std::uint32_t v = 0;
        for (int b = 0; b < 4; ++b)
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bin[offset + b])) << (8 * b);
        return static_cast<int>(v);
    }

    static std::string Key(int pass, int code) {
        return std::to_string(pass) + " keydown " + std::to_string(code) + "\n" +
               std::to_string(pass + 1) + " keyup " + std::to_string(code) + "\n";
    }
    // Pointer to (x, y), then a click: press two passes later, release on the next.
    static std::string Click(int pass, int x, int y) {
        return std::to_string(pass) + " move " + std::to_string(x) + " " + std::to_string(y) +
               "\n" + std::to_string(pass + 2) + " press left\n" + std::to_string(pass + 3) +
               " release left\n";
    }
    // Slot buttons stand at x 250, from y 80 every 50 px; the menu's "Select Player" at
    // (500, 340); the side buttons at x 550: "Reset" y 270, "Continue" 320, "Main menu" 370.
    static std::string ClickSlot(int pass, int slot) { return Click(pass, 325, 101 + 50 * slot); }
    static std::string OpenPlayerScreen(int pass) { return Click(pass, 575, 361); }
};

// Where the progress file keeps a slot's taken flag: column 0 of its best-value row.
int FlagOffset(int slot) {
    return 42320 + slot * Levels_Columns * 4;
}

TEST_F(PlayerFlow, AFirstStartAsksOnlyForANameThenStartsLevelOne) {
    ASSERT_EQ(Run(60, "20 text Anna\n" + Key(30, 13), {15, 45}), 0);
    EXPECT_EQ(Value(15, "GameState"), STATE_MAIN_MENU);
    EXPECT_EQ(Raw(15, "Dialog"), "\"name\"");
    EXPECT_EQ(Value(15, "First_Run"), 0);
    EXPECT_EQ(Value(45, "GameState"), STATE_LEVEL_INTRO);
    EXPECT_EQ(Raw(45, "Dialog"), "\"none\"");
    EXPECT_EQ(Raw(45, "Player_Name"), "\"Anna\"");
    EXPECT_EQ(Value(45, "LevelCrt"), 1);
    const std::string text = ConfigText();
    EXPECT_EQ(text.rfind("PLAYER0=Anna\r\nPLAYER1=New Player\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("\r\nPLAYER_CRT=0\r\n"), std::string::npos) << text;
    EXPECT_EQ(fs::file_size(dir / "gx_config.bin"), static_cast<std::uintmax_t>(Config_BinSize));
    EXPECT_EQ(BinValue(FlagOffset(0)), 1);
    EXPECT_EQ(BinValue(FlagOffset(1)), 0);
}

TEST_F(PlayerFlow, ASecondPlayerTypesATakenNameFixesItAndTheFirstIsKept) {
    ASSERT_EQ(Run(60, "20 text Anna\n" + Key(30, 13), {}), 0);
    const std::string script = OpenPlayerScreen(10) + ClickSlot(30, 1) + "50 text Anna\n" +
                               Key(60, 13) +       // refused: Anna is slot 0
                               Key(70, 8) +        // "Ann"
                               "80 text e\n" +     // "Anne"
                               Key(90, 13) +       // committed
                               ClickSlot(110, 0) + // Anna again, no name entry
                               Key(130, 27);       // back to the menu
    ASSERT_EQ(Run(150, script, {25, 65, 100, 120, 140}), 0);
    EXPECT_EQ(Value(25, "GameState"), STATE_PLAYER_SELECT);
    EXPECT_EQ(Value(65, "Player_Crt"), 1);
    EXPECT_EQ(Raw(65, "Player_Name"), "\"\""); // still typing: Enter was refused
    EXPECT_EQ(Value(65, "GameState"), STATE_PLAYER_SELECT);
    EXPECT_EQ(Raw(100, "Player_Name"), "\"Anne\"");
    EXPECT_EQ(Value(120, "Player_Crt"), 0);
    EXPECT_EQ(Raw(120, "Player_Name"), "\"Anna\"");
    EXPECT_EQ(Value(120, "GameState"), STATE_PLAYER_SELECT);
    EXPECT_EQ(Value(140, "GameState"), STATE_MAIN_MENU);
    const std::string text = ConfigText();
    EXPECT_EQ(text.rfind("PLAYER0=Anna\r\nPLAYER1=Anne\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("\r\nPLAYER_CRT=0\r\n"), std::string::npos) << text;
    EXPECT_EQ(BinValue(FlagOffset(0)), 1);
    EXPECT_EQ(BinValue(FlagOffset(1)), 1);
}

} // namespace
