#include "vb/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "vb/vb_error.h"

namespace vb {

namespace {

// A folder is safe for our locks only when it is a real directory (not a
// symlink someone planted), owned by us and closed to others.
bool isPrivateFolder(const std::string& folder) {
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & 077) == 0;
}

bool isPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos && name.size() < 200;
}

}  // namespace

std::string InstanceLock::lockFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime == '/') {
        if (isPrivateFolder(runtime)) return runtime;
    }
    const char* tmp = std::getenv("TMPDIR");
    std::string base = (tmp && *tmp == '/') ? tmp : "/tmp";
    std::string folder = base + "/strux32-" + std::to_string(geteuid());
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
    return isPrivateFolder(folder) ? folder : std::string();
}

void InstanceLock::checkName(const std::string& name) {
    if (!isPlainFileName(name))
        throw RuntimeError(vbErrInvalidProcedureCall, "Invalid instance lock name: " + name);
}

InstanceLock::InstanceLock(const std::string& name) {
    checkName(name);
    const std::string folder = lockFolder();
    if (folder.empty()) return;
    path_ = folder + "/" + name + ".lock";
    // A holder removes the file as it lets go (below); a file taken just as
    // its holder removed it is a file no one else can find, so the lock is
    // held only when the locked file is still the one at the path.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) return;
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            busy_ = (errno == EWOULDBLOCK);
            close(fd);
            return;
        }
        struct stat held {}, named {};
        if (fstat(fd, &held) == 0 && lstat(path_.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
            held.st_ino == named.st_ino) {
            fd_ = fd;
            return;
        }
        close(fd);
    }
}

InstanceLock::~InstanceLock() {
    if (fd_ < 0) return;
    // Removed while still locked, so that no other copy can hold this very
    // file; a copy starting now creates a new one.
    unlink(path_.c_str());
    close(fd_);  // closing the file drops the flock
}

}  // namespace vb
