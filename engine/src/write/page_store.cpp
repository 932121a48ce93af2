#include "write/page_store.h"

#include <algorithm>

#include "jet/error.h"

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
    // New pages first: until an old page refers to them they are unused
    // space past the end of the file. Without new pages there is nothing to
    // make durable ahead of the old ones (most row writes): one sync, not two.
    bool anyNew = false;
    for (auto& [number, bytes] : pages_)
        if (number >= firstNewPage_) {
            sink.writePage(number, bytes);
            anyNew = true;
        }
    if (anyNew) sink.flush();
    // Then the changed pages; the catalog's own pages and page 0 last, so
    // that a table is listed only once everything it refers to is in place.
    std::vector<std::uint32_t> order;
    for (auto& [number, bytes] : pages_)
        if (number < firstNewPage_) order.push_back(number);
    std::stable_sort(order.begin(), order.end(), [](std::uint32_t a, std::uint32_t b) {
        auto rank = [](std::uint32_t n) { return n == 0 ? 2 : (n <= 2 ? 1 : 0); };
        return rank(a) < rank(b);
    });
    for (std::uint32_t number : order) sink.writePage(number, pages_[number]);
    sink.flush();
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
