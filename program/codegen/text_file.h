// Text files written the way the generated sources need them: every line
// ends with CR LF, and the file at the target path is replaced only once the
// whole text has been written, so a failure never leaves a half-written file
// in place of a good one.
#pragma once

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace files {
class ReplacementFile;
}

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

// Writes lines to a new file beside `target` (files/replacement_file.h);
// commit() puts it in the target's place. Without commit() (a failure on
// the way) the new file is removed and an earlier file at the target stays
// as it was.
class TextFileWriter {
public:
    // Throws WriteError when the file cannot be created, when `target` is
    // not a regular file (a folder, a device, a FIFO) or is one of `inputs`.
    explicit TextFileWriter(std::filesystem::path target, const std::vector<std::filesystem::path>& inputs = {});
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
    void flushBuffer();

    std::filesystem::path target_;
    std::unique_ptr<files::ReplacementFile> file_;
    std::string buffer_;
};

// The whole file at once.
void writeTextFile(const std::filesystem::path& target, const std::vector<std::string>& lines,
                   const std::vector<std::filesystem::path>& inputs = {});

// The WriteError of a failure met by the shared file writer.
[[noreturn]] void throwWriteError(const std::exception& failure, const std::filesystem::path& target);

}  // namespace codegen
