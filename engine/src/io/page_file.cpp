#include "io/page_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "format/format_errors.h"
#include "io/file_lock.h"
#include "io/rollback_journal.h"

namespace jet::io {
PageFile::~PageFile() {
    if (fd_ >= 0) ::close(fd_);  // also releases the flock
}

std::unique_ptr<PageFile> PageFile::open(const std::string& path, const OpenOptions& options) {
    std::unique_ptr<PageFile> file(new PageFile());
    file->path_ = path;
    file->readOnly_ = options.readOnly;
    file->exclusive_ = options.exclusive;

    int fd = -1;
    if (!options.readOnly) {
        // O_NONBLOCK: a FIFO or device given as the database does not
        // stall the open; it is refused below as not a regular file.
        fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) file->readOnly_ = true;
    }
    if (fd < 0 && (options.readOnly || file->readOnly_)) fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) throw format::fileNotFound(path);
        if (errno == EACCES || errno == EPERM) throw format::noPermission(path);
        throw format::fileNotFound(path);
    }
    file->fd_ = fd;

    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) throw format::unrecognizedFormat(path, "not a regular file");
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file->fileSize_ = static_cast<std::uint64_t>(st.st_size);

    // flock locks belong to the open file description, so two openers in
    // one process conflict just as two processes do.
    if (::flock(fd, (options.exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) throw format::fileInUse(path);
        throw format::noPermission(path);
    }
    file->recoverFromJournal(options.exclusive);

    // A whole ACE page: its encryption header lies beyond the first 2048 bytes.
    std::vector<std::uint8_t> page0(4096);
    auto journaled = file->journalPages_.find(0);
    if (journaled != file->journalPages_.end()) {
        page0.assign(journaled->second.begin(), journaled->second.begin() + std::min(page0.size(), journaled->second.size()));
    } else {
        ssize_t got = ::pread(fd, page0.data(), page0.size(), 0);
        if (got < 0) throw format::noPermission(path);
        page0.resize(static_cast<std::size_t>(got));
    }
    file->init(std::move(page0), options);
    // The journal's images are whole pages of the size it names, which
    // must be the header's.
    if (!file->journalPages_.empty() && file->journalPages_.begin()->second.size() != file->pageSize())
        throw format::damagedDatabase(path, "the rollback journal's pages are not of the database's page size");
    return file;
}

std::unique_ptr<PageFile> PageFile::fromBytes(std::vector<std::uint8_t> bytes, std::string name,
                                              const OpenOptions& options) {
    std::unique_ptr<PageFile> file(new PageFile());
    file->path_ = std::move(name);
    file->readOnly_ = options.readOnly;
    file->exclusive_ = options.exclusive;
    file->fileSize_ = bytes.size();
    std::vector<std::uint8_t> page0(bytes.begin(), bytes.begin() + std::min<std::size_t>(bytes.size(), 4096));
    file->memory_ = std::move(bytes);
    file->init(std::move(page0), options);
    return file;
}

void PageFile::init(std::vector<std::uint8_t> page0, const OpenOptions& options) {
    header_ = format::parseDatabaseHeader(page0, path_);
    const auto& fmt = *header_.format;
    std::uint64_t pages = fileSize_ / fmt.pageSize;
    if (pages == 0) throw format::unrecognizedFormat(path_, "file shorter than one page");
    pageCount_ = pages > 0xFFFFFFu ? 0xFFFFFFu : static_cast<std::uint32_t>(pages);
    durablePageCount_ = pageCount_;

    const std::size_t stored = std::min<std::size_t>(page0.size(), fmt.pageSize);
    codec_ = crypto::unlockPages(header_, std::span<const std::uint8_t>(page0.data(), stored), options.password, path_);
}

void PageFile::recoverFromJournal(bool exclusive) {
    RollbackJournal journal;
    std::string problem;
    const std::string journalName = journalPath(path_);
    const JournalState state = readJournal(path_, fileSize_, journal, problem);
    if (state == JournalState::None) return;
    if (state == JournalState::Whole) problem = journalMismatch(journal, fd_, fileSize_);
    if (readOnly_) {
        // Nothing is written: the database is read as the journal says it
        // was before the write that was cut short, and the journal waits
        // for a writable open.
        if (problem.empty()) {
            for (auto& page : journal.pages) journalPages_[page.number] = std::move(page.bytes);
            fileSize_ = journal.fileLength;
            journalNotice_ = "A write to this database was cut short; its rollback journal " + journalName +
                             " is waiting to be applied. The database is read as it was before that write; "
                             "open it with write access to undo the write.";
        } else {
            journalNotice_ = "The journal " + journalName + " beside this database cannot be applied (" + problem +
                             "); a writable open will set it aside.";
        }
        return;
    }
    // Under a shared lock other openers may be reading: wait for none.
    if (!exclusive && ::flock(fd_, LOCK_EX | LOCK_NB) != 0) throw format::fileInUse(path_);
    try {
        if (problem.empty()) {
            applyJournal(fd_, journal, path_);
            removeJournal(path_);
            journalNotice_ = "A write to this database was cut short; it was undone from its rollback journal " +
                             journalName + ".";
        } else {
            const std::string aside = setAsideJournal(path_);
            journalNotice_ = "The journal " + journalName + " was not applied (" + problem + "); it was kept as " +
                             aside + ".";
        }
    } catch (...) {
        if (!exclusive) regainSharedLock();
        throw;
    }
    if (!exclusive) regainSharedLock();
    if (lockLost_) throw format::fileInUse(path_);
    struct stat st{};
    if (::fstat(fd_, &st) != 0) throw format::noPermission(path_);
    fileSize_ = static_cast<std::uint64_t>(st.st_size);
}

