// SPDX-License-Identifier: GPL-3.0-or-later
#include <cerrno>
#include <csignal>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"

int main(int argc, char** argv) {
    // A reader that has gone away (a closed pipe) is a failed write, reported with status 1,
    // not the end of the program by SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = kelvane::cli::RunCli(args, std::cout, std::cerr);
    // Output lost to a full disk or a closed pipe must not pass for success; a command that
    // found it lost has said so already.
    errno = 0;
    std::cout.flush();
    const int cause = errno;
    if (!std::cout && status != kelvane::cli::kExitWriteFailed) {
        std::cerr << "kelvane-cli: cannot write the output"
                  << (cause != 0 ? std::string(": ") + std::strerror(cause) : std::string())
                  << '\n';
        return kelvane::cli::kExitWriteFailed;
    }
    return status;
}
