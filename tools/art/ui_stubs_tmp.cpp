#include "tools/art/ui.h"
void Ui_Options(const ArtContext&) {}
void Ui_LevelFrame(const ArtContext&) {}
