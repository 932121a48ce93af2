#include "codegen/text_file.h"

#include <cerrno>
#include <cstring>
#include <random>

namespace codegen {

namespace {

long vbNumberFor(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
        return kErrPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return kErrPermissionDenied;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return kErrDiskFull;
    default:
        return kErrPathFileAccess;
    }
}

std::string describe(long number) {
    switch (number) {
    case kErrDiskFull: return "Disk full";
    case kErrPermissionDenied: return "Permission denied";
    case kErrPathNotFound: return "Path not found";
    default: return "Path/File access error";
    }
}

}  // namespace

TextFileWriter::TextFileWriter(std::filesystem::path target) : target_(std::move(target)) {
    // The new text sits beside the target so that the final rename stays on
    // one file system and replaces the target in one step.
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100 && !file_; ++attempt) {
        temporary_ = target_;
        temporary_ += ".tmp" + std::to_string(random() % 1000000);
        errno = 0;
        file_ = std::fopen(temporary_.c_str(), "wbx");
        if (!file_ && errno != EEXIST) fail(errno, "create");
    }
    if (!file_) fail(EEXIST, "create");
}

TextFileWriter::~TextFileWriter() { discard(); }

void TextFileWriter::fail(int errorNumber, const std::string& what) {
    const long number = vbNumberFor(errorNumber);
    discard();
    throw WriteError(number, describe(number) + " (" + what + " " + target_.string() + ": " +
                                 std::strerror(errorNumber) + ")",
                     target_);
}

void TextFileWriter::discard() {
    if (committed_) return;
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporary_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
        temporary_.clear();
    }
}

void TextFileWriter::writeLine(const std::string& line) {
    if (!file_) fail(EBADF, "write");
    errno = 0;
    if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() || std::fputs("\r\n", file_) == EOF)
        fail(errno ? errno : EIO, "write");
}

void TextFileWriter::writeLines(const std::vector<std::string>& lines) {
    for (const auto& line : lines) writeLine(line);
}

void TextFileWriter::commit() {
    if (!file_) fail(EBADF, "write");
    errno = 0;
    if (std::fflush(file_) != 0) fail(errno ? errno : EIO, "write");
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0) fail(errno ? errno : EIO, "close");
    std::error_code error;
    std::filesystem::rename(temporary_, target_, error);
    if (error) fail(error.value(), "replace");
    committed_ = true;
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code errorA, errorB;
    const auto canonicalA = std::filesystem::weakly_canonical(a, errorA);
    const auto canonicalB = std::filesystem::weakly_canonical(b, errorB);
    if (errorA || errorB) return std::filesystem::absolute(a, errorA) == std::filesystem::absolute(b, errorB);
    return canonicalA == canonicalB;
}

void writeTextFile(const std::filesystem::path& target, const std::vector<std::string>& lines) {
    TextFileWriter writer(target);
    writer.writeLines(lines);
    writer.commit();
}

}  // namespace codegen
