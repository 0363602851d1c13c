// The board's cost per frame.
//   BM_TableUpdateCascade: one Table_Update on a full 17 x 14 board while pieces fall, slide,
//     spawn and resolve (rows are knocked out whenever the board comes to rest).
//   BM_OneKindHint/0 and /1: the hint on the largest board (48 x 48) of a single kind, every cell
//     a movable gem, through the board's move tests (0) and through the straightforward reference
//     search that once stalled such boards (1), on the same board in the same process.
//   BM_OneKindSearch/0 and /1: one search of the whole 2304-cell group, the same two ways.
//   BM_OneKindFrame: one Table_Update of that board in play (matches, falls, hints, stuck checks).
//   BM_BoardFrame: the whole board screen headless (update, cells, pieces, present) with the
//     generated pictures, timed by the wall clock; frames per second = 1 / time per frame.
// Run: bench_board --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
// Also: bench_board --screenshot LEVEL FRAMES FILE saves the board of a level after FRAMES
// frames (a diagonal drag every 40 frames plays moves) instead of measuring.
#include "app/game_screen.h"
#include "app/level_start.h"
#include "app/main_loop.h"
#include "app/resources.h"
#include "board/board.h"
#include "board/gravity.h"
#include "board/matching.h"
#include "board/pieces.h"
#include "board/ripple.h"
#include "board/swap.h"
#include "board/table.h"
#include "data/level_file.h"
#include "engine/gfx.h"
#include "engine/system.h"
#include "fx/effects.h"
#include "fx/trig.h"
#include "tests/bench/bench_display.h"
#include "tests/board/group_search_reference.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>

namespace {

void Build_FullBoard() {
    Board_Init(false);
    SeedRnd(7);
    Table_dx = 17;
    Table_dy = 14;
    LevelCrt = 10;
    std::fill(std::begin(Piece_Weights), std::end(Piece_Weights), 0);
    for (int k = 1; k <= 6; ++k)
        Piece_Weights[k] = 10;
    BuildPieceBag();
    Table_Layout();
    for (int y = 0; y < Table_dy; ++y) {
        for (int x = 0; x < Table_dx; ++x) {
            LevelDataCell r;
            r.background = 2;
            r.bg_initial = 2;
            r.ContTile = -1;
            r.autospawn = y == 0 ? 1 : 0;
            r.color = Piece_ChooseKind();
            Table_LoadCell(x, y, r);
        }
    }
    Intro_Active = 0;
    DeltaMs = 16.0f;
    DeltaSec = 0.016f;
}

bool Board_Moving() {
    for (const Piece* p : Pieces)
        if (p && p->falling) return true;
    return false;
}

// Empties three rows so the whole board above them falls and refills.
void Knock_Out_Rows() {
    Group_HasIcecube = -1;
    Group_HasLaser = 0;
    Group_Moved = 0;
    for (int y : {4, 8, 12})
        for (int x = 0; x < Table_dx; ++x)
            if (Table[x][y].piece_id) Table_TriggerPiece(x, y);
}

void BM_TableUpdateCascade(benchmark::State& state) {
    Build_FullBoard();
    Knock_Out_Rows();
    for (auto _ : state) {
        if (!Board_Moving() && Pieces_Count() == Table_dx * Table_dy) Knock_Out_Rows();
        const auto t0 = std::chrono::steady_clock::now();
        Table_Update();
        const auto t1 = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
}
BENCHMARK(BM_TableUpdateCascade)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The largest legal board, every cell a gem of kind 1, new pieces of kind 1 from the top row.
void Build_OneKindBoard() {
    Board_Init(false);
    SeedRnd(7);
    Table_dx = Table_dy = Table_Max;
    LevelCrt = 1;
    std::fill(std::begin(Piece_Weights), std::end(Piece_Weights), 0);
    Piece_Weights[1] = 10;
    BuildPieceBag();
    Table_Layout();
    for (int y = 0; y < Table_dy; ++y)
        for (int x = 0; x < Table_dx; ++x) {
            LevelDataCell r;
            r.background = r.bg_initial = 1;
            r.ContTile = -1;
            r.autospawn = y == 0 ? 1 : 0;
            r.color = 1;
            Table_LoadCell(x, y, r);
        }
    for (Piece* p : Pieces)
        if (p) p->speed = 0.0f;
    Intro_Active = 0;
    DeltaMs = 16.0f;
    DeltaSec = 0.016f;
}

void BM_OneKindHint(benchmark::State& state) {
    Build_OneKindBoard();
    const bool old_search = state.range(0) == 1;
    for (auto _ : state) {
        if (old_search) {
            benchmark::DoNotOptimize(reference::Hint(400, 300, Min_Match));
        } else {
            Hint_Timer = 0;
            Table_Hint(400, 300, Min_Match);
        }
    }
}
BENCHMARK(BM_OneKindHint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(0.05);

void BM_OneKindSearch(benchmark::State& state) {
    Build_OneKindBoard();
    const bool old_search = state.range(0) == 1;
    for (auto _ : state) {
        if (old_search)
            reference::FindGroup(Table_dx / 2, Table_dy / 2, 0, 0);
        else
            Table_FindGroup(Table_dx / 2, Table_dy / 2, 0, 0);
    }
}
BENCHMARK(BM_OneKindSearch)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Frames of play: the first resolves the whole board, then the columns refill and match again;
// the hint and the stuck-board check run whenever their timers let them.
void BM_OneKindFrame(benchmark::State& state) {
    Build_OneKindBoard();
    Hint_Timer = 0;
    for (auto _ : state) {
        ++FrameCounter;
        Table_Update();
        if (Pieces_Count() == 0 || FrameCounter % 240 == 0) Hint_Timer = 0;
    }
}
BENCHMARK(BM_OneKindFrame)->Unit(benchmark::kMicrosecond);

void BM_BoardFrame(benchmark::State& state) {
    if (!Bench_DisplayReady() || !LevelStart_NewMatch(static_cast<int>(state.range(0)), 0)) {
        state.SkipWithError("no display or no level");
        return;
    }
    for (int i = 0; i < 120; ++i)
        GameScreen(); // past the fade-in
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        GameScreen();
        Flip(-1);
        const auto t1 = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
    state.SetLabel(Graphics_RendererName());
}
BENCHMARK(BM_BoardFrame)->Arg(1)->Arg(40)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Plays a level for a number of frames, dragging pieces now and then, and saves the screen.
int Screenshot(int level, int frames, const char* file) {
    if (!Bench_DisplayReady() || !LevelStart_NewMatch(level, 0)) return 1;
    for (int f = 0; f < frames; ++f) {
        const int phase = f % 40;
        if (f > 150 && phase < 2) { // press on a cell, then drag into its right-hand neighbour
            const Point c =
                Table_CellToPixel(1 + (f / 40) % (Table_dx - 2), 2 + (f / 80) % (Table_dy - 3));
            MouseXPos = c.x + Cell_HalfWidth + (phase ? Cell_Width : 0);
            MouseYPos = c.y + Cell_HalfHeight;
            MouseMoved = phase;
            MouseLeftPressed = phase == 0;
            MouseLeftReleased = 0;
        } else {
            MouseMoved = MouseLeftPressed = 0;
            MouseLeftReleased = phase == 2;
        }
        GameScreen();
        if (f == frames - 1 && !Graphics_SaveScreenshot(file)) return 1;
        Flip(-1);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--screenshot")
        return Screenshot(std::atoi(argv[2]), std::atoi(argv[3]), argv[4]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
