// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/saved_game_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <vector>

#include "rules/saved_game.h"

namespace kelvane {

namespace {

// The sentence the framework's file messages use: the file's name, then the system's reason.
std::string FileMessage(const std::string& fileName, int error) {
    return "\"" + fileName + "\": " + std::strerror(error) + ".";
}

std::string CannotRead(const std::string& fileName, int error) {
    return "The saved game could not be read. " + FileMessage(fileName, error) +
           " The board is left as it was.";
}

Status SaveFailed(const std::string& fileName, int error) {
    return Failure{"The game could not be saved. " + FileMessage(fileName, error) +
                   " Any game saved before is kept."};
}

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // The error of close, which may be the first report of a failed write; 0 when fine.
    int Close() {
        const int fd = fd_;
        fd_ = -1;
        return fd >= 0 && ::close(fd) != 0 && errno != EINTR ? errno : 0;
    }

  private:
    int fd_;
};

int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
    int fd = -1;
    do {
        fd = ::open(path, flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// 0, or the errno of the first failure.
int WriteAll(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t put = ::write(fd, bytes + done, size - done);
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) return errno;
        if (put == 0) return ENOSPC;
        done += static_cast<std::size_t>(put);
    }
    return 0;
}

int SyncAndClose(FileDescriptor& file) {
    // Devices cannot be synced; there is nothing of theirs to lose.
    if (::fsync(file.get()) != 0 && errno != EINVAL && errno != EROFS) {
        const int error = errno;
        file.Close();
        return error;
    }
    return file.Close();
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Whether the kernel's rule for links in shared folders (protected_symlinks) lets the player
// follow a link with these owners: in a sticky folder that everyone may write, as /tmp, only
// a link of the player's own or of the folder's owner is followed.
bool MayFollow(const struct stat& link, const std::filesystem::path& folder) {
    struct stat place {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &place) != 0) return false;
    const bool shared = (place.st_mode & S_ISVTX) != 0 && (place.st_mode & S_IWOTH) != 0;
    return !shared || link.st_uid == ::geteuid() || link.st_uid == place.st_uid;
}

// The file a save must replace: where fileName leads through its symbolic links, so that a
// link stays a link. Every link on the way is checked as the kernel would check it when
// opening the file; the rename that replaces the file would not be. 0, or EACCES for a link
// not to be followed, or ELOOP.
int FindReplacedFile(const std::string& fileName, std::string& replaced) {
    namespace fs = std::filesystem;
    constexpr int kMostLinks = 40;  // as the kernel allows
    std::vector<fs::path> ahead;    // the names still to go through, the next one last
    const auto goThrough = [&ahead](const fs::path& path) {
        const std::size_t end = ahead.size();
        for (const fs::path& part : path.relative_path()) ahead.push_back(part);
        std::reverse(ahead.begin() + static_cast<std::ptrdiff_t>(end), ahead.end());
    };
    fs::path done = fs::path(fileName).root_path();  // has no link in it; empty: "."
    goThrough(fileName);
    int links = 0;
    while (!ahead.empty()) {
        const fs::path part = ahead.back();
        ahead.pop_back();
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!done.empty() && done == done.root_path()) continue;  // the root's parent
            done = done.empty() || done.filename() == ".." ? done / ".." : done.parent_path();
            continue;
        }
        const fs::path next = done / part;
        struct stat status {};
        if (::lstat(next.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            done = next;  // what is missing or cannot be looked at fails later, as it would
            continue;
        }
        if (!MayFollow(status, done)) return EACCES;
        if (++links > kMostLinks) return ELOOP;
        std::error_code error;
        const fs::path target = fs::read_symlink(next, error);
        if (error) return error.value();
        if (target.is_absolute()) done = target.root_path();
        goThrough(target);
    }
    replaced = done.empty() ? fs::path(".").string() : done.string();
    return 0;
}

