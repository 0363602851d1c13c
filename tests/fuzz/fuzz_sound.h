// What a sound decoder promises for any bytes: it refuses them, or decodes whole frames of a
// format the mixer plays, and the file's signature picks the same decoder with the same result.
#pragma once

#include "engine/audio_decode.h"
#include "tests/fuzz/fuzz_support.h"

using Fuzz_SoundDecoder = bool (*)(const std::uint8_t*, std::size_t, DecodedAudio&);

inline void Fuzz_CheckSoundDecoder(Fuzz_SoundDecoder decode, const std::uint8_t* data,
                                   std::size_t size) {
    DecodedAudio sound;
    if (!decode(data, size, sound)) return;
    FUZZ_CHECK(sound.channels == 1 || sound.channels == 2);
    FUZZ_CHECK(sound.rate > 0);
    FUZZ_CHECK(sound.samples.size() % std::size_t(sound.channels) == 0);
    DecodedAudio again;
    FUZZ_CHECK(Decode_Sound(data, size, again) && again.samples == sound.samples);
}
