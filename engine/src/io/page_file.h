// A database file seen as numbered fixed-size pages. Opening checks the
// header (format version, encryption, password) and takes an operating-system
// lock; pages are read on demand, decoded when the file uses Jet's page
// encoding, and cached for the life of the PageFile (so memory grows with
// the number of distinct pages read; views handed out never move).
// Layout: docs/jet-format.md#pages.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "crypto/page_codec.h"
#include "format/byte_reader.h"
#include "format/database_header.h"
#include "format/jet_format.h"

namespace jet::io {

struct OpenOptions {
    bool exclusive = false;  // exclusive lock; otherwise a shared lock
    bool readOnly = false;   // open the file read-only
    std::string password;    // database password (Jet 3/4) or encryption password (ACE), empty for none
};

// One page: its number and bytes. The bytes stay valid as long as the
// PageFile that returned them.
struct Page {
    std::uint32_t number = 0;
    std::span<const std::uint8_t> bytes;
};

class PageFile {
public:
    // Opens `path`. Throws jet::Error:
    //   3024 the file does not exist ("Could not find file '<path>'.");
    //   3051 the file cannot be opened for lack of permission;
    //   3045 another opener holds a conflicting lock (exclusive against any);
    //   3343 not a Jet/ACE database (shorter than a page, no header) or an
    //        unknown version;
    //   3031 the database has a password, or is encrypted, and
    //        `options.password` is not that password;
    //   3049 / 3343 the encryption header is damaged / of a scheme this
    //        engine does not read (crypto/office_header.h).
    // A file may end in a partial page (a damaged copy): pageCount() counts
    // whole pages only, and references beyond it fail when followed.
    // A file that cannot be opened for writing is opened read-only.
    // The lock is released when the PageFile is destroyed.
    // A commit that was cut short left its rollback journal beside the
    // file (io/rollback_journal.h): a writable open applies it first, under
    // an exclusive lock (3045 while another opener has the file); a
    // read-only open refuses the file with 3049 rather than read pages
    // the commit left half written. A journal that is not whole is removed
    // by a writable open and passed by otherwise.
    static std::unique_ptr<PageFile> open(const std::string& path, const OpenOptions& options = {});

    // A PageFile over bytes held in memory (tests, fixtures). Same checks as
    // open() apart from locking; `name` stands for the path in messages.
    static std::unique_ptr<PageFile> fromBytes(std::vector<std::uint8_t> bytes, std::string name,
                                               const OpenOptions& options = {});

    ~PageFile();
    PageFile(const PageFile&) = delete;
    PageFile& operator=(const PageFile&) = delete;

    const std::string& path() const { return path_; }
    const format::JetFormat& format() const { return *header_.format; }
    const format::DatabaseHeader& header() const { return header_; }
    std::size_t pageSize() const { return header_.format->pageSize; }
    std::uint32_t pageCount() const { return pageCount_; }
    bool readOnly() const { return readOnly_; }
    bool exclusive() const { return exclusive_; }

    // What the open did about a rollback journal beside the file, in a
    // sentence for the user (applied, set aside, or waiting for a writable
    // open); empty when there was none.
    const std::string& journalNotice() const { return journalNotice_; }
    // True when a read-only open left a journal that a writable open would
    // apply or set aside.
    bool journalWaiting() const { return readOnly_ && !journalNotice_.empty(); }

    // Page `number` (decoded). Throws jet::Error(3049) when `number` is not
    // below pageCount() or the read fails.
    Page page(std::uint32_t number);

    // The same without keeping the page: a page not cached already is read
    // into `buffer`, and the view lasts until `buffer` changes. For walks
    // over every page of a file, whose memory must not grow with it.
    Page transientPage(std::uint32_t number, std::vector<std::uint8_t>& buffer);

    // Throws jet::Error(3049) naming `what` unless `number` is a page of the
    // file; for page numbers taken from the file before following them.
    void checkPageNumber(std::uint32_t number, const char* what) const;

    // A ByteReader over `page` whose errors name this file and `what`.
    format::ByteReader reader(const Page& page, std::string what) const;

    // Writing (engine/src/write): a sink that writes this file's pages, or
    // nullptr when the file is read-only, held in memory, encoded or encrypted.
    // After a page is written the writer hands it back through
    // pageWritten(), which keeps the cached view and the page count in step.
    int descriptor() const { return fd_; }
    // What encodes the pages after page 0, or nullptr when they are plain.
    // Encoded files are read, never written.
    const crypto::PageCodec* codec() const { return codec_.get(); }
    bool inMemory() const { return fd_ < 0; }
    // A page is cached as written, in place where it was cached before, so
    // that views handed out stay valid (their bytes change).
    void pageWritten(std::uint32_t number, std::span<const std::uint8_t> bytes);

    // Pages held back by a transaction (write/transaction_pages.h): readers
    // of this PageFile see them as written, the file on disk does not have
    // them yet. durablePageCount() is the number of pages the file holds;
    // pageCount() counts the held new pages too.
    void pageHeld(std::uint32_t number, std::span<const std::uint8_t> bytes);
    std::uint32_t durablePageCount() const { return durablePageCount_; }
    // Undoes pageHeld(): the page gets `image` back, or with no image what
    // the file holds; a page past durablePageCount() keeps its buffer (views
    // stay valid) until truncateHeldPages() stops counting it.
    void restoreHeldPage(std::uint32_t number, std::span<const std::uint8_t> image = {});
    // Drops the held new pages from `count` on.
    void truncateHeldPages(std::uint32_t count);
    // A commit failed and could not put the old pages back: the journal is
    // left for the next opener. Pages not read before are refused from now
    // on (3049), and so are further commits.
    void setUnfinishedWrite() { unfinishedWrite_ = true; }
    bool unfinishedWrite() const { return unfinishedWrite_; }
    // A commit under a shared lock holds the file exclusively while it
    // writes. lockForWrite() is false when another opener has the file.
    // Should the shared lock not come back afterwards (another opener took
    // the file exclusively in between), this opener no longer keeps others
    // out: pages not read before and further commits are refused (3045).
    bool lockForWrite();
    void unlockAfterWrite();
    bool lockLost() const { return lockLost_; }

private:
    PageFile() = default;
    void init(std::vector<std::uint8_t> page0, const OpenOptions& options);
    void readRaw(std::uint32_t number, std::uint8_t* out);
    void readDecoded(std::uint32_t number, std::uint8_t* out);
    void recoverFromJournal(bool exclusive);
    void regainSharedLock();
    void cachePage(std::uint32_t number, std::span<const std::uint8_t> bytes);

    std::string path_;
    int fd_ = -1;
    std::vector<std::uint8_t> memory_;  // fromBytes(): the whole file
    std::uint64_t fileSize_ = 0;
    std::uint32_t pageCount_ = 0;
    std::uint32_t durablePageCount_ = 0;
    bool readOnly_ = false;
    bool exclusive_ = false;
    bool unfinishedWrite_ = false;
    bool lockLost_ = false;
    format::DatabaseHeader header_;
    std::unique_ptr<crypto::PageCodec> codec_;
    std::string journalNotice_;
    // A read-only open over a waiting journal: the pages it holds, as they
    // were before the commit that was cut short.
    std::unordered_map<std::uint32_t, std::vector<std::uint8_t>> journalPages_;
    std::unordered_map<std::uint32_t, std::unique_ptr<std::uint8_t[]>> cache_;
};

}  // namespace jet::io
