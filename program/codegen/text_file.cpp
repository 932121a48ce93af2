#include "codegen/text_file.h"

#include <cerrno>

#include "files/replacement_file.h"

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
    case EFBIG:
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

// Written in pieces of this size: one system call per line would make a
// large module slow.
constexpr std::size_t kBufferSize = 64 * 1024;

}  // namespace

void throwWriteError(const std::exception& failure, const std::filesystem::path& target) {
    const auto* fileError = dynamic_cast<const files::FileError*>(&failure);
    const long number = fileError ? vbNumberFor(fileError->error()) : kErrPathFileAccess;
    throw WriteError(number, describe(number) + " (" + failure.what() + ")", target);
}

TextFileWriter::TextFileWriter(std::filesystem::path target, const std::vector<std::filesystem::path>& inputs)
    : target_(std::move(target)) {
    try {
        file_ = std::make_unique<files::ReplacementFile>(target_, inputs);
    } catch (const std::runtime_error& e) {
        throwWriteError(e, target_);
    }
}

TextFileWriter::~TextFileWriter() = default;

void TextFileWriter::flushBuffer() {
    try {
        if (!file_) throw files::FileError(EBADF, "write", target_);
        file_->write(buffer_);
        buffer_.clear();
    } catch (const std::runtime_error& e) {
        file_.reset();
        throwWriteError(e, target_);
    }
}

void TextFileWriter::writeLine(const std::string& line) {
    buffer_ += line;
    buffer_ += "\r\n";
    if (buffer_.size() >= kBufferSize) flushBuffer();
}

void TextFileWriter::writeLines(const std::vector<std::string>& lines) {
    for (const auto& line : lines) writeLine(line);
}

void TextFileWriter::commit() {
    flushBuffer();
    try {
        file_->commit();
    } catch (const std::runtime_error& e) {
        file_.reset();
        throwWriteError(e, target_);
    }
    file_.reset();
}

void writeTextFile(const std::filesystem::path& target, const std::vector<std::string>& lines,
                   const std::vector<std::filesystem::path>& inputs) {
    TextFileWriter writer(target, inputs);
    writer.writeLines(lines);
    writer.commit();
}

}  // namespace codegen
