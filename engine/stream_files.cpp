// File helpers over POSIX calls. Paths accept "\" as well as "/".
#include "engine/stream.h"

#include "engine/stream_url.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
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
