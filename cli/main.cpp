#include <iostream>

#include "command.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return cli::run(args, std::cout, std::cerr);
}
