#include "data/config.h"

#include "data/players.h"
#include "engine/stream.h"
#include "engine/system.h"

#include <algorithm>
#include <climits>
#include <cmath>
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

// Hand-edited values are kept to what the game can use: a volume or factor outside 0..1 is
// brought into it, and one that is no number at all (nan) takes the default.
float ReadFraction(const std::string& text, const std::string& key, const char* fallback) {
    double v = std::strtod(ValueOr(text, key, fallback).c_str(), nullptr);
    if (std::isnan(v)) v = std::strtod(fallback, nullptr);
    return static_cast<float>(std::clamp(v, 0.0, 1.0));
}

int ReadInt(const std::string& text, const std::string& key, const char* fallback, int lo, int hi) {
    long v = std::strtol(ValueOr(text, key, fallback).c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(v, lo, hi));
}

// How a settings file may be used this run. A file that is read-only, or that was refused when
// read (not a regular file, far too long, unreadable), is left exactly as it is; the player is
// told once, when the game first wants to write it.
struct FileGuard {
    bool locked = false;
    bool told = false;
    bool refused = false; // not read at all: the defaults stand in for it
    std::string message;  // what the player is told
};
FileGuard TxtGuard, BinGuard;

constexpr std::size_t Config_TextLimit = 64 * 1024; // the default text is 339 bytes
constexpr std::size_t Config_BinLimit = 1024 * 1024;

void Tell(FileGuard& g) {
    if (g.told || g.message.empty()) return;
    g.told = true;
    Notify(g.message, false);
}

void Lock(FileGuard& g, const std::string& message) {
    g.locked = true;
    g.message = message;
}

void LockReadOnly(FileGuard& g, const std::string& path) {
    Lock(g, "The settings file " + path +
                " is read-only: it is left as it is and changes are not saved.");
}

// A settings file that cannot be written for another reason is reported once; the game goes on
// with the values it holds in memory instead of ending.
void ReportWriteFailure(FileGuard& g, const std::string& path) {
    if (File_IsReadOnly(path)) {
        LockReadOnly(g, path);
    } else if (g.message.empty()) {
        g.message =
            "Cannot save the settings file " + path + ". Your changes are kept until you quit.";
    }
    Tell(g);
}

// Reads a settings file that exists; false (and the file locked, the player told) when it
// cannot be used.
bool ReadSettingsFile(const std::string& path, std::size_t limit, FileGuard& g,
                      std::vector<std::uint8_t>& bytes) {
    std::string why;
    if (!File_ReadRegular(path, limit, bytes, &why)) {
        bytes.clear();
        g.refused = true;
        Lock(g, "The settings file " + path + " " + why +
                    ": it was not read and is left as it is; the defaults are used.");
        Tell(g);
        return false;
    }
    if (File_IsReadOnly(path)) LockReadOnly(g, path);
    return true;
}

// Where every line of a settings text begins and ends; a line ends at CR LF, LF or a lone CR,
// or at the end of the text. A byte-order mark some editors put first is not part of a key.
struct TextLine {
    std::size_t begin, end, next; // content [begin, end), the next line at `next`
};

std::vector<TextLine> SplitLines(const std::string& text) {
    std::vector<TextLine> lines;
    std::size_t at = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (at < text.size()) {
        std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) {
            lines.push_back({at, text.size(), text.size()});
            break;
        }
        std::size_t next = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        lines.push_back({at, end, next});
        at = next;
    }
    return lines;
}

bool LineHasKey(const std::string& text, const TextLine& line, const std::string& key) {
    return line.end - line.begin > key.size() && text.compare(line.begin, key.size(), key) == 0 &&
           text[line.begin + key.size()] == '=';
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
    for (const TextLine& line : SplitLines(text))
        if (LineHasKey(text, line, key)) {
            const std::size_t begin = line.begin + key.size() + 1;
            return text.substr(begin, line.end - begin);
        }
    return "";
}

