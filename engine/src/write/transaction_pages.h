// The pages a database's open transactions hold back from its file. While a
// transaction is open, each operation's pages go to the PageFile as held
// (readers of the database see them, the file does not) instead of being
// written; the outermost commit writes them all as one journaled commit,
// and a rollback gives every page the bytes it had when its level began.
// Levels nest: each remembers what it must give back, so that rolling back
// an inner level leaves the outer levels' pages as they were.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "io/page_file.h"
#include "write/page_sink.h"

namespace jet::write {

class TransactionPages {
public:
    explicit TransactionPages(io::PageFile& file) : file_(&file) {}

    int depth() const { return static_cast<int>(levels_.size()); }
    bool holding() const { return !levels_.empty(); }
    void begin();
    // Folds the innermost level into the one around it. At the outermost
    // level nothing is written: the caller writes heldPages() through an
    // ordinary commit and then calls endOutermost().
    void commitInner();
    const std::set<std::uint32_t>& heldPages() const { return held_; }
    void endOutermost();
    // Gives the innermost level's pages back and drops the level; false
    // when the level held none.
    bool rollback();

    // The sink an operation commits through while a level is open.
    PageSink& sink() { return sink_; }

private:
    struct Level {
        std::uint32_t pageCountBefore = 0;
        std::set<std::uint32_t> firstHeld;  // pages no outer level held
        std::map<std::uint32_t, std::vector<std::uint8_t>> outerImages;  // held outside, as they were
    };
    // Takes pages on behalf of an operation, once its commit is whole.
    class HoldingSink : public PageSink {
    public:
        explicit HoldingSink(TransactionPages& owner) : owner_(owner) {}
        void writePage(std::uint32_t number, std::span<const std::uint8_t> bytes) override;
        void flush() override {}
        void endCommit() override;
        void undo() override { pending_.clear(); }
        bool holdsPages() const override { return true; }

    private:
        TransactionPages& owner_;
        std::vector<std::uint32_t> pending_;
    };
    // Notes what the innermost level must give back before `number` is
    // held anew (its current bytes are still in the PageFile's cache).
    void remember(std::uint32_t number);

    io::PageFile* file_;
    std::vector<Level> levels_;
    std::set<std::uint32_t> held_;
    HoldingSink sink_{*this};
};

}  // namespace jet::write
