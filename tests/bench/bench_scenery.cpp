// The heaviest scenery frame: the whole winter scene (sky, stars, clouds, both snow depths, the
// landscape, the wind) with the snow at full intensity after a minute of falling, and the third
// hammer's sparks flying over it.
//   BM_SceneryFrame/snow:<0|1|2>/burst:<0|1>: no snow, the snow spacing of play (1.0) or of the
//     main menu (0.5, twice the flakes); without or with the third hammer's burst (fountain and
//     burst) fired over the fallen snow. One repetition is the 150 frames (2.4 s) after the burst,
//     starting from the same fallen snow. Timed: Scenery_Draw, Particles_Draw and handing the frame
//     to the renderer (Flip). Counters: whole-process CPU per frame (all threads, getrusage), live
//     flakes, flakes drawn per frame, spark slots in use.
// Run: bench_scenery --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
// Also: bench_scenery --screenshot FILE saves one such frame (play spacing).
#include "app/resources.h"
#include "engine/frame.h"
#include "engine/gfx.h"
#include "engine/system.h"
#include "fx/particles.h"
#include "fx/scenery.h"
#include "tests/bench/bench_display.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

constexpr int kCycle = 150; // frames measured after each burst: its sparks appear, hold and fly

double Process_CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    const auto secs = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return secs(u.ru_utime) + secs(u.ru_stime);
}

// Full snow: the period timer is held where the intensity is 5.
void Scenery_Frame() {
    SnowTimer = 30000;
    Scenery_Draw();
    Particles_Draw();
}

// The snow and wind as they stood after the minute of falling, restored at every cycle.
struct Snapshot {
    std::vector<Background_Particle> pool;
    int count = 0, wave = 0, layer_counter = 0, wind_timer = 0;
    float wind_angle = 0, wind_strength = 0, wind_turn = 0, wind_speed = 0;
    int wind_target = 0;
    float wind_target_angle = 0;
};
Snapshot Fallen;

void Snapshot_Take() {
    Fallen = Snapshot{SnowPool,          SnowCount,          SnowWaveTimer,  LayerAngleCounter,
                      WindTimer,         WindAngle,          WindStrength,   WindTurnSpeed,
                      WindStrengthSpeed, WindTargetStrength, WindTargetAngle};
}

// The fallen snow back in place and, when asked, the third hammer's burst fired over it.
void Cycle_Start(bool burst) {
    SnowPool = Fallen.pool;
    SnowCount = Fallen.count;
    SnowWaveTimer = Fallen.wave;
    LayerAngleCounter = Fallen.layer_counter;
    WindTimer = Fallen.wind_timer;
    WindAngle = Fallen.wind_angle;
    WindStrength = Fallen.wind_strength;
    WindTurnSpeed = Fallen.wind_turn;
    WindStrengthSpeed = Fallen.wind_speed;
    WindTargetStrength = Fallen.wind_target;
    WindTargetAngle = Fallen.wind_target_angle;
    ParticleCount = 0;
    if (burst) Particles_HammerEarned(3, 734.0f, 476.0f);
}

// The scene as the program starts it, then a minute of falling snow with drawing off (the
// flakes move and age exactly as when drawn).
bool Start_Scene(float spacing) {
    if (!Bench_DisplayReady()) return false;
    static bool started = false;
    if (!started) {
        Particles_Init();
        Scenery_Init();
        Clouds_Create(1.0f, 0.0f, 0.0f, 1.0f, 200.0f);
        Clouds_Start();
        PictureLevel[1] = 1.0f;
        PictureLevel[2] = 1.0f;
        Stars_Create(100, 400, 100);
        started = true;
    }
    SeedRnd(5);
    DeltaMs = 16.0f;
    DeltaSec = 0.016f;
    InstFps = 62;
    MouseXPos = 400;
    MouseYPos = 300;
    Particles_Reset();
    SnowSpacing = spacing;
    Graphics_SetDrawing(false);
    for (int f = 0; f < 60 * 1000 / 16; ++f) {
        Scenery_Frame();
        Flip(-1);
    }
    Graphics_SetDrawing(true);
    Snapshot_Take();
    return true;
}

void BM_SceneryFrame(benchmark::State& state) {
    const int snow = static_cast<int>(state.range(0));
    const bool burst = state.range(1) == 1;
    if (!Start_Scene(snow == 2 ? 0.5f : 1.0f)) {
        state.SkipWithError("no display");
        return;
    }
    if (snow == 0) Fallen.count = 0; // the same scene without a flake
    double cpu = 0, live = 0, drawn = 0, sparks = 0;
    int frame = 0;
    for (auto _ : state) {
        if (frame++ % kCycle == 0) Cycle_Start(burst);
        SetClsColor(0, 0, 0);
        Cls();
        const double c0 = Process_CpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        Scenery_Frame();
        Flip(-1); // the batch reaches the renderer here
        const auto t1 = std::chrono::steady_clock::now();
        cpu += Process_CpuSeconds() - c0;
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
        live += Snow_LiveCount();
        drawn += SnowDrawnLastFrame;
        sparks += ParticleCount;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["proc_cpu_us"] = cpu / n * 1e6;
    state.counters["flakes_live"] = live / n;
    state.counters["flakes_drawn"] = drawn / n;
    state.counters["sparks"] = sparks / n;
    state.SetLabel(Graphics_RendererName());
}
BENCHMARK(BM_SceneryFrame)
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->ArgNames({"snow", "burst"})
    ->Iterations(kCycle)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

int Screenshot(const char* file) {
    if (!Start_Scene(1.0f)) return 1;
    Cycle_Start(true);
    for (int f = 0; f < 60; ++f) { // the sparks hold the hammer's shape, the first fly off
        SetClsColor(0, 0, 0);
        Cls();
        Scenery_Frame();
        if (f < 59) Flip(-1);
    }
    return Graphics_SaveScreenshot(file) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--screenshot") return Screenshot(argv[2]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
