#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <ostream>

#include "command.h"
#include "output_buffer.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    cli::DescriptorBuffer buffer(STDOUT_FILENO);
    std::ostream out(&buffer);
    int status = cli::run(args, out, std::cerr);
    // A file system may report a failed write only when the file is closed:
    // success means the bytes were taken.
    if (out.flush() && ::close(STDOUT_FILENO) != 0 && errno != EBADF && errno != EINTR) {
        std::cerr << "strux: could not write standard output: " << std::strerror(errno) << '\n';
        status = cli::kExitIoError;
    }
    return status;
}
