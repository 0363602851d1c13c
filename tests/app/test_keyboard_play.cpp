// Playing without the mouse: the keyboard and a scripted gamepad win a small level, take and put
// back hammers, move the focus over the buttons of a dialog and of the pause screen and push
// them, and a gamepad unplugged in play pauses the level. The script lines for keys by name and for
// the gamepad are read here too.
#include "app/harness.h"
#include "data/level_file.h"
#include "engine/input.h"
#include "game_run.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

class KeyboardPlay : public GameRunTest {
  protected:
    // A level file of dx x dy cells with these piece kinds (rows from the top) and ice where
    // `ice` says, played as level 6 (which opens no help tip when the board shows), settled.
    std::string Level(int dx, int dy, const std::vector<int>& kinds, const std::vector<int>& ice) {
        LevelSettings s;
        s.table_dx = dx;
        s.table_dy = dy;
        s.time = 300000;
        int weights[Piece_Kinds] = {0, 10, 10, 10};
        std::vector<LevelDataCell> cells(kinds.size());
        for (std::size_t i = 0; i < cells.size(); ++i) {
            cells[i].color = kinds[i];
            cells[i].ContTile = -1;
            cells[i].background = cells[i].bg_initial = ice[i];
        }
        const std::vector<std::uint8_t> bytes = LevelFile_Write(s, weights, cells);
        const std::string file = (dir / "board.lev").string();
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return "--level 6 --skip-fade-in --level-file " + file;
    }
    // A 3 x 3 board whose middle row is the only ice:
    //   1 2 3
    //   2 1 1    swapping the left piece of this row with the one above makes 1 1 1 on the ice
    //   3 3 2
    // No group stands at the start and nothing refills, so the one move wins.
    std::string OneMoveLevel() {
        return Level(3, 3, {1, 2, 3, 2, 1, 1, 3, 3, 2}, {0, 0, 0, 1, 1, 1, 0, 0, 0});
    }

    // A gamepad button pressed on `pass` and let go on the next.
    static std::string Pad(int pass, const std::string& button) {
        return std::to_string(pass) + " pad button " + button + " down\n" +
               std::to_string(pass + 1) + " pad button " + button + " up\n";
    }
    // The left stick pushed along `axis` on `pass` and back to rest two passes later.
    static std::string Stick(int pass, const std::string& axis, int value) {
        return std::to_string(pass) + " pad axis " + axis + " " + std::to_string(value) + "\n" +
               std::to_string(pass + 2) + " pad axis " + axis + " 0\n";
    }
    std::string Named(int pass, const std::string& key) {
        return std::to_string(pass) + " keydown " + key + "\n" + std::to_string(pass + 1) +
               " keyup " + key + "\n";
    }
};

TEST_F(KeyboardPlay, ArrowsAndSpaceWinTheLevelByKeyboardAlone) {
    // The first arrow shows the cursor mid-board, Left goes to the row's first piece, Space
    // selects it and Up swaps it with the piece above.
    const std::string script =
        Named(10, "right") + Named(15, "left") + Named(20, "space") + Named(25, "up");
    ASSERT_EQ(RunGame(OneMoveLevel() + " --frames 120", script, {12, 17, 22, 119}), 0);
    EXPECT_EQ(Raw(12, "KeyNav"), "{\"Cursor_Visible\": 1, \"Cursor_Cell\": [1, 1], "
                                 "\"Focus\": 0, \"Pads\": 0}");
    EXPECT_EQ(Raw(17, "Cursor_Cell"), "[0, 1]");
    EXPECT_EQ(Number(22, "Selection_Active"), 1);
    EXPECT_EQ(Raw(22, "Selected_Cell"), "[0, 1]");
    EXPECT_EQ(Number(119, "Ice_Left"), 0);
    EXPECT_EQ(Number(119, "Level_Outcome"), 1) << "won";
    EXPECT_EQ(Number(119, "GameState"), 6);
}

TEST_F(KeyboardPlay, AScriptedGamepadWinsTheLevel) {
    const std::string script = "5 pad added\n" + Stick(10, "leftx", 20000) +
                               Stick(15, "leftx", -30000) + Pad(20, "a") +
                               Stick(25, "lefty", -20000);
    ASSERT_EQ(RunGame(OneMoveLevel() + " --frames 120", script, {6, 17, 22, 119}), 0);
    EXPECT_EQ(Raw(6, "Pads"), "1");
    EXPECT_EQ(Raw(17, "Cursor_Cell"), "[0, 1]");
    EXPECT_EQ(Number(22, "Selection_Active"), 1);
    EXPECT_EQ(Number(119, "Level_Outcome"), 1) << "won";
}

