// The "ui" art module: every interface picture of the menus, dialogs and the in-game panel.
#include "tools/art/ui.h"

static void DrawInterface(const ArtContext& ctx) {
    Ui_Buttons(ctx);
    Ui_Frames(ctx);
    Ui_Options(ctx);
    Ui_Titles(ctx);
    Ui_Backdrops(ctx);
    Ui_LevelFrame(ctx);
}

ART_MODULE(ui, DrawInterface);
