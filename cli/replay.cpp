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

#include "cli/board_text.h"
#include "cli/move_input.h"
#include "record/pgn_reader.h"
#include "record/pgn_writer.h"
#include "rules/evaluation.h"
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

std::string ToLower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// A refused move's cause in a record's words, with the moves it names in SAN.
std::string Explained(const Board& board, Side side, const MoveReading& reading) {
    std::string text = reading.why;
    const auto list = [&](std::string_view before, const std::vector<MoveWord>& moves) {
        text.append(before);
        for (const MoveWord move : moves) text.append(" ").append(MoveToSan(board, side, move));
    };
    if (!reading.candidates.empty()) list(":", reading.candidates);
    if (reading.onlyForCapture) {
        list(":", reading.captures);
    } else if (!reading.captures.empty()) {
        list(std::string("; ") + SideName(side) + " must capture:", reading.captures);
    }
    return text;
}

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

// The rules a record names in its Variant tag; King must die when it names none.
int RulesOf(const PgnGame& game) {
    const std::string* variant = game.FindTag("Variant");
    return variant != nullptr && variant->find("All must die") != std::string::npos ? kAllMustDie
                                                                                    : kKingMustDie;
}

// The board's verdict after a move: which side has won, and how; nothing while the game goes on.
struct Verdict {
    Side winner = 0;
    std::string reason;
};

std::optional<Verdict> VerdictOf(const Board& board, int rules, Side toMove) {
    TestEndOfGame(board, rules);
    const GameResult result = GetGameResult();
    SetGameResult(0);
    if (result != 0) {
        const std::string loser = SideName(static_cast<Side>(result));
        return Verdict{static_cast<Side>(result),
                       rules == kAllMustDie ? "the last " + ToLower(loser) + " piece was taken"
                                            : "the " + ToLower(loser) + " king was taken"};
    }
    if (LegalMoves(board, toMove).empty())
        return Verdict{toMove, std::string(SideName(toMove)) + " has no move"};
    return std::nullopt;
}

// Endings that a board shows, as the Termination tag names them; any other ending (a
// resignation, a clock) leaves a game that the board says goes on.
bool EndsOnTheBoard(const std::string& termination) {
    return termination == "king taken" || termination == "last piece taken" ||
           termination == "no move" || termination == "normal";
}

// The game's result, or why the record contradicts its own moves.
Result<std::string> CheckResult(const PgnGame& game, const std::optional<Verdict>& verdict) {
    const std::string* tag = game.FindTag("Result");
    if (tag != nullptr && game.result != "*" && *tag != game.result)
        return Failure{"its Result tag says " + *tag + " but its moves end with " + game.result};
    const std::string result = tag != nullptr ? *tag : game.result;
    const std::string* termination = game.FindTag("Termination");
    if (verdict) {
        if (result != std::string(WonResult(verdict->winner)))
            return Failure{"its result is " + result + " but " + verdict->reason + ", so " +
                           SideName(verdict->winner) + " has won (" +
                           std::string(WonResult(verdict->winner)) + ")"};
        return result;
    }
    const bool decisive = result == kWhiteWonResult || result == kBlackWonResult;
    if (decisive && (termination == nullptr || EndsOnTheBoard(*termination)))
        return Failure{"its result is " + result + " but the game is not over on the board"};
    return result;
}

// One game played through the rules move by move, as the reader reads it: nothing of a game
// is kept but its position and its verdict.
class GameReplay {
  public:
    // The reason a move cannot be played, naming the game, the move number and the side.
    std::optional<std::string> Play(const PgnGame& game, std::string_view san) {
        if (!started_) {
            if (std::optional<std::string> problem = Begin(game)) return problem;
        }
        const std::string move =
            Where() + "move " + std::to_string(number_) + " (" + SideName(side_) + ")";
        const std::string where = move + ": '" + std::string(san) + "'";
        if (verdict_) return where + " comes after the end of the game: " + verdict_->reason;
        Result<MoveWord> played = MoveFromSan(board_, side_, std::string(san));
        if (!played) {
            // Read as the terminal game reads a move: a capture without its x is taken too.
            const std::optional<MoveInput> input = ReadMoveInput(san);
            if (!input) return move + ": " + played.reason();
            const MoveReading reading = ReadMove(board_, side_, *input, previous_, Voice::Record);
            if (reading.move == NoMove)
                return where + " is not a legal move: " + Explained(board_, side_, reading);
            played = reading.move;
        }
        ApplyMove(board_, *played);
        previous_ = *played;
        if (side_ == 1) ++number_;
        side_ = Opponent(side_);
        verdict_ = VerdictOf(board_, rules_, side_);
        ++moves_;
        return std::nullopt;
    }
    // "game N: RESULT placement" after the game's last move, or why its result is wrong; ready
    // for the next game.
    Result<std::string> Finish(const PgnGame& game) {
        if (!started_) {
            if (std::optional<std::string> problem = Begin(game)) return Failure{*problem};
        }
        started_ = false;
        const std::string where = Where();
        ++games_;
        if (moves_ == 0) verdict_ = VerdictOf(board_, rules_, side_);
        const Result<std::string> result = CheckResult(game, verdict_);
        if (!result) return Failure{where + result.reason()};
        return "game " + std::to_string(games_) + ": " + *result + " " + BoardToFen(board_);
    }

  private:
    std::optional<std::string> Begin(const PgnGame& game) {
        Result<StartingPoint> start = StartOf(game);
        if (!start) return Where() + start.reason();
        board_ = start->board;
        side_ = start->side;
        rules_ = RulesOf(game);
        number_ = 1;
        moves_ = 0;
        previous_ = NoMove;
        verdict_.reset();
        started_ = true;
        return std::nullopt;
    }
    std::string Where() const { return "game " + std::to_string(games_ + 1) + ", "; }

    Board board_{};
    Side side_ = 2;
    int rules_ = kKingMustDie;
    int number_ = 1;
    int moves_ = 0;
    int games_ = 0;
    MoveWord previous_ = NoMove;
    std::optional<Verdict> verdict_;
    bool started_ = false;
};

}  // namespace

Result<int> ReplayPgn(std::string_view pgn, std::ostream& out) {
    // A byte-order mark is no part of the text.
    if (pgn.starts_with("\xEF\xBB\xBF")) pgn.remove_prefix(3);
    GameReplay replay;
    PgnReader reader(pgn, [&replay](const PgnGame& game, std::string_view san) {
        return replay.Play(game, san);
    });
    for (int games = 0;; ++games) {
        Result<std::optional<PgnGame>> game = reader.Next();
        if (!game) return Failure{game.reason()};
        if (!*game) return games;
        Result<std::string> replayed = replay.Finish(**game);
        if (!replayed) return Failure{replayed.reason()};
        out << *replayed << '\n';
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
