// The pages one write operation changes, held in memory until commit().
// Pages are read through from the open file (when there is one) and copied on
// first change; new pages are numbered after the file's last page. Nothing
// reaches the file before commit(), so an operation that fails while building
// its pages leaves the file untouched.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <vector>

#include "format/jet_format.h"
#include "io/page_file.h"
#include "write/page_sink.h"

namespace jet::write {

class PageStore {
public:
    // Over an open file (edits) ...
    explicit PageStore(io::PageFile& file);
    // ... or over nothing (a new database of `format`).
    explicit PageStore(const format::JetFormat& format);

    const format::JetFormat& format() const { return *format_; }
    std::size_t pageSize() const { return format_->pageSize; }
    std::uint32_t pageCount() const { return pageCount_; }

    // The page as the operation sees it so far.
    std::span<const std::uint8_t> read(std::uint32_t number);
    // The page for changing (copied from the file on first use).
    std::span<std::uint8_t> modify(std::uint32_t number);
    // A new zero-filled page after the last one.
    std::uint32_t allocate();

    bool changed() const { return !pages_.empty(); }

    // Writes the changed pages, all or none: the sink first keeps the
    // existing pages about to change (the rollback journal), then new pages
    // and changed pages are written and synced, and the journal dropped.
    // After a failure the sink puts the old pages back; if that fails too,
    // the PageFile is marked as holding an unfinished write (its next
    // opener applies the journal). Updates the PageFile's view on success.
    // Throws the sink's jet::Error, 3049 when an earlier commit to the file
    // was left unfinished, 3027 when the file is encoded or encrypted.
    void commit(PageSink& sink);

    // The pages in number order, for a file written whole (a new database).
    std::vector<std::uint8_t> image();

private:
    io::PageFile* file_ = nullptr;
    const format::JetFormat* format_;
    std::uint32_t pageCount_ = 0;
    std::uint32_t firstNewPage_ = 0;
    std::map<std::uint32_t, std::vector<std::uint8_t>> pages_;
};

// Writes the pages a transaction held in `file` (PageFile::pageHeld) as one
// commit, straight from the file's cache, with PageStore::commit's order,
// refusals and undo; afterwards the file counts them as written.
void writeHeldPages(io::PageFile& file, PageSink& sink, const std::set<std::uint32_t>& held);

}  // namespace jet::write
