#include "app/harness.h"

#include "app/board_screen.h"
#include "board/board.h"
#include "data/config.h"
#include "data/players.h"
#include "engine/gfx.h"
#include "engine/input.h"
#include "engine/stream.h"
#include "engine/system.h"
#include "fx/effects.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

const char* const Harness_Usage =
    "usage: snowmere [options]\n"
    "  --headless              no window and no sound card (offscreen display, loopback sound)\n"
    "  --data-dir DIR          where the settings and saved files are read and written\n"
    "  --seed N                seed the random numbers with N\n"
    "  --fixed-delta MS        every frame lasts exactly MS ms of game time; nothing waits\n"
    "  --frames N              end after N main-loop passes (settings saved as on exit)\n"
    "  --input FILE            scripted input (see README)\n"
    "  --screenshot PASS:FILE  write the frame of that pass as PNG (repeatable; PASS may be\n"
    "                          logo1 or logo2 for the two logo screens)\n"
    "  --dump-state FILE       write the game state as JSON at exit\n"
    "  --dump-at PASS:FILE     write the game state as JSON after that pass (repeatable)\n"
    "  --skip-logos            do not wait on the logo screens\n"
    "  --desktop WxH           pretend the desktop has this size\n"
    "  --level N               after start-up, start a match at level N (1..150)\n"
    "  --level-file PATH       the same with any level file\n"
    "  --relaxed               the match started by --level has no clock\n";

namespace {

const HarnessOptions* Active = nullptr;
std::vector<ScriptEvent> Script;
std::size_t ScriptNext = 0;

bool ParseInt(const std::string& s, int* out) {
    char* end = nullptr;
    long v = std::strtol(s.c_str(), &end, 10);
    if (s.empty() || *end != '\0') return false;
    *out = static_cast<int>(v);
    return true;
}

// "PASS:FILE"; the logo screens before the main loop are "logo1" and "logo2" (passes -1, -2).
bool ParsePassFile(const std::string& v, int* pass, std::string* file) {
    auto colon = v.find(':');
    if (colon == std::string::npos || colon + 1 >= v.size()) return false;
    *file = v.substr(colon + 1);
    std::string which = v.substr(0, colon);
    if (which == "logo1" || which == "logo2") {
        *pass = -(which[4] - '0');
        return true;
    }
    return ParseInt(which, pass) && *pass >= 0;
}

int ButtonNumber(const std::string& name) {
    if (name == "left") return 1;
    if (name == "right") return 2;
    if (name == "middle") return 3;
    return 0;
}

void ApplyEvent(const ScriptEvent& e) {
    if (e.kind == "move")
        Input_InjectMouseMove(e.a, e.b);
    else if (e.kind == "press")
        Input_InjectMouseButton(e.a, true);
    else if (e.kind == "release")
        Input_InjectMouseButton(e.a, false);
    else if (e.kind == "keydown")
        Input_InjectKey(e.a, true);
    else if (e.kind == "keyup")
        Input_InjectKey(e.a, false);
    else if (e.kind == "text")
        Input_InjectText(e.text.c_str());
    else if (e.kind == "wheel")
        Input_InjectWheel(e.a);
    else if (e.kind == "close")
        Input_InjectClose();
    else if (e.kind == "focus")
        Input_InjectFocus(e.a != 0);
}

void WriteDump(const std::string& file) {
    if (!SaveString(Harness_StateJson(), file))
        std::fprintf(stderr, "snowmere: cannot write %s\n", file.c_str());
}

void BeforePass(int pass) {
    while (ScriptNext < Script.size() && Script[ScriptNext].frame <= pass)
        ApplyEvent(Script[ScriptNext++]);
}

void BeforeFlip(int pass) {
    auto it = Active->screenshots.find(pass);
    if (it == Active->screenshots.end()) return;
    for (const std::string& file : it->second)
        if (!Graphics_SaveScreenshot(file))
            std::fprintf(stderr, "snowmere: cannot write screenshot %s\n", file.c_str());
}

bool StartRequestedLevel() {
    if (!Active->level_file.empty()) return BoardScreen_StartLevelFile(Active->level_file);
    if (Active->level > 0) return BoardScreen_StartLevel(Active->level);
    return true;
}

void AfterPass(int pass) {
    auto it = Active->dumps.find(pass);
    if (it == Active->dumps.end()) return;
    for (const std::string& file : it->second)
        WriteDump(file);
}

std::string Quoted(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

} // namespace

bool Harness_ParseScript(const std::string& text, std::vector<ScriptEvent>* out,
                         std::string* error) {
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        ScriptEvent e;
        std::string frame;
        if (!(words >> frame) || frame[0] == '#') continue;
        bool ok = ParseInt(frame, &e.frame) && e.frame >= 0 && (words >> e.kind);
        if (ok && (e.kind == "move"))
            ok = static_cast<bool>(words >> e.a >> e.b);
        else if (ok && (e.kind == "press" || e.kind == "release")) {
            std::string button;
            ok = (words >> button) && (e.a = ButtonNumber(button)) != 0;
        } else if (ok && (e.kind == "keydown" || e.kind == "keyup" || e.kind == "wheel"))
            ok = static_cast<bool>(words >> e.a);
        else if (ok && e.kind == "focus") {
            std::string state;
            ok = (words >> state) && (state == "gained" || state == "lost");
            e.a = state == "gained";
        } else if (ok && e.kind == "text") {
            std::getline(words >> std::ws, e.text);
        } else if (ok && e.kind != "close")
            ok = false;
        if (ok && e.kind.rfind("key", 0) == 0) ok = e.a >= 0 && e.a < 256;
        if (!ok) {
            *error = "input line " + std::to_string(number) + " is not understood: " + line;
            return false;
        }
        out->push_back(e);
    }
    std::stable_sort(out->begin(), out->end(),
                     [](const ScriptEvent& x, const ScriptEvent& y) { return x.frame < y.frame; });
    return true;
}

