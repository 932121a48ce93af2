// A per-user, per-name lock that tells a second copy of a program that the
// first is running. It is an flock'ed file in $XDG_RUNTIME_DIR, or, when that
// is not set, in a private folder of the user under the temporary folder.
// flock belongs to the open file, so two locks of the same name conflict even
// inside one process, and the system drops the lock when the process ends.
#pragma once

#include <string>

namespace vb {

class InstanceLock {
public:
    // Tries once to take the lock `name` ("Strux32"); never waits.
    // `name` must be a plain file name (no "/", not "." or ".."); anything
    // else raises RuntimeError 5 (invalid procedure call).
    explicit InstanceLock(const std::string& name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this object holds the lock.
    bool held() const { return fd_ >= 0; }
    // True when another holder has it. A lock that could not be tried at all
    // (no writable folder) is neither held nor busy: the program then runs
    // as if it were the first copy rather than refuse to start.
    bool busy() const { return busy_; }
    // The lock file's path, or "" when no folder could be used.
    const std::string& path() const { return path_; }

    // Raises RuntimeError 5 unless `name` is a plain file name.
    static void checkName(const std::string& name);

    // The folder the locks live in, created (mode 0700) when missing; ""
    // when no safe folder is available.
    static std::string lockFolder();

private:
    int fd_ = -1;
    bool busy_ = false;
    std::string path_;
};

}  // namespace vb
