// Standard output as the commands write it: straight to the descriptor,
// remembering why a write failed, so that a full disk or a closed pipe ends
// the command with its reason instead of a silent success.
#pragma once

#include <streambuf>

namespace cli {

class DescriptorBuffer : public std::streambuf {
public:
    explicit DescriptorBuffer(int fd);
    ~DescriptorBuffer() override;
    // The errno of the first failed write; 0 while every write went through.
    int error() const { return error_; }

protected:
    int overflow(int c) override;
    int sync() override;

private:
    bool drain();

    int fd_;
    int error_ = 0;
    char buffer_[64 * 1024];
};

}  // namespace cli
