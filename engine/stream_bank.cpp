// Banks: fixed blocks of bytes. Every access is bounds-checked: reads outside give 0 and writes
// outside change nothing, so a bad offset in a record never touches other memory.
#include "engine/stream.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

bool InRange(const Bank& b, int offset, int count) {
    return offset >= 0 && count >= 0 && static_cast<std::size_t>(offset) <= b.bytes.size() &&
           static_cast<std::size_t>(count) <= b.bytes.size() - static_cast<std::size_t>(offset);
}

// The part of [offset, offset + count) that lies inside the bank, as a count (0 when none).
std::size_t ClampCount(const Bank& b, int offset, int count) {
    if (offset < 0 || count <= 0 || static_cast<std::size_t>(offset) >= b.bytes.size()) return 0;
    return std::min(static_cast<std::size_t>(count), b.bytes.size() - offset);
}

} // namespace

int PeekByte(const Bank& b, int offset) {
    return InRange(b, offset, 1) ? b.bytes[offset] : 0;
}

void PokeByte(Bank& b, int offset, int v) {
    if (InRange(b, offset, 1)) b.bytes[offset] = static_cast<std::uint8_t>(v);
}

int PeekInt(const Bank& b, int offset) {
    if (!InRange(b, offset, 4)) return 0;
    const std::uint8_t* p = b.bytes.data() + offset;
    return static_cast<int>(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                            std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
}

void PokeInt(Bank& b, int offset, int v) {
    if (!InRange(b, offset, 4)) return;
    auto u = static_cast<std::uint32_t>(v);
    std::uint8_t* p = b.bytes.data() + offset;
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(u >> (8 * i));
}

float PeekFloat(const Bank& b, int offset) {
    return std::bit_cast<float>(PeekInt(b, offset));
}

void PokeFloat(Bank& b, int offset, float v) {
    PokeInt(b, offset, std::bit_cast<int>(v));
}

int ReadBank(Bank& b, Stream& s, int offset, int count) {
    std::size_t n = ClampCount(b, offset, count);
    if (!s.readable) return 0;
    std::size_t avail = s.pos < s.size ? s.size - s.pos : 0;
    n = std::min(n, avail);
    if (n) std::memcpy(b.bytes.data() + offset, s.data + s.pos, n);
    s.pos += n;
    return static_cast<int>(n);
}

int WriteBank(const Bank& b, Stream& s, int offset, int count) {
    std::size_t n = ClampCount(b, offset, count);
    if (!s.writable) return 0;
    WriteBytes(s, b.bytes.data() + offset, n);
    return static_cast<int>(n);
}
