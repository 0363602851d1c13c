// Writing the game's sound files and reading them back for the level checks.
#pragma once

#include "tools/sound/kit.h"

#include <string>

// 16-bit PCM WAV at 44.1 kHz. Samples beyond full scale are clamped.
bool Wav_Write(const std::string& path, const Signal& s);
bool Wav_Read(const std::string& path, Signal& out);

// Ogg Vorbis at 44.1 kHz, variable bit rate at `quality` (-0.1 .. 1.0). The stream serial number
// is fixed, so the same signal always gives the same bytes.
bool Ogg_Write(const std::string& path, const Signal& s, float quality);
bool Ogg_Read(const std::string& path, Signal& out);

// Either format by the file name's extension.
bool Sound_Write(const std::string& path, const Signal& s, float ogg_quality);
bool Sound_Read(const std::string& path, Signal& out);
