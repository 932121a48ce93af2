#include "write/page_sink.h"

#include <cerrno>
#include <unistd.h>

#include "jet/error.h"

namespace jet::write {

namespace {
[[noreturn]] void writeFailed(int error, const std::string& path) {
    if (error == ENOSPC) throw Error(kErrDiskFull, "Not enough space on disk.", path);
    throw Error(kErrNoPermission, "The Microsoft Jet database engine cannot open the file '" + path +
                                      "'. It is already opened exclusively by another user, or you need "
                                      "permission to view its data.",
                path);
}
}  // namespace

FilePageSink::FilePageSink(int fd, std::size_t pageSize, std::string path)
    : fd_(fd), pageSize_(pageSize), path_(std::move(path)) {}

void FilePageSink::writePage(std::uint32_t number, std::span<const std::uint8_t> bytes) {
    off_t at = static_cast<off_t>(number) * static_cast<off_t>(pageSize_);
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, at + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR) continue;
            writeFailed(errno, path_);
        }
        done += static_cast<std::size_t>(n);
    }
}

void FilePageSink::flush() {
    if (::fsync(fd_) != 0) writeFailed(errno, path_);
}

}  // namespace jet::write
