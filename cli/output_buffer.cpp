#include "output_buffer.h"

#include <unistd.h>

#include <cerrno>

namespace cli {

DescriptorBuffer::DescriptorBuffer(int fd) : fd_(fd) { setp(buffer_, buffer_ + sizeof buffer_); }

DescriptorBuffer::~DescriptorBuffer() { drain(); }

bool DescriptorBuffer::drain() {
    const char* at = pbase();
    while (error_ == 0 && at < pptr()) {
        const ssize_t n = ::write(fd_, at, static_cast<std::size_t>(pptr() - at));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) error_ = n < 0 ? errno : EIO;
        else at += n;
    }
    // What could not be written is dropped: the command has failed.
    setp(buffer_, buffer_ + sizeof buffer_);
    return error_ == 0;
}

int DescriptorBuffer::overflow(int c) {
    if (!drain()) return traits_type::eof();
    if (c != traits_type::eof()) sputc(static_cast<char>(c));
    return traits_type::not_eof(c);
}

int DescriptorBuffer::sync() { return drain() ? 0 : -1; }

}  // namespace cli
