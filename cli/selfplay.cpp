// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/selfplay.h"

#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/printable.h"
#include "engine/search_depth.h"
#include "game/game.h"
#include "game/game_state.h"
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
    const std::string& ResultText() const { return resultText_; }

    void MovePlayed(Side side, MoveWord move) override {
        record_.Add(side, move);
        out_ << MoveToText(move);
        if (withPositions_) out_ << ' ' << BoardToFen(game_->GetBoard());
        out_ << '\n';
    }
    void AnnounceResult(const std::string& text) override {
        out_ << text << '\n';
        resultText_ = text;
    }

  private:
    std::ostream& out_;
    bool withPositions_;
    const Game* game_ = nullptr;
    GameRecord record_;
    std::string resultText_;
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
    SetSearchDepth(options.depth);
    game.StartAutoplay();
    std::string_view result = kUnfinishedResult;
    // An interrupt or a closed output ends the game where it stands; it is written all the same.
    for (int ply = 0;
         ply < options.maxPlies && printer.ResultText().empty() && !Interrupted() && out; ++ply) {
        game.AutoplayTick();
        if (options.draws && printer.ResultText().empty()) {
            if (const Draw draw = printer.Record().DrawByRule(); draw != Draw::None) {
                out << DrawText(draw) << '\n';
                result = kDrawResult;
                break;
            }
        }
    }
    if (!printer.ResultText().empty()) result = PgnResultOf(printer.ResultText());
    if (result == kUnfinishedResult) out << "No result within " << options.maxPlies << " plies.\n";
    const std::string player = "Kelvane, depth " + std::to_string(options.depth);
    const PgnHeader header{"Kelvane selfplay", "1", player, player, options.rules};
    const Status written = pgn.Append(FormatPgn(printer.Record(), header, result));
    if (written) return Interrupted() ? InterruptedStatus() : kExitOk;
    err << "kelvane-cli selfplay: " << Printable(written.reason()) << '\n';
    return kExitWriteFailed;
}

}  // namespace kelvane::cli
