// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/replay.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "record/pgn_reader.h"
#include "rules/notation.h"
#include "rules/san.h"

namespace kelvane::cli {

namespace {

// A PGN file is text; a bigger one is no record of Kelvane's.
constexpr off_t kMaxFileSize = 64 * 1024 * 1024;

struct FileDescriptor {
    explicit FileDescriptor(int opened) : fd(opened) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd >= 0) ::close(fd);
    }
    const int fd;
};

struct StartingPoint {
    Board board;
    Side side;
};

Result<StartingPoint> StartOf(const PgnGame& game) {
    const std::string* fen = game.FindTag("FEN");
    if (fen == nullptr) {
        StartingPoint start{{}, 2};
        SetUpStartingPosition(start.board);
        return start;
    }
    Result<Board> board = BoardFromFen(*fen);
    if (!board) return Failure{"its FEN tag is not a position: " + board.reason()};
    const std::size_t space = fen->find(' ');
    const char side = space == std::string::npos ? 'w' : (*fen)[space + 1];
    if (side != 'w' && side != 'b') return Failure{"its FEN tag names no side to move"};
    return StartingPoint{*board, side == 'w' ? 2 : 1};
}

Result<std::string> Replay(const PgnGame& game) {
    Result<StartingPoint> start = StartOf(game);
    if (!start) return Failure{start.reason()};
    Board board = start->board;
    Side side = start->side;
    int number = 1;
    for (const std::string& san : game.moves) {
        const Result<MoveWord> move = MoveFromSan(board, side, san);
        if (!move) {
            return Failure{"move " + std::to_string(number) + " (" +
                           (side == 2 ? "White" : "Black") + "): " + move.reason()};
        }
        ApplyMove(board, *move);
        if (side == 1) ++number;
        side = Opponent(side);
    }
    return BoardToFen(board);
}

}  // namespace

Result<int> ReplayPgn(std::string_view pgn, std::ostream& out) {
    PgnReader reader(pgn);
    for (int number = 1;; ++number) {
        Result<std::optional<PgnGame>> game = reader.Next();
        if (!game) return Failure{game.reason()};
        if (!*game) return number - 1;
        Result<std::string> placement = Replay(**game);
        if (!placement)
            return Failure{"game " + std::to_string(number) + ", " + placement.reason()};
        out << *placement << '\n';
    }
}

Result<int> ReplayPgnFile(const std::string& fileName, std::ostream& out) {
    const auto failure = [&](const std::string& what) {
        return Failure{fileName + (what.empty() ? std::string() : ": ") + what};
    };
    // Not blocking on a FIFO: the file is looked at before any byte is read.
    const FileDescriptor file{::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    const int fd = file.fd;
    if (fd < 0) return Failure{"cannot open " + fileName + ": " + std::strerror(errno)};
    struct stat status {};
    if (::fstat(fd, &status) != 0) return failure(std::strerror(errno));
    if (S_ISDIR(status.st_mode)) return failure("is a folder");
    if (!S_ISREG(status.st_mode)) return failure("is not a regular file");
    const std::string tooLarge = "is larger than " + std::to_string(kMaxFileSize >> 20) + " MB";
    if (status.st_size > kMaxFileSize) return failure(tooLarge);
    std::string text(static_cast<std::size_t>(status.st_size) + 1, '\0');
    std::size_t size = 0;
    while (size < text.size()) {
        const ssize_t got = ::read(fd, text.data() + size, text.size() - size);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return failure("cannot read it: " + std::string(std::strerror(errno)));
        if (got == 0) break;
        size += static_cast<std::size_t>(got);
        // A file that grows while it is read is read up to one byte over the limit.
        if (size == text.size() && size <= static_cast<std::size_t>(kMaxFileSize))
            text.resize(std::min(size * 2, static_cast<std::size_t>(kMaxFileSize) + 1));
    }
    if (size > static_cast<std::size_t>(kMaxFileSize)) return failure(tooLarge);
    text.resize(size);
    Result<int> games = ReplayPgn(text, out);
    if (!games) return failure(games.reason());
    return games;
}

}  // namespace kelvane::cli
