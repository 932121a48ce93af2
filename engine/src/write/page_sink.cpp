#include "write/page_sink.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "format/format_errors.h"

namespace jet::write {

FilePageSink::FilePageSink(int fd, std::size_t pageSize, std::string path, Journal journal)
    : fd_(fd), pageSize_(pageSize), path_(std::move(path)), journaled_(journal == Journal::On) {}

void FilePageSink::writePage(std::uint32_t number, std::span<const std::uint8_t> bytes) {
    off_t at = static_cast<off_t>(number) * static_cast<off_t>(pageSize_);
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, at + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR) continue;
            throw format::writeFailed(errno, path_);
        }
        done += static_cast<std::size_t>(n);
    }
}

void FilePageSink::flush() {
    if (journaled_ && ::fsync(fd_) != 0) throw format::writeFailed(errno, path_);
}

void FilePageSink::saveUndo(std::span<const std::uint32_t> pages) {
    // The images come from the file itself, not from a cache: they are
    // what a cut-short commit must restore.
    struct stat st {};
    if (::fstat(fd_, &st) != 0) throw format::writeFailed(errno, path_);
    io::RollbackJournal journal;
    journal.pageSize = static_cast<std::uint32_t>(pageSize_);
    journal.fileLength = static_cast<std::uint64_t>(st.st_size);
    // A journal of a partial last page could not be told from a damaged one.
    if (journal.fileLength % pageSize_ != 0)
        throw format::damagedDatabase(path_, "the file's length of " + std::to_string(journal.fileLength) +
                                                 " bytes is not a whole number of pages");
    auto readPage = [&](std::uint32_t number) {
        std::vector<std::uint8_t> bytes(pageSize_);
        const off_t at = static_cast<off_t>(number) * static_cast<off_t>(pageSize_);
        std::size_t done = 0;
        while (done < pageSize_) {
            const ssize_t n = ::pread(fd_, bytes.data() + done, pageSize_ - done, at + static_cast<off_t>(done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) throw format::damagedDatabase(path_, "page " + std::to_string(number) + ": read failed");
            done += static_cast<std::size_t>(n);
        }
        return bytes;
    };
    // The journal names the database by its leading pages, so that it is
    // never applied to another file. One kept only in memory needs none.
    if (journaled_) {
        std::vector<std::uint8_t> leading;
        for (std::size_t at = 0; at < io::identityLength(journal.fileLength, pageSize_); at += pageSize_) {
            const auto bytes = readPage(static_cast<std::uint32_t>(at / pageSize_));
            leading.insert(leading.end(), bytes.begin(), bytes.end());
        }
        journal.identity = io::databaseIdentity(leading);
    }
    for (std::uint32_t number : pages) journal.pages.push_back({number, readPage(number)});
    if (journaled_) io::saveJournal(path_, journal);
    journal_ = std::move(journal);
}

void FilePageSink::endCommit() {
    if (journaled_) io::removeJournal(path_);
    journal_.reset();
}

void FilePageSink::undo() {
    if (!journal_) return;
    io::applyJournal(fd_, *journal_, path_);
    if (journaled_) io::removeJournal(path_);
    journal_.reset();
}

}  // namespace jet::write
