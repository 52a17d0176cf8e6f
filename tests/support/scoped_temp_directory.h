// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh directory for one test, made the current directory while the test runs, so that
// files named without a path ("game.sav") never touch anything else.
#pragma once

#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>

namespace kelvane::testing {

class ScopedTempDirectory {
  public:
    ScopedTempDirectory() : previous_(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "kelvane-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::system_error(errno, std::generic_category(), "mkdtemp");
        path_ = pattern;
        std::filesystem::current_path(path_);
    }
    ~ScopedTempDirectory() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScopedTempDirectory(const ScopedTempDirectory&) = delete;
    ScopedTempDirectory& operator=(const ScopedTempDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path previous_, path_;
};

}  // namespace kelvane::testing
