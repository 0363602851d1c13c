// The keyboard's focus goes only to buttons the player can see: on screens whose page buttons
// come and go (the help pages' arrows, the level chooser's "Previous" and "Next"), Tab through
// the whole round of the focus never stops on the one that is hidden, and does stop on the one
// that is shown.
#include "game_run.h"

#include <string>
#include <vector>

namespace {

class KeyboardFocus : public GameRunTest {
  protected:
    // A player named on the first start, so the next runs open on the plain menu.
    void SetUp() override {
        GameRunTest::SetUp();
        ASSERT_EQ(RunGame("--no-draw --frames 60", "20 text Anna\n" + Key(30, 13), {}), 0);
    }
};

TEST_F(KeyboardFocus, TabNeverStopsOnAHiddenPageButton) {
    // The menu's "Options" and "Start"; the options screen's "Help" and the help pages' arrows
    // (left at (369, 528), right at (649, 528)); the chooser's "Previous" at (466, 540) and
    // "Next" at (633, 540).
    const std::string options = Click(10, 575, 411) + Click(20, 189, 483);
    const std::string chooser = Click(10, 575, 222);
    std::string last_chooser_page = chooser;
    for (int i = 0; i < 4; ++i)
        last_chooser_page += Click(20 + 10 * i, 708, 560);
    struct Case {
        const char* where;
        std::string script;               // ends by pass 60
        const char *hidden_at, *shown_at; // the start of their focus boxes
        int stops;                        // Tabs enough for a whole round of the focus
    };
    const Case cases[] = {
        {"first help page", options, "[369, 528,", "[649, 528,", 8},
        {"last help page", options + Click(30, 683, 552) + Click(40, 683, 552), "[649, 528,",
         "[369, 528,", 8},
        {"first chooser page", chooser, "[466, 540,", "[633, 540,", 36},
        {"last chooser page", last_chooser_page, "[633, 540,", "[466, 540,", 36},
    };
    for (const Case& c : cases) {
        std::string script = c.script;
        std::vector<int> dumps;
        for (int i = 0; i < c.stops; ++i) {
            const int pass = 70 + 3 * i;
            script +=
                std::to_string(pass) + " keydown tab\n" + std::to_string(pass + 1) + " keyup tab\n";
            dumps.push_back(pass + 1);
        }
        ASSERT_EQ(RunGame("--no-draw --frames " + std::to_string(dumps.back() + 2), script, dumps),
                  0)
            << c.where;
        bool shown_reached = false;
        for (int pass : dumps) {
            const std::string box = Raw(pass, "Focus_Box");
            EXPECT_NE(box, "null") << c.where << ", pass " << pass;
            EXPECT_NE(box.rfind(c.hidden_at, 0), 0u) << c.where << ", pass " << pass;
            shown_reached = shown_reached || box.rfind(c.shown_at, 0) == 0;
        }
        EXPECT_TRUE(shown_reached) << c.where;
    }
}

} // namespace
