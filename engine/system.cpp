// Clock, random numbers, degree maths and user-facing messages.
#include "engine/system.h"

#include <SDL.h>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <numbers>
#include <random>
#include <signal.h>

namespace {

int FixedDeltaMs = 0;
std::uint32_t SimulatedMs = 0;
bool Headless = false;

// mt19937's output is fixed by the standard, so a seed gives the same game on every machine.
// Ranges are derived here rather than with the standard distributions, whose results are not.
std::mt19937& Generator() {
    static std::mt19937 gen;
    return gen;
}

constexpr double kRadPerDeg = std::numbers::pi / 180.0;

// A box needs a real screen: not the headless drivers, and before the display opens, a desktop
// session to show it on.
bool CanShowMessageBox() {
    if (Headless) return false;
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        const char* driver = SDL_GetCurrentVideoDriver();
        return driver && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
    }
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

volatile std::sig_atomic_t QuitSignal = 0;

} // namespace

// Only an async-signal-safe store happens here.
extern "C" {
static void OnQuitSignal(int sig) {
    QuitSignal = sig;
}
}

int MilliSecs() {
    std::uint32_t ms = FixedDeltaMs > 0 ? SimulatedMs : SDL_GetTicks();
    return static_cast<int>(ms); // wraps like the 32-bit clock it reads
}

void Delay(int ms) {
    if (ms <= 0) return;
    if (FixedDeltaMs > 0)
        System_AdvanceClock(ms);
    else
        SDL_Delay(static_cast<Uint32>(ms));
}

void System_SetFixedDelta(int ms) {
    FixedDeltaMs = ms > 0 ? ms : 0;
}

int System_FixedDelta() {
    return FixedDeltaMs;
}

void System_AdvanceClock(int ms) {
    SimulatedMs += static_cast<std::uint32_t>(ms);
}

void SeedRnd(std::uint32_t seed) {
    Generator().seed(seed);
}

int Rand(int min, int max) {
    if (max < min) std::swap(min, max);
    const std::uint64_t span = static_cast<std::uint64_t>(std::int64_t(max) - min) + 1;
    const std::uint64_t range = std::uint64_t(1) << 32;
    // Reject the top of the 32-bit range that would favour low values.
    const std::uint64_t limit = range - range % span;
    std::uint64_t u;
    do {
        u = Generator()();
    } while (u >= limit);
    return static_cast<int>(std::int64_t(min) + static_cast<std::int64_t>(u % span));
}

float Rnd(float min, float max) {
    if (max < min) std::swap(min, max);
    const float unit = static_cast<float>(Generator()() >> 8) * 0x1p-24f; // [0, 1), 24 bits
    float v = min + unit * (max - min);
    // Rounding can land on max itself for wide ranges; the top is never part of the range.
    return v < max ? v : std::nextafter(max, min);
}

double Sin(double deg) {
    return std::sin(deg * kRadPerDeg);
}

double Cos(double deg) {
    return std::cos(deg * kRadPerDeg);
}

double ATan2(double y, double x) {
    return std::atan2(y, x) / kRadPerDeg;
}

void System_CatchQuitSignals() {
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    // A read or write under way resumes instead of failing; a second signal of the same kind
    // takes the default action, so a program stuck inside a pass can still be ended.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool System_QuitSignalled() {
    return QuitSignal != 0;
}

void System_SetHeadless(bool on) {
    Headless = on;
}

bool System_Headless() {
    return Headless;
}

void Notify(const std::string& text, bool serious) {
    if (CanShowMessageBox()) {
        Uint32 flags = serious ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
        if (SDL_ShowSimpleMessageBox(flags, "Brimlet : Snowmere", text.c_str(),
                                     SDL_GetKeyboardFocus()) == 0)
            return;
    }
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

void RuntimeError(const std::string& message) {
    std::fprintf(stderr, "Runtime error: %s\n", message.c_str());
    std::fflush(stderr);
    if (CanShowMessageBox())
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Brimlet : Snowmere", message.c_str(),
                                 SDL_GetKeyboardFocus());
    std::exit(1);
}

std::size_t System_MemoryInUse() {
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd; // small blocks in use plus the large ones mapped on their own
}
