// SPDX-License-Identifier: GPL-3.0-or-later
// Games written in PGN, appended to a file as each one ends.
#pragma once

#include <string>
#include <string_view>

#include "game/messages.h"
#include "record/game_record.h"
#include "rules/evaluation.h"
#include "rules/result.h"

namespace kelvane {

inline constexpr std::string_view kWhiteWonResult = "1-0";
inline constexpr std::string_view kBlackWonResult = "0-1";
inline constexpr std::string_view kDrawResult = "1/2-1/2";
inline constexpr std::string_view kUnfinishedResult = "*";

// The result of a game that winner has won: 1-0 for White, 0-1 for Black.
constexpr std::string_view WonResult(Side winner) {
    return winner == 2 ? kWhiteWonResult : kBlackWonResult;
}

struct PgnHeader {
    std::string event;
    std::string round;
    std::string white;
    std::string black;
    int rules = kKingMustDie;  // or kAllMustDie
    std::string termination;   // how the game ended; no Termination tag when empty
};

// How a game ended, as the Termination tag says it.
inline constexpr std::string_view kKingTakenTermination = "king taken";
inline constexpr std::string_view kLastPieceTakenTermination = "last piece taken";
inline constexpr std::string_view kNoMoveTermination = "no move";
inline constexpr std::string_view kRepetitionTermination = "repetition";
inline constexpr std::string_view kFiftyMovesTermination = "fifty moves";
inline constexpr std::string_view kResignationTermination = "resignation";
// PGN's own word for a game that has not ended.
inline constexpr std::string_view kUnfinishedTermination = "unterminated";

// The Termination of a game that the board ended.
std::string_view TerminationOf(EndReason reason);

// The seven standard tags (Date is today's), Variant, Termination, SetUp and FEN when the
// record needs them, then the moves in SAN with the record's remarks as comments, ending with
// result.
std::string FormatPgn(const GameRecord& record, const PgnHeader& header, std::string_view result);

// The file the games are appended to, opened (created when missing) before the first game.
class PgnFile {
  public:
    // No file: every Append does nothing.
    PgnFile() = default;
    ~PgnFile();
    PgnFile(const PgnFile&) = delete;
    PgnFile& operator=(const PgnFile&) = delete;
    // Opens fileName to append to it, when not empty.
    Status Open(const std::string& fileName);

    // Appends pgn and a blank line in one write, when a file is open, so that nothing another
    // program appends comes between them. On a failure, Failed() from then on, and nothing
    // more is written.
    Status Append(std::string_view pgn);
    bool Failed() const { return failed_; }

  private:
    std::string name_;
    int fd_ = -1;
    bool failed_ = false;
};

}  // namespace kelvane
