// Sound file decoders (engine internal): whole files in memory to 16-bit interleaved samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct DecodedAudio {
    int channels = 0; // 1 or 2
    int rate = 0;     // frames per second
    std::vector<std::int16_t> samples;
};

// Each returns false for anything but a complete, well-formed file of its kind: a truncated or
// damaged file is refused rather than played with a gap or a click.
bool Decode_Wav(const std::uint8_t* bytes, std::size_t size, DecodedAudio& out);
bool Decode_Ogg(const std::uint8_t* bytes, std::size_t size, DecodedAudio& out);
// Picks the decoder from the file's signature, whatever its name says.
bool Decode_Sound(const std::uint8_t* bytes, std::size_t size, DecodedAudio& out);
