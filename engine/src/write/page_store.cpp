#include "write/page_store.h"

#include <algorithm>

#include "format/format_errors.h"
#include "io/rollback_journal.h"
#include "jet/error.h"
#include "write/text_key.h"

namespace jet::write {

PageStore::PageStore(io::PageFile& file)
    : file_(&file), format_(&file.format()), pageCount_(file.pageCount()), firstNewPage_(file.pageCount()) {}

PageStore::PageStore(const format::JetFormat& format) : format_(&format) {}

std::span<const std::uint8_t> PageStore::read(std::uint32_t number) {
    auto found = pages_.find(number);
    if (found != pages_.end()) return found->second;
    if (number >= pageCount_ || !file_)
        throw Error(kErrDamaged, "The database has been damaged. Repair it before use.",
                    "page " + std::to_string(number) + " read while writing");
    return file_->page(number).bytes;
}

std::span<std::uint8_t> PageStore::modify(std::uint32_t number) {
    auto found = pages_.find(number);
    if (found != pages_.end()) return found->second;
    auto current = read(number);
    auto& copy = pages_[number];
    copy.assign(current.begin(), current.end());
    return copy;
}

std::uint32_t PageStore::allocate() {
    // Row pointers keep 24 bits of page number.
    if (pageCount_ >= 0xFFFFFFu) throw Error(kErrDiskFull, "Not enough space on disk.", "page numbers exhausted");
    std::uint32_t number = pageCount_++;
    pages_[number].assign(pageSize(), 0);
    return number;
}

void PageStore::commit(PageSink& sink) {
    if (file_ && file_->unfinishedWrite())
        throw format::unfinishedWrite(file_->path(), io::journalPath(file_->path()));
    if (file_ && file_->lockLost()) throw format::fileInUse(file_->path());
    // Pages are written as they are held, in the clear: into a page-encoded
    // file they would be garbage to every reader.
    if (file_ && file_->codec())
        throw Error(kErrReadOnly, "Cannot update. Database or object is read-only.",
                    file_->path() + ": " + file_->codec()->description());
    if (file_ && !encodesSortOrder(file_->header().sortOrder, file_->header().sortOrderVersion))
        throw Error(kErrReadOnly, "Cannot update. Database or object is read-only.",
                    file_->path() + ": its indexes are in sort order " + std::to_string(file_->header().sortOrder) +
                        " version " + std::to_string(file_->header().sortOrderVersion) +
                        ", whose keys this engine does not write");
    // Existing pages are written after the new ones, the catalog's own pages
    // and page 0 last: the order in which a reader that comes while the
    // commit is under way (a process without locks) sees the least harm.
    std::vector<std::uint32_t> old;
    for (auto& [number, bytes] : pages_)
        if (number < firstNewPage_) old.push_back(number);
    std::stable_sort(old.begin(), old.end(), [](std::uint32_t a, std::uint32_t b) {
        auto rank = [](std::uint32_t n) { return n == 0 ? 2 : (n <= 2 ? 1 : 0); };
        return rank(a) < rank(b);
    });
    sink.saveUndo(old);
    try {
        for (auto& [number, bytes] : pages_)
            if (number >= firstNewPage_) sink.writePage(number, bytes);
        for (std::uint32_t number : old) sink.writePage(number, pages_[number]);
        sink.flush();
        sink.endCommit();
    } catch (...) {
        // A sink that cannot undo (the disk is gone) leaves the journal for
        // the next opener; until then the file's pages are not to be trusted.
        try {
            sink.undo();
        } catch (...) {
            if (file_) file_->setUnfinishedWrite();
        }
        throw;
    }
    if (file_)
        for (auto& [number, bytes] : pages_) file_->pageWritten(number, bytes);
    firstNewPage_ = pageCount_;
    pages_.clear();
}

std::vector<std::uint8_t> PageStore::image() {
    std::vector<std::uint8_t> out(static_cast<std::size_t>(pageCount_) * pageSize(), 0);
    for (std::uint32_t n = 0; n < pageCount_; ++n) {
        auto bytes = read(n);
        std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(n * pageSize()));
    }
    return out;
}

}  // namespace jet::write
