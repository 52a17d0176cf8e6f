// SPDX-License-Identifier: GPL-3.0-or-later
// Games written in PGN, appended to a file as each one ends.
#pragma once

#include <string>
#include <string_view>

#include "record/game_record.h"
#include "rules/evaluation.h"
#include "rules/result.h"

namespace kelvane {

inline constexpr std::string_view kWhiteWonResult = "1-0";
inline constexpr std::string_view kBlackWonResult = "0-1";
inline constexpr std::string_view kDrawResult = "1/2-1/2";
inline constexpr std::string_view kUnfinishedResult = "*";

// The PGN result of one of the game's result texts: "You won!" and "White wins!" are White's
// side winning (1-0), "I won!" and "Black wins!" Black's (0-1).
std::string_view PgnResultOf(std::string_view resultText);

struct PgnHeader {
    std::string event;
    std::string round;
    std::string white;
    std::string black;
    int rules = kKingMustDie;  // or kAllMustDie
};

// The seven standard tags (Date is today's), Variant, SetUp and FEN when the record needs them,
// then the moves in SAN, ending with result.
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
