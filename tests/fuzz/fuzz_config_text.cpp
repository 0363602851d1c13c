// The text settings file: any bytes read as settings the game can use, and a key and value
// saved into the text (in memory and through the file) read back as saved, other lines kept.
#include "data/config.h"
#include "data/players.h"
#include "tests/fuzz/fuzz_support.h"

#include <cmath>
#include <filesystem>

namespace {

const char* const Keys[] = {"PLAYER0",       "PLAYER9",     "PLAYER_CRT",   "FX_VOL",
                            "MUSIC_VOL",     "AMBIENT_VOL", "LEVELS_COUNT", "USERS_COUNT",
                            "WINDOWED_MODE", "SLOW_PC",     "BG_LIGHT",     "NEW_KEY"};
constexpr std::size_t ValueBytes = 12;

std::string WithoutBreaks(const std::string& v) {
    std::string out;
    for (char c : v)
        if (c != '\r' && c != '\n' && c != '\0') out += c;
    return out;
}

// Every line break of a saved text is CR LF.
bool BreaksAreCrLf(const std::string& t) {
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '\r' && (i + 1 >= t.size() || t[i + 1] != '\n')) return false;
        if (t[i] == '\n' && (i == 0 || t[i - 1] != '\r')) return false;
    }
    return true;
}

void CheckReplace(const std::string& text, const std::string& key, const std::string& value) {
    const std::string out = Config_ReplaceValue(text, key, value);
    FUZZ_CHECK(GetConfigValue(out, key) == WithoutBreaks(value));
    for (const char* other : Keys)
        if (other != key) FUZZ_CHECK(GetConfigValue(out, other) == GetConfigValue(text, other));
    FUZZ_CHECK(Config_ReplaceValue(out, key, value) == out);
    // A text the game wrote keeps its breaks as CR LF after any later save.
    if (BreaksAreCrLf(text)) FUZZ_CHECK(BreaksAreCrLf(out));
}

bool Fraction(float v) {
    return !std::isnan(v) && v >= 0.0f && v <= 1.0f;
}

void CheckSettings() {
    FUZZ_CHECK(Player_Crt >= 0 && Player_Crt < Players_Max);
    FUZZ_CHECK(WindowedMode == 0 || WindowedMode == 1);
    FUZZ_CHECK(Slow_PC == 0 || Slow_PC == 1);
    FUZZ_CHECK(Levels_Count >= 1 && Levels_Count <= Levels_Columns);
    FUZZ_CHECK(Users_Count >= 1 && Users_Count <= Players_Max);
    FUZZ_CHECK(Fraction(Bg_Light) && Fraction(FxVolume[Player_Crt]) &&
               Fraction(MusicVolume[Player_Crt]) && Fraction(AmbientVolume[Player_Crt]));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 + ValueBytes) return 0;
    const std::string key = Keys[data[0] % std::size(Keys)];
    const std::string value(reinterpret_cast<const char*>(data + 1), ValueBytes);
    const std::string text(reinterpret_cast<const char*>(data + 1 + ValueBytes),
                           size - 1 - ValueBytes);
    CheckReplace(text, key, value);

    Config_SetDir(Fuzz_ScratchDir());
    Fuzz_WriteFile(Config_TxtPath, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    Fuzz_Guard([&] {
        ReadConfig();
        CheckSettings();
        SetConfigValue(key, value);
    });
    const std::vector<std::uint8_t> saved = Fuzz_ReadFile(Config_TxtPath);
    const std::string after(saved.begin(), saved.end());
    if (text.size() <= 64 * 1024)
        FUZZ_CHECK(GetConfigValue(after, key) == WithoutBreaks(value));
    else
        FUZZ_CHECK(after == text); // refused as far too long: left exactly as it was
    return 0;
}
