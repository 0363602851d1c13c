// The six carols: decoding a whole file to 16-bit samples (DecodeOnly, what a track cost before
// the engine streamed long sounds, and still what Sound_Samples pays); LoadSound, what
// Music_LoadTrack pays behind "Loading..." (now checking the file and keeping its bytes);
// StreamedSecond, one second of a track played as the game plays it, 50 passes of 20 ms each
// topping up the stream and mixing; AllSixLoaded keeps every track, as a long session ends up
// doing, and reports the process's peak resident memory.
#include "audio/music.h"
#include "engine/audio.h"
#include "engine/audio_decode.h"
#include "engine/stream.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t>& TrackBytes(int track) {
    static std::vector<std::uint8_t> bytes[Music_Tracks];
    std::vector<std::uint8_t>& b = bytes[track];
    if (b.empty()) {
        std::ifstream f(std::string(SNOW_ASSETS_DIR) + "/sounds/" + kMusicTrackFiles[track],
                        std::ios::binary);
        b.assign(std::istreambuf_iterator<char>(f), {});
        Incbin_Register(std::string("bench_track") + std::to_string(track) + ".ogg", b.data(),
                        b.size());
    }
    return b;
}

void OpenDevice() {
    static bool open = Audio_Open(AudioOptions{true, 44100});
    (void)open;
}

double PeakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB
}

void BM_DecodeOnly(benchmark::State& state) {
    const int track = static_cast<int>(state.range(0));
    const std::vector<std::uint8_t>& bytes = TrackBytes(track);
    DecodedAudio out;
    for (auto _ : state) {
        out = DecodedAudio{};
        if (!Decode_Sound(bytes.data(), bytes.size(), out)) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(out.samples.data());
    }
    const double frames = static_cast<double>(out.samples.size()) / std::max(out.channels, 1);
    state.counters["seconds_of_music"] = frames / std::max(out.rate, 1);
    state.counters["channels"] = out.channels;
    state.counters["rate"] = out.rate;
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}
BENCHMARK(BM_DecodeOnly)->DenseRange(0, Music_Tracks - 1)->Unit(benchmark::kMillisecond);

// Every LoadSound keeps its sound until the program ends, so this one runs a fixed few times.
void BM_LoadSound(benchmark::State& state) {
    OpenDevice();
    const int track = static_cast<int>(state.range(0));
    TrackBytes(track);
    const std::string url = "incbin::bench_track" + std::to_string(track) + ".ogg";
    for (auto _ : state)
        if (!LoadSound(url)) state.SkipWithError("load failed");
}
BENCHMARK(BM_LoadSound)
    ->DenseRange(0, Music_Tracks - 1)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

void BM_StreamedSecond(benchmark::State& state) {
    OpenDevice();
    const int track = static_cast<int>(state.range(0));
    TrackBytes(track);
    Sound* sound = LoadSound("incbin::bench_track" + std::to_string(track) + ".ogg");
    if (!sound) {
        state.SkipWithError("load failed");
        return;
    }
    static Channel* channel = AllocChannel();
    PlaySound(sound, channel);
    std::vector<std::int16_t> out;
    for (auto _ : state)
        for (int pass = 0; pass < 50; ++pass) {
            Audio_Update();
            Audio_RenderLoopback(44100 / 50, out);
        }
    Channel_Stop(channel);
}
BENCHMARK(BM_StreamedSecond)
    ->DenseRange(0, Music_Tracks - 1)
    ->Iterations(20) // 20 s of music: every track lasts longer
    ->Unit(benchmark::kMillisecond);

void BM_AllSixLoaded(benchmark::State& state) {
    OpenDevice();
    for (auto _ : state)
        for (int t = 0; t < Music_Tracks; ++t) {
            TrackBytes(t);
            if (!LoadSound("incbin::bench_track" + std::to_string(t) + ".ogg"))
                state.SkipWithError("load failed");
        }
    state.counters["peak_rss_MB"] = PeakRssMb();
}
BENCHMARK(BM_AllSixLoaded)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
