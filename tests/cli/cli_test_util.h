// SPDX-License-Identifier: GPL-3.0-or-later
// Shared by the kelvane-cli tests: the commands run in-process on strings, and lines of text.
#pragma once

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "rules/evaluation.h"
#include "tests/support/scoped_temp_directory.h"

namespace kelvane::cli {

using kelvane::testing::ScopedTempDirectory;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

inline CliRun Cli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCli(args, out, err);
    SetRulesVariant(kKingMustDie);
    return {status, out.str(), err.str()};
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

inline bool HasLine(const std::string& text, const std::string& wanted) {
    return std::ranges::count(Lines(text), wanted) > 0;
}

inline std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

inline std::string WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

}  // namespace kelvane::cli
