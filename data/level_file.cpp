#include "data/level_file.h"

#include "engine/stream.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

const char* const LevelFile_MoreHeader =
    "Warning, level file has MORE header fields than current app knows!";
const char* const LevelFile_FewerHeader =
    "Warning, level file has FEWER header fields than current app knows!";
const char* const LevelFile_MoreCells =
    "Warning, level file has MORE cell fields than current app knows!";
const char* const LevelFile_FewerCells =
    "Warning, level file has FEWER cell fields than current app knows!";

int Table_dx = 0, Table_dy = 0;
int Level_Time = 0;
int ShieldPercent = 0, LaserPercent = 0, GoldenPercent = 0, BombPercent = 0;
int Piece_Weights[Piece_Kinds] = {};
int Piece_Bag[Piece_BagSlots] = {};
int Piece_Bag_Count = 0;
int Piece_Kinds_Count = 0;
int Easyness = 0;
int LevelCrt = 0;
std::string Level_FileName;

namespace {

int PeekLE(const std::uint8_t* p) {
    return static_cast<int>(
        static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
        static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

void PokeLE(std::vector<std::uint8_t>& out, int v) {
    auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}

// Copies up to 64 little-endian bytes over the integer fields of a record, as a block copy
// would: bytes beyond `n` keep what the record held.
template <typename Record> void CopyBlock(Record& rec, const std::uint8_t* src, int n) {
    std::uint8_t block[LevelFile_RecordBytes];
    int* fields = reinterpret_cast<int*>(&rec);
    for (int i = 0; i < 16; ++i) {
        auto u = static_cast<std::uint32_t>(fields[i]);
        for (int b = 0; b < 4; ++b)
            block[i * 4 + b] = static_cast<std::uint8_t>(u >> (8 * b));
    }
    std::memcpy(block, src, static_cast<std::size_t>(std::min(n, LevelFile_RecordBytes)));
    for (int i = 0; i < 16; ++i)
        fields[i] = PeekLE(block + i * 4);
}

template <typename Record> void AppendRecord(std::vector<std::uint8_t>& out, const Record& rec) {
    const int* fields = reinterpret_cast<const int*>(&rec);
    for (int i = 0; i < 16; ++i)
        PokeLE(out, fields[i]);
}

bool Fail(std::string& error, const std::string& text) {
    error = "level file rejected: " + text;
    return false;
}

bool RecordLengthOk(int n) {
    return n >= 4 && n <= LevelFile_MaxRecordBytes;
}

int Flag(int v) {
    return v != 0 ? 1 : 0;
}

void ClampHeader(LevelSettings& s, int weights[Piece_Kinds]) {
    s.time = std::clamp(s.time, LevelFile_MinTime, LevelFile_MaxTime);
    for (int* percent : {&s.ShieldPercent, &s.LaserPercent, &s.GoldenPercent, &s.BombPercent})
        *percent = std::clamp(*percent, 0, 100);
    weights[0] = 0;
    for (int k = 1; k < Piece_Kinds; ++k)
        weights[k] = std::clamp(weights[k], 0, Piece_BagLimit);
}

void ClampCell(LevelDataCell& c) {
    c.void_ = Flag(c.void_);
    c.background = std::clamp(c.background, 0, 2);
    c.bg_initial = std::clamp(c.bg_initial, 0, 2);
    c.autospawn = Flag(c.autospawn);
    if (c.color < 0 || c.color >= Piece_Kinds) c.color = 0; // no piece of an unknown kind
    c.locks = c.color == 0 ? 0 : std::clamp(c.locks, 0, 2);
    c.bomb = c.color == 0 ? 0 : Flag(c.bomb);
    c.laser = c.color == 0 ? 0 : Flag(c.laser);
    c.golden = Flag(c.golden);
    if (c.ContTile < -1) c.ContTile = -1; // tiles past the table are not drawn by the board
}

std::string Number3(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%03d", n);
    return buf;
}

} // namespace

bool LevelFile_Parse(const std::uint8_t* bytes, std::size_t size, int missing_color,
                     LevelFileData& out, std::string& error) {
    out = LevelFileData{};
    if (size < 4) return Fail(error, "the file is too short for a header");
    LevelSettings& s = out.settings;
    s.bytesize = PeekLE(bytes);
    if (!RecordLengthOk(s.bytesize))
        return Fail(error, "header length " + std::to_string(s.bytesize) + " is not believable");
    if (s.bytesize > LevelFile_RecordBytes) out.warnings.push_back(LevelFile_MoreHeader);
    if (s.bytesize < LevelFile_RecordBytes) {
        out.warnings.push_back(LevelFile_FewerHeader);
        s.table_dx = 17;
        s.table_dy = 13;
        s.time = 60000;
        s.cell_bytesize = 64;
    }
    if (size < static_cast<std::size_t>(s.bytesize))
        return Fail(error, "the file ends inside its header");
    CopyBlock(s, bytes, s.bytesize);

    if (s.table_dx < 1 || s.table_dx > LevelFile_MaxSide || s.table_dy < 1 ||
        s.table_dy > LevelFile_MaxSide)
        return Fail(error, "board size " + std::to_string(s.table_dx) + " x " +
                               std::to_string(s.table_dy) + " lies outside 1..48");
    if (!RecordLengthOk(s.cell_bytesize))
        return Fail(error,
                    "cell record length " + std::to_string(s.cell_bytesize) + " is not believable");
    const std::size_t cells = static_cast<std::size_t>(s.table_dx) * s.table_dy;
    const std::size_t first_cell = static_cast<std::size_t>(s.bytesize) + LevelFile_WeightBytes;
    const std::size_t needed = first_cell + cells * static_cast<std::size_t>(s.cell_bytesize);
    if (size < needed)
        return Fail(error, "the file holds " + std::to_string(size) + " bytes, its " +
                               std::to_string(cells) + " cells need " + std::to_string(needed));

    for (int k = 0; k < Piece_Kinds; ++k)
        out.weights[k] = PeekLE(bytes + s.bytesize + 4 * k);
    ClampHeader(s, out.weights);

    LevelDataCell cell; // reused for every record: fields a short record lacks keep defaults
    if (s.cell_bytesize > LevelFile_RecordBytes) out.warnings.push_back(LevelFile_MoreCells);
    if (s.cell_bytesize < LevelFile_RecordBytes) {
        out.warnings.push_back(LevelFile_FewerCells);
        cell.background = 1;
        cell.bg_initial = 1;
        cell.color = missing_color;
    }
    out.cells.reserve(cells);
    for (std::size_t i = 0; i < cells; ++i) {
        CopyBlock(cell, bytes + first_cell + i * s.cell_bytesize, s.cell_bytesize);
        out.cells.push_back(cell);
        ClampCell(out.cells.back());
    }
    return true;
}

bool LevelFile_Load(const std::string& url, int missing_color, LevelFileData& out,
                    std::string& error) {
    std::vector<std::uint8_t> bytes;
    const std::string name = "littleendian::" + url;
    if (url.rfind("incbin::", 0) != 0 && FileType(url) != 0) {
        std::string why;
        if (!File_ReadRegular(url, LevelFile_MaxBytes, bytes, &why)) {
            error = "level file refused: " + url + " " + why;
            return false;
        }
    } else if (!LoadBytes(name, bytes)) {
        error = "cant open file level file " + name;
        return false;
    }
    return LevelFile_Parse(bytes.data(), bytes.size(), missing_color, out, error);
}

std::vector<std::uint8_t> LevelFile_Write(const LevelSettings& settings,
                                          const int weights[Piece_Kinds],
                                          const std::vector<LevelDataCell>& cells) {
    LevelSettings header{};
    header.bytesize = LevelFile_RecordBytes;
    header.table_dx = settings.table_dx;
    header.table_dy = settings.table_dy;
    header.time = settings.time;
    header.cell_bytesize = LevelFile_RecordBytes;
    header.ShieldPercent = settings.ShieldPercent;
    header.LaserPercent = settings.LaserPercent;
    header.GoldenPercent = settings.GoldenPercent;
    header.BombPercent = settings.BombPercent;
    std::vector<std::uint8_t> out;
    out.reserve(128 + cells.size() * 64);
    AppendRecord(out, header);
    for (int k = 0; k < Piece_Kinds; ++k)
        PokeLE(out, weights[k]);
    for (const LevelDataCell& c : cells) {
        LevelDataCell rec = c;
        rec.golden = 0; // not part of a stored board
        rec.empty1 = rec.empty2 = rec.empty3 = rec.empty4 = rec.empty5 = rec.empty6 = 0;
        AppendRecord(out, rec);
    }
    return out;
}

void LevelFile_ApplyHeader(const LevelFileData& data) {
    const LevelSettings& s = data.settings;
    Table_dx = s.table_dx;
    Table_dy = s.table_dy;
    Level_Time = s.time;
    ShieldPercent = s.ShieldPercent;
    LaserPercent = s.LaserPercent;
    GoldenPercent = s.GoldenPercent;
    BombPercent = s.BombPercent;
    std::copy(data.weights, data.weights + Piece_Kinds, Piece_Weights);
    BuildPieceBag();
}

void PieceBag_Build(int w[Piece_Kinds], int easyness, int bag[Piece_BagSlots], int& count,
                    int& kinds) {
    if (w[8] > 0) w[8] += static_cast<int>(std::min(w[8] * 0.25 * easyness, w[8] * 1.5));
    if (w[12] > 0) w[12] = std::max(w[12] - static_cast<int>(w[12] * 0.2 * easyness), 1);
    count = 0;
    kinds = 0;
    for (int k = 1; k < Piece_Kinds && count < Piece_BagLimit; ++k) {
        if (w[k] <= 0) continue;
        // The bag stops at 500 entries even inside a kind, so heavy weights cannot overrun it.
        for (int i = 0; i < w[k] && count < Piece_BagLimit; ++i)
            bag[count++] = k;
        ++kinds;
    }
}

void BuildPieceBag() {
    PieceBag_Build(Piece_Weights, Easyness, Piece_Bag, Piece_Bag_Count, Piece_Kinds_Count);
}

std::string Level_ResourceName(int n) {
    return "levels/KV_level_" + Number3(n) + ".lev";
}
std::string Level_ImageName(int n) {
    return "images/Level" + Number3(n) + ".jpg";
}
std::string Level_ResourceUrl(int n) {
    return "incbin::" + Level_ResourceName(n);
}
std::string Level_ImageUrl(int n) {
    return "incbin::" + Level_ImageName(n);
}
