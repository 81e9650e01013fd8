#include "settings/FileAccess.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace probex {

namespace {

constexpr std::string_view TemporaryMark = ".saving-";

std::string SystemError(const std::string& what, const std::string& path, int error) {
    return what + " \"" + path + "\": " + std::strerror(error);
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

/// "dir/" of "dir/name", empty for a bare name.
std::string DirectoryPrefix(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NamePart(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

/// The file a chain of symbolic links ends at (which need not exist yet); `path` itself
/// when it is no link. Returns the error number, 0 on success.
int FollowLinks(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return 0;
        std::string link(PATH_MAX, '\0');
        const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
        if (length < 0) return errno;
        link.resize(static_cast<std::size_t>(length));
        target = !link.empty() && link[0] == '/' ? link : DirectoryPrefix(target) + link;
    }
    return ELOOP;
}

/// The process id in "<pid>-<n>", or 0 when `rest` is not of that form.
long long TemporaryOwner(std::string_view rest) {
    const char* const end = rest.data() + rest.size();
    long long pid = 0;
    auto [afterPid, error] = std::from_chars(rest.data(), end, pid);
    if (error != std::errc() || afterPid == rest.data() || afterPid == end || *afterPid != '-')
        return 0;
    unsigned n = 0;
    const char* const afterN = std::from_chars(afterPid + 1, end, n).ptr;
    if (afterN != end || afterN == afterPid + 1) return 0;
    return pid > 0 && pid <= INT_MAX ? pid : 0;
}

/// Removes the temporary files of earlier saves of `target` whose process is gone: a save
/// that was killed could not remove its own.
void RemoveStaleTemporaries(const std::string& target) {
    const std::string directory = DirectoryPrefix(target);
    DIR* const listing = ::opendir(directory.empty() ? "." : directory.c_str());
    if (listing == nullptr) return;
    const std::string prefix = NamePart(target) + std::string(TemporaryMark);
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with(prefix)) continue;
        const long long pid = TemporaryOwner(name.substr(prefix.size()));
        if (pid == 0 || pid == ::getpid()) continue;
        // Still running, or not ours to signal: its save may be under way.
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        ::unlinkat(::dirfd(listing), entry->d_name, 0);
    }
    ::closedir(listing);
}

/// 0 when the file may be replaced: it is missing, or writable and not marked read-only
/// (which the superuser's access check alone would not tell). A directory is left to the
/// renaming, which fails with the system's message.
int CheckReplaceable(const std::string& target, mode_t& mode) {
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return 0;
    // A device or pipe would be replaced by a file, not written.
    if (!S_ISREG(info.st_mode)) return EPERM;
    mode = info.st_mode & 07777;
    if (::access(target.c_str(), W_OK) != 0) return errno;
    if ((info.st_mode & 0222) == 0) return EACCES;
    return 0;
}

std::atomic<unsigned> g_saves{0};

} // namespace

std::string ReadWholeFile(const std::string& path, std::string& contents, std::size_t limit) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return SystemError("Cannot open file", path, errno);
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        return SystemError("Cannot open file", path, EISDIR);
    }
    std::string text;
    char buffer[65536];
    int error = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            error = errno;
            break;
        }
        if (got == 0) break;
        if (text.size() + static_cast<std::size_t>(got) > limit) {
            ::close(fd);
            return "Cannot read file \"" + path + "\": it holds more than " +
                   std::to_string(limit >> 20) + " MB, far more than any Probex file";
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    if (error != 0) return SystemError("Cannot read file", path, error);
    contents = std::move(text);
    return {};
}

std::string SaveTemporaryName(const std::string& path, unsigned long long pid, unsigned n) {
    return path + std::string(TemporaryMark) + std::to_string(pid) + "-" + std::to_string(n);
}

std::string WriteFileAtomically(const std::string& path, std::string_view contents) {
    std::string target;
    if (const int error = FollowLinks(path, target); error != 0)
        return SystemError("Cannot write", path, error);
    // The new file keeps the permissions of the one it replaces.
    mode_t mode = 0644;
    if (const int error = CheckReplaceable(target, mode); error != 0)
        return SystemError("Cannot write", path, error);
    RemoveStaleTemporaries(target);

    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = SaveTemporaryName(target, static_cast<unsigned long long>(::getpid()),
                                      g_saves.fetch_add(1));
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return SystemError("Cannot create a temporary file for", path, errno);

    int error = 0;
    if (::fchmod(fd, mode) != 0 || !WriteAll(fd, contents) || ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return SystemError("Cannot write", path, error);
    }
    // The rename itself is made durable by syncing the directory; failing that is not fatal.
    const std::string directory = DirectoryPrefix(target);
    const int directoryFd =
        ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directoryFd >= 0) {
        ::fsync(directoryFd);
        ::close(directoryFd);
    }
    return {};
}

std::string MoveFileOver(const std::string& from, const std::string& path) {
    std::string target;
    if (const int error = FollowLinks(path, target); error != 0)
        return SystemError("Cannot write", path, error);
    mode_t mode = 0644;
    if (const int error = CheckReplaceable(target, mode); error != 0)
        return SystemError("Cannot write", path, error);
    if (::chmod(from.c_str(), mode) == 0 && ::rename(from.c_str(), target.c_str()) == 0) return {};
    if (errno != EXDEV) return SystemError("Cannot write", path, errno);
    std::string contents;
    if (std::string error = ReadWholeFile(from, contents, SIZE_MAX); !error.empty()) return error;
    if (std::string error = WriteFileAtomically(path, contents); !error.empty()) return error;
    ::unlink(from.c_str());
    return {};
}

} // namespace probex
