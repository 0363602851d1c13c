// A player with only a gamepad spells a name in the first-start name dialog: Up and Down turn the
// letter before the cursor, X puts in a new letter, Y takes out the one before the cursor, A is OK.
#include "tests/app/game_run.h"

#include <string>
#include <vector>

namespace {

class PadNames : public GameRunTest {
  protected:
    // Script lines: a pad button pressed on `pass` and let go on the next.
    static std::string Press(int pass, const std::string& button) {
        return std::to_string(pass) + " pad button " + button + " down\n" +
               std::to_string(pass + 1) + " pad button " + button + " up\n";
    }
    // Each run starts as the very first start: an empty data folder.
    void FreshFolder() {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
};

TEST_F(PadNames, APadAloneSpellsTheFirstName) {
    struct Case {
        const char* name;
        std::vector<std::string> buttons; // pressed four passes apart, then A
        const char* spelled;
    } cases[] = {
        {"up twice: a new letter, then the next", {"dpup", "dpup"}, "\"B\""},
        {"down at an empty name puts in a letter", {"dpdown"}, "\"A\""},
        {"down from A wraps to the end of the wheel, X adds",
         {"dpup", "dpdown", "dpdown", "x"},
         "\"9A\""},
        {"Y takes out the letter before the cursor", {"x", "x", "dpup", "y"}, "\"A\""},
        {"left moves the cursor: the turned letter is the first",
         {"x", "x", "dpleft", "dpup"},
         "\"BA\""},
        {"X stops at the longest name",
         {"x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x"},
         "\"AAAAAAAAA\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreshFolder();
        std::string script = "20 pad added\n";
        int pass = 30;
        for (const std::string& b : c.buttons) {
            script += Press(pass, b);
            pass += 4;
        }
        script += Press(pass + 4, "a");
        ASSERT_EQ(RunGame("--frames " + std::to_string(pass + 30), script, {pass + 20}), 0);
        EXPECT_EQ(Raw(pass + 20, "Player_Name"), c.spelled);
        EXPECT_EQ(Raw(pass + 20, "DialogActive"), "0"); // OK took the name
    }
}

// The keyboard's Up works the same way in the dialog; with the empty name OK still refuses.
TEST_F(PadNames, KeyboardUpSpellsAndAnEmptyNameIsStillRefused) {
    ASSERT_EQ(RunGame("--frames 80", "20 pad added\n" + Press(30, "a"), {60}), 0);
    EXPECT_EQ(Raw(60, "DialogActive"), "1");
    FreshFolder();
    ASSERT_EQ(RunGame("--frames 80", Key(30, 38) + Key(34, 38) + Key(40, 13), {60}), 0);
    EXPECT_EQ(Raw(60, "Player_Name"), "\"B\"");
}

} // namespace
