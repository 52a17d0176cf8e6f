// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/pgn_writer.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>

#include "game/messages.h"
#include "rules/evaluation.h"
#include "rules/notation.h"
#include "rules/san.h"

namespace kelvane {

namespace {

constexpr std::size_t kLineLength = 79;

std::string Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y.%m.%d", &local);
    return text;
}

std::string Tag(std::string_view name, std::string_view value) {
    std::string tag(1, '[');
    tag.append(name).append(" \"");
    for (const char c : value) {
        if (c == '"' || c == '\\') tag += '\\';
        tag += c;
    }
    return tag.append("\"]\n");
}

// Tokens joined by spaces, broken into lines of at most kLineLength characters.
std::string Wrap(const std::vector<std::string>& tokens) {
    std::string text;
    std::size_t lineLength = 0;
    for (const std::string& token : tokens) {
        if (lineLength > 0 && lineLength + 1 + token.size() > kLineLength) {
            text += '\n';
            lineLength = 0;
        } else if (lineLength > 0) {
            text += ' ';
            ++lineLength;
        }
        text += token;
        lineLength += token.size();
    }
    return text + '\n';
}

// A comment, one word to a token so that lines break between its words; braces would end it.
void AddComment(std::vector<std::string>& tokens, std::string_view text) {
    std::vector<std::string> words(1);
    for (const char c : text) {
        if (c == ' ' && !words.back().empty()) words.emplace_back();
        if (c != ' ' && c != '{' && c != '}') words.back() += c;
    }
    if (words.back().empty() && words.size() > 1) words.pop_back();
    words.front().insert(0, 1, '{');
    words.back() += '}';
    tokens.insert(tokens.end(), words.begin(), words.end());
}

}  // namespace

std::string_view TerminationOf(EndReason reason) {
    switch (reason) {
        case EndReason::KingTaken:
            return kKingTakenTermination;
        case EndReason::LastPieceTaken:
            return kLastPieceTakenTermination;
        case EndReason::NoLegalMove:
            return kNoMoveTermination;
        case EndReason::None:
            break;
    }
    return kUnfinishedTermination;
}

std::string FormatPgn(const GameRecord& record, const PgnHeader& header, std::string_view result) {
    std::string pgn = Tag("Event", header.event) + Tag("Site", "Kelvane") + Tag("Date", Today()) +
                      Tag("Round", header.round) + Tag("White", header.white) +
                      Tag("Black", header.black) + Tag("Result", result) +
                      Tag("Variant", header.rules == kAllMustDie ? "Losing chess, All must die"
                                                                 : "Losing chess, King must die");
    if (!header.termination.empty()) pgn += Tag("Termination", header.termination);
    if (record.NeedsSetUp()) {
        pgn += Tag("SetUp", "1");
        pgn += Tag("FEN", BoardToFen(record.First()) + (record.FirstSide() == 2 ? " w" : " b") +
                              " - - 0 1");
    }
    pgn += '\n';

    std::vector<std::string> tokens;
    Board board = record.First();
    Side side = record.FirstSide();
    int number = 1;
    auto remark = record.Remarks().begin();
    bool afterRemark = false;
    for (std::size_t i = 0; i < record.Moves().size(); ++i) {
        for (; remark != record.Remarks().end() && remark->first <= i; ++remark) {
            AddComment(tokens, remark->second);
            afterRemark = true;
        }
        const MoveWord move = record.Moves()[i];
        if (side == 2) tokens.push_back(std::to_string(number) + ".");
        // Black's move needs its number again after the first move or a comment.
        if (side == 1 && (i == 0 || afterRemark)) tokens.push_back(std::to_string(number) + "...");
        afterRemark = false;
        tokens.push_back(MoveToSan(board, side, move));
        ApplyMove(board, move);
        if (side == 1) ++number;
        side = Opponent(side);
    }
    for (; remark != record.Remarks().end(); ++remark) AddComment(tokens, remark->second);
    tokens.emplace_back(result);
    return pgn + Wrap(tokens);
}

PgnFile::~PgnFile() {
    if (fd_ >= 0) ::close(fd_);
}

Status PgnFile::Open(const std::string& fileName) {
    name_ = fileName;
    if (fileName.empty()) return Done();
    // A file-size limit must fail a write, not end the program in the middle of a game.
    std::signal(SIGXFSZ, SIG_IGN);
    // Opening a FIFO to write waits for a reader, maybe for ever.
    struct stat status {};
    if (::stat(fileName.c_str(), &status) == 0 && S_ISFIFO(status.st_mode))
        return Failure{"cannot write the games to " + fileName + ": it is a FIFO"};
    do {
        fd_ = ::open(fileName.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ >= 0) return Done();
    return Failure{"cannot open " + fileName + " to write the games: " + std::strerror(errno)};
}

Status PgnFile::Append(std::string_view pgn) {
    if (fd_ < 0 || failed_) return Done();
    std::string text(pgn);
    text += '\n';
    // Our appenders take turns, so that what comes before this game is still the file's end
    // when a failed write is taken back.
    const bool locked = ::flock(fd_, LOCK_EX) == 0;
    struct stat before {};
    const bool sized = ::fstat(fd_, &before) == 0 && S_ISREG(before.st_mode);
    int cause = 0;
    for (std::size_t done = 0; done < text.size() && cause == 0;) {
        const ssize_t put = ::write(fd_, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put > 0) done += static_cast<std::size_t>(put);
        if (put <= 0) cause = put < 0 ? errno : ENOSPC;
    }
    // A game cut short would glue the next one to it: the file goes back to its old end.
    const bool restored = cause != 0 && sized && ::ftruncate(fd_, before.st_size) == 0;
    if (locked) ::flock(fd_, LOCK_UN);
    if (cause == 0) return Done();
    failed_ = true;
    return Failure{"cannot write the game to " + name_ + ": " + std::strerror(cause) +
                   (restored ? "; the file is left as it was" : "")};
}

}  // namespace kelvane
