// Runs a `strux` command line in-process and keeps what it printed.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "command.h"

namespace testsupport {

struct StruxResult {
    int status;
    std::string out, err;
};

inline StruxResult strux(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = cli::run(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace testsupport
