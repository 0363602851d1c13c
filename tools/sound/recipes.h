// The game's sounds: one recipe per file, and the list of every file soundgen writes.
#pragma once

#include "tools/sound/instrument.h"
#include "tools/sound/kit.h"

#include <functional>
#include <string>
#include <vector>

struct SoundContext {
    InstrumentBank* bank = nullptr;
    std::string assets_dir; // the sources: assets/ of the repository
};

// Effects are mono and loudness-matched to each other; music and ambience are stereo and sit
// lower.
enum class SoundKind { Effect, Ambience, Music };

struct SoundRecipe {
    std::string file; // the registered name without ".\sounds\"
    SoundKind kind;
    std::function<Signal(const SoundContext&)> make;
    // dB against the kind's loudness: the sounds the game piles up by the dozen in a cascade
    // sit lower, so their sum leaves the mix room
    double level_db = 0.0;
};

const std::vector<SoundRecipe>& Recipes_All(); // in the game's registration order
std::vector<SoundRecipe> Effects_Recipes();
std::vector<SoundRecipe> Music_Recipes(); // the ambience and the six carols

// Loads a score from assets/ and plays it on the instruments; throws std::runtime_error when the
// score is not valid.
Signal Recipe_PlayScore(const SoundContext& ctx, const std::string& relative_path,
                        double tail = 2.0);
