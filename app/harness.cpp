#include "app/harness.h"

#include "app/autoplay.h"
#include "app/buttons.h"
#include "app/game_screen.h"
#include "app/highscores_view.h"
#include "app/keyboard_nav.h"
#include "app/level_chooser.h"
#include "app/level_flow.h"
#include "app/level_start.h"
#include "app/match.h"
#include "app/options_screen.h"
#include "app/player_screen.h"
#include "app/screens.h"
#include "audio/music.h"
#include "audio/sound_fx.h"
#include "board/board.h"
#include "board/clock.h"
#include "board/hammers.h"
#include "board/pieces.h"
#include "board/ripple.h"
#include "board/swap.h"
#include "board/table.h"
#include "board/tips.h"
#include "data/config.h"
#include "data/level_file.h"
#include "data/players.h"
#include "engine/audio.h"
#include "engine/gfx.h"
#include "engine/input.h"
#include "engine/stream.h"
#include "engine/system.h"
#include "fx/effects.h"
#include "fx/particles.h"
#include "fx/scenery.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>

const char* const Harness_Usage =
    "usage: snowmere [options]\n"
    "  --headless              no window and no sound card (offscreen display, loopback sound)\n"
    "  --data-dir DIR          where the settings and saved files are read and written\n"
    "  --seed N                seed the random numbers with N\n"
    "  --fixed-delta MS        every frame lasts exactly MS ms of game time; nothing waits\n"
    "  --frames N              end after N main-loop passes (settings saved as on exit)\n"
    "  --input FILE            scripted input (see README)\n"
    "  --screenshot PASS:FILE  write the frame of that pass as PNG (repeatable; PASS may be\n"
    "                          logo1 or logo2 for the two logo screens)\n"
    "  --dump-state FILE       write the game state as JSON at exit\n"
    "  --dump-at PASS:FILE     write the game state as JSON after that pass (repeatable)\n"
    "  --skip-logos            do not wait on the logo screens\n"
    "  --desktop WxH           pretend the desktop has this size\n"
    "  --level N               after start-up, start a match at level N (1..150)\n"
    "  --level-file PATH       the same with any level file (played as level N with --level)\n"
    "  --relaxed               the match started by --level has no clock\n"
    "  --skip-fade-in          the match started by --level starts with its board settled\n"
    "  --record-audio FILE     with --headless: write the sound of the run as a WAV, each pass\n"
    "                          lasting its frame time\n"
    "  --dev-keys              the game screen's developer keys (left Control + key) and the\n"
    "                          developer overlays (F1 with 1 or Y, F2 with U or L) work\n"
    "  --no-draw               with --headless: run the rules and timing without drawing\n"
    "                          (many times faster; no screenshots)\n"
    "  --autoplay              the level bot plays the whole game unattended (menus, levels,\n"
    "                          dialogs) through the game's own input\n";

