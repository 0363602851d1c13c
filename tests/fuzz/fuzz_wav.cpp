// WAV sounds: any bytes are refused, or decode to whole frames of a format the mixer plays.
#include "tests/fuzz/fuzz_sound.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Fuzz_CheckSoundDecoder(Decode_Wav, data, size);
    return 0;
}
