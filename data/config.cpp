#include "data/config.h"

#include "data/players.h"
#include "engine/stream.h"
#include "engine/system.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

int WindowedMode = 0;
int Levels_Count = 150;
int Slow_PC = 0;
float Bg_Light = 1.0f;

std::string Config_Dir = ".";
std::string Config_TxtPath, Config_BinPath;
int First_Run = 0;
Config_Section Config_Sections[Config_SectionCount];

const char* const Config_DefaultText = "PLAYER0=New Player\r\nPLAYER1=New Player\r\n"
                                       "PLAYER2=New Player\r\nPLAYER3=New Player\r\n"
                                       "PLAYER4=New Player\r\nPLAYER5=New Player\r\n"
                                       "PLAYER6=New Player\r\nPLAYER7=New Player\r\n"
                                       "PLAYER8=New Player\r\nPLAYER9=New Player\r\n"
                                       "PLAYER_CRT=0\r\nFX_VOL=0.8\r\nMUSIC_VOL=0.8\r\n"
                                       "AMBIENT_VOL=0.5\r\nWINDOWED_MODE=0\r\n"
                                       "LEVELS_COUNT=150\r\nUSERS_COUNT=10\r\nSLOW_PC=0\r\n"
                                       "BG_LIGHT=1.00000000";

namespace {

// The tables behind the binary sections, in file order.
struct SectionTable {
    void* data;
    int size;
};

SectionTable SectionTableOf(int n) {
    switch (n) {
    case 0:
        return {Map_Page_A, sizeof(Map_Page_A)};
    case 1:
        return {Map_Page_B, sizeof(Map_Page_B)};
    case 2:
        return {Map_Marks, sizeof(Map_Marks)};
    case 3:
        return {Last_Level, sizeof(Last_Level)};
    case 4:
        return {Level_Skipped, sizeof(Level_Skipped)};
    case 5:
        return {Level_Status, sizeof(Level_Status)};
    case 6:
        return {Level_Starts, sizeof(Level_Starts)};
    case 7:
        return {Level_BestTime, sizeof(Level_BestTime)};
    case 8:
        return {Level_BestValue, sizeof(Level_BestValue)};
    case 9:
        return {Level_TotalTime, sizeof(Level_TotalTime)};
    case 10:
        return {Skips_Left, sizeof(Skips_Left)};
    case 11:
        return {FxVolume, sizeof(FxVolume)};
    case 12:
        return {MusicVolume, sizeof(MusicVolume)};
    case 13:
        return {AmbientVolume, sizeof(AmbientVolume)};
    case 14:
        return {Tip_Seen, sizeof(Tip_Seen)};
    case 15:
        return {Easyness_Table, sizeof(Easyness_Table)};
    default:
        return {Skips_Left, sizeof(Skips_Left)}; // stored a second time, read last
    }
}

void FillSections() {
    int offset = 0;
    for (int n = 0; n < Config_SectionCount; ++n) {
        Config_Sections[n] = {offset, SectionTableOf(n).size};
        offset += Config_Sections[n].size;
    }
}

// Every table value is 32 bits; the file is little-endian whatever the machine.
void CopyToFile(const SectionTable& t, std::uint8_t* dst) {
    const auto* src = static_cast<const std::uint8_t*>(t.data);
    for (int i = 0; i < t.size; i += 4) {
        std::uint32_t v;
        std::memcpy(&v, src + i, 4);
        for (int b = 0; b < 4; ++b)
            dst[i + b] = static_cast<std::uint8_t>(v >> (8 * b));
    }
}

void CopyFromFile(const std::uint8_t* src, int bytes, const SectionTable& t) {
    auto* dst = static_cast<std::uint8_t*>(t.data);
    for (int i = 0; i + 4 <= bytes; i += 4) {
        std::uint32_t v = 0;
        for (int b = 0; b < 4; ++b)
            v |= static_cast<std::uint32_t>(src[i + b]) << (8 * b);
        std::memcpy(dst + i, &v, 4);
    }
}

std::string ValueOr(const std::string& text, const std::string& key, const char* fallback) {
    std::string v = GetConfigValue(text, key);
    return v.empty() ? fallback : v;
}

float ReadReal(const std::string& text, const std::string& key, const char* fallback) {
    return static_cast<float>(std::strtod(ValueOr(text, key, fallback).c_str(), nullptr));
}

int ReadInt(const std::string& text, const std::string& key, const char* fallback) {
    return static_cast<int>(std::strtol(ValueOr(text, key, fallback).c_str(), nullptr, 10));
}

// A settings file that cannot be written is reported once; the game goes on with the values
// it holds in memory instead of ending.
void ReportWriteFailure(const std::string& path) {
    static bool reported = false;
    if (reported) return;
    reported = true;
    Notify("Cannot save the settings file " + path + ". Your changes are kept until you quit.",
           false);
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    return FileType(path) == 1 && LoadBytes(path, bytes);
}

} // namespace