TEST_F(KeyboardPlay, AHeldStickRepeatsAfterAPause) {
    // An 11 x 3 board of kinds 1 + (x + y) % 3: no group stands; one iced cell keeps it in play.
    std::vector<int> kinds, ice(33, 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 11; ++x)
            kinds.push_back(1 + (x + y) % 3);
    ice[0] = 1;
    // Held left from pass 10 to 50 at 20 ms a pass: the press shows the cursor mid-board, then
    // it repeats after 400 ms and every 120 ms (passes 29, 35, 41 and 47).
    const std::string script = "5 pad added\n10 pad axis leftx -30000\n50 pad axis leftx 0\n";
    ASSERT_EQ(RunGame(Level(11, 3, kinds, ice) + " --frames 60", script, {12, 30, 59}), 0);
    EXPECT_EQ(Raw(12, "Cursor_Cell"), "[5, 1]");
    EXPECT_EQ(Raw(30, "Cursor_Cell"), "[4, 1]");
    EXPECT_EQ(Raw(59, "Cursor_Cell"), "[1, 1]");
}

TEST_F(KeyboardPlay, SecondPressLetsGoEscapeLetsGoBeforePausingAndTheMouseHidesTheCursor) {
    const std::string script = Named(10, "down") + Named(15, "enter") + Named(20, "enter") +
                               Named(25, "enter") + Named(30, "escape") + Named(35, "escape") +
                               "45 move 10 10\n";
    ASSERT_EQ(RunGame(OneMoveLevel() + " --frames 50", script, {17, 22, 27, 32, 37, 47}), 0);
    EXPECT_EQ(Number(17, "Selection_Active"), 1);
    EXPECT_EQ(Number(22, "Selection_Active"), 0) << "Enter again on the selected piece";
    EXPECT_EQ(Number(27, "Selection_Active"), 1);
    EXPECT_EQ(Number(32, "Selection_Active"), 0) << "Escape lets go first";
    EXPECT_EQ(Number(32, "GameState"), 1);
    EXPECT_EQ(Number(37, "GameState"), 7) << "then pauses";
    EXPECT_EQ(Raw(47, "Cursor_Visible"), "0");
}

TEST_F(KeyboardPlay, NumberKeysTakeOnlyEarnedHammersAndPutThemBack) {
    // Control+H (a developer key) fills the meter to 64 points: the first hammer only.
    const std::string script = "9 keydown 162\n" + Key(10, 'H') + "12 keyup 162\n" +
                               Named(20, "down") + Key(25, '2') + Key(30, '1') + Key(35, '1') +
                               Key(40, '1') + Named(45, "space");
    ASSERT_EQ(RunGame("--level 6 --skip-fade-in --dev-keys --frames 60", script,
                      {15, 27, 32, 37, 42, 59}),
              0);
    ASSERT_EQ(Number(15, "Hammer_Points"), 64);
    EXPECT_EQ(Number(27, "Hammer_Active"), 0) << "the second hammer is not earned";
    EXPECT_EQ(Number(32, "Hammer_Active"), 1);
    EXPECT_EQ(Number(32, "Hammer_Level"), 1);
    EXPECT_EQ(Number(32, "Hammer_Points"), 0);
    EXPECT_EQ(Number(37, "Hammer_Active"), 0) << "the same key puts it back";
    EXPECT_EQ(Number(37, "Hammer_Points"), 64);
    EXPECT_EQ(Number(42, "Hammer_Active"), 1);
    EXPECT_EQ(Number(59, "Hammer_Active"), 0) << "Space struck the cursor's cell";
    EXPECT_LT(Number(59, "Hammer_Points"), 64) << "a strike, not a hammer put back";
}

