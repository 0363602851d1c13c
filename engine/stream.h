// Byte streams over files and embedded resources, file helpers, banks and the embedded registry.
//
// Resource names ("URLs"): a file path ("\" and "/" both accepted), or "incbin::" plus a registered
// name (matched exactly), either optionally prefixed with "littleendian::". Binary values are
// little-endian 32-bit integers and IEEE reals whatever the prefix, as every game file uses them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct Stream {
    std::vector<std::uint8_t> owned;    // file contents read into memory, or bytes being written
    const std::uint8_t* data = nullptr; // what is read: owned.data() or an embedded block
    std::size_t size = 0;
    std::size_t pos = 0;
    bool readable = false, writable = false;
    bool failed = false;    // a write could not be completed
    std::string write_path; // file written on Close (whole-file replace), empty when read-only
    ~Stream();              // a writable stream not closed yet writes its file here
};
using StreamPtr = std::unique_ptr<Stream>;

StreamPtr ReadStream(const std::string& url);
StreamPtr WriteStream(const std::string& url); // creates or truncates
StreamPtr OpenStream(const std::string& url, bool read, bool write);
// Flushes a writable stream to its file; false when it could not be written.
bool CloseStream(StreamPtr& s);

int ReadInt(Stream& s);
void WriteInt(Stream& s, int v);
float ReadFloat(Stream& s);
void WriteFloat(Stream& s, float v);
int ReadByte(Stream& s);
void WriteByte(Stream& s, int v);
std::string ReadLine(Stream& s);                    // up to LF, NUL or the end; CR dropped
void WriteLine(Stream& s, const std::string& text); // text + CR LF
std::string ReadString(Stream& s, int n);
void WriteString(Stream& s, const std::string& text);
bool Eof(Stream& s);
int StreamPos(Stream& s);
bool StreamSeek(Stream& s, int pos);
int StreamSize(Stream& s);
bool ReadBytes(Stream& s, void* dst, std::size_t n);
void WriteBytes(Stream& s, const void* src, std::size_t n);

std::string LoadString(const std::string& url);
bool SaveString(const std::string& text, const std::string& url); // false when it cannot be written
// The whole resource as bytes; false when it cannot be opened.
bool LoadBytes(const std::string& url, std::vector<std::uint8_t>& out);

int FileType(const std::string& path); // 0 missing, 1 file, 2 directory
int FileSize(const std::string& path); // -1 when missing
int DeleteFile(const std::string& path);
int CreateFile(const std::string& path);
int ChangeDir(const std::string& path);
std::string CurrentDir();
// Writes bytes to a temporary file beside path and renames it over path, so a failed write never
// leaves a half-written file. False when any step fails (the old file is then untouched), and
// when path names a read-only file or something other than a regular file, which stay as they are.
bool File_ReplaceAtomically(const std::string& path, const void* data, std::size_t size);
// The temporaries File_ReplaceAtomically makes for path: path + ".tmp" + six letters or digits.
// Removes those a killed program left behind; returns how many went.
int File_RemoveStaleTemporaries(const std::string& path);

// What every read from a file allows at most; callers with a known format pass a smaller cap.
constexpr std::size_t File_ReadLimit = std::size_t{256} << 20;
// Reads a regular file whole. A FIFO, device or folder is refused without waiting on it, and so
// is a file longer than max_bytes; `why` (when given) then says what was wrong with the file.
bool File_ReadRegular(const std::string& path, std::size_t max_bytes,
                      std::vector<std::uint8_t>& out, std::string* why = nullptr);
// True for an existing regular file nobody may write (no write bit) or this program may not.
bool File_IsReadOnly(const std::string& path);
// Creates a folder with its missing parents; true when it exists afterwards, else false with
// the reason in `why`.
bool File_CreateFolders(const std::string& path, std::string* why = nullptr);

// Banks: a block of bytes for records copied whole.
struct Bank {
    std::vector<std::uint8_t> bytes;
};
int PeekByte(const Bank& b, int offset);
void PokeByte(Bank& b, int offset, int v);
int PeekInt(const Bank& b, int offset);
void PokeInt(Bank& b, int offset, int v);
float PeekFloat(const Bank& b, int offset);
void PokeFloat(Bank& b, int offset, float v);
int ReadBank(Bank& b, Stream& s, int offset, int count);
int WriteBank(const Bank& b, Stream& s, int offset, int count);

// ---- Embedded files ("incbin::") ----------------------------------------------------------

// Adds a named block; 1 when added, 0 when the name exists already (the first entry stays).
int Incbin_Register(const std::string& name, const std::uint8_t* bytes, std::size_t size);
bool Incbin_Find(const std::string& name, const std::uint8_t** bytes, std::size_t* size);
void Incbin_Clear(); // tests only

// The files linked into the executable from build/assets (see cmake/EmbedAssets.cmake): path
// relative to the assets folder with "/" separators, e.g. "images/interface/Candle.png".
struct EmbeddedFile {
    const char* path;
    const std::uint8_t* bytes;
    std::size_t size;
};
// Filled by the generated table of the executable that embeds the assets; empty elsewhere.
const EmbeddedFile* Embedded_Files(std::size_t* count);
const EmbeddedFile* Embedded_Find(const std::string& path);
