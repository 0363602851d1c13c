// Instruments: scores played offline through a General MIDI soundfont with FluidSynth.
#pragma once

#include "tools/sound/kit.h"
#include "tools/sound/score.h"

#include <memory>
#include <string>

struct InstrumentBank; // the synthesizer with the soundfont loaded

struct InstrumentBankDeleter {
    void operator()(InstrumentBank* bank) const;
};
using InstrumentBankPtr = std::unique_ptr<InstrumentBank, InstrumentBankDeleter>;

// Null (with a message) when the soundfont cannot be loaded.
InstrumentBankPtr Inst_Open(const std::string& soundfont_path, std::string& error);
// Plays the score from silence and returns it in stereo, with `tail` seconds after the last note
// ends for the instruments and the reverb to ring out.
Signal Inst_Render(InstrumentBank& bank, const Score& score, double tail = 3.0);
