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

// Sets the folder of the settings files and builds the two paths.
void Config_SetDir(const std::string& dir);

void ReadConfig();
std::string GetConfigValue(const std::string& text, const std::string& key);
// Replaces the value of an existing key in the text file; a missing key is never added.
void SetConfigValue(const std::string& key, const std::string& value);
void CreateDefaultConfig();
void ReadConfigBin();
void WriteConfigBin();
void WriteConfigSection(int n);
void InitPlayerDefaults();

// Reals as the files hold them: nine significant digits, trailing zeros kept (0.8 -> 0.800000012).
std::string Config_FormatReal(float v);