void Config_SetDir(const std::string& dir) {
    Config_Dir = dir;
    while (Config_Dir.size() > 1 && (Config_Dir.back() == '/' || Config_Dir.back() == '\\'))
        Config_Dir.pop_back();
    Config_TxtPath = Config_Dir + "/gx_config.txt";
    Config_BinPath = Config_Dir + "/gx_config.bin";
}

std::string Config_FormatReal(float v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%#.9g", static_cast<double>(v));
    return buf;
}

std::string GetConfigValue(const std::string& text, const std::string& key) {
    std::size_t at = text.find(key + "=");
    if (at == std::string::npos) return "";
    std::size_t begin = at + key.size() + 1;
    std::size_t end = text.find('\r', begin);
    return text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

void CreateDefaultConfig() {
    if (!SaveString(Config_DefaultText, Config_TxtPath)) ReportWriteFailure(Config_TxtPath);
}

void SetConfigValue(const std::string& key, const std::string& value) {
    std::string text = LoadString(Config_TxtPath);
    std::size_t at = text.find(key);
    if (at == std::string::npos) return;
    std::size_t begin = std::min(at + key.size() + 1, text.size());
    std::size_t end = text.find('\r', begin);
    std::string updated = text.substr(0, begin) + value;
    if (end != std::string::npos) updated += text.substr(end);
    if (!SaveString(updated, Config_TxtPath)) ReportWriteFailure(Config_TxtPath);
}

void InitPlayerDefaults() {
    MusicVolume_Crt = MusicVolume[Player_Crt];
    FxVolume_Crt = FxVolume[Player_Crt];
    AmbientVolume_Crt = AmbientVolume[Player_Crt];
    for (int p = 0; p < Players_Max; ++p) {
        Skips_Left[p] = 5;
        Level_Status[p][1] = -1;
        FxVolume[p] = FxVolume_Crt;
        MusicVolume[p] = MusicVolume_Crt;
        AmbientVolume[p] = AmbientVolume_Crt;
    }
}

void ReadConfigBin() {
    std::vector<std::uint8_t> bytes;
    if (ReadWholeFile(Config_BinPath, bytes)) {
        for (int n = 0; n < Config_SectionCount; ++n) {
            const Config_Section& s = Config_Sections[n];
            if (s.offset >= static_cast<int>(bytes.size())) continue; // seek past the end
            int available = std::min(s.size, static_cast<int>(bytes.size()) - s.offset);
            CopyFromFile(bytes.data() + s.offset, available, SectionTableOf(n));
        }
    }
    FxVolume_Crt = FxVolume[Player_Crt];
    MusicVolume_Crt = MusicVolume[Player_Crt];
    AmbientVolume_Crt = AmbientVolume[Player_Crt];
}

// Writes the sections over the file's current bytes, so anything beyond the last section stays.
static void WriteSections(int first, int last) {
    std::vector<std::uint8_t> bytes;
    ReadWholeFile(Config_BinPath, bytes);
    if (bytes.size() < static_cast<std::size_t>(Config_BinSize)) bytes.resize(Config_BinSize, 0);
    for (int n = first; n <= last; ++n)
        CopyToFile(SectionTableOf(n), bytes.data() + Config_Sections[n].offset);
    if (!File_ReplaceAtomically(Config_BinPath, bytes.data(), bytes.size()))
        ReportWriteFailure(Config_BinPath);
}

void WriteConfigBin() {
    WriteSections(0, Config_SectionCount - 1);
}

void WriteConfigSection(int n) {
    if (n >= 0 && n < Config_SectionCount) WriteSections(n, n);
}

void ReadConfig() {
    if (Config_TxtPath.empty()) Config_SetDir(Config_Dir);
    if (FileType(Config_TxtPath) != 1) CreateDefaultConfig();
    std::string text = LoadString(Config_TxtPath);
    if (FileType(Config_TxtPath) != 1) text = Config_DefaultText; // unwritable folder
    for (int p = 0; p < Players_Max; ++p)
        Player_Names[p] = ValueOr(text, "PLAYER" + std::to_string(p), "Anonymous");
    Player_Crt = ReadInt(text, "PLAYER_CRT", "0");
    if (Player_Crt < 0 || Player_Crt >= Players_Max) Player_Crt = 0; // never index outside
    FxVolume[Player_Crt] = ReadReal(text, "FX_VOL", "0.8");
    MusicVolume[Player_Crt] = ReadReal(text, "MUSIC_VOL", "0.8");
    AmbientVolume[Player_Crt] = ReadReal(text, "AMBIENT_VOL", "0.7");
    WindowedMode = ReadInt(text, "WINDOWED_MODE", "0");
    Levels_Count = ReadInt(text, "LEVELS_COUNT", "211");
    Users_Count = ReadInt(text, "USERS_COUNT", "10");
    Slow_PC = ReadInt(text, "SLOW_PC", "0");
    Bg_Light = ReadReal(text, "BG_LIGHT", "1.0");
    FillSections();
    if (FileType(Config_BinPath) == 1) {
        First_Run = 0;
        ReadConfigBin();
    } else {
        First_Run = 1;
        InitPlayerDefaults();
        WriteConfigBin();
    }
}
