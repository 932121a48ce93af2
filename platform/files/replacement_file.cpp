#include "files/replacement_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <random>

namespace files {

namespace fs = std::filesystem;

namespace {

// The target as the file it names: absolute, with ".." and symbolic links
// resolved as far as the path exists.
fs::path resolve(const fs::path& target) {
    std::error_code error;
    fs::path absolute = fs::absolute(target, error);
    if (error) return target;
    fs::path resolved = fs::weakly_canonical(absolute, error);
    return error ? absolute.lexically_normal() : resolved;
}

std::string randomSuffix() {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static thread_local std::mt19937 random{std::random_device{}()};
    std::string suffix(6, 'x');
    for (char& c : suffix) c = kLetters[random() % (sizeof(kLetters) - 1)];
    return suffix;
}

void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Gives the finished file its name unless that name is taken meanwhile.
int renameNoReplace(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
    // A file system without that rename: a hard link refuses a taken name too.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return 0;
    }
    if (errno != EPERM && errno != EOPNOTSUPP) return errno;
    // Neither: the small window between the check and the rename remains.
    struct stat info {};
    if (::lstat(to.c_str(), &info) == 0) return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

}  // namespace

FileError::FileError(int error, const std::string& step, const fs::path& path)
    : std::runtime_error("could not " + step + " " + path.string() + ": " + std::strerror(error)), error_(error) {}

std::string notARegularFile(const fs::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {};
    if (S_ISREG(info.st_mode)) return {};
    if (S_ISDIR(info.st_mode)) return "is a folder";
    if (S_ISFIFO(info.st_mode)) return "is a FIFO";
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) return "is a device";
    if (S_ISSOCK(info.st_mode)) return "is a socket";
    return "is not a regular file";
}

bool sameFile(const fs::path& a, const fs::path& b) {
    struct stat infoA {}, infoB {};
    if (::stat(a.c_str(), &infoA) == 0 && ::stat(b.c_str(), &infoB) == 0)
        return infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
    return resolve(a) == resolve(b);
}

ReplacementFile::ReplacementFile(const fs::path& target, const std::vector<fs::path>& inputs, Temporary temporary,
                                 mode_t mode)
    : target_(resolve(target)), inputs_(inputs) {
    if (const std::string why = notARegularFile(target_); !why.empty()) throw TargetRefused(target, why + ", not a file");
    for (const auto& input : inputs_)
        if (sameFile(target_, input)) throw TargetRefused(target, "is the database being read");
    removeStaleTemporaries(target_);

    struct stat existing {};
    const bool keepMode = ::stat(target_.c_str(), &existing) == 0;
    const fs::path stem = target_.parent_path() / ("." + target_.filename().string() + std::string(kMarker));
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary_ = stem;
        temporary_ += randomSuffix();
        if (temporary == Temporary::NameOnly) {
            struct stat taken {};
            if (::lstat(temporary_.c_str(), &taken) != 0 && errno == ENOENT) return;
            continue;
        }
        fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd_ >= 0) {
            // Held until the commit: a file being written is never stale.
            ::flock(fd_, LOCK_EX | LOCK_NB);
            if (keepMode) ::fchmod(fd_, existing.st_mode & 07777);
            return;
        }
        if (errno != EEXIST) {
            const int error = errno;
            temporary_.clear();
            throw FileError(error, "create a file beside", target_);
        }
    }
    temporary_.clear();
    throw FileError(EEXIST, "create a file beside", target_);
}

ReplacementFile::~ReplacementFile() { discard(); }

void ReplacementFile::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

void ReplacementFile::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = fd_ < 0 ? -1 : ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (fd_ >= 0 && errno == EINTR) continue;
            const int error = fd_ < 0 ? EBADF : errno;
            discard();
            throw FileError(error, "write", target_);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void ReplacementFile::commit(Replace replace) {
    auto fail = [this](int error, const std::string& step) {
        discard();
        throw FileError(error, step, target_);
    };
    if (fd_ < 0) fd_ = ::open(temporary_.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd_ < 0) fail(errno, "write");
    if (::fsync(fd_) != 0) fail(errno, "write");
    // What stands at the target may have changed since the start: a device
    // or folder put there meanwhile is not replaced either.
    if (const std::string why = notARegularFile(target_); !why.empty()) {
        discard();
        throw TargetRefused(target_, why + ", not a file");
    }
    const int error = replace == Replace::Never ? renameNoReplace(temporary_, target_)
                                                : (::rename(temporary_.c_str(), target_.c_str()) == 0 ? 0 : errno);
    if (error != 0) fail(error, replace == Replace::Never ? "create" : "replace");
    committed_ = true;
    ::close(fd_);
    fd_ = -1;
    temporary_.clear();
    syncFolder(target_.parent_path());
}

int removeStaleTemporaries(const fs::path& target, int age) {
    const std::string prefix = "." + target.filename().string() + std::string(ReplacementFile::kMarker);
    std::error_code error;
    fs::directory_iterator entries(target.parent_path().empty() ? fs::path(".") : target.parent_path(), error);
    if (error) return 0;
    int removed = 0;
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
        const int fd = ::open(entry.path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat held {}, named {};
        const bool stale = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
                           std::time(nullptr) - held.st_mtime >= age && ::lstat(entry.path().c_str(), &named) == 0 &&
                           named.st_ino == held.st_ino && named.st_dev == held.st_dev;
        if (stale && ::unlink(entry.path().c_str()) == 0) ++removed;
        ::close(fd);
    }
    return removed;
}

}  // namespace files
