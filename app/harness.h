// The automation harness: command-line options that drive the game for tests, tools and reviews
// (headless display, fixed frame time, seeded random numbers, scripted input, screenshots and
// state dumps).
#pragma once

#include "app/main_loop.h"

#include <map>
#include <string>
#include <vector>

// One scripted input event, applied at the start of main-loop pass `frame`.
struct ScriptEvent {
    int frame = 0;
    // move, press, release, keydown, keyup, text, wheel, close, focus, "pad added",
    // "pad removed", "pad button" (a: PadButton, b: 1 down), "pad axis" (a: PadAxis, b: value)
    std::string kind;
    int a = 0, b = 0;
    std::string text;
};

constexpr int Script_MaxCoordinate = 16384;
constexpr int Script_MaxWheel = 1 << 20;

struct HarnessOptions {
    RunOptions run;
    std::string input_file;
    std::map<int, std::vector<std::string>> screenshots; // pass -> files
    std::map<int, std::vector<std::string>> dumps;       // pass -> files
    std::string dump_state_file;
    int level = 0;                 // --level N: start a match at level N after start-up
    std::string level_file;        // --level-file PATH: the same with any level file
    bool relaxed = false;          // the match started by --level has no clock
    std::string record_audio_file; // --record-audio FILE: the sound mix of the run as a WAV
    bool dev_keys = false;         // --dev-keys: the game screen's developer keys work
    bool skip_fade_in = false;     // --skip-fade-in: the match started by --level starts settled
    bool no_draw = false;          // --no-draw: with --headless, the rules run without pictures
    bool autoplay = false;         // --autoplay: the level bot plays the whole game
};

// Parses the command line; on a bad option fills `error` and returns false.
bool Harness_ParseArgs(int argc, char** argv, HarnessOptions* out, std::string* error);
// Reads a scripted input file; on a malformed line fills `error` (with the line number).
// Pointer positions are clamped to +-Script_MaxCoordinate and wheel steps so that their running
// total stays within +-Script_MaxWheel: far beyond any screen, and no sum or square of them
// can overflow the game's integers.
bool Harness_ParseScript(const std::string& text, std::vector<ScriptEvent>* out,
                         std::string* error);
// Installs the hooks of the main loop, runs the game and writes the final dump.
int Harness_Run(const HarnessOptions& options);
// The state dump: a deterministic function of the seed, the frame time and the input.
std::string Harness_StateJson();
extern const char* const Harness_Usage;
