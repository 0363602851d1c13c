// Snowmere's entry point. For now it opens the display, draws a placeholder-free title card and
// honours the first harness options (--headless, --frames, --screenshot, --fixed-delta, --seed).
#include "engine/gfx.h"
#include "engine/input.h"
#include "engine/system.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace {

struct Args {
    bool headless = false;
    int frames = -1;
    int fixed_delta = 0;
    std::map<int, std::string> screenshots;
};

Args ParseArgs(int argc, char** argv) {
    Args a;
    for (int i = 1; i < argc; ++i) {
        std::string opt = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) RuntimeError("option " + opt + " needs a value");
            return argv[++i];
        };
        if (opt == "--headless")
            a.headless = true;
        else if (opt == "--frames")
            a.frames = std::atoi(value().c_str());
        else if (opt == "--fixed-delta")
            a.fixed_delta = std::atoi(value().c_str());
        else if (opt == "--screenshot") {
            std::string v = value();
            auto colon = v.find(':');
            if (colon == std::string::npos) RuntimeError("--screenshot wants FRAME:FILE");
            a.screenshots[std::atoi(v.substr(0, colon).c_str())] = v.substr(colon + 1);
        } else
            RuntimeError("unknown option " + opt);
    }
    return a;
}

void DrawTitleCard(int frame) {
    SetClsColor(11, 22, 51);
    Cls();
    for (int y = 0; y < 600; y += 4) { // night sky gradient toward the horizon
        float t = y / 600.0f;
        SetColor(static_cast<int>(11 + t * 48), static_cast<int>(22 + t * 71),
                 static_cast<int>(51 + t * 99));
        DrawRect(0, static_cast<float>(y), 800, 4);
    }
    SetColor(255, 255, 115);
    SetImageFont(nullptr);
    const std::string title = "Snowmere";
    SetScale(4, 4);
    DrawText(title, 400 - TextWidth(title) * 2.0f, 260 + 4 * Sin(frame * 3.0));
    SetScale(1, 1);
    SetColor(255, 255, 255);
}

} // namespace

int main(int argc, char** argv) {
    Args args = ParseArgs(argc, argv);
    System_SetHeadless(args.headless);
    System_SetFixedDelta(args.fixed_delta);
    SeedRnd(static_cast<std::uint32_t>(MilliSecs()));
    DisplayOptions display;
    display.headless = args.headless;
    if (!Graphics_Open(display)) RuntimeError("Cannot open the display");
    for (int frame = 0; args.frames < 0 || frame < args.frames; ++frame) {
        Input_Poll();
        if (AppTerminate() || (KeyDown(VK_ESCAPE) && KeyDown('E'))) break;
        DrawTitleCard(frame);
        auto shot = args.screenshots.find(frame);
        if (shot != args.screenshots.end() && !Graphics_SaveScreenshot(shot->second))
            std::fprintf(stderr, "cannot write screenshot %s\n", shot->second.c_str());
        Flip(-1);
    }
    Graphics_Close();
    return 0;
}
