// WAV sounds: any bytes are refused, or decode to whole frames of a format the mixer plays.
#include "engine/audio_decode.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DecodedAudio sound;
    if (!Decode_Wav(data, size, sound)) return 0;
    FUZZ_CHECK(sound.channels == 1 || sound.channels == 2);
    FUZZ_CHECK(sound.rate > 0);
    FUZZ_CHECK(sound.samples.size() % std::size_t(sound.channels) == 0);
    // The signature picks the same decoder and result.
    DecodedAudio again;
    FUZZ_CHECK(Decode_Sound(data, size, again) && again.samples == sound.samples);
    return 0;
}