namespace {

const HarnessOptions* Active = nullptr;

// The loopback mix, rendered by game time: every pass adds its frame time of samples, so the
// recording of N frames of MS ms lasts N x MS ms however fast the run goes.
struct AudioRecording {
    std::FILE* file = nullptr;
    double owed_frames = 0; // fractions of a sample frame carried to the next pass
    std::uint32_t frames = 0;
    std::vector<std::int16_t> buffer;
};
AudioRecording Recording;
int PlayingAtLastPass = 0; // the final dump comes after the sound device has closed
constexpr int kRecordRate = 44100;

void PutLE(std::FILE* f, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        std::fputc(static_cast<int>((v >> (8 * i)) & 0xFF), f);
}

// The 44-byte header of a 16-bit stereo PCM WAV holding `frames` sample frames.
void WriteWavHeader(std::FILE* f, std::uint32_t frames) {
    const std::uint32_t data = frames * 4;
    std::fputs("RIFF", f);
    PutLE(f, 36 + data, 4);
    std::fputs("WAVEfmt ", f);
    PutLE(f, 16, 4);
    PutLE(f, 1, 2); // PCM
    PutLE(f, 2, 2); // stereo
    PutLE(f, kRecordRate, 4);
    PutLE(f, kRecordRate * 4, 4);
    PutLE(f, 4, 2);
    PutLE(f, 16, 2);
    std::fputs("data", f);
    PutLE(f, data, 4);
}

bool StartRecording(const std::string& path) {
    Recording = AudioRecording{};
    Recording.file = std::fopen(path.c_str(), "wb");
    if (!Recording.file) return false;
    WriteWavHeader(Recording.file, 0);
    return true;
}

void RecordPass() {
    if (!Recording.file) return;
    // With --fixed-delta every pass lasts exactly that (also the one after a timing reset, for
    // which the game assumes 16 ms); otherwise the game's frame time.
    const double ms = System_FixedDelta() > 0 ? System_FixedDelta() : DeltaMs;
    Recording.owed_frames += ms * kRecordRate / 1000.0;
    const int frames = static_cast<int>(Recording.owed_frames);
    Recording.owed_frames -= frames;
    if (frames <= 0) return;
    if (!Audio_RenderLoopback(frames, Recording.buffer)) // no device: the run is silent
        Recording.buffer.assign(static_cast<std::size_t>(frames) * 2, 0);
    for (std::int16_t s : Recording.buffer)
        PutLE(Recording.file, static_cast<std::uint16_t>(s), 2);
    Recording.frames += static_cast<std::uint32_t>(frames);
}

bool FinishRecording() {
    if (!Recording.file) return true;
    std::rewind(Recording.file);
    WriteWavHeader(Recording.file, Recording.frames);
    bool ok = std::ferror(Recording.file) == 0;
    ok = std::fclose(Recording.file) == 0 && ok;
    Recording.file = nullptr;
    return ok;
}
std::vector<ScriptEvent> Script;
std::size_t ScriptNext = 0;

bool ParseInt(const std::string& s, int* out) {
    char* end = nullptr;
    long v = std::strtol(s.c_str(), &end, 10);
    if (s.empty() || *end != '\0') return false;
    *out = static_cast<int>(v);
    return true;
}

// "PASS:FILE"; the logo screens before the main loop are "logo1" and "logo2" (passes -1, -2).
bool ParsePassFile(const std::string& v, int* pass, std::string* file) {
    auto colon = v.find(':');
    if (colon == std::string::npos || colon + 1 >= v.size()) return false;
    *file = v.substr(colon + 1);
    std::string which = v.substr(0, colon);
    if (which == "logo1" || which == "logo2") {
        *pass = -(which[4] - '0');
        return true;
    }
    return ParseInt(which, pass) && *pass >= 0;
}

int ButtonNumber(const std::string& name) {
    if (name == "left") return 1;
    if (name == "right") return 2;
    if (name == "middle") return 3;
    return 0;
}

// Gamepad buttons and axes by SDL's names for them.
constexpr std::pair<const char*, int> kPadButtonNames[] = {
    {"a", PAD_A},
    {"b", PAD_B},
    {"x", PAD_X},
    {"y", PAD_Y},
    {"back", PAD_BACK},
    {"start", PAD_START},
    {"leftshoulder", PAD_LEFTSHOULDER},
    {"rightshoulder", PAD_RIGHTSHOULDER},
    {"dpup", PAD_UP},
    {"dpdown", PAD_DOWN},
    {"dpleft", PAD_LEFT},
    {"dpright", PAD_RIGHT},
};
constexpr std::pair<const char*, int> kPadAxisNames[] = {
    {"leftx", PAD_AXIS_LEFTX},
    {"lefty", PAD_AXIS_LEFTY},
    {"lefttrigger", PAD_AXIS_TRIGGERLEFT},
    {"righttrigger", PAD_AXIS_TRIGGERRIGHT},
};

// Keys a script may name instead of giving their code; a letter names itself (a number is a code).
constexpr std::pair<const char*, int> kKeyNames[] = {
    {"escape", VK_ESCAPE},  {"enter", VK_RETURN},    {"space", VK_SPACE}, {"tab", VK_TAB},
    {"backspace", VK_BACK}, {"delete", VK_DELETE},   {"home", VK_HOME},   {"end", VK_END},
    {"left", VK_LEFT},      {"up", VK_UP},           {"right", VK_RIGHT}, {"down", VK_DOWN},
    {"shift", VK_SHIFT},    {"control", VK_CONTROL}, {"alt", VK_MENU},
};

template <std::size_t N>
int NamedCode(const std::pair<const char*, int> (&table)[N], const std::string& name) {
    for (const auto& [n, code] : table)
        if (name == n) return code;
    return -1;
}

// A key by code (0..255) or by name; -1 when neither.
int ParseKeyCode(const std::string& word) {
    int code = 0;
    if (ParseInt(word, &code)) return code >= 0 && code < 256 ? code : -1;
    if (word.size() == 1 && std::isalpha(static_cast<unsigned char>(word[0])))
        return std::toupper(static_cast<unsigned char>(word[0]));
    return NamedCode(kKeyNames, word);
}

// "pad added", "pad removed", "pad button NAME down|up", "pad axis NAME VALUE".
bool ParsePadEvent(std::istringstream& words, ScriptEvent* e) {
    std::string what, name, value;
    if (!(words >> what)) return false;
    if (what == "added" || what == "removed") {
        e->kind = "pad " + what;
        return true;
    }
    if (!(words >> name >> value)) return false;
    if (what == "button") {
        e->kind = "pad button";
        e->a = NamedCode(kPadButtonNames, name);
        e->b = value == "down";
        return e->a >= 0 && (value == "down" || value == "up");
    }
    long v = 0;
    char* end = nullptr;
    v = std::strtol(value.c_str(), &end, 10);
    if (what != "axis" || *end != '\0' || value.empty()) return false;
    e->kind = "pad axis";
    e->a = NamedCode(kPadAxisNames, name);
    e->b = static_cast<int>(std::clamp<long>(v, -32768, 32767));
    return e->a >= 0;
}

void ApplyEvent(const ScriptEvent& e) {
    if (e.kind == "move")
        Input_InjectMouseMove(e.a, e.b);
    else if (e.kind == "press")
        Input_InjectMouseButton(e.a, true);
    else if (e.kind == "release")
        Input_InjectMouseButton(e.a, false);
    else if (e.kind == "keydown")
        Input_InjectKey(e.a, true);
    else if (e.kind == "keyup")
        Input_InjectKey(e.a, false);
    else if (e.kind == "text")
        Input_InjectText(e.text.c_str());
    else if (e.kind == "wheel")
        Input_InjectWheel(e.a);
    else if (e.kind == "close")
        Input_InjectClose();
    else if (e.kind == "focus")
        Input_InjectFocus(e.a != 0);
    else if (e.kind == "pad added")
        Input_InjectPadAdded();
    else if (e.kind == "pad removed")
        Input_InjectPadRemoved();
    else if (e.kind == "pad button")
        Input_InjectPadButton(e.a, e.b != 0);
    else if (e.kind == "pad axis")
        Input_InjectPadAxis(e.a, e.b);
}

void WriteDump(const std::string& file) {
    if (!SaveString(Harness_StateJson(), file))
        std::fprintf(stderr, "snowmere: cannot write %s\n", file.c_str());
}

void BeforePass(int pass) {
    while (ScriptNext < Script.size() && Script[ScriptNext].frame <= pass)
        ApplyEvent(Script[ScriptNext++]);
    Autoplay_Pass(); // the demo's input, when --autoplay asked for it
}

void BeforeFlip(int pass) {
    auto it = Active->screenshots.find(pass);
    if (it == Active->screenshots.end()) return;
    for (const std::string& file : it->second)
        if (!Graphics_SaveScreenshot(file))
            std::fprintf(stderr, "snowmere: cannot write screenshot %s\n", file.c_str());
}

// The board's fade-in run to its end at once: the ripple covers every cell, as after playing it.
void SettleFadeIn() {
    for (int step = 0; Intro_Active && step < 100000; ++step)
        Ripple_Step();
}

bool StartRequestedLevel() {
    const int relaxed = Active->relaxed ? 1 : 0;
    DevKeys_Enabled = Active->dev_keys ? 1 : 0;
    bool started = true;
    if (!Active->level_file.empty())
        started = LevelStart_NewMatchFromFile(Active->level_file, relaxed, Active->level);
    else if (Active->level > 0)
        started = LevelStart_NewMatch(Active->level, relaxed);
    else
        return true;
    if (started && Active->skip_fade_in) SettleFadeIn();
    return started;
}

void AfterPass(int pass) {
    RecordPass();
    PlayingAtLastPass = Snd_PlayingCount();
    auto it = Active->dumps.find(pass);
    if (it == Active->dumps.end()) return;
    for (const std::string& file : it->second)
        WriteDump(file);
}

std::string Quoted(const std::string& s);

// The open dialog's kind by the function that draws it.
std::string DialogName() {
    if (!DialogActive) return "none";
    if (const char* name = GameScreen_DialogName()) return name;
    if (DialogDrawFn == QuitDialogDraw) return "quit";
    if (DialogDrawFn == NameDialogDraw) return "name";
    if (DialogDrawFn == ResetDialogDraw) return "reset";
    if (DialogDrawFn == LevelWonDialogDraw) return "level_won";
    if (DialogDrawFn == HighscoresDraw) return "highscores";
    if (DialogDrawFn == ResetHighscoresDraw) return "reset_highscores";
    if (DialogDrawFn == ResumeDialogDraw) return "resume_match";
    return "other";
}

// The current player's statuses of the levels on the chooser's page.
std::string PageStatuses() {
    std::string out = "[";
    for (int s = 1; s <= Chooser_PerPage; ++s) {
        const int n = std::min(s + MapPage * Chooser_PerPage, Levels_Columns - 1);
        out += (s > 1 ? ", " : "") + std::to_string(Level_Status[Player_Crt][n]);
    }
    return out + "]";
}

// The captions of the navigation buttons the chooser shows on its page.
std::string ChooserButtonNames() {
    std::string out = "[";
    for (ButtonAnim* b : Chooser_NavigationButtons())
        out += (out.size() > 1 ? ", " : "") + Quoted(b->caption);
    return out + "]";
}

int EasynessOfCurrentLevel() {
    const bool known = LevelCrt >= 0 && LevelCrt < Levels_Columns;
    return known ? Easyness_Table[Player_Crt][LevelCrt] : 0;
}

// A JSON string of a game text. The game's texts are single bytes of Latin-1 (names typed by
// players included), written as UTF-8; control characters are escaped.
std::string Quoted(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (b < 0x20 || b == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(b));
            out += buf;
        } else if (b >= 0x80) {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// Pointer positions far off any screen, and wheel steps whose running total stays in range, in
// the order the events are applied.
void Script_Clamp(std::vector<ScriptEvent>& events) {
    long long wheel = 0;
    for (ScriptEvent& e : events) {
        if (e.kind == "move") {
            e.a = std::clamp(e.a, -Script_MaxCoordinate, Script_MaxCoordinate);
            e.b = std::clamp(e.b, -Script_MaxCoordinate, Script_MaxCoordinate);
        } else if (e.kind == "wheel") {
            const long long total =
                std::clamp<long long>(wheel + e.a, -Script_MaxWheel, Script_MaxWheel);
            e.a = static_cast<int>(total - wheel);
            wheel = total;
        }
    }
}

// Board geometry, the hint, the fade-in pattern and the pieces' swap states (rows of the board
// from the top, null for a cell without a piece).
// What a piece is besides its kind, for the dump's `specials` rows.
const char* SpecialName(const Piece* p) {
    if (p->bomb) return "bomb";
    if (p->laser) return "laser";
    if (p->golden) return "golden";
    if (p->color == Kind_Crystal) return "crystal";
    if (p->color == Kind_Snowball) return "snowball";
    if (p->color == Kind_Icecube) return "icecube";
    return "none";
}

std::string HammerJson() {
    std::ostringstream j;
    j << "  \"Hammer_Points\": " << Hammer_Points << ",\n";
    j << "  \"Hammer_Active\": " << Hammer_Active << ",\n";
    j << "  \"Hammer_Level\": " << Hammer_Level << ",\n";
    j << "  \"Hammer3_Count\": " << Hammer3_Count << ",\n";
    int halves = 0;
    for (const Piece* p : Pieces)
        if (p && p->color == Kind_SnowHalf) ++halves;
    j << "  \"Snowball_Halves\": " << halves << ",\n";
    j << "  \"specials\": [";
    for (int y = 0; y < Table_dy; ++y) {
        j << (y ? ", [" : "[");
        for (int x = 0; x < Table_dx; ++x) {
            const Piece* p = Table[x][y].piece_id;
            j << (x ? ", " : "") << (p ? "\"" + std::string(SpecialName(p)) + "\"" : "null");
        }
        j << "]";
    }
    j << "],\n";
    return j.str();
}

// The help tip on show and the tips the current player has seen (their numbers).
std::string TipsJson() {
    std::ostringstream j;
    j << "  \"Tip_Showing\": " << Tip_Showing << ",\n";
    j << "  \"Tip_Current\": " << Tip_Current << ",\n";
    j << "  \"Tip_Blocking\": " << Tip_Blocking << ",\n";
    j << "  \"Tip_HasButton\": " << Tip_HasButton << ",\n";
    j << "  \"Tip_MissCount\": " << Tip_MissCount << ",\n";
    j << "  \"Tip_Arrow\": "
      << (Tip_ArrowOn ? "[" + std::to_string(Tip_ArrowX) + ", " + std::to_string(Tip_ArrowY) + "]"
                      : std::string("null"))
      << ",\n";
    j << "  \"Tip_Button\": "
      << (Tip_HasButton
              ? "[" + std::to_string(Tip_ButtonX) + ", " + std::to_string(Tip_ButtonY) + "]"
              : std::string("null"))
      << ",\n";
    j << "  \"Tip_Seen\": [";
    const char* sep = "";
    for (int t = 0; t < Tips_Columns; ++t)
        if (Tip_SeenByPlayer(t)) j << sep << t, sep = ", ";
    j << "],\n";
    return j.str();
}

// The options screen: its pages and what each control shows.
std::string OptionsJson() {
    static const char* const names[] = {"music", "fx", "ambient", "darkness"};
    std::ostringstream j;
    j << "  \"Options_Page\": " << Options_Page << ",\n";
    j << "  \"Help_Page\": " << Help_Page << ",\n";
    j << "  \"Options_Windowed\": " << Options_Windowed << ",\n";
    j << "  \"Options_Dragging\": " << (Options_Dragged ? Options_Dragged->Button_Id : 0) << ",\n";
    j << "  \"Options_Sliders\": {";
    for (const Button_Interface* c : Options_Controls) {
        const int n = c->Button_Id - CONTROL_MUSIC;
        if (n < 0 || n > 3) continue;
        j << (n ? ", " : "") << "\"" << names[n] << "\": {\"x\": " << c->x
          << ", \"value\": " << Options_SliderValue(c) << "}";
    }
    j << "},\n";
    j << "  \"Slow_PC\": " << Slow_PC << ",\n";
    j << "  \"Bg_Light\": " << Bg_Light << ",\n";
    return j.str();
}

std::string BoardExtrasJson() {
    std::ostringstream j;
    j << "  \"Cell_Width\": " << Cell_Width << ",\n";
    j << "  \"Cell_Height\": " << Cell_Height << ",\n";
    j << "  \"Table_OriginX\": " << Table_OriginX << ",\n";
    j << "  \"Table_OriginY\": " << Table_OriginY << ",\n";
    j << "  \"View_OffsetX\": " << View_OffsetX << ",\n";
    j << "  \"View_OffsetY\": " << View_OffsetY << ",\n";
    j << "  \"Hint_Timer\": " << Hint_Timer << ",\n";
    j << "  \"Hint_BestDist\": " << Hint_BestDist << ",\n";
    j << "  \"Ripple_Pattern\": " << Ripple_Pattern << ",\n";
    j << "  \"swap_states\": [";
    for (int y = 0; y < Table_dy; ++y) {
        j << (y ? ", [" : "[");
        for (int x = 0; x < Table_dx; ++x) {
            const Piece* p = Table[x][y].piece_id;
            j << (x ? ", " : "") << (p ? std::to_string(p->swap_state) : std::string("null"));
        }
        j << "]";
    }
    j << "],\n";
    j << HammerJson();
    return j.str();
}

} // namespace

bool Harness_ParseScript(const std::string& text, std::vector<ScriptEvent>* out,
                         std::string* error) {
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        ScriptEvent e;
        std::string frame;
        if (!(words >> frame) || frame[0] == '#') continue;
        bool ok = ParseInt(frame, &e.frame) && e.frame >= 0 && (words >> e.kind);
        if (ok && (e.kind == "move"))
            ok = static_cast<bool>(words >> e.a >> e.b);
        else if (ok && (e.kind == "press" || e.kind == "release")) {
            std::string button;
            ok = (words >> button) && (e.a = ButtonNumber(button)) != 0;
        } else if (ok && (e.kind == "keydown" || e.kind == "keyup")) {
            std::string key;
            ok = (words >> key) && (e.a = ParseKeyCode(key)) >= 0;
        } else if (ok && e.kind == "wheel")
            ok = static_cast<bool>(words >> e.a);
        else if (ok && e.kind == "pad")
            ok = ParsePadEvent(words, &e);
        else if (ok && e.kind == "focus") {
            std::string state;
            ok = (words >> state) && (state == "gained" || state == "lost");
            e.a = state == "gained";
        } else if (ok && e.kind == "text") {
            std::getline(words >> std::ws, e.text);
        } else if (ok && e.kind != "close")
            ok = false;
        if (!ok) {
            *error = "input line " + std::to_string(number) + " is not understood: " + line;
            return false;
        }
        out->push_back(e);
    }
    std::stable_sort(out->begin(), out->end(),
                     [](const ScriptEvent& x, const ScriptEvent& y) { return x.frame < y.frame; });
    Script_Clamp(*out);
    return true;
}

