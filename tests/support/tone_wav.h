// A mono 16-bit 44.1 kHz WAV of a sine tone, made in memory for tests and benchmarks that need a
// sound of known length and pitch.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

inline std::vector<std::uint8_t> ToneWav(int ms, double hz, double amplitude) {
    constexpr int rate = 44100;
    const int frames = rate * ms / 1000;
    std::vector<std::uint8_t> w;
    auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            w.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    w.insert(w.end(), {'R', 'I', 'F', 'F'});
    put(static_cast<std::uint32_t>(36 + frames * 2), 4);
    w.insert(w.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put(16, 4), put(1, 2), put(1, 2), put(rate, 4), put(rate * 2, 4), put(2, 2), put(16, 2);
    w.insert(w.end(), {'d', 'a', 't', 'a'});
    put(static_cast<std::uint32_t>(frames * 2), 4);
    for (int i = 0; i < frames; ++i)
        put(static_cast<std::uint16_t>(
                static_cast<std::int16_t>(amplitude * std::sin(i * 2 * M_PI * hz / rate))),
            2);
    return w;
}
