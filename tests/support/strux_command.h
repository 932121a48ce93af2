// `strux` run in-process, for the modules whose tests link the command line.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "command.h"

namespace testsupport {

struct CommandRun {
    int status;
    std::string out, err;
};

inline CommandRun strux(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = cli::run(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace testsupport