bool Harness_ParseArgs(int argc, char** argv, HarnessOptions* o, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        std::string opt = argv[i];
        bool has_value = i + 1 < argc;
        std::string v = has_value ? argv[i + 1] : "";
        bool ok = true, takes_value = true;
        int pass = 0;
        std::string file;
        if (opt == "--headless")
            o->run.headless = true, takes_value = false;
        else if (opt == "--skip-logos")
            o->run.skip_logos = true, takes_value = false;
        else if (opt == "--relaxed")
            o->relaxed = true, takes_value = false;
        else if (opt == "--dev-keys")
            o->dev_keys = true, takes_value = false;
        else if (opt == "--skip-fade-in")
            o->skip_fade_in = true, takes_value = false;
        else if (opt == "--no-draw")
            o->no_draw = true, takes_value = false;
        else if (opt == "--autoplay")
            o->autoplay = true, takes_value = false;
        else if (opt == "--level")
            ok = ParseInt(v, &o->level) && o->level >= 1 && o->level <= 150;
        else if (opt == "--level-file")
            o->level_file = v, ok = has_value;
        else if (opt == "--data-dir")
            o->run.data_dir = v, ok = has_value;
        else if (opt == "--seed") {
            int seed = 0;
            ok = ParseInt(v, &seed);
            o->run.seed_given = true;
            o->run.seed = static_cast<unsigned>(seed);
        } else if (opt == "--fixed-delta")
            ok = ParseInt(v, &o->run.fixed_delta) && o->run.fixed_delta > 0;
        else if (opt == "--frames")
            ok = ParseInt(v, &o->run.frames) && o->run.frames >= 0;
        else if (opt == "--input")
            o->input_file = v, ok = has_value;
        else if (opt == "--record-audio")
            o->record_audio_file = v, ok = has_value;
        else if (opt == "--dump-state")
            o->dump_state_file = v, ok = has_value;
        else if (opt == "--screenshot") {
            ok = ParsePassFile(v, &pass, &file);
            if (ok) o->screenshots[pass].push_back(file);
        } else if (opt == "--dump-at") {
            ok = ParsePassFile(v, &pass, &file);
            if (ok) o->dumps[pass].push_back(file);
        } else if (opt == "--desktop") {
            ok = std::sscanf(v.c_str(), "%dx%d", &o->run.desktop_w, &o->run.desktop_h) == 2;
        } else {
            *error = "unknown option " + opt;
            return false;
        }
        if (!ok) {
            *error = "option " + opt + " has a missing or bad value";
            return false;
        }
        if (takes_value) ++i;
    }
    if (!o->record_audio_file.empty() && !o->run.headless) {
        *error = "--record-audio needs --headless (the sound is mixed into memory)";
        return false;
    }
    if (o->no_draw && !o->run.headless) {
        *error = "--no-draw needs --headless (a window would show nothing)";
        return false;
    }
    if (o->no_draw && !o->screenshots.empty()) {
        *error = "--screenshot cannot be used with --no-draw: nothing is drawn";
        return false;
    }
    return true;
}

