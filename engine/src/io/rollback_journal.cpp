#include "io/rollback_journal.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "format/format_errors.h"

namespace jet::io {
namespace {

constexpr std::uint8_t kMagic[4] = {'S', 'T', 'X', 'J'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeaderSize = 24;  // magic, version, page size, page count, file length
constexpr std::size_t kChecksumSize = 8;

void put(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint64_t get(std::span<const std::uint8_t> in, std::size_t at, int bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= static_cast<std::uint64_t>(in[at + static_cast<std::size_t>(i)]) << (8 * i);
    return value;
}

// FNV-1a: enough to tell a whole journal from one cut short or overwritten
// in part; the journal guards against crashes, not against tampering.
std::uint64_t checksum(std::span<const std::uint8_t> bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (std::uint8_t b : bytes) hash = (hash ^ b) * 0x100000001b3ull;
    return hash;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A new or removed name is durable only once its folder is synced. File
// systems that cannot sync a folder say EINVAL; they have nothing to sync.
void syncFolder(const std::string& path) {
    const int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) throw format::writeFailed(errno, path);
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0 && error != EINVAL) throw format::writeFailed(error, path);
}

void writeAll(int fd, const std::uint8_t* data, std::size_t size, off_t at, const std::string& path) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, data + done, size - done, at + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR) continue;
            throw format::writeFailed(errno, path);
        }
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

std::string journalPath(const std::string& databasePath) { return databasePath + ".stxj"; }

std::vector<std::uint8_t> encodeJournal(const RollbackJournal& journal) {
    std::vector<std::uint8_t> out(kMagic, kMagic + 4);
    put(out, kVersion, 4);
    put(out, journal.pageSize, 4);
    put(out, journal.pages.size(), 4);
    put(out, journal.fileLength, 8);
    for (const auto& page : journal.pages) {
        put(out, page.number, 4);
        out.insert(out.end(), page.bytes.begin(), page.bytes.end());
    }
    put(out, checksum(out), 8);
    return out;
}

std::optional<RollbackJournal> decodeJournal(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderSize + kChecksumSize || !std::equal(kMagic, kMagic + 4, bytes.begin()) ||
        get(bytes, 4, 4) != kVersion)
        return std::nullopt;
    RollbackJournal journal;
    journal.pageSize = static_cast<std::uint32_t>(get(bytes, 8, 4));
    const std::uint64_t count = get(bytes, 12, 4);
    journal.fileLength = get(bytes, 16, 8);
    if (journal.pageSize < 512 || journal.pageSize > 65536) return std::nullopt;
    const std::uint64_t body = count * (4 + static_cast<std::uint64_t>(journal.pageSize));
    if (bytes.size() != kHeaderSize + body + kChecksumSize) return std::nullopt;
    const std::size_t end = bytes.size() - kChecksumSize;
    if (checksum(bytes.first(end)) != get(bytes, end, 8)) return std::nullopt;
    for (std::size_t at = kHeaderSize; at < end; at += 4 + journal.pageSize) {
        JournalPage page;
        page.number = static_cast<std::uint32_t>(get(bytes, at, 4));
        page.bytes.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at + 4),
                          bytes.begin() + static_cast<std::ptrdiff_t>(at + 4 + journal.pageSize));
        journal.pages.push_back(std::move(page));
    }
    return journal;
}

JournalState readJournal(const std::string& databasePath, RollbackJournal& journal) {
    const std::string path = journalPath(databasePath);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return JournalState::None;
        throw format::noPermission(path);
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            throw format::noPermission(path);
        }
        if (n == 0) break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    ::close(fd);
    auto decoded = decodeJournal(bytes);
    if (!decoded) return JournalState::Incomplete;
    journal = std::move(*decoded);
    return JournalState::Hot;
}

void saveJournal(const std::string& databasePath, const RollbackJournal& journal) {
    const std::string path = journalPath(databasePath);
    const auto bytes = encodeJournal(journal);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw format::writeFailed(errno, databasePath);
    try {
        writeAll(fd, bytes.data(), bytes.size(), 0, databasePath);
        if (::fsync(fd) != 0) throw format::writeFailed(errno, databasePath);
    } catch (...) {
        ::close(fd);
        ::unlink(path.c_str());
        throw;
    }
    ::close(fd);
    syncFolder(path);
}

void applyJournal(int fd, const RollbackJournal& journal, const std::string& databasePath) {
    for (const auto& page : journal.pages)
        writeAll(fd, page.bytes.data(), page.bytes.size(),
                 static_cast<off_t>(page.number) * static_cast<off_t>(journal.pageSize), databasePath);
    if (::ftruncate(fd, static_cast<off_t>(journal.fileLength)) != 0) throw format::writeFailed(errno, databasePath);
    if (::fsync(fd) != 0) throw format::writeFailed(errno, databasePath);
}

void removeJournal(const std::string& databasePath) {
    const std::string path = journalPath(databasePath);
    if (::unlink(path.c_str()) != 0) {
        if (errno == ENOENT) return;
        throw format::noPermission(path);
    }
    syncFolder(path);
}

}  // namespace jet::io
