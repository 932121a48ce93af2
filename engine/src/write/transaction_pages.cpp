#include "write/transaction_pages.h"

#include <utility>

namespace jet::write {

void TransactionPages::HoldingSink::writePage(std::uint32_t number, std::span<const std::uint8_t> bytes) {
    (void)bytes;  // the PageStore hands the bytes to the PageFile itself
    pending_.push_back(number);
}

void TransactionPages::HoldingSink::endCommit() {
    for (std::uint32_t number : pending_) owner_.remember(number);
    pending_.clear();
}

void TransactionPages::begin() { levels_.push_back(Level{file_->pageCount(), {}, {}}); }

void TransactionPages::remember(std::uint32_t number) {
    Level& level = levels_.back();
    if (held_.insert(number).second) {
        level.firstHeld.insert(number);
        return;
    }
    if (level.firstHeld.count(number) || level.outerImages.count(number)) return;
    const auto bytes = file_->page(number).bytes;
    level.outerImages.emplace(number, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

void TransactionPages::commitInner() {
    if (levels_.size() < 2) return;
    Level inner = std::move(levels_.back());
    levels_.pop_back();
    Level& outer = levels_.back();
    outer.firstHeld.insert(inner.firstHeld.begin(), inner.firstHeld.end());
    // What the inner level saw of a page the outer one never touched is
    // what the outer level must give back too.
    for (auto& [number, image] : inner.outerImages)
        if (!outer.firstHeld.count(number)) outer.outerImages.try_emplace(number, std::move(image));
}

void TransactionPages::endOutermost() {
    levels_.clear();
    held_.clear();
}

bool TransactionPages::rollback() {
    if (levels_.empty()) return false;
    Level level = std::move(levels_.back());
    levels_.pop_back();
    if (level.firstHeld.empty() && level.outerImages.empty()) return false;
    for (std::uint32_t number : level.firstHeld) {
        file_->restoreHeldPage(number);
        held_.erase(number);
    }
    for (const auto& [number, image] : level.outerImages) file_->restoreHeldPage(number, image);
    file_->truncateHeldPages(level.pageCountBefore);
    return true;
}

}  // namespace jet::write
