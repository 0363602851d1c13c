#include "data/highscores.h"

#include "data/config.h"
#include "engine/stream.h"
#include "engine/system.h"

Highscore_Slot Highscores[Highscores_Rows];
std::string Highscores_Path;

namespace {

int Highscore_Slot::*const NameFields[Highscore_NameLength] = {
    &Highscore_Slot::name1, &Highscore_Slot::name2, &Highscore_Slot::name3,
    &Highscore_Slot::name4, &Highscore_Slot::name5, &Highscore_Slot::name6,
    &Highscore_Slot::name7, &Highscore_Slot::name8, &Highscore_Slot::name9};

void PutInt(std::vector<std::uint8_t>& out, int v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int b = 0; b < 4; ++b)
        out.push_back(static_cast<std::uint8_t>(u >> (8 * b)));
}

int GetInt(const std::vector<std::uint8_t>& in, std::size_t at) {
    std::uint32_t u = 0;
    for (int b = 0; b < 4; ++b)
        u |= static_cast<std::uint32_t>(in[at + static_cast<std::size_t>(b)]) << (8 * b);
    return static_cast<int>(u);
}

// The fourteen fields of a row in file order.
template <typename Row, typename Fn> void ForEachField(Row& row, Fn fn) {
    fn(row.user_id);
    fn(row.score);
    fn(row.start_level);
    fn(row.end_level);
    fn(row.played_time);
    for (int Highscore_Slot::*field : NameFields)
        fn(row.*field);
}

} // namespace

int& Highscore_NameCode(Highscore_Slot& row, int i) {
    return row.*NameFields[i];
}

int Highscore_NameCode(const Highscore_Slot& row, int i) {
    return row.*NameFields[i];
}

std::string Highscore_Name(const Highscore_Slot& row) {
    std::string name;
    for (int i = 0; i < Highscore_NameLength; ++i) {
        const int c = Highscore_NameCode(row, i);
        if (c > 0 && c < 256) name += static_cast<char>(c);
    }
    return name;
}

void Highscore_SetName(Highscore_Slot& row, const std::string& name) {
    for (int i = 0; i < Highscore_NameLength; ++i) {
        const auto at = static_cast<std::size_t>(i);
        Highscore_NameCode(row, i) = at < name.size() ? static_cast<unsigned char>(name[at]) : -1;
    }
}

std::vector<std::uint8_t> Highscores_Encode(const Highscore_Slot (&rows)[Highscores_Rows]) {
    std::vector<std::uint8_t> out;
    out.reserve(Highscores_FileBytes);
    for (const Highscore_Slot& row : rows)
        ForEachField(row, [&](int v) { PutInt(out, v); });
    return out;
}

bool Highscores_Decode(const std::vector<std::uint8_t>& bytes,
                       Highscore_Slot (&rows)[Highscores_Rows]) {
    if (bytes.size() != static_cast<std::size_t>(Highscores_FileBytes)) return false;
    std::size_t at = 0;
    for (Highscore_Slot& row : rows)
        ForEachField(row, [&](int& v) {
            v = GetInt(bytes, at);
            at += 4;
        });
    return true;
}

void Highscores_Fresh() {
    for (int i = 0; i < Highscores_Rows; ++i) {
        Highscores[i] = Highscore_Slot{};
        Highscores[i].user_id = -1;
        Highscores[i].played_time = 4096 + i;
    }
}

void InitHighscores() {
    for (Highscore_Slot& row : Highscores)
        row = Highscore_Slot{};
    Highscores_Path = Config_Dir + "/highscores.dat";
    File_RemoveStaleTemporaries(Highscores_Path);
    if (FileType(Highscores_Path) == 1) {
        std::vector<std::uint8_t> bytes;
        if (File_ReadRegular(Highscores_Path, Highscores_FileBytes + 1, bytes) &&
            Highscores_Decode(bytes, Highscores))
            return;
        Notify("highscores format updated, old data erased");
        // A read-only table is left alone; the fresh one then cannot replace it (below).
        if (!File_IsReadOnly(Highscores_Path)) DeleteFile(Highscores_Path);
    }
    Highscores_Fresh();
    const std::vector<std::uint8_t> bytes = Highscores_Encode(Highscores);
    if (!File_ReplaceAtomically(Highscores_Path, bytes.data(), bytes.size()))
        RuntimeError("Cant create Highscores File!");
}

void LoadHighscores() {
    std::vector<std::uint8_t> bytes;
    Highscore_Slot rows[Highscores_Rows];
    if (!File_ReadRegular(Highscores_Path, Highscores_FileBytes, bytes) ||
        !Highscores_Decode(bytes, rows)) {
        // The file went missing or was damaged while the game ran: the table it last held is
        // still in memory, so that is kept and written back rather than ending the program.
        SaveHighscores();
        return;
    }
    for (int i = 0; i < Highscores_Rows; ++i)
        Highscores[i] = rows[i];
}

void SaveHighscores() {
    const std::vector<std::uint8_t> bytes = Highscores_Encode(Highscores);
    if (!File_ReplaceAtomically(Highscores_Path, bytes.data(), bytes.size()))
        RuntimeError("Error saving highscores: cant open/create file!");
}

int FindHighscoreRank(int score) {
    for (int i = 0; i < Highscores_Rows; ++i)
        if (Highscores[i].score < score) return i;
    return -1;
}

void InsertHighscore(int rank, const Highscore_Slot& entry) {
    if (rank < 0 || rank >= Highscores_Rows) return;
    for (int i = Highscores_Rows - 1; i > rank; --i)
        Highscores[i] = Highscores[i - 1];
    Highscores[rank] = entry;
}

void Highscores_Clear() {
    for (Highscore_Slot& row : Highscores) {
        row.user_id = -1;
        row.score = 0;
    }
    SaveHighscores();
}
