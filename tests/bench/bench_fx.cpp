// The effect sprites' cost per frame under the heaviest realistic load.
//   BM_EffectsFrame/<mix>: a 17 x 14 board at 60 frames a second where 40 cells a second lose
//     their piece and break their ice (mix 0: a third each on ice, snow and bare cells, with a
//     chain knocked off every tenth; mix 1: every cell bare, the most sparks), after two seconds
//     of the same load so the number of live sprites is steady. Timed: Gfx_Update and the three
//     drawing passes ("issue"), and the same plus handing the frame to the renderer ("render").
// Run: bench_fx --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
// Also: bench_fx --screenshot FILE saves one frame of mix 0 over a plain backdrop, and
// bench_fx --screenshot-end FILE one frame of the level-end effects (fireworks, spark rings,
// victory sprites, flying floor tiles, piece fireworks).
#include "app/main_loop.h"
#include "app/resources.h"
#include "engine/gfx.h"
#include "engine/system.h"
#include "fx/effects.h"
#include "fx/trig.h"
#include "tests/bench/bench_display.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <string>
#include <vector>

namespace {

// The geometry of a 17 x 14 board laid out in the 675 x 580 board area.
void Board_17x14() {
    Gfx_Board& b = GfxBoard;
    b.cell_width = b.cell_height = 39;
    b.half_width = b.half_height = 19;
    b.scale_x = b.scale_y = 39 / 48.0f;
    b.pixel_width = 17 * 39;
    b.pixel_height = 14 * 39;
    b.origin_x = (675 - b.pixel_width) / 2;
    b.origin_y = (580 - b.pixel_height) / 2;
    b.view_x = b.view_y = 0;
    b.scene_width = 675;
    b.scene_height = 580;
}

struct Load {
    int mix = 0;
    float due = 0.0f; // cells owed to the 40-a-second rate
    int made = 0;
};

// One cell's piece removed and its ice broken, as the board asks for them.
void Break_Cell(Load& load) {
    const Gfx_Board& b = GfxBoard;
    const int x = Rand(0, 16), y = Rand(0, 13);
    const int cx = b.origin_x + x * b.cell_width + b.half_width;
    const int cy = b.origin_y + y * b.cell_height + b.half_height;
    const int what = load.mix == 1 ? 2 : load.made % 3;
    if (what == 0) Gfx_IceBreak(cx, cy);
    if (what == 1) Gfx_SnowBreak(cx, cy);
    if (what == 2) Gfx_PieceVanish(cx, cy);
    if (load.mix == 0 && load.made % 10 == 9) Gfx_ChainBreak(cx, cy);
    ++load.made;
}

void Feed(Load& load) {
    load.due += 40.0f * DeltaSec;
    while (load.due >= 1.0f) {
        Break_Cell(load);
        load.due -= 1.0f;
    }
}

// Processor time of the whole process (the renderer's own threads included), which a busy
// machine disturbs less than the wall clock.
double Process_Seconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

void Draw_Effects() {
    Gfx_Update();
    Gfx_DrawLayer(-10);
    Gfx_DrawLayer(10);
    Gfx_DrawLayer(20);
}

void Start_Load(Load& load, int mix) {
    SeedRnd(11);
    DeltaMs = 16.0f;
    DeltaSec = 0.016f;
    InstFps = 62;
    LowFpsMode = 0;
    Board_17x14();
    Gfx_Clear();
    load = Load{};
    load.mix = mix;
    for (int f = 0; f < 120; ++f) { // two seconds: births and deaths balance
        Feed(load);
        Draw_Effects();
        Flip(-1);
    }
}

void BM_EffectsFrame(benchmark::State& state) {
    if (!Bench_DisplayReady()) {
        state.SkipWithError("no display");
        return;
    }
    Load load;
    Start_Load(load, static_cast<int>(state.range(0)));
    const bool render = state.range(1) == 1;
    double live = 0, cpu = 0;
    for (auto _ : state) {
        SetClsColor(8, 14, 34);
        Cls();
        Feed(load);
        const double c0 = Process_Seconds();
        const auto t0 = std::chrono::steady_clock::now();
        Draw_Effects();
        if (render) Flip(-1); // the batch reaches the renderer here
        const auto t1 = std::chrono::steady_clock::now();
        cpu += Process_Seconds() - c0;
        if (!render) Flip(-1);
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
        live += Gfx_LiveTotal();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["live"] = live / n;
    state.counters["proc_cpu_us"] = cpu / n * 1e6;
    state.SetLabel(std::string(render ? "render " : "issue ") + Graphics_RendererName());
}
BENCHMARK(BM_EffectsFrame)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"mix", "render"})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

int Screenshot(const char* file) {
    if (!Bench_DisplayReady()) return 1;
    Load load;
    Start_Load(load, 0);
    SetClsColor(8, 14, 34);
    Cls();
    Feed(load);
    Draw_Effects();
    return Graphics_SaveScreenshot(file) ? 0 : 1;
}

int Screenshot_LevelEnd(const char* file) {
    if (!Bench_DisplayReady()) return 1;
    Load load;
    Start_Load(load, 0);
    Gfx_Clear();
    std::vector<Gfx_Point> cells;
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 17; ++x)
            cells.push_back({x, y});
    Image* tiles[3] = {GfxPics.tile_part, GfxPics.spark[6], GfxPics.chain_link};
    Gfx_TilesFlyAway(cells, 1.0f);
    for (int f = 0; f < 150; ++f) {
        if (f % 30 == 0) {
            Gfx_Firework();
            Gfx_YouWin();
            Gfx_SparkRing(Rand(1, 800), Rand(1, 600), 0.12f);
            Gfx_ScoreSparkle(tiles);
        }
        SetClsColor(8, 14, 34);
        Cls();
        Draw_Effects();
        if (f < 149) Flip(-1);
    }
    return Graphics_SaveScreenshot(file) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--screenshot") return Screenshot(argv[2]);
    if (argc == 3 && std::string(argv[1]) == "--screenshot-end")
        return Screenshot_LevelEnd(argv[2]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