std::string Config_ReplaceValue(const std::string& text, const std::string& key,
                                const std::string& value) {
    // A value never carries a line break or a zero byte into the file: it would start a line
    // of its own (a name typed as "x\nPLAYER_CRT=9") or end the text early.
    std::string clean;
    for (char c : value)
        if (c != '\r' && c != '\n' && c != '\0') clean += c;
    const std::vector<TextLine> lines = SplitLines(text);
    std::string out = text.substr(0, lines.empty() ? text.size() : lines.front().begin);
    bool replaced = false;
    for (const TextLine& line : lines) {
        if (!replaced && LineHasKey(text, line, key)) {
            out.append(key).append("=").append(clean);
            replaced = true;
        } else {
            out.append(text, line.begin, line.end - line.begin);
        }
        if (line.next > line.end) out += "\r\n"; // every line break is written as CR LF
    }
    if (replaced) return out;
    // A key deleted by hand comes back, so the setting is saved rather than lost.
    if (!lines.empty() && out.back() != '\n') out += "\r\n";
    return out + key + "=" + clean;
}

void CreateDefaultConfig() {
    if (TxtGuard.locked) return;
    if (!SaveString(Config_DefaultText, Config_TxtPath))
        ReportWriteFailure(TxtGuard, Config_TxtPath);
}

