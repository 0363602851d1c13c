// File helpers over POSIX calls. Paths accept "\" as well as "/".
#include "engine/stream.h"

#include "engine/stream_url.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool StatPath(const std::string& path, struct stat& st) {
    return !path.empty() && ::stat(Url_FilePath(path).c_str(), &st) == 0;
}

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, const void* data, std::size_t size) {
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// A new file gets the permissions an ordinary create would give it; a replaced one keeps its own.
mode_t ModeFor(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void SyncFolder(const std::string& dir) {
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd); // best effort: the rename has happened already
    ::close(fd);
}

} // namespace

int FileType(const std::string& path) {
    struct stat st;
    if (!StatPath(path, st)) return 0;
    return S_ISDIR(st.st_mode) ? 2 : 1;
}

int FileSize(const std::string& path) {
    struct stat st;
    if (!StatPath(path, st)) return -1;
    if (S_ISDIR(st.st_mode)) return 0;
    return st.st_size > INT_MAX ? INT_MAX : static_cast<int>(st.st_size);
}

int DeleteFile(const std::string& path) {
    if (FileType(path) == 1) ::unlink(Url_FilePath(path).c_str());
    return FileType(path) == 0 ? 1 : 0;
}

int CreateFile(const std::string& path) {
    if (FileType(path) == 2) return 0;
    DeleteFile(path);
    int fd = ::open(Url_FilePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd >= 0) ::close(fd);
    return FileType(path) == 1 ? 1 : 0;
}

int ChangeDir(const std::string& path) {
    return !path.empty() && ::chdir(Url_FilePath(path).c_str()) == 0 ? 1 : 0;
}

std::string CurrentDir() {
    char buf[PATH_MAX];
    if (!::getcwd(buf, sizeof buf)) return "./";
    std::string dir = buf;
    if (dir.back() != '/') dir += '/';
    return dir;
}

// A link is followed, so that the file it points at is replaced and the link stays in place.
std::string FollowLink(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

bool File_ReplaceAtomically(const std::string& path_in, const void* data, std::size_t size) {
    std::string path = FollowLink(Url_FilePath(path_in));
    if (path.empty() || path.back() == '/') return false;
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && (!S_ISREG(st.st_mode) || File_IsReadOnly(path)))
        return false; // a FIFO, device or read-only file is not ours to replace
    std::string dir = FolderOf(path);
    std::string tmp = path + ".tmpXXXXXX";
    int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, data, size) && ::fchmod(fd, ModeFor(path)) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(tmp.c_str(), path.c_str()) == 0) {
        SyncFolder(dir);
        return true;
    }
    ::unlink(tmp.c_str());
    return false;
}

int File_RemoveStaleTemporaries(const std::string& path_in) {
    const std::string path = FollowLink(Url_FilePath(path_in));
    const std::string dir = FolderOf(path);
    const std::string prefix = path.substr(path.find_last_of('/') + 1) + ".tmp";
    DIR* d = ::opendir(dir.c_str());
    if (!d) return 0;
    int removed = 0;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        bool ours = true;
        for (std::size_t i = prefix.size(); i < name.size(); ++i)
            ours = ours && std::isalnum(static_cast<unsigned char>(name[i]));
        const std::string full = (dir == "/" ? "" : dir) + "/" + name;
        struct stat st;
        if (ours && ::lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            ::unlink(full.c_str()) == 0)
            ++removed;
    }
    ::closedir(d);
    return removed;
}

bool File_ReadRegular(const std::string& path_in, std::size_t max_bytes,
                      std::vector<std::uint8_t>& out, std::string* why) {
    const std::string path = Url_FilePath(path_in);
    auto refuse = [&](const std::string& reason) {
        if (why) *why = reason;
        return false;
    };
    // Non-blocking, so that a FIFO without a writer cannot hold the open; the type is checked on
    // the opened file itself.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return refuse(std::string("cannot be opened: ") + std::strerror(errno));
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return refuse("is not a regular file");
    }
    const std::string too_long = "is longer than " + std::to_string(max_bytes) + " bytes";
    if (static_cast<std::uintmax_t>(st.st_size) > max_bytes) {
        ::close(fd);
        return refuse(too_long);
    }
    out.clear();
    out.reserve(static_cast<std::size_t>(st.st_size));
    std::uint8_t chunk[65536];
    for (;;) { // the file may grow while it is read: the cap still holds
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            return refuse(std::string("cannot be read: ") + std::strerror(err));
        }
        if (n == 0) break;
        if (out.size() + static_cast<std::size_t>(n) > max_bytes) {
            ::close(fd);
            return refuse(too_long);
        }
        out.insert(out.end(), chunk, chunk + n);
    }
    ::close(fd);
    return true;
}

bool File_IsReadOnly(const std::string& path_in) {
    const std::string path = Url_FilePath(path_in);
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    // The mode bits count even where the system would let this program write (as root).
    return (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

bool File_CreateFolders(const std::string& path_in, std::string* why) {
    const std::string path = Url_FilePath(path_in);
    if (path.empty()) {
        if (why) *why = "no folder given";
        return false;
    }
    for (std::size_t at = path.find('/', 1);; at = path.find('/', at + 1)) {
        const std::string part = path.substr(0, at);
        if (!part.empty() && part.back() != '/' && ::mkdir(part.c_str(), 0777) != 0 &&
            errno != EEXIST) {
            if (why) *why = part + ": " + std::strerror(errno);
            return false;
        }
        if (at == std::string::npos) break;
    }
    if (FileType(path) == 2) return true;
    if (why) *why = path + " exists and is not a folder";
    return false;
}
