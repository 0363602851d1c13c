#include "board/ripple.h"

#include "board/table.h"
#include "board/tips.h"
#include "data/level_file.h"
#include "engine/system.h"

#include <algorithm>
#include <cstring>
#include <utility>

int Intro_Active = 0;
int Ripple_Pattern = 0;
float Ripple_Now[Ripple_Side][Ripple_Side];
float Ripple_Prev[Ripple_Side][Ripple_Side];

namespace {

void Ripple_Seed(int x, int y) {
    float& v = Ripple_Now[x + 1][y + 1];
    v = std::min(v + 0.05f, 1.0f);
}

} // namespace

void Ripple_Start() {
    Intro_Active = 1;
    std::memset(Ripple_Now, 0, sizeof Ripple_Now);
    std::memset(Ripple_Prev, 0, sizeof Ripple_Prev);
    Ripple_Pattern = Rand(0, 3);
}

void Ripple_Step() {
    const int w = std::clamp(Table_dx, 1, Table_Max), h = std::clamp(Table_dy, 1, Table_Max);
    switch (Ripple_Pattern) {
    case 0:
        Ripple_Seed(w / 2, h / 2);
        break;
    case 1:
        Ripple_Seed(0, 0);
        Ripple_Seed(w - 1, h - 1);
        Ripple_Seed(w - 1, 0);
        Ripple_Seed(0, h - 1);
        break;
    case 2:
        Ripple_Seed(0, 0);
        Ripple_Seed(w - 1, h - 1);
        break;
    default:
        Ripple_Seed(w - 1, 0);
        Ripple_Seed(0, h - 1);
        break;
    }
    std::swap(Ripple_Now, Ripple_Prev);
    bool covered = true;
    for (int i = 1; i <= w; ++i) {
        for (int j = 1; j <= h; ++j) {
            const auto& P = Ripple_Prev;
            const float v =
                (P[i - 1][j] + P[i + 1][j] + P[i][j - 1] + P[i][j + 1]) / 32.0f + P[i][j];
            Ripple_Now[i][j] = std::min(v, 1.0f);
            if (v < 1.0f) covered = false;
        }
    }
    if (!covered) return;
    Intro_Active = 0;
    Tips_BoardShown(); // the level's first tip, once the whole board shows
}

float Ripple_Alpha(int x, int y) {
    if (x < -1 || y < -1 || x > Table_Max || y > Table_Max) return 0.0f;
    return Ripple_Now[x + 1][y + 1];
}

float Ripple_AlphaAt(int px, int py) {
    const Point c = Table_PixelToCell(px, py);
    if (c.x < 0 || c.x > Table_dx || c.y < 0 || c.y > Table_dy) return -1.0f;
    return Ripple_Now[c.x + 1][c.y + 1];
}
