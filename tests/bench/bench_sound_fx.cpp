// The sound requests of the busiest frame: a cascade resolving 30 pieces at once (30 ice-break
// sounds and 30 queued dings) while 100 effect sounds already play, plus the per-frame updates
// of 60 pending and playing requests. Mixed through the loopback device, as the game runs
// headless.
#include "audio/sound_fx.h"

#include "data/players.h"
#include "engine/stream.h"
#include "tests/support/tone_wav.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

void SetUpSounds() {
    // Nothing ends during the run: the loopback device mixes only when asked to.
    static std::vector<std::uint8_t> bytes = ToneWav(10000, 420.0, 8000);
    static bool ready = false;
    if (ready) return;
    ready = true;
    Audio_Open(AudioOptions{true, 44100});
    Incbin_Register("bench_tone.wav", bytes.data(), bytes.size());
    Sound* tone = LoadSound("incbin::bench_tone.wav");
    for (int slot : {0, 2, 6, 27})
        SoundFx[slot] = tone;
    Player_Crt = 0;
    FxVolume[0] = 0.8f;
}

void StopAll() {
    for (Channel*& ch : SfxChannels) {
        Channel_Stop(ch);
        ch = nullptr;
    }
    Snd_ClearRequests();
}

void BM_CascadeFrameRequests(benchmark::State& state) {
    SetUpSounds();
    for (auto _ : state) {
        state.PauseTiming();
        StopAll();
        for (int i = 0; i < 100; ++i)
            Snd_Play(27, 0, 0.5f, 1.0f, 0);
        for (int i = 0; i < 30; ++i) // pending dings of earlier groups
            Snd_AddDelayed(0, 0.5f, 0.4f, 500, 0, 400, 0);
        state.ResumeTiming();
        for (int i = 0; i < 30; ++i) {
            Snd_PlayAt(27, 0.8f, static_cast<float>(i % 2), 100 + i * 20, 3, 0);
            Snd_AddDelayed(0, 0.5f, 0.4f, i * 83, 0, 100 + i * 20, 0);
        }
        Snd_UpdateDelayed(16); // the first of this group starts now
        Snd_UpdateDynamic(16);
        state.PauseTiming();
        state.counters["playing"] = Snd_PlayingCount();
        state.ResumeTiming();
    }
    StopAll();
}
BENCHMARK(BM_CascadeFrameRequests)->Unit(benchmark::kMicrosecond);

// An ordinary frame: the updates over 60 requests, 30 of them playing.
void BM_UpdatesOf60Requests(benchmark::State& state) {
    SetUpSounds();
    StopAll();
    for (int i = 0; i < 30; ++i)
        Snd_AddDelayed(0, 0.5f, 0.4f, 0, 0, 400, 0);
    Snd_UpdateDelayed(16);
    for (int i = 0; i < 30; ++i)
        Snd_AddDelayed(0, 0.5f, 0.4f, 100000000, 0, 400, 0);
    state.counters["delayed"] = static_cast<double>(DelayedSounds.size());
    state.counters["playing"] = Snd_PlayingCount();
    for (auto _ : state) {
        Snd_UpdateDelayed(0.001f);
        Snd_UpdateDynamic(0.001f);
    }
    StopAll();
}
BENCHMARK(BM_UpdatesOf60Requests)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Audio_Close();
    return 0;
}