void PageFile::checkPageNumber(std::uint32_t number, const char* what) const {
    if (number >= pageCount_)
        throw format::damagedDatabase(path_, std::string(what) + ": page " + std::to_string(number) +
                                                 " is outside the file (" + std::to_string(pageCount_) +
                                                 " pages)");
}

bool PageFile::lockForWrite() {
    if (exclusive_ || fd_ < 0) return true;
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return true;
    // The refused conversion has dropped the shared lock as well.
    regainSharedLock();
    return false;
}

void PageFile::unlockAfterWrite() {
    if (!exclusive_ && fd_ >= 0) regainSharedLock();
}

void PageFile::regainSharedLock() {
    if (!takeSharedLock(fd_)) lockLost_ = true;
}

void PageFile::readRaw(std::uint32_t number, std::uint8_t* out) {
    const std::size_t size = pageSize();
    const std::uint64_t offset = static_cast<std::uint64_t>(number) * size;
    if (!memory_.empty() || fd_ < 0) {
        std::memcpy(out, memory_.data() + offset, size);
        return;
    }
    auto journaled = journalPages_.find(number);
    if (journaled != journalPages_.end()) {
        std::memcpy(out, journaled->second.data(), size);
        return;
    }
    std::size_t done = 0;
    while (done < size) {
        ssize_t got = ::pread(fd_, out + done, size - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0)
            throw format::damagedDatabase(path_, "page " + std::to_string(number) + ": read failed" +
                                                     (got < 0 ? std::string(": ") + std::strerror(errno) : ""));
        done += static_cast<std::size_t>(got);
    }
}

void PageFile::readDecoded(std::uint32_t number, std::uint8_t* out) {
    readRaw(number, out);
    if (codec_ && number != 0) codec_->decode(number, std::span<std::uint8_t>(out, pageSize()));
}

Page PageFile::page(std::uint32_t number) {
    checkPageNumber(number, "page read");
    auto found = cache_.find(number);
    if (found == cache_.end()) {
        if (unfinishedWrite_) throw format::unfinishedWrite(path_, journalPath(path_));
        if (lockLost_) throw format::fileInUse(path_);
        auto buffer = std::make_unique<std::uint8_t[]>(pageSize());
        readDecoded(number, buffer.get());
        found = cache_.emplace(number, std::move(buffer)).first;
    }
    return Page{number, std::span<const std::uint8_t>(found->second.get(), pageSize())};
}

Page PageFile::transientPage(std::uint32_t number, std::vector<std::uint8_t>& buffer) {
    checkPageNumber(number, "page read");
    auto found = cache_.find(number);
    if (found != cache_.end()) return Page{number, std::span<const std::uint8_t>(found->second.get(), pageSize())};
    if (unfinishedWrite_) throw format::unfinishedWrite(path_, journalPath(path_));
    if (lockLost_) throw format::fileInUse(path_);
    buffer.resize(pageSize());
    readDecoded(number, buffer.data());
    return Page{number, std::span<const std::uint8_t>(buffer.data(), pageSize())};
}

format::ByteReader PageFile::reader(const Page& page, std::string what) const {
    return format::ByteReader(page.bytes, page.number, std::move(what), path_);
}

void PageFile::cachePage(std::uint32_t number, std::span<const std::uint8_t> bytes) {
    auto& cached = cache_[number];
    if (!cached) cached = std::make_unique<std::uint8_t[]>(pageSize());
    if (bytes.data() != cached.get()) std::copy(bytes.begin(), bytes.end(), cached.get());
    if (number >= pageCount_) {
        pageCount_ = number + 1;
        fileSize_ = static_cast<std::uint64_t>(pageCount_) * pageSize();
    }
}

void PageFile::pageWritten(std::uint32_t number, std::span<const std::uint8_t> bytes) {
    if (!memory_.empty() || fd_ < 0) {
        std::size_t at = static_cast<std::size_t>(number) * pageSize();
        if (memory_.size() < at + pageSize()) memory_.resize(at + pageSize());
        std::copy(bytes.begin(), bytes.end(), memory_.begin() + static_cast<std::ptrdiff_t>(at));
    }
    cachePage(number, bytes);
    durablePageCount_ = std::max(durablePageCount_, number + 1);
}

void PageFile::pageHeld(std::uint32_t number, std::span<const std::uint8_t> bytes) { cachePage(number, bytes); }

void PageFile::restoreHeldPage(std::uint32_t number, std::span<const std::uint8_t> image) {
    if (!image.empty()) {
        cachePage(number, image);
        return;
    }
    // A new page stays cached (views of it stay valid) but is no longer
    // counted once truncateHeldPages() drops it.
    auto cached = cache_.find(number);
    if (number < durablePageCount_ && cached != cache_.end()) readDecoded(number, cached->second.get());
}

void PageFile::truncateHeldPages(std::uint32_t count) {
    count = std::max(count, durablePageCount_);
    if (count >= pageCount_) return;
    pageCount_ = count;
    fileSize_ = static_cast<std::uint64_t>(pageCount_) * pageSize();
}

}  // namespace jet::io