bool Harness_ParseArgs(int argc, char** argv, HarnessOptions* o, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        std::string opt = argv[i];
        bool has_value = i + 1 < argc;
        std::string v = has_value ? argv[i + 1] : "";
        bool ok = true, takes_value = true;
        int pass = 0;
        std::string file;
        if (opt == "--headless")
            o->run.headless = true, takes_value = false;
        else if (opt == "--skip-logos")
            o->run.skip_logos = true, takes_value = false;
        else if (opt == "--relaxed")
            o->relaxed = true, takes_value = false;
        else if (opt == "--level")
            ok = ParseInt(v, &o->level) && o->level >= 1 && o->level <= 150;
        else if (opt == "--level-file")
            o->level_file = v, ok = has_value;
        else if (opt == "--data-dir")
            o->run.data_dir = v, ok = has_value;
        else if (opt == "--seed") {
            int seed = 0;
            ok = ParseInt(v, &seed);
            o->run.seed_given = true;
            o->run.seed = static_cast<unsigned>(seed);
        } else if (opt == "--fixed-delta")
            ok = ParseInt(v, &o->run.fixed_delta) && o->run.fixed_delta > 0;
        else if (opt == "--frames")
            ok = ParseInt(v, &o->run.frames) && o->run.frames >= 0;
        else if (opt == "--input")
            o->input_file = v, ok = has_value;
        else if (opt == "--dump-state")
            o->dump_state_file = v, ok = has_value;
        else if (opt == "--screenshot") {
            ok = ParsePassFile(v, &pass, &file);
            if (ok) o->screenshots[pass].push_back(file);
        } else if (opt == "--dump-at") {
            ok = ParsePassFile(v, &pass, &file);
            if (ok) o->dumps[pass].push_back(file);
        } else if (opt == "--desktop") {
            ok = std::sscanf(v.c_str(), "%dx%d", &o->run.desktop_w, &o->run.desktop_h) == 2;
        } else {
            *error = "unknown option " + opt;
            return false;
        }
        if (!ok) {
            *error = "option " + opt + " has a missing or bad value";
            return false;
        }
        if (takes_value) ++i;
    }
    return true;
}

std::string Harness_StateJson() {
    std::ostringstream j;
    j << "{\n";
    j << "  \"passes\": " << MainLoop_Passes << ",\n";
    j << "  \"GameState\": " << GameState << ",\n";
    j << "  \"DialogActive\": " << DialogActive << ",\n";
    j << "  \"QuitRequested\": " << QuitRequested << ",\n";
    j << "  \"SuspendKind\": " << SuspendKind << ",\n";
    j << "  \"DeltaMs\": " << DeltaMs << ",\n";
    j << "  \"InstFps\": " << InstFps << ",\n";
    j << "  \"AvgFps\": " << AvgFps << ",\n";
    j << "  \"LowFpsMode\": " << LowFpsMode << ",\n";
    j << "  \"HintCountdown\": " << HintCountdown << ",\n";
    j << "  \"WindowedMode\": " << WindowedMode << ",\n";
    j << "  \"Player_Crt\": " << Player_Crt << ",\n";
    j << "  \"Player_Name\": " << Quoted(Player_Names[Player_Crt]) << ",\n";
    j << "  \"First_Run\": " << First_Run << ",\n";
    j << "  \"MouseXPos\": " << MouseXPos << ",\n";
    j << "  \"MouseYPos\": " << MouseYPos << ",\n";
    j << "  " << Board_StateJson() << ",\n";
    j << "  " << Gfx_StateJson() << "\n";
    j << "}\n";
    return j.str();
}

int Harness_Run(const HarnessOptions& options) {
    Active = &options;
    Script.clear();
    ScriptNext = 0;
    if (!options.input_file.empty()) {
        std::vector<std::uint8_t> bytes;
        std::string error;
        if (!LoadBytes(options.input_file, bytes)) {
            std::fprintf(stderr, "snowmere: cannot read input file %s\n",
                         options.input_file.c_str());
            return 2;
        }
        if (!Harness_ParseScript(std::string(bytes.begin(), bytes.end()), &Script, &error)) {
            std::fprintf(stderr, "snowmere: %s\n", error.c_str());
            return 2;
        }
    }
    MainLoop_BeforePass = BeforePass;
    MainLoop_BeforeFlip = BeforeFlip;
    MainLoop_AfterPass = AfterPass;
    MainLoop_AfterStartup = StartRequestedLevel;
    int code = Game_Run(options.run);
    if (!options.dump_state_file.empty()) WriteDump(options.dump_state_file);
    return code;
}
