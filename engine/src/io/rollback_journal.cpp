#include "io/rollback_journal.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "format/database_header.h"
#include "format/format_errors.h"
#include "jet/error.h"

namespace jet::io {
namespace {

constexpr std::uint8_t kMagic[4] = {'S', 'T', 'X', 'J'};
constexpr std::uint32_t kVersion = 2;
// magic, version, page size, page count, file length, identity
constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kChecksumSize = 8;
constexpr std::size_t kPageHeaderSize = 4 + kChecksumSize;  // number, checksum

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

constexpr std::size_t kIdentityPages = 16;

std::uint64_t databaseIdentity(std::span<const std::uint8_t> leadingPages) { return checksum(leadingPages); }

std::size_t identityLength(std::uint64_t fileLength, std::size_t pageSize) {
    return static_cast<std::size_t>(std::min<std::uint64_t>(kIdentityPages, fileLength / pageSize)) * pageSize;
}

std::vector<std::uint8_t> encodeJournal(const RollbackJournal& journal) {
    std::vector<std::uint8_t> out(kMagic, kMagic + 4);
    put(out, kVersion, 4);
    put(out, journal.pageSize, 4);
    put(out, journal.pages.size(), 4);
    put(out, journal.fileLength, 8);
    put(out, journal.identity, 8);
    for (const auto& page : journal.pages) {
        put(out, page.number, 4);
        put(out, checksum(page.bytes), 8);
        out.insert(out.end(), page.bytes.begin(), page.bytes.end());
    }
    put(out, checksum(out), 8);
    return out;
}

std::optional<RollbackJournal> decodeJournal(std::span<const std::uint8_t> bytes, std::string* problem) {
    auto fail = [problem](const std::string& why) -> std::optional<RollbackJournal> {
        if (problem) *problem = why;
        return std::nullopt;
    };
    if (bytes.size() < kHeaderSize + kChecksumSize || !std::equal(kMagic, kMagic + 4, bytes.begin()))
        return fail("not a journal, or cut short");
    if (get(bytes, 4, 4) != kVersion) return fail("journal version " + std::to_string(get(bytes, 4, 4)));
    RollbackJournal journal;
    journal.pageSize = static_cast<std::uint32_t>(get(bytes, 8, 4));
    const std::uint64_t count = get(bytes, 12, 4);
    journal.fileLength = get(bytes, 16, 8);
    journal.identity = get(bytes, 24, 8);
    if (journal.pageSize < 512 || journal.pageSize > 65536)
        return fail("page size " + std::to_string(journal.pageSize));
    const std::uint64_t body = count * (kPageHeaderSize + static_cast<std::uint64_t>(journal.pageSize));
    if (bytes.size() != kHeaderSize + body + kChecksumSize)
        return fail("length " + std::to_string(bytes.size()) + " is not that of " + std::to_string(count) + " pages");
    const std::size_t end = bytes.size() - kChecksumSize;
    if (checksum(bytes.first(end)) != get(bytes, end, 8)) return fail("checksum of the journal does not match");
    for (std::size_t at = kHeaderSize; at < end; at += kPageHeaderSize + journal.pageSize) {
        JournalPage page;
        page.number = static_cast<std::uint32_t>(get(bytes, at, 4));
        const auto image = bytes.subspan(at + kPageHeaderSize, journal.pageSize);
        if (checksum(image) != get(bytes, at + 4, 8))
            return fail("checksum of page " + std::to_string(page.number) + " does not match");
        page.bytes.assign(image.begin(), image.end());
        journal.pages.push_back(std::move(page));
    }
    return journal;
}

std::string journalMismatch(const RollbackJournal& journal, int fd, std::uint64_t fileSize) {
    const std::uint64_t size = journal.pageSize;
    if (journal.fileLength < size || journal.fileLength % size != 0)
        return "its old length of " + std::to_string(journal.fileLength) + " bytes is not a whole number of " +
               std::to_string(size) + "-byte pages";
    if (journal.fileLength > fileSize)
        return "its old length of " + std::to_string(journal.fileLength) + " bytes is longer than the file";
    for (const auto& page : journal.pages)
        if (page.number >= journal.fileLength / size)
            return "it holds page " + std::to_string(page.number) + ", past the old end of the file";
    // The leading pages as they were before the commit: the journal's
    // image of those it holds, the file's own bytes of the others.
    std::vector<std::uint8_t> leading(identityLength(journal.fileLength, size));
    const ssize_t got = ::pread(fd, leading.data(), leading.size(), 0);
    if (got != static_cast<ssize_t>(leading.size())) return "the file is shorter than the pages it names";
    for (const auto& page : journal.pages)
        if (page.number < leading.size() / size)
            std::copy(page.bytes.begin(), page.bytes.end(), leading.begin() + static_cast<std::ptrdiff_t>(page.number * size));
    if (databaseIdentity(leading) != journal.identity)
        return "it was written for another database (its identity differs)";
    const std::span<const std::uint8_t> header(leading.data(), size);
    try {
        const auto named = format::parseDatabaseHeader(header, journalPath("database"));
        if (named.format->pageSize != size)
            return "its pages of " + std::to_string(size) + " bytes are not the database's";
    } catch (const Error&) {
        return "the header page it names is not a database's";
    }
    return {};
}

JournalState readJournal(const std::string& databasePath, std::uint64_t databaseSize, RollbackJournal& journal,
                         std::string& problem) {
    const std::string path = journalPath(databasePath);
    // O_NONBLOCK: a FIFO under the journal's name would stall the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return JournalState::None;
        throw format::noPermission(path);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        problem = "it is not a regular file";
        return JournalState::Damaged;
    }
    // A journal holds at most every page of the database, each with a
    // small header: one much longer is not read into memory.
    if (static_cast<std::uint64_t>(st.st_size) > 2 * databaseSize + 65536) {
        ::close(fd);
        problem = "it is far longer than the database";
        return JournalState::Damaged;
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
    auto decoded = decodeJournal(bytes, &problem);
    if (!decoded) return JournalState::Damaged;
    journal = std::move(*decoded);
    return JournalState::Whole;
}

std::string setAsideJournal(const std::string& databasePath) {
    const std::string path = journalPath(databasePath);
    for (int n = 1; n < 10000; ++n) {
        const std::string aside = path + ".rejected-" + std::to_string(n);
        struct stat st {};
        if (::lstat(aside.c_str(), &st) == 0) continue;
        if (::rename(path.c_str(), aside.c_str()) != 0) throw format::noPermission(path);
        syncFolder(aside);
        return aside;
    }
    throw format::noPermission(path);
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
