// The settings files: "gx_config.txt" (key=value lines, CR LF) and "gx_config.bin" (the
// per-player tables as fixed little-endian sections). Both live in Config_Dir.
#pragma once

#include <string>

// Settings read from the text file (the display and level ones are used by the shell).
extern int WindowedMode; // 1 window, 0 full screen
extern int Levels_Count;
extern int Slow_PC;    // 1 leaves decorative effects out
extern float Bg_Light; // scenery brightness factor

extern std::string Config_Dir; // no trailing separator
extern std::string Config_TxtPath, Config_BinPath;
extern int First_Run; // 1 when this start created the binary file

struct Config_Section {
    int offset;
    int size;
};
constexpr int Config_SectionCount = 17;
constexpr int Config_BinSize = 62284;
extern Config_Section Config_Sections[Config_SectionCount];

extern const char* const Config_DefaultText; // the 19 lines a new file holds

// Sets the folder of the settings files and builds the two paths. ReadConfig creates the folder
// with its parents when missing and removes temporaries an interrupted save left there.
void Config_SetDir(const std::string& dir);

void ReadConfig();
// The value of the first line that starts with key + "="; lines may end in CR LF, LF or CR.
std::string GetConfigValue(const std::string& text, const std::string& key);
// The text with that line's value replaced (the key appended when no line has it), every line
// break written as CR LF and every other line kept as it was.
std::string Config_ReplaceValue(const std::string& text, const std::string& key,
                                const std::string& value);
// Replaces the value of a key in the text file, adding the key when the file lacks it. A
// read-only or refused file is left alone (the player is told once).
void SetConfigValue(const std::string& key, const std::string& value);
void CreateDefaultConfig();
void ReadConfigBin();
void WriteConfigBin();
void WriteConfigSection(int n);
void InitPlayerDefaults();
// Brings every per-player table into the range the game uses (done on reading the binary file).
void Config_ClampTables();

// Reals as the files hold them: nine significant digits, trailing zeros kept (0.8 -> 0.800000012).
std::string Config_FormatReal(float v);
