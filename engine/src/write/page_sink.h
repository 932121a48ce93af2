// Where finished pages go. Every byte the engine writes to a database file
// passes through one PageSink, so that a test can fail the n-th write and
// check that the file still holds everything from before the operation.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace jet::write {

class PageSink {
public:
    virtual ~PageSink() = default;
    // Writes one whole page at `number` (the file grows as needed). Throws
    // jet::Error when the write fails.
    virtual void writePage(std::uint32_t number, std::span<const std::uint8_t> bytes) = 0;
    // Makes the pages written so far durable before later ones are written.
    virtual void flush() = 0;
};

// Writes pages into an open file descriptor with pwrite; flush() is fsync.
// A failed write throws jet::Error 3026 ("Not enough space on disk.") for
// ENOSPC and 3051 for other write errors; `path` goes into their context.
class FilePageSink : public PageSink {
public:
    FilePageSink(int fd, std::size_t pageSize, std::string path);
    void writePage(std::uint32_t number, std::span<const std::uint8_t> bytes) override;
    void flush() override;

private:
    int fd_;
    std::size_t pageSize_;
    std::string path_;
};

}  // namespace jet::write
