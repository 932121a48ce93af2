#include "write/page_store.h"

#include <algorithm>

#include "format/format_errors.h"
#include "io/rollback_journal.h"
#include "jet/error.h"
#include "write/text_key.h"

namespace jet::write {

PageStore::PageStore(io::PageFile& file)
    : file_(&file), format_(&file.format()), pageCount_(file.pageCount()), firstNewPage_(file.durablePageCount()) {}

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

namespace {

// The refusals every commit into `file` makes before writing anything.
void checkWritable(io::PageFile& file) {
    if (file.unfinishedWrite()) throw format::unfinishedWrite(file.path(), io::journalPath(file.path()));
    if (file.lockLost()) throw format::fileInUse(file.path());
    // Pages are written as they are held, in the clear: into a page-encoded
    // file they would be garbage to every reader.
    if (file.codec())
        throw Error(kErrReadOnly, "Cannot update. Database or object is read-only.",
                    file.path() + ": " + file.codec()->description());
    if (!encodesSortOrder(file.header().sortOrder, file.header().sortOrderVersion))
        throw Error(kErrReadOnly, "Cannot update. Database or object is read-only.",
                    file.path() + ": its indexes are in sort order " + std::to_string(file.header().sortOrder) +
                        " version " + std::to_string(file.header().sortOrderVersion) +
                        ", whose keys this engine does not write");
}

// Writes the pages `numbers` (ascending) through `sink`, all or none; pages
// from `firstNewPage` on are new to the file.
template <class BytesOf>
void writeAll(io::PageFile* file, PageSink& sink, const std::vector<std::uint32_t>& numbers,
              std::uint32_t firstNewPage, BytesOf bytesOf) {
    // Existing pages are written after the new ones, the catalog's own pages
    // and page 0 last: the order in which a reader that comes while the
    // commit is under way (a process without locks) sees the least harm.
    std::vector<std::uint32_t> old;
    for (std::uint32_t number : numbers)
        if (number < firstNewPage) old.push_back(number);
    std::stable_sort(old.begin(), old.end(), [](std::uint32_t a, std::uint32_t b) {
        auto rank = [](std::uint32_t n) { return n == 0 ? 2 : (n <= 2 ? 1 : 0); };
        return rank(a) < rank(b);
    });
    sink.saveUndo(old);
    try {
        for (std::uint32_t number : numbers)
            if (number >= firstNewPage) sink.writePage(number, bytesOf(number));
        for (std::uint32_t number : old) sink.writePage(number, bytesOf(number));
        sink.flush();
        sink.endCommit();
    } catch (...) {
        // A sink that cannot undo (the disk is gone) leaves the journal for
        // the next opener; until then the file's pages are not to be trusted.
        try {
            sink.undo();
        } catch (...) {
            if (file) file->setUnfinishedWrite();
        }
        throw;
    }
}

}  // namespace

void PageStore::commit(PageSink& sink) {
    if (file_) checkWritable(*file_);
    std::vector<std::uint32_t> numbers;
    numbers.reserve(pages_.size());
    for (const auto& entry : pages_) numbers.push_back(entry.first);
    writeAll(file_, sink, numbers, firstNewPage_,
             [this](std::uint32_t number) { return std::span<const std::uint8_t>(pages_[number]); });
    if (file_) {
        for (auto& [number, bytes] : pages_) {
            if (sink.holdsPages()) file_->pageHeld(number, bytes);
            else file_->pageWritten(number, bytes);
        }
        firstNewPage_ = file_->durablePageCount();
    } else {
        firstNewPage_ = pageCount_;
    }
    pages_.clear();
}

void writeHeldPages(io::PageFile& file, PageSink& sink, const std::set<std::uint32_t>& held) {
    checkWritable(file);
    const std::vector<std::uint32_t> numbers(held.begin(), held.end());
    writeAll(&file, sink, numbers, file.durablePageCount(),
             [&file](std::uint32_t number) { return file.page(number).bytes; });
    for (std::uint32_t number : numbers) file.pageWritten(number, file.page(number).bytes);
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
