// Text files written the way the generated sources need them: every line
// ends with CR LF, and the file at the target path is replaced only once the
// whole text has been written, so a failure never leaves a half-written file
// in place of a good one.
#pragma once

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace codegen {

// A file that could not be written, with the number VB gives the failure
// (61 disk full, 70 permission denied, 75 path/file access error, 76 path
// not found), so that the common error handler reports it as VB would.
class WriteError : public std::runtime_error {
public:
    WriteError(long number, const std::string& description, std::filesystem::path path)
        : std::runtime_error(description), number_(number), path_(std::move(path)) {}
    long number() const { return number_; }
    const std::filesystem::path& path() const { return path_; }

private:
    long number_;
    std::filesystem::path path_;
};

inline constexpr long kErrDiskFull = 61;
inline constexpr long kErrPermissionDenied = 70;
inline constexpr long kErrPathFileAccess = 75;
inline constexpr long kErrPathNotFound = 76;

// Writes lines to a new file beside `target`; commit() puts it in the
// target's place. Without commit() (a failure on the way) the new file is
// removed and an earlier file at the target stays as it was.
class TextFileWriter {
public:
    // Throws WriteError when the file cannot be created.
    explicit TextFileWriter(std::filesystem::path target);
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    // Throws WriteError when the text cannot be written.
    void writeLine(const std::string& line);
    void writeLines(const std::vector<std::string>& lines);
    // Flushes, closes and renames over the target; throws WriteError.
    void commit();

    const std::filesystem::path& target() const { return target_; }

private:
    void fail(int errorNumber, const std::string& what);
    void discard();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::FILE* file_ = nullptr;
    bool committed_ = false;
};

// Whether two paths lead to the same file (links and ".." resolved as far
// as the paths exist), so that an output never takes an input's place.
bool sameFile(const std::string& a, const std::string& b);

// The whole file at once.
void writeTextFile(const std::filesystem::path& target, const std::vector<std::string>& lines);

}  // namespace codegen
