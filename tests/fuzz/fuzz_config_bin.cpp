// The binary settings file: any bytes read as tables within the ranges the game uses; saving
// them keeps whatever lies beyond the known sections, and what was saved reads back the same.
#include "data/config.h"
#include "data/players.h"
#include "tests/fuzz/fuzz_support.h"

#include <cmath>
#include <cstring>

namespace {

constexpr std::size_t BinLimit = 1024 * 1024; // a longer file is refused and left alone

template <std::size_t N> bool Within(const int (&row)[N], int lo, int hi) {
    for (int v : row)
        if (v < lo || v > hi) return false;
    return true;
}

bool Fraction(float v) {
    return !std::isnan(v) && v >= 0.0f && v <= 1.0f;
}

void CheckTables() {
    for (int p = 0; p < Players_Max; ++p) {
        FUZZ_CHECK(Map_Page_A[p] >= 0 && Map_Page_A[p] < Levels_Columns);
        FUZZ_CHECK(Last_Level[p] >= 0 && Last_Level[p] < Levels_Columns);
        FUZZ_CHECK(Within(Map_Marks[p], 0, 2) && Within(Level_Status[p], -1, 1));
        FUZZ_CHECK(Within(Level_Starts[p], 0, 1000000000) &&
                   Within(Level_BestTime[p], 0, 1000000000));
        FUZZ_CHECK(Within(Easyness_Table[p], -1, Easyness_Max) && Within(Tip_Seen[p], 0, 1));
        FUZZ_CHECK(Skips_Left[p] >= 0 && Skips_Left[p] <= Skips_Max);
        FUZZ_CHECK(Fraction(FxVolume[p]) && Fraction(MusicVolume[p]) && Fraction(AmbientVolume[p]));
    }
}

// The tables as one block, to compare a read with the next.
std::vector<std::uint8_t> Snapshot() {
    std::vector<std::uint8_t> out;
    auto add = [&](const void* p, std::size_t n) {
        const auto* b = static_cast<const std::uint8_t*>(p);
        out.insert(out.end(), b, b + n);
    };
    add(Map_Marks, sizeof Map_Marks);
    add(Level_Status, sizeof Level_Status);
    add(Level_Starts, sizeof Level_Starts);
    add(Easyness_Table, sizeof Easyness_Table);
    add(Skips_Left, sizeof Skips_Left);
    add(FxVolume, sizeof FxVolume);
    add(Tip_Seen, sizeof Tip_Seen);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = [] {
        Config_SetDir(Fuzz_ScratchDir());
        Fuzz_WriteFile(Config_TxtPath, reinterpret_cast<const std::uint8_t*>(Config_DefaultText),
                       std::strlen(Config_DefaultText));
        return true;
    }();
    (void)ready;
    Fuzz_WriteFile(Config_BinPath, data, size);
    Players_ClearTables();
    Fuzz_Guard([] {
        ReadConfig();
        CheckTables();
        const std::vector<std::uint8_t> first = Snapshot();
        WriteConfigBin();
        ReadConfigBin();
        FUZZ_CHECK(Snapshot() == first);
    });
    const std::vector<std::uint8_t> saved = Fuzz_ReadFile(Config_BinPath);
    if (size > BinLimit) {
        FUZZ_CHECK(saved.size() == size && std::memcmp(saved.data(), data, size) == 0);
    } else {
        FUZZ_CHECK(saved.size() == std::max<std::size_t>(size, Config_BinSize));
        if (size > std::size_t(Config_BinSize))
            FUZZ_CHECK(std::memcmp(saved.data() + Config_BinSize, data + Config_BinSize,
                                   size - Config_BinSize) == 0);
    }
    return 0;
}
