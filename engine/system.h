// Time, random numbers, messages and the run mode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Milliseconds from a free-running clock; wraps after 2^32 ms. With a fixed frame time set,
// a simulated clock is read instead (advanced by Flip and Delay), so runs are reproducible.
int MilliSecs();
void Delay(int ms);
// Fixed frame time: every Flip advances the simulated clock by ms and nothing waits. 0 turns it
// off.
void System_SetFixedDelta(int ms);
int System_FixedDelta();
void System_AdvanceClock(int ms); // used by Flip in fixed mode

void SeedRnd(std::uint32_t seed);
int Rand(int min, int max);                    // inclusive; bounds exchanged when max < min
float Rnd(float min = 0.0f, float max = 1.0f); // [min, max); bounds exchanged when max < min

// Real-to-integer conversions truncate toward zero everywhere in the game.
inline int Trunc(double v) {
    return static_cast<int>(v);
}

// Degree-based maths as the game's rules use it.
double Sin(double deg);
double Cos(double deg);
double ATan2(double y, double x); // degrees

// SIGTERM and SIGINT (a logout, kill, Ctrl+C) ask the game to end as Escape+E does: the handler
// only sets a flag, which the main loop reads at the end of its pass, so the settings are saved
// by the normal way out. A second signal of the same kind ends the program at once. Call before
// the platform layer starts, so its own handlers stay out of the way.
void System_CatchQuitSignals();
bool System_QuitSignalled();

// Headless runs print messages to standard error instead of showing boxes.
// Bytes the program's heap holds in use now (the developer overlay's memory figure).
std::size_t System_MemoryInUse();

void System_SetHeadless(bool on);
bool System_Headless();
void Notify(const std::string& text, bool serious = false);
[[noreturn]] void RuntimeError(const std::string& message);