void SetConfigValue(const std::string& key, const std::string& value) {
    if (TxtGuard.locked) {
        Tell(TxtGuard);
        return;
    }
    std::string text = Config_DefaultText; // a file deleted while the game runs starts again
    if (FileType(Config_TxtPath) != 0) {
        std::vector<std::uint8_t> bytes;
        if (!ReadSettingsFile(Config_TxtPath, Config_TextLimit, TxtGuard, bytes)) return;
        text.assign(bytes.begin(), bytes.end());
        if (TxtGuard.locked) {
            Tell(TxtGuard);
            return;
        }
    }
    if (!SaveString(Config_ReplaceValue(text, key, value), Config_TxtPath))
        ReportWriteFailure(TxtGuard, Config_TxtPath);
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

namespace {

template <std::size_t N> void ClampAll(int (&row)[N], int lo, int hi) {
    for (int& v : row)
        v = std::clamp(v, lo, hi);
}

void ClampVolume(float& v, float fallback) {
    v = std::isnan(v) ? fallback : std::clamp(v, 0.0f, 1.0f);
}

} // namespace

void Config_ClampTables() {
    constexpr int Count_Max = 1000000000; // starts and milliseconds: room left to add to
    for (int p = 0; p < Players_Max; ++p) {
        Map_Page_A[p] = std::clamp(Map_Page_A[p], 0, Levels_Columns - 1);
        Map_Page_B[p] = std::clamp(Map_Page_B[p], 0, Levels_Columns - 1);
        ClampAll(Map_Marks[p], 0, 2);
        Last_Level[p] = std::clamp(Last_Level[p], 0, Levels_Columns - 1);
        ClampAll(Level_Skipped[p], 0, 1);
        ClampAll(Level_Status[p], -1, 1);
        ClampAll(Level_Starts[p], 0, Count_Max);
        ClampAll(Level_BestTime[p], 0, Count_Max);
        ClampAll(Level_BestValue[p], 0, 1); // kept at 0 but for the slot's in-use flag
        Skips_Left[p] = std::clamp(Skips_Left[p], 0, Skips_Max);
        ClampVolume(FxVolume[p], 0.8f);
        ClampVolume(MusicVolume[p], 0.8f);
        ClampVolume(AmbientVolume[p], 0.7f);
        ClampAll(Tip_Seen[p], 0, 1);
        ClampAll(Easyness_Table[p], -1, Easyness_Max);
    }
    ClampAll(Level_TotalTime, 0, Count_Max);
}

void ReadConfigBin() {
    std::vector<std::uint8_t> bytes;
    if (FileType(Config_BinPath) != 0 &&
        ReadSettingsFile(Config_BinPath, Config_BinLimit, BinGuard, bytes)) {
        for (int n = 0; n < Config_SectionCount; ++n) {
            const Config_Section& s = Config_Sections[n];
            if (s.offset >= static_cast<int>(bytes.size())) continue; // seek past the end
            int available = std::min(s.size, static_cast<int>(bytes.size()) - s.offset);
            CopyFromFile(bytes.data() + s.offset, available, SectionTableOf(n));
        }
    }
    Config_ClampTables();
    FxVolume_Crt = FxVolume[Player_Crt];
    MusicVolume_Crt = MusicVolume[Player_Crt];
    AmbientVolume_Crt = AmbientVolume[Player_Crt];
}

// Writes the sections over the file's current bytes, so anything beyond the last section stays.
static void WriteSections(int first, int last) {
    if (BinGuard.locked) {
        Tell(BinGuard);
        return;
    }
    std::vector<std::uint8_t> bytes;
    if (FileType(Config_BinPath) != 0 &&
        !ReadSettingsFile(Config_BinPath, Config_BinLimit, BinGuard, bytes))
        return;
    if (BinGuard.locked) {
        Tell(BinGuard);
        return;
    }
    if (bytes.size() < static_cast<std::size_t>(Config_BinSize)) bytes.resize(Config_BinSize, 0);
    for (int n = first; n <= last; ++n)
        CopyToFile(SectionTableOf(n), bytes.data() + Config_Sections[n].offset);
    if (!File_ReplaceAtomically(Config_BinPath, bytes.data(), bytes.size()))
        ReportWriteFailure(BinGuard, Config_BinPath);
}

void WriteConfigBin() {
    WriteSections(0, Config_SectionCount - 1);
}

void WriteConfigSection(int n) {
    if (n >= 0 && n < Config_SectionCount) WriteSections(n, n);
}

namespace {

// The data folder is made with its parents when missing; when that fails nothing can be saved,
// which the player hears once, here.
bool PrepareDataFolder() {
    std::string why;
    if (!File_CreateFolders(Config_Dir, &why)) {
        const std::string message =
            "Cannot create the data folder " + why + ". Settings and progress will not be saved.";
        Notify(message, false);
        for (FileGuard* g : {&TxtGuard, &BinGuard}) {
            Lock(*g, message);
            g->told = true;
        }
        return false;
    }
    // Temporaries a save killed halfway left behind; the settings files themselves are whole.
    File_RemoveStaleTemporaries(Config_TxtPath);
    File_RemoveStaleTemporaries(Config_BinPath);
    return true;
}

std::string ReadSettingsText() {
    if (TxtGuard.locked || FileType(Config_TxtPath) == 0) {
        CreateDefaultConfig();
        return Config_DefaultText;
    }
    std::vector<std::uint8_t> bytes;
    if (!ReadSettingsFile(Config_TxtPath, Config_TextLimit, TxtGuard, bytes))
        return Config_DefaultText;
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

void ReadConfig() {
    if (Config_TxtPath.empty()) Config_SetDir(Config_Dir);
    TxtGuard = {};
    BinGuard = {};
    PrepareDataFolder();
    const std::string text = ReadSettingsText();
    for (int p = 0; p < Players_Max; ++p)
        Player_Names[p] = ValueOr(text, "PLAYER" + std::to_string(p), "Anonymous");
    Player_Crt = ReadInt(text, "PLAYER_CRT", "0", INT_MIN, INT_MAX);
    if (Player_Crt < 0 || Player_Crt >= Players_Max) Player_Crt = 0; // never index outside
    FxVolume[Player_Crt] = ReadFraction(text, "FX_VOL", "0.8");
    MusicVolume[Player_Crt] = ReadFraction(text, "MUSIC_VOL", "0.8");
    AmbientVolume[Player_Crt] = ReadFraction(text, "AMBIENT_VOL", "0.7");
    WindowedMode = ReadInt(text, "WINDOWED_MODE", "0", 0, 1);
    Levels_Count = ReadInt(text, "LEVELS_COUNT", "211", 1, Levels_Columns);
    Users_Count = ReadInt(text, "USERS_COUNT", "10", 1, Players_Max);
    Slow_PC = ReadInt(text, "SLOW_PC", "0", 0, 1);
    Bg_Light = ReadFraction(text, "BG_LIGHT", "1.0");
    FillSections();
    if (FileType(Config_BinPath) != 0) {
        First_Run = 0;
        ReadConfigBin();
        if (BinGuard.refused) InitPlayerDefaults(); // the file itself stays as it is
    } else {
        First_Run = 1;
        InitPlayerDefaults();
        WriteConfigBin();
    }
}
