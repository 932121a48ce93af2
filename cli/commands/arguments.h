// The command line of a command that reads one FILE: options with a value
// ("-o OUT", "--style=project"), options without one ("--force"), in any
// order around FILE.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace cli {

struct ParsedArguments {
    std::string file;
    std::map<std::string, std::string> values;  // the last value of each option given
    std::set<std::string> flags;
    std::string problem;  // what is wrong with the line; empty when nothing is
};

inline ParsedArguments parseArguments(const std::vector<std::string>& args,
                                      const std::set<std::string>& valueOptions,
                                      const std::set<std::string>& flagOptions = {}) {
    ParsedArguments parsed;
    auto fail = [&](std::string problem) {
        parsed.problem = std::move(problem);
        return parsed;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto equals = arg.find('=');
        if (valueOptions.count(arg)) {
            if (i + 1 == args.size()) return fail(arg + " needs a value");
            parsed.values[arg] = args[++i];
        } else if (arg.rfind("--", 0) == 0 && equals != std::string::npos && valueOptions.count(arg.substr(0, equals))) {
            parsed.values[arg.substr(0, equals)] = arg.substr(equals + 1);
        } else if (flagOptions.count(arg)) {
            parsed.flags.insert(arg);
        } else if (!arg.empty() && arg[0] == '-') {
            return fail("unknown option " + arg);
        } else if (parsed.file.empty()) {
            parsed.file = arg;
        } else {
            return fail("only one FILE");
        }
    }
    if (parsed.file.empty()) return fail("no FILE");
    return parsed;
}

}  // namespace cli
