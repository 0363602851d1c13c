// What every fuzz target shares. The game ends on a few kinds of bad data on purpose (a tileset
// description missing a key): here that stop throws Fuzz_Stop, which the target catches, so the
// intended stop counts as handled and the next input runs. Messages meant for the player are
// dropped, and readers that take a path get a scratch folder of their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct Fuzz_Stop {
    std::string message;
};

// Runs one reader; an intended fatal stop ends this input only.
template <typename F> void Fuzz_Guard(F&& run) {
    try {
        run();
    } catch (const Fuzz_Stop&) {
    }
}

// A folder of this process's own (on a memory file system when there is one), made on first use.
const std::string& Fuzz_ScratchDir();
// Replaces a file with exactly these bytes.
void Fuzz_WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size);
std::vector<std::uint8_t> Fuzz_ReadFile(const std::string& path);
// Registers the bytes as the embedded file `name` ("incbin::" + name then reads them), replacing
// whatever was registered before.
void Fuzz_Embed(const std::string& name, const std::uint8_t* data, std::size_t size);
// A broken promise of a reader: stops the run loudly (a crash to libFuzzer, a failure to CTest).
[[noreturn]] void Fuzz_Fail(const std::string& what);
#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) Fuzz_Fail(#cond);                                                             \
    } while (0)
