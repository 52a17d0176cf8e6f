// SPDX-License-Identifier: GPL-3.0-or-later
// kelvane-cli play: the window's game, played one line of input at a time.
#pragma once

#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

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
    // Sets up the process's one game with the options' level and rules.
    // Opens the PGN file, if any; PgnOpened() says whether it could be, or why not.
    PlaySession(const PlayOptions& options, std::ostream& out, std::ostream& err);
    const Status& PgnOpened() const { return pgnOpened_; }
    // A game could not be written to the PGN file (reported on err).
    bool PgnFailed() const { return pgn_.Failed(); }

    // The greeting and the board; the computer's opening with --computer-starts.
    void Start();
    // One line of input; false once the player has asked to quit.
    bool Handle(std::string_view line);
    // Writes the game in play, unfinished, to the PGN file; the last thing a session does.
    void Finish();

    const Game& TheGame() const { return game_; }

  private:
    // GameHost
    void AnnounceResult(const std::string& text) override;
    void ReportFileProblem(const std::string& text) override;
    void MovePlayed(Side side, MoveWord move) override;

    void PlayHumanMove(MoveWord move);
    void ExplainRefusal(const Board& board, MoveWord move);
    void ShowTargets(Square square);
    void ListMoves();
    void ShowHint();
    void SetLevel(std::string_view level);
    void SetRules(std::string_view word);
    void Autoplay(std::string_view count);
    void Undo();
    void Load();
    void Save();
    // Declares a draw found after a move, or announces the new game after a result.
    void AfterMoves();
    void BeginNewGame(bool computerStarts);
    void WriteRecord(std::string_view result);
    void ShowBoard();
    void PrintHelp();
    // The computer's moves from Expert (on) or from the exact search at the level's depth.
    void UseExpert(bool on);
    std::string LevelText() const;

    PlayOptions options_;
    std::ostream& out_;
    std::ostream& err_;
    PgnFile pgn_;
    Status pgnOpened_ = Done();
    GameRecord record_;
    Draw pendingDraw_ = Draw::None;
    bool ended_ = false;
    bool autoplaying_ = false;
    bool fileProblem_ = false;
    int gamesWritten_ = 0;
    std::unique_ptr<ExpertSearch> expert_;  // while the level is Expert
    Game game_;                             // last: its constructor already calls the host
};

// Start, every line of in until quit or its end or Ctrl+C, then Finish. Fails, before the game,
// when the PGN file cannot be opened. Returns 0; kExitWriteFailed when a game could not be
// written, else kExitInterrupted after Ctrl+C.
Result<int> RunPlay(const PlayOptions& options, std::istream& in, std::ostream& out,
                    std::ostream& err);

}  // namespace kelvane::cli