std::string Harness_StateJson() {
    std::ostringstream j;
    j << "{\n";
    j << "  \"passes\": " << MainLoop_Passes << ",\n";
    j << "  \"GameState\": " << GameState << ",\n";
    j << "  \"DialogActive\": " << DialogActive << ",\n";
    j << "  \"QuitRequested\": " << QuitRequested << ",\n";
    j << "  \"SuspendKind\": " << SuspendKind << ",\n";
    j << "  \"DeltaMs\": " << DeltaMs << ",\n";
    j << "  \"InstFps\": " << InstFps << ",\n";
    j << "  \"AvgFps\": " << AvgFps << ",\n";
    j << "  \"LowFpsMode\": " << LowFpsMode << ",\n";
    j << "  \"HintCountdown\": " << HintCountdown << ",\n";
    j << "  \"WindowedMode\": " << WindowedMode << ",\n";
    j << "  \"Player_Crt\": " << Player_Crt << ",\n";
    j << "  \"Player_Name\": " << Quoted(Player_Names[Player_Crt]) << ",\n";
    j << "  \"First_Run\": " << First_Run << ",\n";
    j << "  \"MouseXPos\": " << MouseXPos << ",\n";
    j << "  \"MouseYPos\": " << MouseYPos << ",\n";
    j << "  \"Snd_Playing\": " << (Audio_IsOpen() ? Snd_PlayingCount() : PlayingAtLastPass)
      << ",\n";
    j << "  \"CurrentTrack\": " << CurrentTrack << ",\n";
    j << "  \"ActiveMusicChannel\": " << ActiveMusicChannel << ",\n";
    j << "  \"MusicFadeInVol\": " << MusicFadeInVol << ",\n";
    j << "  \"MusicFadeOutVol\": " << MusicFadeOutVol << ",\n";
    j << "  \"AmbState\": " << AmbState << ",\n";
    j << "  \"AmbKindA\": " << AmbKindA << ",\n";
    j << "  \"AmbKindB\": " << AmbKindB << ",\n";
    j << "  \"AudioOff\": " << AudioOff << ",\n";
    j << "  \"Time_Left\": " << Time_Left << ",\n";
    j << "  \"Time_Reserve\": " << Time_Reserve << ",\n";
    j << "  \"Time_Bought\": " << Time_Bought << ",\n";
    j << "  \"Time_Offered\": " << Time_Offered << ",\n";
    j << "  \"Warned90\": " << Warned90 << ",\n";
    j << "  \"Warned30\": " << Warned30 << ",\n";
    j << "  \"Alarm_Count\": " << Alarm_Count << ",\n";
    j << "  \"Relaxed_Mode\": " << Relaxed_Mode << ",\n";
    j << "  \"Hidden_Time_Mult\": " << Hidden_Time_Mult << ",\n";
    j << "  \"Level_Outcome\": " << Level_Outcome << ",\n";
    j << "  \"Level_TimeBonus\": " << Level_TimeBonus << ",\n";
    j << "  \"BoardAlpha\": " << BoardAlpha << ",\n";
    j << "  \"FrameCounter\": " << FrameCounter << ",\n";
    j << "  \"LevelCrt\": " << LevelCrt << ",\n";
    j << "  \"Easyness\": " << EasynessOfCurrentLevel() << ",\n";
    j << "  \"Levels_Status\": " << PageStatuses() << ",\n";
    j << "  \"MapPage\": " << MapPage << ",\n";
    if (GameState == STATE_LEVEL_CHOOSER)
        j << "  \"ChooserButtons\": " << ChooserButtonNames() << ",\n";
    j << "  \"Level_Played\": " << Level_Played << ",\n";
    j << "  \"Score_Counting\": " << Level_EndA << ",\n";
    j << "  \"Tooltip\": "
      << (TooltipShown ? "[" + std::to_string(TooltipX) + ", " + std::to_string(TooltipY) + "]"
                       : std::string("null"))
      << ",\n";
    j << "  \"Dialog\": " << Quoted(DialogName()) << ",\n";
    j << "  " << KeyNav_StateJson() << ",\n";
    j << TipsJson();
    j << OptionsJson();
    j << BoardExtrasJson();
    j << "  " << Particles_StateJson() << ",\n";
    j << "  " << Scenery_StateJson() << ",\n";
    j << "  " << Board_StateJson() << ",\n";
    j << "  " << Gfx_StateJson() << "\n";
    j << "}\n";
    return j.str();
}

