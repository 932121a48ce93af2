#include "registry/hive_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "files/replacement_file.h"
#include "registry/regedit4_format.h"

namespace regstore {

namespace {

// A hive is a few kilobytes; anything this large is not one of ours, and
// reading it whole would only eat memory.
constexpr off_t kMaxHiveBytes = 64L * 1024 * 1024;

// Closes a descriptor when it goes out of scope (which also drops a lock).
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

std::string ParentFolder(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool EntryWritable(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    return ::access(path.c_str(), W_OK) == 0 && (st.st_mode & 0222) != 0;
}

bool MakeFolders(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    if (errno != ENOENT) return false;
    const std::string parent = ParentFolder(folder);
    if (parent != folder && !MakeFolders(parent)) return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

enum class ReadOutcome { Read, Missing, Failed };

// Reads an open file whole.
bool ReadAll(int fd, const struct stat& st, std::string& text) {
    if (st.st_size > kMaxHiveBytes) return false;
    text.clear();
    text.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[16384];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        text.append(buffer, static_cast<std::size_t>(n));
        if (text.size() > static_cast<std::size_t>(kMaxHiveBytes)) return false;
    }
}

ReadOutcome ReadHiveText(const std::string& path, std::string& text, struct stat& st) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) return (errno == ENOENT || errno == ENOTDIR) ? ReadOutcome::Missing : ReadOutcome::Failed;
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return ReadOutcome::Failed;
    return ReadAll(fd.get(), st, text) ? ReadOutcome::Read : ReadOutcome::Failed;
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Parsed hives by file, valid while the file on disk is the same version.
struct CachedHive {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    struct timespec modified {};
    struct timespec changed {};
    std::shared_ptr<const Key> hive;

    bool matches(const struct stat& st) const {
        return device == st.st_dev && inode == st.st_ino && size == st.st_size &&
               modified.tv_sec == st.st_mtim.tv_sec && modified.tv_nsec == st.st_mtim.tv_nsec &&
               changed.tv_sec == st.st_ctim.tv_sec && changed.tv_nsec == st.st_ctim.tv_nsec;
    }
};

std::mutex cacheMutex;
std::unordered_map<std::string, CachedHive>& Cache() {
    static std::unordered_map<std::string, CachedHive> cache;
    return cache;
}

void Remember(const std::string& path, const struct stat& st, std::shared_ptr<const Key> hive) {
    std::lock_guard<std::mutex> guard(cacheMutex);
    Cache()[path] = CachedHive{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim, std::move(hive)};
}

// Takes the exclusive lock, polling so that the wait has an end; the pause
// grows from a millisecond, as most saves take about that long.
bool LockWithin(int fd, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    auto pause = std::chrono::microseconds(500);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(20000));
    }
    return true;
}

// Keeps the damaged hive file under a new name beside it (a hard link, so the
// bytes stay exactly as they were; a copy where links are not possible).
bool KeepDamagedHive(const std::string& path, const std::string& text) {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    struct tm parts {};
    ::gmtime_r(&now, &parts);
    std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", &parts);
    for (int attempt = 1; attempt <= 100; ++attempt) {
        std::string name = path + ".damaged-" + stamp;
        if (attempt > 1) name += "-" + std::to_string(attempt);
        if (::link(path.c_str(), name.c_str()) == 0) return true;
        if (errno == EEXIST) continue;
        FileDescriptor copy(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!copy.valid()) {
            if (errno == EEXIST) continue;
            return false;
        }
        if (!WriteAll(copy.get(), text) || ::fsync(copy.get()) != 0) {
            ::unlink(name.c_str());
            return false;
        }
        return true;
    }
    return false;
}

// Writes `text` as the new hive: temporary file, flush, rename, flush folder.
bool ReplaceHive(const std::string& path, const std::string& text, mode_t mode, struct stat& written) {
    try {
        files::ReplacementFile file(path, {}, files::ReplacementFile::Temporary::Created, mode);
        file.write(text);
        file.commit();
    } catch (const std::runtime_error&) {
        return false;
    }
    // Taken after the rename, which itself touches the file's change time;
    // the caller holds the lock, so no other save can come in between.
    if (::stat(path.c_str(), &written) != 0) written = {};
    return true;
}

}  // namespace

std::string PrefixFolder() {
    if (const char* prefix = std::getenv(kPrefixVariable); prefix && *prefix) return prefix;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        return std::string(config) + "/strux32/registry";
    std::string home;
    if (const char* h = std::getenv("HOME"); h && *h) {
        home = h;
    } else if (const struct passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    }
    return home + "/.config/strux32/registry";
}

HiveFile::HiveFile(std::string path, std::string rootName, std::chrono::milliseconds lockWait)
    : path_(std::move(path)), rootName_(std::move(rootName)), lockWait_(lockWait) {}

std::int32_t HiveFile::read(std::shared_ptr<const Key>& hive) const {
    hive.reset();
    FileDescriptor fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        if (errno != ENOENT && errno != ENOTDIR) return kAccessDenied;
        hive = std::make_shared<const Key>();
        return kSuccess;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return kAccessDenied;
    {
        std::lock_guard<std::mutex> guard(cacheMutex);
        const auto found = Cache().find(path_);
        if (found != Cache().end() && found->second.matches(st)) {
            hive = found->second.hive;
            return kSuccess;
        }
    }
    std::string text;
    if (!ReadAll(fd.get(), st, text)) return kAccessDenied;
    auto parsed = std::make_shared<const Key>(ParseRegedit4(text, rootName_));
    Remember(path_, st, parsed);
    hive = std::move(parsed);
    return kSuccess;
}

bool HiveFile::writable() const {
    const std::string folder = ParentFolder(path_);
    struct stat st {};
    if (::stat(path_.c_str(), &st) == 0) return EntryWritable(path_) && EntryWritable(folder);
    // No hive yet: the folder, or the nearest folder above it that exists,
    // must take a new entry.
    std::string existing = folder;
    while (::stat(existing.c_str(), &st) != 0) {
        if (errno != ENOENT) return false;
        const std::string parent = ParentFolder(existing);
        if (parent == existing) return false;
        existing = parent;
    }
    return S_ISDIR(st.st_mode) && EntryWritable(existing);
}

std::int32_t HiveFile::update(const Change& change) const {
    if (!MakeFolders(ParentFolder(path_)) || !writable()) return kAccessDenied;

    const std::string lockPath = path_ + ".lock";
    FileDescriptor lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (!lock.valid()) lock.reset(::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC));
    if (!lock.valid()) return kAccessDenied;
    if (!LockWithin(lock.get(), lockWait_)) return kAccessDenied;

    // Another process may have saved since this one last looked: start from
    // the hive on disk now, never from a cached copy.
    std::string text;
    struct stat old {};
    const ReadOutcome outcome = ReadHiveText(path_, text, old);
    if (outcome == ReadOutcome::Failed) return kAccessDenied;
    ParseReport report;
    Key hive = outcome == ReadOutcome::Read ? ParseRegedit4(text, rootName_, &report) : Key();

    bool changed = false;
    const std::int32_t result = change(hive, changed);
    if (result != kSuccess || !changed) return result;

    if (outcome == ReadOutcome::Read && report.damaged() && !KeepDamagedHive(path_, text)) return kAccessDenied;
    const mode_t mode = outcome == ReadOutcome::Read ? (old.st_mode & 0777) : 0600;
    struct stat written {};
    if (!ReplaceHive(path_, FormatRegedit4(hive, rootName_), mode, written)) return kAccessDenied;
    Remember(path_, written, std::make_shared<const Key>(std::move(hive)));
    return kSuccess;
}

}  // namespace regstore
