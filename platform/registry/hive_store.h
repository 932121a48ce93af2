// The hive files of the registry roots in a prefix folder, as Wine keeps
// them: system.reg for HKEY_LOCAL_MACHINE, user.reg for HKEY_CURRENT_USER.
//
// Reading takes the hive as it is on disk now (parsed once per version of the
// file). A change is made under an exclusive lock on "<hive>.lock": the hive
// is read again under the lock, changed, written to a temporary file, flushed
// and renamed over the old one, so that a reader sees the old or the new hive
// and never half of one, and two processes changing the same hive at once
// both keep their changes.
//
// A hive is writable when the process may write it and the hive file and its
// folder are not marked read-only (no write bit in their modes). The mode
// check is what makes "read-only" hold for a process that runs as root, which
// the permission check alone would let through.
//
// A hive whose text is damaged is read as far as it can be. Before it is
// written again its file is kept beside it as "<hive>.damaged-<time>"; when
// that keeping fails, the change is refused with access denied, so that the
// lines that could not be read are never lost without trace.
//
// A change waits for the lock a bounded time only: a process that hangs
// while it holds the lock makes the others' changes fail with access denied
// instead of freezing them.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "registry/hive.h"

namespace regstore {

// Win32 result codes that the store gives.
constexpr std::int32_t kSuccess = 0;
constexpr std::int32_t kAccessDenied = 5;

// The environment variable that names the prefix folder. Unset or empty: the
// per-user folder $XDG_CONFIG_HOME/strux32/registry (~/.config/strux32/registry).
constexpr const char* kPrefixVariable = "STRUX32_REGISTRY_PREFIX";
std::string PrefixFolder();

class HiveFile {
public:
    static constexpr std::chrono::milliseconds kDefaultLockWait{10000};

    // `path` is the hive file; `rootName` the root it holds ("HKEY_CURRENT_USER").
    HiveFile(std::string path, std::string rootName, std::chrono::milliseconds lockWait = kDefaultLockWait);

    const std::string& path() const { return path_; }

    // The hive as it is on disk now; a missing file is an empty hive. Gives
    // kAccessDenied with a null hive when the file exists but cannot be read.
    std::int32_t read(std::shared_ptr<const Key>& hive) const;

    // Applies `change` to the hive under the lock and saves the result when
    // `change` returns kSuccess and reports that it changed something. The
    // result is that of `change`, or kAccessDenied when the hive could not be
    // locked, read or written (the hive on disk is then as it was).
    using Change = std::function<std::int32_t(Key& hive, bool& changed)>;
    std::int32_t update(const Change& change) const;

    // Whether update() may write the hive: see the header comment.
    bool writable() const;

private:
    std::string path_;
    std::string rootName_;
    std::chrono::milliseconds lockWait_;
};

}  // namespace regstore
