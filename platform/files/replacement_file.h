// Every file the tools write appears whole or not at all: the new bytes go
// to a temporary file beside the target, are flushed to the disk, and are
// then renamed over the target in one step. A reader (or a crash) sees the
// old file or the new one, never half of either.
//
// Temporary files are hidden and carry a recognisable name,
// ".TARGET.strux-XXXXXX", so that one left by a killed run is never taken
// for the finished file and can be removed by a later run (see
// removeStaleTemporaries).
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace files {

// Why nothing may be written at `path`, in words ("is a folder", "is a
// FIFO", "is a device", "is a socket"); empty when `path` is a regular file
// or nothing. Symbolic links are followed. Never opens `path`, so a FIFO
// cannot block the caller.
std::string notARegularFile(const std::filesystem::path& path);

// Whether two paths name one file: the same device and inode when both
// exist (so symbolic and hard links and other spellings count), otherwise
// the same path once links and ".." are resolved as far as they exist.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// A target that must not be replaced: not a regular file, or one of the
// inputs. Nothing was written.
class TargetRefused : public std::runtime_error {
public:
    TargetRefused(std::filesystem::path path, const std::string& why)
        : std::runtime_error(path.string() + " " + why), path_(std::move(path)) {}
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A system call on the way failed; `error()` is its errno. EEXIST from
// commit(Replace::Never) means the target was taken meanwhile.
class FileError : public std::runtime_error {
public:
    FileError(int error, const std::string& step, const std::filesystem::path& path);
    int error() const { return error_; }

private:
    int error_;
};

enum class Replace { IfExists, Never };

class ReplacementFile {
public:
    // Created: the temporary file is made now (open, locked) and written
    // through descriptor() or write(). NameOnly: only its name is chosen,
    // unused; the caller creates the file there itself (a database the
    // engine makes), and commit() flushes whatever stands under that name.
    enum class Temporary { Created, NameOnly };

    // `target`'s symbolic links are followed: the file a link names is
    // replaced and the link stays. Throws TargetRefused when the target is
    // not a regular file or is one of `inputs`, FileError when the
    // temporary file cannot be made. `mode` is for a target that does not
    // exist yet (the umask applies); an existing target keeps its own.
    explicit ReplacementFile(const std::filesystem::path& target, const std::vector<std::filesystem::path>& inputs = {},
                             Temporary temporary = Temporary::Created, mode_t mode = 0666);
    // Removes the temporary file unless commit() put it in place.
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    const std::filesystem::path& target() const { return target_; }
    const std::filesystem::path& temporaryPath() const { return temporary_; }
    // The open temporary file (Created), or -1.
    int descriptor() const { return fd_; }

    // Appends bytes to the temporary file; throws FileError.
    void write(std::string_view bytes);
    // Flushes the temporary file to the disk, checks the target once more
    // and renames the temporary over it, then flushes the folder. With
    // Replace::Never an existing target is left alone (FileError EEXIST).
    // Throws TargetRefused or FileError; the temporary file is removed on
    // any failure.
    void commit(Replace replace = Replace::IfExists);

    // The temporary name's marker, between the target's name and the
    // random part.
    static constexpr std::string_view kMarker = ".strux-";

private:
    void discard();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::vector<std::filesystem::path> inputs_;
    int fd_ = -1;
    bool committed_ = false;
};

// Removes temporary files of `target` (".TARGET.strux-XXXXXX" in its
// folder) that a run killed before its commit left: a file no live writer
// holds locked and unchanged for `age` seconds. Live writers hold a lock on
// their temporary file for as long as they write it; the age covers the
// moments before the lock is taken. Returns how many were removed.
int removeStaleTemporaries(const std::filesystem::path& target, int age = 10);

}  // namespace files
