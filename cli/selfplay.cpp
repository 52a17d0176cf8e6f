// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/selfplay.h"

#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/printable.h"
#include "engine/search_depth.h"
#include "game/game.h"
#include "game/game_state.h"
#include "game/messages.h"
#include "record/game_record.h"
#include "record/pgn_writer.h"
#include "rules/evaluation.h"
#include "rules/notation.h"

namespace kelvane::cli {

namespace {

class SelfplayPrinter : public GameHost {
  public:
    SelfplayPrinter(std::ostream& out, bool withPositions)
        : out_(out), withPositions_(withPositions) {}
    void SetGame(const Game* game) { game_ = game; }
    const GameRecord& Record() const { return record_; }
    const Verdict& Ending() const { return verdict_; }

    void MovePlayed(Side side, MoveWord move) override {
        record_.Add(side, move);
        out_ << MoveToText(move);
        if (withPositions_) out_ << ' ' << BoardToFen(game_->GetBoard());
        out_ << '\n';
    }
    void GameOver(const Verdict& verdict) override {
        out_ << AutoplayResultText(static_cast<GameResult>(verdict.winner)) << '\n';
        verdict_ = verdict;
    }

  private:
    std::ostream& out_;
    bool withPositions_;
    const Game* game_ = nullptr;
    GameRecord record_;
    Verdict verdict_;
};

}  // namespace

Result<int> RunSelfplay(const SelfplayOptions& options, std::ostream& out, std::ostream& err) {
    PgnFile pgn;
    if (const Status opened = pgn.Open(options.pgnFile); !opened) return Failure{opened.reason()};
    SetRulesVariant(options.rules);
    ResetGameState();
    SelfplayPrinter printer(out, options.positions);
    Game game(printer);
    printer.SetGame(&game);
    // The game's end is read from the final position, which stays.
    game.SetKeepFinalPosition(true);
    SetSearchDepth(options.depth);
    game.StartAutoplay();
    std::string_view result = kUnfinishedResult;
    std::string_view termination = kUnfinishedTermination;
    // An interrupt or a closed output ends the game where it stands; it is written all the same.
    for (int ply = 0; ply < options.maxPlies && !game.IsOver() && !Interrupted() && out; ++ply) {
        game.AutoplayTick();
        if (options.draws && !game.IsOver()) {
            if (const Draw draw = printer.Record().DrawByRule(); draw != Draw::None) {
                out << DrawText(draw) << '\n';
                result = kDrawResult;
                termination =
                    draw == Draw::Repetition ? kRepetitionTermination : kFiftyMovesTermination;
                break;
            }
        }
    }
    if (game.IsOver()) {
        result = WonResult(printer.Ending().winner);
        termination = TerminationOf(printer.Ending().reason);
    }
    if (result == kUnfinishedResult) out << "No result within " << options.maxPlies << " plies.\n";
    const std::string player = "Kelvane, depth " + std::to_string(options.depth);
    const PgnHeader header{"Kelvane selfplay",      "1", player, player, options.rules,
                           std::string(termination)};
    const Status written = pgn.Append(FormatPgn(printer.Record(), header, result));
    if (written) return Interrupted() ? InterruptedStatus() : kExitOk;
    err << "kelvane-cli selfplay: " << Printable(written.reason()) << '\n';
    return kExitWriteFailed;
}

}  // namespace kelvane::cli
