// One level played by the bot without the program around it: the level file is laid out, the
// board's frame update and the level clock run with a fixed frame time, and the bot's pointer is
// the mouse. Nothing is drawn or heard, so a level plays many times faster than real time.
#pragma once

#include <string>

struct Bot_LevelResult {
    bool won = false;
    int level_time = 0; // ms on the candle at the start
    int time_used = 0;  // ms the clock ran until the level was won or the time was up
    int moves = 0, snowballs = 0, hammers = 0;
    int frames = 0;
    int ice_start = 0, ice_left = 0; // playable cells with ice at the start and at the end
};

// Plays the level file at `path` as level number `level` with the random numbers seeded by `seed`,
// as a fresh player (no easing, every help tip seen), each frame lasting `frame_ms`. Returns false
// with `error` set when the file cannot be used.
bool Bot_PlayLevel(const std::string& path, int level, unsigned seed, int frame_ms,
                   Bot_LevelResult* out, std::string* error = nullptr);
// The bot's pointer becomes this frame's mouse state with its edges, as the main loop derives it
// from the platform's input.
struct Bot_Pointer;
void Bot_SetMouse(const Bot_Pointer& p);
// Where the level files live under a folder of generated data.
std::string Bot_LevelPath(const std::string& assets_dir, int level);
