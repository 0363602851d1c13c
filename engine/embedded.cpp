// The "incbin::" registry and the table of files linked into the executable.
#include "engine/stream.h"

#include <cstring>
#include <map>

// Defined by the generated table that only the game executable links; weak so that tools and
// tests without it still link, and see an empty table.
extern "C" {
extern const EmbeddedFile snow_embedded_files[] __attribute__((weak));
extern const std::size_t snow_embedded_count __attribute__((weak));
}

namespace {

struct Block {
    const std::uint8_t* bytes;
    std::size_t size;
};

// Names compare exactly: case and separators included. The bytes are not copied; they live in
// the executable (or, in tests, in storage that outlives the entry).
std::map<std::string, Block>& Registry() {
    static std::map<std::string, Block> registry;
    return registry;
}

} // namespace

int Incbin_Register(const std::string& name, const std::uint8_t* bytes, std::size_t size) {
    if (!bytes && size > 0) return 0;
    return Registry().emplace(name, Block{bytes, size}).second ? 1 : 0;
}

bool Incbin_Find(const std::string& name, const std::uint8_t** bytes, std::size_t* size) {
    auto it = Registry().find(name);
    if (it == Registry().end()) return false;
    static const std::uint8_t kEmpty = 0; // a registered empty file still reads as a stream
    if (bytes) *bytes = it->second.bytes ? it->second.bytes : &kEmpty;
    if (size) *size = it->second.size;
    return true;
}

void Incbin_Clear() {
    Registry().clear();
}

const EmbeddedFile* Embedded_Files(std::size_t* count) {
    bool linked = &snow_embedded_count != nullptr && snow_embedded_files != nullptr;
    if (count) *count = linked ? snow_embedded_count : 0;
    return linked ? snow_embedded_files : nullptr;
}

const EmbeddedFile* Embedded_Find(const std::string& path) {
    std::size_t count = 0;
    const EmbeddedFile* files = Embedded_Files(&count);
    for (std::size_t i = 0; i < count; ++i)
        if (files[i].path && path == files[i].path) return &files[i];
    return nullptr;
}