int Harness_Run(const HarnessOptions& options) {
    Active = &options;
    Script.clear();
    ScriptNext = 0;
    if (!options.input_file.empty()) {
        std::vector<std::uint8_t> bytes;
        std::string error;
        if (!LoadBytes(options.input_file, bytes)) {
            std::fprintf(stderr, "snowmere: cannot read input file %s\n",
                         options.input_file.c_str());
            return 2;
        }
        if (!Harness_ParseScript(std::string(bytes.begin(), bytes.end()), &Script, &error)) {
            std::fprintf(stderr, "snowmere: %s\n", error.c_str());
            return 2;
        }
    }
    Graphics_SetDrawing(!options.no_draw);
    Autoplay_Enabled = options.autoplay ? 1 : 0;
    MainLoop_BeforePass = BeforePass;
    MainLoop_BeforeFlip = BeforeFlip;
    MainLoop_AfterPass = AfterPass;
    MainLoop_AfterStartup = StartRequestedLevel;
    if (!options.record_audio_file.empty() && !StartRecording(options.record_audio_file)) {
        std::fprintf(stderr, "snowmere: cannot write %s\n", options.record_audio_file.c_str());
        return 2;
    }
    int code = Game_Run(options.run);
    if (!FinishRecording()) {
        std::fprintf(stderr, "snowmere: cannot write %s\n", options.record_audio_file.c_str());
        if (code == 0) code = 2;
    }
    if (!options.dump_state_file.empty()) WriteDump(options.dump_state_file);
    return code;
}
