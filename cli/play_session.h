// SPDX-License-Identifier: GPL-3.0-or-later
// kelvane-cli play: the window's game, played one line of input at a time.
#pragma once

#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/line_reader.h"
#include "cli/move_input.h"
#include "cli/play_options.h"
#include "engine/expert_search.h"
#include "game/game.h"
#include "game/game_host.h"
#include "record/game_record.h"
#include "record/pgn_writer.h"
#include "rules/result.h"

namespace kelvane::cli {

// Exit status of a session ended by Ctrl+C (128 + SIGINT); the game was written all the same.
inline constexpr int kExitInterrupted = 130;

// Resets the process's one game state; a base of PlaySession, so that it comes before the game.
struct FreshGameState {
    FreshGameState();
};

class PlaySession : private FreshGameState, private GameHost {
  public:
    // Sets up the process's one game with the options' level, rules and side. Opens the PGN
    // file, if any; PgnOpened() says whether it could be, or why not.
    PlaySession(const PlayOptions& options, std::ostream& out, std::ostream& err);
    const Status& PgnOpened() const { return pgnOpened_; }
    // A game could not be written to the PGN file (reported on err).
    bool PgnFailed() const { return pgn_.Failed(); }

    // The greeting, the computer's first move when it opens, and the board.
    void Start();
    // One line of input; false once the player has asked to quit.
    bool Handle(std::string_view line);
    // What the next line is asked for: "12. White to move> ", or "Game over> ".
    std::string Prompt() const;
    // Writes the game in play to the PGN file; the last thing a session does.
    void Finish();

    const Game& TheGame() const { return game_; }

  private:
    // How a game ended, once it has.
    struct Ending {
        std::string text;  // "I won: you took my king."
        std::string_view result;
        std::string_view termination;
    };

    // GameHost
    void ReportFileProblem(const std::string& text) override;
    void MovePlayed(Side side, MoveWord move) override;
    void GameOver(const Verdict& verdict) override;
    void ComputerToMove(Side side) override;

    void PlayTypedMove(const MoveInput& input);
    void ExplainRefusal(const MoveReading& reading);
    void ShowTargets(Square square);
    void ListMoves();
    void ShowHint();
    void ShowLastMove();
    void SetLevel(std::string_view level);
    void SetRules(std::string_view word);
    void SetBoardShown(std::string_view word);
    void NewGame(std::string_view side, bool computerOpens);
    void Go();
    void Autoplay(std::string_view count);
    void Resign();
    void Undo();
    void Load();
    void Save();
    void PrintHelp();
    // The computer's moves from Expert (on) or from the exact search at the level's depth.
    void UseExpert(bool on);
    std::string LevelText() const;

    // A new game from the starting position; the computer moves first when it opens.
    void StartGame(bool computerOpens);
    // Starts a record from board, with the settings in force now.
    void StartRecord(const Board& board, bool setUp);
    // False, with a line saying so, once the game has ended.
    bool GameGoesOn();
    void End(Ending ending);
    // The board after a change, and the result of a game that has just ended.
    void AfterCommand();
    void ShowBoard();
    // "Black plays b7b5 (b5): pawn from b7 to b5." for move i of the record.
    std::string MoveLine(std::size_t i) const;
    // Writes the record, if it holds a move, as the game stands.
    void WriteRecord();
    std::string PlayerName(Side side) const;

    PlayOptions options_;
    std::ostream& out_;
    std::ostream& err_;
    PgnFile pgn_;
    Status pgnOpened_ = Done();
    GameRecord record_;
    std::string recordLevel_;  // the level and rules the record began with
    int recordRules_ = 0;
    std::optional<Ending> ending_;
    Draw pendingDraw_ = Draw::None;
    bool humanMoving_ = false;  // the next move played is the one typed
    bool replyDue_ = false;
    bool autoplaying_ = false;
    bool boardDue_ = false;
    bool endingDue_ = false;
    bool fileProblem_ = false;
    int gamesWritten_ = 0;
    std::unique_ptr<ExpertSearch> expert_;  // while the level is Expert
    Game game_;                             // last: its constructor already calls the host
};

// Start, every line until quit, the end of input or an interrupt, then Finish. Fails, before
// the game, when the PGN file cannot be opened. Returns 0; kExitWriteFailed when a game or the
// output could not be written, else 128 + the signal after an interrupt (kExitInterrupted
// after Ctrl+C).
Result<int> RunPlay(const PlayOptions& options, LineReader& in, std::ostream& out,
                    std::ostream& err);
// The same with the lines of in, as they come.
Result<int> RunPlay(const PlayOptions& options, std::istream& in, std::ostream& out,
                    std::ostream& err);

}  // namespace kelvane::cli