TEST_F(KeyboardPlay, TabAndEnterPushTheDialogsButtonsAndNotThoseUnderIt) {
    // The close box asks "Really want to quit ?" over the board, whose panel button stays out of
    // the focus: Tab reaches Yes, then No.
    const std::string no = "10 close\n" + Named(15, "tab") + Named(18, "tab") + Named(21, "enter");
    ASSERT_EQ(RunGame("--level 6 --skip-fade-in --frames 30", no, {16, 25}), 0);
    EXPECT_EQ(Raw(16, "Dialog"), "\"quit\"");
    EXPECT_EQ(Raw(16, "Focus"), "1");
    EXPECT_EQ(Raw(25, "Dialog"), "\"none\"") << "No closed the dialog";
    EXPECT_EQ(Number(25, "GameState"), 1);
    // Tab, Tab, Shift+Tab: back on Yes, which ends the run long before its 200 passes.
    const std::string yes = "10 close\n" + Named(15, "tab") + Named(18, "tab") +
                            "20 keydown shift\n" + Named(21, "tab") + "23 keyup shift\n" +
                            Named(25, "enter");
    const std::string end = (dir / "end.json").string();
    ASSERT_EQ(RunGame("--level 6 --skip-fade-in --frames 200 --dump-state " + end, yes, {}), 0);
    std::ifstream in(end);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(text.find("\"passes\": 26,"), std::string::npos) << text.substr(0, 120);
}

TEST_F(KeyboardPlay, ArrowsAndTabReachThePauseScreensButtonsFromEitherEnd) {
    // The pause screen's buttons: "Main Menu", "Replay Level", "Resume Game". Up from no focus
    // goes to the last, Tab to the first.
    const std::string script = Named(10, "escape") + Named(15, "up") + Named(20, "enter") +
                               Named(30, "escape") + Named(35, "tab") + Named(40, "enter");
    ASSERT_EQ(RunGame("--level 6 --skip-fade-in --frames 50", script, {12, 17, 25, 37, 45}), 0);
    EXPECT_EQ(Number(12, "GameState"), 7);
    EXPECT_EQ(Raw(17, "Focus"), "1");
    EXPECT_EQ(Number(25, "GameState"), 1) << "Resume Game";
    EXPECT_EQ(Raw(37, "Focus"), "1");
    EXPECT_EQ(Number(45, "GameState"), 0) << "Main Menu";
}

TEST_F(KeyboardPlay, StartPausesAndResumesAndAnUnpluggedPadPauses) {
    const std::string script =
        "5 pad added\n" + Pad(10, "start") + Pad(15, "start") + "20 pad removed\n";
    ASSERT_EQ(RunGame("--level 6 --skip-fade-in --frames 30", script, {12, 17, 22}), 0);
    EXPECT_EQ(Number(12, "GameState"), 7);
    EXPECT_EQ(Number(17, "GameState"), 1);
    EXPECT_EQ(Number(22, "GameState"), 7);
    EXPECT_EQ(Raw(22, "Pads"), "0");
}

TEST(KeyboardScript, KeysByNameAndGamepadLinesAreReadAndBadOnesRefused) {
    struct Case {
        const char* line;
        bool ok;
        const char* kind;
        int a, b;
    };
    const Case cases[] = {
        {"1 keydown escape", true, "keydown", VK_ESCAPE, 0},
        {"1 keyup q", true, "keyup", 'Q', 0},
        {"1 keydown 49", true, "keydown", '1', 0},
        {"1 pad added", true, "pad added", 0, 0},
        {"1 pad removed", true, "pad removed", 0, 0},
        {"1 pad button a down", true, "pad button", PAD_A, 1},
        {"1 pad button rightshoulder up", true, "pad button", PAD_RIGHTSHOULDER, 0},
        {"1 pad axis lefty -20000", true, "pad axis", PAD_AXIS_LEFTY, -20000},
        {"1 pad axis lefttrigger 99999999999", true, "pad axis", PAD_AXIS_TRIGGERLEFT, 32767},
        {"1 keydown 256", false, "", 0, 0},
        {"1 keydown escapee", false, "", 0, 0},
        {"1 pad button z down", false, "", 0, 0},
        {"1 pad button a sideways", false, "", 0, 0},
        {"1 pad axis leftx", false, "", 0, 0},
        {"1 pad axis leftx 12x", false, "", 0, 0},
        {"1 pad axis rightz 5", false, "", 0, 0},
        {"1 pad", false, "", 0, 0},
        {"1 pad wiggle", false, "", 0, 0},
    };
    for (const Case& c : cases) {
        std::vector<ScriptEvent> events;
        std::string error;
        ASSERT_EQ(Harness_ParseScript(c.line, &events, &error), c.ok) << c.line << ": " << error;
        if (!c.ok) continue;
        ASSERT_EQ(events.size(), 1u) << c.line;
        EXPECT_EQ(events[0].kind, c.kind) << c.line;
        EXPECT_EQ(events[0].a, c.a) << c.line;
        EXPECT_EQ(events[0].b, c.b) << c.line;
    }
}

} // namespace
