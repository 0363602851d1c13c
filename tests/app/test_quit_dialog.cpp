// The yes/no dialog (quitting, resetting a player or the highscores) keeps its two buttons well
// apart and inside its frame: two 151-pixel buttons in a 400-pixel frame.
#include "app/buttons.h"
#include "app/main_loop.h"
#include "app/resources.h"

#include <gtest/gtest.h>

namespace {

TEST(QuitDialog, ButtonsStandApartInsideTheFrame) {
    Image menu_off;
    menu_off.width = 151;
    menu_off.height = 42;
    ImgButtonMenuOff = &menu_off;
    MenuButtonW = 151;
    MenuButtonH = 42;
    BuildQuitDialog();
    ASSERT_EQ(QuitDialogButtons.size(), 2u);
    const ButtonAnim& yes = *QuitDialogButtons[0];
    const ButtonAnim& no = *QuitDialogButtons[1];
    EXPECT_GE(no.x - (yes.x + MenuButtonW), 40) << "Yes and No almost touch";
    EXPECT_GE(yes.x - QuitDialogX, 16) << "Yes runs onto the frame's rim";
    EXPECT_GE(QuitDialogX + 400 - (no.x + MenuButtonW), 16) << "No runs onto the frame's rim";
    EXPECT_EQ(yes.y, no.y);
    ImgButtonMenuOff = nullptr;
}

} // namespace
