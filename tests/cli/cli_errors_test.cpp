// kelvane-cli as a user meets it from a shell: errors in one readable line, a depth it can
// finish, a FIFO refused instead of waited on, and lost output reported.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/scoped_temp_directory.h"

namespace kelvane::testing {
namespace {

struct Outcome {
    int status;
    std::string err;
};

// The program under the shell, in the test's own folder; stdout as redirected by `output`.
// The time limit only keeps a fault from hanging the suite.
Outcome Cli(const std::string& arguments, const std::string& output = ">/dev/null") {
    const std::string command =
        "timeout 20 " KELVANE_CLI_PATH " " + arguments + " " + output + " 2>errors";
    const int status = std::system(command.c_str());
    std::ifstream errors("errors");
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
            std::string(std::istreambuf_iterator<char>(errors), {})};
}

bool OneLine(const std::string& text) {
    return !text.empty() && text.find('\n') == text.size() - 1;
}

class CliErrorsTest : public ::testing::Test {
    ScopedTempDirectory folder_;
};

TEST_F(CliErrorsTest, DepthIsAtMostTenAndTheErrorAndHelpSaySo) {
    const Outcome refused = Cli("perft start white 11");
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err, "kelvane-cli perft: depth must be 0 to 10\n");
    EXPECT_EQ(Cli("search --help", ">help").status, 0);
    std::ifstream help("help");
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(help), {}).find("DEPTH is 0 to 10"),
              std::string::npos);
}

TEST_F(CliErrorsTest, ControlCharactersInAnArgumentAreQuoted) {
    const Outcome run = Cli("\"$(printf 'mo\\nves\\033[31m')\" start white");
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(OneLine(run.err)) << run.err;
    EXPECT_NE(run.err.find("'mo\\nves\\x1b[31m'"), std::string::npos) << run.err;
}

TEST_F(CliErrorsTest, AFifoIsNoPositionAndIsNotWaitedOn) {
    ASSERT_EQ(::mkfifo("position", 0600), 0);
    const Outcome run = Cli("moves position white");
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(OneLine(run.err)) << run.err;
}

TEST_F(CliErrorsTest, OutputLostToAFullDiskOrAClosedStdoutFails) {
    for (const char* output : {">/dev/full", ">&-"}) {
        const Outcome run = Cli("--version", output);
        EXPECT_EQ(run.status, 1) << output;
        EXPECT_TRUE(OneLine(run.err)) << output << ": " << run.err;
        EXPECT_NE(run.err.find("cannot write the output"), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace kelvane::testing
