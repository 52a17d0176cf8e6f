// A fresh directory for one test, made the current directory while the test runs, so that
// files named without a path ("game.sav") never touch anything else.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

namespace kelvane::testing {

class ScopedTempDirectory {
  public:
    ScopedTempDirectory() : previous_(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "kelvane-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::filesystem::filesystem_error(
                "mkdtemp", std::error_code(errno, std::generic_category()));
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

    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

}  // namespace kelvane::testing
