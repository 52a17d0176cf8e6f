// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/replay.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "cli/pgn_reader.h"
#include "rules/notation.h"
#include "rules/san.h"

namespace kelvane::cli {

namespace {

// A PGN file is text; a bigger one is no record of Kelvane's.
constexpr std::streamsize kMaxFileSize = 64 * 1024 * 1024;

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
            return Failure{"move " + std::to_string(number) + (side == 2 ? "." : "...") + " " +
                           san + " (" + (side == 2 ? "White" : "Black") + "): " + move.reason()};
        }
        ApplyMove(board, *move);
        if (side == 1) ++number;
        side = Opponent(side);
    }
    return BoardToFen(board);
}

}  // namespace

Result<std::vector<std::string>> ReplayPgn(std::string_view pgn) {
    Result<std::vector<PgnGame>> games = ParsePgn(pgn);
    if (!games) return Failure{games.reason()};
    std::vector<std::string> placements;
    for (std::size_t i = 0; i < games->size(); ++i) {
        Result<std::string> placement = Replay((*games)[i]);
        if (!placement) return Failure{"game " + std::to_string(i + 1) + ", " + placement.reason()};
        placements.push_back(*placement);
    }
    return placements;
}

Result<std::vector<std::string>> ReplayPgnFile(const std::string& fileName) {
    errno = 0;
    std::ifstream file(fileName, std::ios::binary);
    if (!file) {
        return Failure{"cannot open " + fileName +
                       (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string())};
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad() || static_cast<std::streamsize>(text.tellp()) > kMaxFileSize)
        return Failure{"cannot read " + fileName + " as a PGN file"};
    Result<std::vector<std::string>> placements = ReplayPgn(text.str());
    if (!placements) return Failure{fileName + ": " + placements.reason()};
    return placements;
}

}  // namespace kelvane::cli
