// SPDX-License-Identifier: GPL-3.0-or-later
#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = kelvane::cli::RunCli(args, std::cout, std::cerr);
    // Output lost to a full disk or a closed pipe must not pass for success.
    errno = 0;
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "kelvane-cli: cannot write the output"
                  << (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string())
                  << '\n';
        return 1;
    }
    return status;
}