// Rewrites an existing file in place, for a folder where no temporary file can be made. A
// 64-byte rewrite of a file at least as long needs no new room on the disk; on a failure the
// old bytes are put back.
Status RewriteInPlace(const Board& board, const std::string& path, const std::string& fileName) {
    FileDescriptor file(OpenRetrying(path.c_str(), O_RDWR | O_NONBLOCK));
    if (!file.valid()) return SaveFailed(fileName, errno);
    std::array<unsigned char, 4096> old{};
    const ssize_t oldSize = ::pread(file.get(), old.data(), old.size(), 0);
    int error = oldSize < 0 ? errno : 0;
    if (error == 0) error = WriteAll(file.get(), board.data(), board.size());
    if (error == 0 && ::ftruncate(file.get(), static_cast<off_t>(board.size())) != 0) error = errno;
    if (error == 0) error = SyncAndClose(file);
    if (error != 0 && file.valid() && oldSize >= 0) {
        ::pwrite(file.get(), old.data(), static_cast<std::size_t>(oldSize), 0);
        ::ftruncate(file.get(), oldSize);
    }
    return error == 0 ? Done() : SaveFailed(fileName, error);
}

}  // namespace

Status WriteSavedGame(const Board& board, const std::string& fileName) {
    // A file-size limit must fail the write, not end the game.
    std::signal(SIGXFSZ, SIG_IGN);

    std::string path;
    if (const int error = FindReplacedFile(fileName, path); error != 0)
        return SaveFailed(fileName, error);
    mode_t mode = NewFileMode();
    bool exists = false;
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        exists = true;
        if (S_ISDIR(status.st_mode)) return SaveFailed(fileName, EISDIR);
        if (!S_ISREG(status.st_mode)) return SaveFailed(fileName, EINVAL);
        // As a plain open for writing would: a file we may not write is left alone.
        FileDescriptor probe(OpenRetrying(path.c_str(), O_WRONLY | O_NONBLOCK));
        if (!probe.valid()) return SaveFailed(fileName, errno);
        mode = status.st_mode & 07777;
    }

    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::string temporary =
        (folder.empty() ? std::string(".") : folder.string()) + "/.game.sav.XXXXXX";
    std::vector<char> name(temporary.begin(), temporary.end());
    name.push_back('\0');
    // mkstemp creates the file exclusively under a fresh name: it never follows a link.
    FileDescriptor file(::mkstemp(name.data()));
    if (!file.valid()) {
        const int error = errno;
        if (exists) return RewriteInPlace(board, path, fileName);
        return SaveFailed(fileName, error);
    }
    temporary = name.data();
    int error = ::fchmod(file.get(), mode) != 0 ? errno : 0;
    if (error == 0) error = WriteAll(file.get(), board.data(), board.size());
    if (error == 0) error = SyncAndClose(file);
    if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        file.Close();
        ::unlink(temporary.c_str());
        return SaveFailed(fileName, error);
    }
    return Done();
}

SavedGameRead ReadSavedGame(const std::string& fileName) {
    SavedGameRead result;
    const auto unreadable = [&](int error) {
        if (error != ENOENT && error != ENOTDIR) result.message = CannotRead(fileName, error);
        return result;
    };
    // Only a regular file is a saved game; a FIFO, a device or a folder is never opened as
    // one, so reading cannot block.
    struct stat status {};
    if (::stat(fileName.c_str(), &status) != 0) return unreadable(errno);
    if (!S_ISREG(status.st_mode)) return result;
    FileDescriptor file(OpenRetrying(fileName.c_str(), O_RDONLY | O_NONBLOCK));
    if (!file.valid()) return unreadable(errno);
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) return result;

    // One byte more than a saved game is enough to tell that a file is too long.
    std::array<unsigned char, kSavedGameSize + 1> bytes{};
    std::size_t count = 0;
    while (count < bytes.size()) {
        const ssize_t got = ::read(file.get(), bytes.data() + count, bytes.size() - count);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            result.status = SavedGameRead::Status::Refused;
            result.message = CannotRead(fileName, errno);
            return result;
        }
        if (got == 0) break;
        count += static_cast<std::size_t>(got);
    }
    Result<Board> decoded = DecodeSavedGame(std::span(bytes.data(), count));
    // Only one byte past a saved game was read: the file's size says how long it really is.
    if (count > kSavedGameSize)
        decoded = Failure{WrongSizeReason(std::max<std::uint64_t>(
            count, static_cast<std::uint64_t>(std::max<off_t>(status.st_size, 0))))};
    if (!decoded) {
        result.status = SavedGameRead::Status::Refused;
        result.message = "\"" + fileName + "\" does not hold a saved game: " + decoded.reason() +
                         ". The board is left as it was.";
        return result;
    }
    result.status = SavedGameRead::Status::Loaded;
    result.board = *decoded;
    return result;
}

}  // namespace kelvane
