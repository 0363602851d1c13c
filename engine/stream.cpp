// Byte streams: whole resources held in memory, read with bounds checks, written back on close.
#include "engine/stream.h"

#include "engine/stream_url.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string kLittleEndian = "littleendian::";
const std::string kIncbin = "incbin::";

bool StartsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

std::size_t Remaining(const Stream& s) {
    return s.pos < s.size ? s.size - s.pos : 0;
}

// After any change to the owned bytes the read view must follow them (the vector may move).
void SyncView(Stream& s) {
    s.data = s.owned.data();
    s.size = s.owned.size();
}

bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& out) {
    return File_ReadRegular(path, File_ReadLimit, out);
}

// A file can be written when its folder exists and takes new files, and the path is new or a
// regular file that may be written: a folder, FIFO, device or read-only file is left alone.
bool CanCreateFile(const std::string& path) {
    if (path.empty() || path.back() == '/') return false;
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && (!S_ISREG(st.st_mode) || File_IsReadOnly(path)))
        return false;
    std::size_t slash = path.find_last_of('/');
    std::string dir =
        slash == std::string::npos ? "." : path.substr(0, std::max<std::size_t>(slash, 1));
    return FileType(dir) == 2 && ::access(dir.c_str(), W_OK | X_OK) == 0;
}

bool FlushToFile(Stream& s) {
    if (s.write_path.empty()) return !s.failed;
    std::string path = std::move(s.write_path);
    s.write_path.clear();
    if (!File_ReplaceAtomically(path, s.owned.data(), s.owned.size())) s.failed = true;
    return !s.failed;
}

} // namespace

ResourceName Url_Parse(const std::string& url) {
    std::string rest = StartsWith(url, kLittleEndian) ? url.substr(kLittleEndian.size()) : url;
    if (StartsWith(rest, kIncbin)) return {true, rest.substr(kIncbin.size())};
    return {false, Url_FilePath(rest)};
}

std::string Url_FilePath(const std::string& path) {
    std::string out = path;
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

Stream::~Stream() {
    FlushToFile(*this);
}

StreamPtr ReadStream(const std::string& url) {
    return OpenStream(url, true, false);
}

StreamPtr WriteStream(const std::string& url) {
    return OpenStream(url, false, true);
}

StreamPtr OpenStream(const std::string& url, bool read, bool write) {
    if (!read && !write) return nullptr;
    ResourceName name = Url_Parse(url);
    auto s = std::make_unique<Stream>();
    s->readable = read;
    s->writable = write;
    if (name.embedded) {
        if (write) return nullptr; // embedded data is read-only
        if (!Incbin_Find(name.target, &s->data, &s->size)) return nullptr;
        return s;
    }
    if (read && !ReadFileBytes(name.target, s->owned)) return nullptr;
    if (write) {
        if (!CanCreateFile(name.target)) return nullptr;
        s->write_path = name.target;
    }
    SyncView(*s);
    return s;
}

bool CloseStream(StreamPtr& s) {
    if (!s) return false;
    bool ok = FlushToFile(*s);
    s.reset();
    return ok;
}

bool ReadBytes(Stream& s, void* dst, std::size_t n) {
    if (!s.readable || Remaining(s) < n) {
        if (n) std::memset(dst, 0, n);
        if (s.readable) s.pos = std::max(s.pos, s.size); // a short read leaves it at its end
        return false;
    }
    if (n) std::memcpy(dst, s.data + s.pos, n);
    s.pos += n;
    return true;
}

void WriteBytes(Stream& s, const void* src, std::size_t n) {
    if (!s.writable || n == 0) return;
    if (s.pos > s.owned.size()) s.owned.resize(s.pos);
    std::size_t overlap = std::min(n, s.owned.size() - s.pos);
    const auto* bytes = static_cast<const std::uint8_t*>(src);
    if (overlap) std::memcpy(s.owned.data() + s.pos, bytes, overlap);
    s.owned.insert(s.owned.end(), bytes + overlap, bytes + n);
    s.pos += n;
    SyncView(s);
}

int ReadInt(Stream& s) {
    std::uint8_t b[4];
    if (!ReadBytes(s, b, 4)) return 0;
    return static_cast<int>(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 |
                            std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24);
}

void WriteInt(Stream& s, int v) {
    auto u = static_cast<std::uint32_t>(v);
    std::uint8_t b[4] = {std::uint8_t(u), std::uint8_t(u >> 8), std::uint8_t(u >> 16),
                         std::uint8_t(u >> 24)};
    WriteBytes(s, b, 4);
}

float ReadFloat(Stream& s) {
    return std::bit_cast<float>(ReadInt(s));
}

void WriteFloat(Stream& s, float v) {
    WriteInt(s, std::bit_cast<int>(v));
}

int ReadByte(Stream& s) {
    std::uint8_t b = 0;
    ReadBytes(s, &b, 1);
    return b;
}

void WriteByte(Stream& s, int v) {
    auto b = static_cast<std::uint8_t>(v);
    WriteBytes(s, &b, 1);
}

std::string ReadLine(Stream& s) {
    std::string line;
    if (!s.readable) return line;
    while (s.pos < s.size) {
        char c = static_cast<char>(s.data[s.pos++]);
        if (c == '\n' || c == '\0') break;
        if (c != '\r') line += c;
    }
    return line;
}

void WriteLine(Stream& s, const std::string& text) {
    WriteString(s, text);
    WriteBytes(s, "\r\n", 2);
}

std::string ReadString(Stream& s, int n) {
    if (!s.readable || n <= 0) return {};
    std::size_t take = std::min(static_cast<std::size_t>(n), Remaining(s));
    std::string out(reinterpret_cast<const char*>(s.data + s.pos), take);
    s.pos = take < static_cast<std::size_t>(n) ? std::max(s.pos, s.size) : s.pos + take;
    return out;
}

void WriteString(Stream& s, const std::string& text) {
    WriteBytes(s, text.data(), text.size());
}

bool Eof(Stream& s) {
    return s.pos >= s.size;
}

int StreamPos(Stream& s) {
    return static_cast<int>(s.pos);
}

bool StreamSeek(Stream& s, int pos) {
    if (pos < 0 || static_cast<std::size_t>(pos) > s.size) return false;
    s.pos = static_cast<std::size_t>(pos);
    return true;
}

int StreamSize(Stream& s) {
    return static_cast<int>(s.size);
}

bool LoadBytes(const std::string& url, std::vector<std::uint8_t>& out) {
    ResourceName name = Url_Parse(url);
    if (!name.embedded) return ReadFileBytes(name.target, out);
    const std::uint8_t* bytes = nullptr;
    std::size_t size = 0;
    if (!Incbin_Find(name.target, &bytes, &size)) return false;
    out.assign(bytes, bytes + size);
    return true;
}

std::string LoadString(const std::string& url) {
    std::vector<std::uint8_t> bytes;
    if (!LoadBytes(url, bytes)) return {};
    return std::string(bytes.begin(), bytes.end());
}

bool SaveString(const std::string& text, const std::string& url) {
    ResourceName name = Url_Parse(url);
    if (name.embedded || !CanCreateFile(name.target)) return false;
    return File_ReplaceAtomically(name.target, text.data(), text.size());
}
