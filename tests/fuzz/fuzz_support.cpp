#include "tests/fuzz/fuzz_support.h"

#include "engine/stream.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

// The linker sends the engine's RuntimeError and Notify here (-Wl,--wrap, see CMakeLists.txt).
extern "C" [[noreturn]] void
__wrap__Z12RuntimeErrorRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE(
    const std::string& message) {
    throw Fuzz_Stop{message};
}

extern "C" void
__wrap__Z6NotifyRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEEb(const std::string&, bool) {}

namespace {
std::string ScratchDir;
} // namespace

const std::string& Fuzz_ScratchDir() {
    if (ScratchDir.empty()) {
        const fs::path base =
            fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        ScratchDir = (base / ("snow_fuzz_" + std::to_string(getpid()))).string();
        fs::create_directories(ScratchDir);
        // Gone when the run ends normally; a crash leaves it for a look at what the input did.
        std::atexit([] { fs::remove_all(ScratchDir); });
    }
    return ScratchDir;
}

void Fuzz_WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

std::vector<std::uint8_t> Fuzz_ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void Fuzz_Embed(const std::string& name, const std::uint8_t* data, std::size_t size) {
    // The registry keeps pointers: the bytes stay alive until the next input replaces them.
    static std::vector<std::uint8_t> held;
    held.assign(data, data + size);
    Incbin_Clear();
    Incbin_Register(name, held.data(), held.size());
}

void Fuzz_Fail(const std::string& what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
    std::abort();
}
