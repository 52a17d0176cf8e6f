// SPDX-License-Identifier: GPL-3.0-or-later
// Saving over game.sav: the old save survives every failure, a file the player may not write is
// left alone, a link is written through, and nothing at a temporary name is ever followed.
#include "game/saved_game_file.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>

#include "tests/game/game_fixture.h"
#include "tests/support/scoped_temp_directory.h"

namespace kelvane::testing {
namespace {

namespace fs = std::filesystem;
constexpr uid_t kNobody = 65534;

std::string Contents(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

Board Filled(unsigned char code) {
    Board board{};
    board.fill(code);
    return board;
}

std::string Bytes(const Board& board) {
    return std::string(board.begin(), board.end());
}

class SavedGameFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::permissions(folder_.path(), fs::perms::all);
        std::ofstream("game.sav", std::ios::binary) << Bytes(old_);
    }
    // One line naming game.sav and the cause; the old save kept.
    static bool FailedAndKept(const Status& saved, const char* cause, const char* file) {
        const std::string message = saved ? "" : saved.reason();
        const bool ok = !saved && message.find("\"game.sav\"") != std::string::npos &&
                        message.find(cause) != std::string::npos &&
                        message.find('\n') == std::string::npos &&
                        Contents(file) == Bytes(Filled(11));
        if (!ok) std::cerr << "saved " << saved.ok() << ": " << message << "\n";
        return ok;
    }
    // Runs check in a child process, as user nobody when the tests run as root; its answer
    // comes back as the exit status. Killed by a signal counts as a failure.
    void InChild(bool asNobody, const std::function<bool()>& check) {
        std::cout.flush();
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (asNobody && ::geteuid() == 0 &&
                (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
                ::_exit(77);
            ::_exit(check() ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
            GTEST_SKIP() << "cannot run as user nobody, so root would bypass the permissions";
        EXPECT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
    }

    ScopedTempDirectory folder_;
    const Board old_ = Filled(11), new_ = Filled(26);
};

TEST_F(SavedGameFileTest, AWriteProtectedSaveIsRefusedAndLeftAlone) {
    ::chown("game.sav", kNobody, kNobody);
    fs::permissions("game.sav",
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    InChild(true, [this] {
        return FailedAndKept(WriteSavedGame(new_, "game.sav"), "Permission denied", "game.sav");
    });
    EXPECT_EQ(fs::status("game.sav").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

// A link is written through to its target and kept; the file keeps its permission bits.
TEST_F(SavedGameFileTest, ASaveReplacesTheFileALinkPointsToWithItsPermissions) {
    fs::create_directory("elsewhere");
    fs::rename("game.sav", "elsewhere/real.sav");
    fs::create_symlink("elsewhere/real.sav", "game.sav");
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions("elsewhere/real.sav", mode);
    ASSERT_TRUE(WriteSavedGame(new_, "game.sav").ok());
    EXPECT_TRUE(fs::is_symlink("game.sav"));
    EXPECT_EQ(Contents("elsewhere/real.sav"), Bytes(new_));
    EXPECT_EQ(fs::status("elsewhere/real.sav").permissions(), mode);
}

// In a folder that everyone may write and that is sticky, as /tmp, a link is followed only
// where the kernel's rule for such folders would follow it: when it belongs to the player or to
// the folder's owner. Otherwise the save is refused, and the file it points to kept.
TEST_F(SavedGameFileTest, ALinkPlantedInASharedFolderIsNotFollowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give the links other owners";
    constexpr uid_t kSomeoneElse = 4242;
    const fs::perms shared = fs::perms::all | fs::perms::sticky_bit;
    // The folder; the owners of game.sav and of a link it goes through (0: none); followed.
    const std::tuple<fs::perms, uid_t, uid_t, bool> rows[] = {
        {shared, kSomeoneElse, 0, false},
        {shared, kNobody, 0, true},
        {shared, 0, 0, true},
        {fs::perms::all, kSomeoneElse, 0, true},  // not sticky
        {shared & ~fs::perms::others_write, kSomeoneElse, 0, true},
        {shared, kNobody, kSomeoneElse, false}};
    for (const auto& [folder, link, hop, followed] : rows) {
        SCOPED_TRACE(std::to_string(link) + " " + std::to_string(hop));
        for (const char* name : {"mine", "game.sav", "hop"}) fs::remove_all(name);
        fs::create_directory("mine");
        std::ofstream("mine/target", std::ios::binary) << Bytes(old_);
        ::chown("mine", kNobody, kNobody);
        ::chown("mine/target", kNobody, kNobody);
        fs::create_symlink(hop != 0 ? "hop" : "mine/target", "game.sav");
        fs::create_symlink("mine/target", "hop");
        ASSERT_EQ(::lchown("game.sav", link, link) | ::lchown("hop", hop, hop), 0);
        fs::permissions(folder_.path(), folder);
        InChild(true, [&] {
            const Status saved = WriteSavedGame(new_, "game.sav");
            if (followed) return saved.ok() && Contents("mine/target") == Bytes(new_);
            return FailedAndKept(saved, "Permission denied", "mine/target");
        });
    }
}

// A save the player may not read: the reason is there for the terminal to tell, while the
// window's game says nothing and keeps its board, as for a missing file.
TEST_F(SavedGameFileTest, AnUnreadableSaveIsNamedAndTheWindowStaysSilent) {
    fs::permissions("game.sav", fs::perms::owner_read);
    InChild(true, [] {
        RecordingHost host;
        Game game(host);
        host.Attach(&game);
        const Board before = game.GetBoard();
        game.Load("game.sav");
        const SavedGameRead read = ReadSavedGame("game.sav");
        return host.seen.empty() && game.GetBoard() == before &&
               read.status == SavedGameRead::Status::NotOpened &&
               read.message ==
                   "The saved game could not be read. \"game.sav\": Permission "
                   "denied. The board is left as it was.";
    });
}

// Where no temporary file can be made, a writable game.sav is rewritten in place.
TEST_F(SavedGameFileTest, AWritableSaveInAFolderThePlayerCannotWriteIsSavedInPlace) {
    fs::create_directory("locked");
    std::ofstream("locked/game.sav", std::ios::binary) << Bytes(old_);
    ::chown("locked/game.sav", kNobody, kNobody);
    fs::permissions("locked", fs::perms::owner_all | fs::perms::group_exec |
                                  fs::perms::others_exec | fs::perms::group_read |
                                  fs::perms::others_read);
    InChild(true, [this] {
        const Status saved = WriteSavedGame(new_, "locked/game.sav");
        if (!saved) std::cerr << saved.reason() << "\n";
        return saved.ok() && Contents("locked/game.sav") == Bytes(new_);
    });
}

// A file-size limit (as a full disk) fails the write instead of ending the program.
TEST_F(SavedGameFileTest, AWriteThatCannotGrowTheFileFailsAndKeepsTheOldSave) {
    InChild(false, [this] {
        const rlimit none{0, 0};
        ::setrlimit(RLIMIT_FSIZE, &none);
        return FailedAndKept(WriteSavedGame(new_, "game.sav"), "File too large", "game.sav");
    });
    int files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder_.path())) ++files;
    EXPECT_EQ(files, 1) << "no temporary file is left behind";
}

TEST_F(SavedGameFileTest, NothingAtATemporaryNameIsFollowedOrOverwritten) {
    std::ofstream("victim") << "mine";
    for (const char* name : {"game.sav.tmp", ".game.sav.tmp", ".game.sav.XXXXXX"})
        fs::create_symlink("victim", name);
    std::ofstream(".game.sav.AbCdEf") << "stale";
    ASSERT_TRUE(WriteSavedGame(new_, "game.sav").ok());
    EXPECT_EQ(Contents("game.sav"), Bytes(new_));
    EXPECT_EQ(Contents("victim"), "mine");
    EXPECT_EQ(Contents(".game.sav.AbCdEf"), "stale");
    for (const char* name : {"game.sav.tmp", ".game.sav.tmp", ".game.sav.XXXXXX"})
        EXPECT_TRUE(fs::is_symlink(name)) << name;
}

}  // namespace
}  // namespace kelvane::testing
