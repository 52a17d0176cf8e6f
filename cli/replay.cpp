// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/replay.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
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

// One game played through the rules move by move, as the reader reads it: nothing of a game
// is kept but its position.
class GameReplay {
  public:
    // The reason a move cannot be played, naming the game, the move number and the side.
    std::optional<std::string> Play(const PgnGame& game, std::string_view san) {
        if (!started_) {
            if (std::optional<std::string> problem = Begin(game)) return problem;
        }
        const Result<MoveWord> move = MoveFromSan(board_, side_, san);
        if (!move) {
            return Where() + "move " + std::to_string(number_) + " (" +
                   (side_ == 2 ? "White" : "Black") + "): " + move.reason();
        }
        ApplyMove(board_, *move);
        if (side_ == 1) ++number_;
        side_ = Opponent(side_);
        return std::nullopt;
    }
    // The placement after the game's last move; ready for the next game.
    Result<std::string> Finish(const PgnGame& game) {
        if (!started_) {
            if (std::optional<std::string> problem = Begin(game)) return Failure{*problem};
        }
        started_ = false;
        ++games_;
        return BoardToFen(board_);
    }

  private:
    std::optional<std::string> Begin(const PgnGame& game) {
        Result<StartingPoint> start = StartOf(game);
        if (!start) return Where() + start.reason();
        board_ = start->board;
        side_ = start->side;
        number_ = 1;
        started_ = true;
        return std::nullopt;
    }
    std::string Where() const { return "game " + std::to_string(games_ + 1) + ", "; }

    Board board_{};
    Side side_ = 2;
    int number_ = 1;
    int games_ = 0;
    bool started_ = false;
};

}  // namespace

Result<int> ReplayPgn(std::string_view pgn, std::ostream& out) {
    GameReplay replay;
    PgnReader reader(pgn, [&replay](const PgnGame& game, std::string_view san) {
        return replay.Play(game, san);
    });
    for (int games = 0;; ++games) {
        Result<std::optional<PgnGame>> game = reader.Next();
        if (!game) return Failure{game.reason()};
        if (!*game) return games;
        Result<std::string> placement = replay.Finish(**game);
        if (!placement) return Failure{placement.reason()};
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
    // A lack of memory, for the text or for a game in it, is told like any other failure; the
    // games replayed before it stay printed.
    try {
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
    } catch (const std::bad_alloc&) {
        return failure("there is not enough memory to replay it");
    }
}

}  // namespace kelvane::cli
