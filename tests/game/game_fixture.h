// SPDX-License-Identifier: GPL-3.0-or-later
// The game in play on a host that writes down what it is asked, with the process-wide game
// and settings back at their start values for every test.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "engine/search_depth.h"
#include "game/game.h"
#include "game/saved_game_file.h"
#include "rules/evaluation.h"
#include "rules/notation.h"
#include "tests/support/scoped_temp_directory.h"

namespace kelvane::testing {

// What the player would have seen: each drawing with its board, each box, and the state of
// the autoplay timer and the wait cursor at that moment.
struct Seen {
    std::string what;   // "draw", "result", "file", "over", "reply due"
    std::string board;  // FEN of the board when it happened
    std::string text;
    bool timerRunning = false;
    int waitDepth = 0;
};

class RecordingHost : public GameHost {
  public:
    void Attach(const Game* game) { game_ = game; }
    void DrawNow() override { Record("draw", ""); }
    void AnnounceResult(const std::string& text) override { Record("result", text); }
    void ReportFileProblem(const std::string& text) override { Record("file", text); }
    void Invalidate() override { ++invalidations; }
    void StartAutoplayTimer() override { timerRunning = true; }
    void StopAutoplayTimer() override { timerRunning = false; }
    void BeginWait() override { ++waitDepth; }
    void EndWait() override { --waitDepth; }
    void GameOver(const Verdict& verdict) override {
        Record("over", std::to_string(verdict.winner));
    }
    void ComputerToMove(Side side) override { Record("reply due", std::to_string(side)); }
    void MovePlayed(Side side, MoveWord move) override {
        moves.push_back((side == 1 ? "b:" : "w:") + MoveToText(move));
    }

    std::vector<Seen> seen;
    std::vector<std::string> moves;
    int invalidations = 0;
    bool timerRunning = false;
    int waitDepth = 0;

  private:
    void Record(const char* what, const std::string& text) {
        seen.push_back({what, BoardToFen(game_->GetBoard()), text, timerRunning, waitDepth});
    }
    const Game* game_ = nullptr;
};

// Constructed before the game, so that the game starts on a fresh process state.
struct FreshProcessState {
    FreshProcessState() {
        ResetGameState();
        SetRulesVariant(kKingMustDie);
    }
};

class GameTest : public ::testing::Test, protected FreshProcessState {
  protected:
    GameTest() { host_.Attach(&game_); }
    const GameState& State() const { return TheGameState(); }
    std::string Fen() const { return BoardToFen(game_.GetBoard()); }
    void Click(const char* square) { game_.Click(SquareFromText(square)); }
    // Puts a position on the board the way a player can: through a saved game.
    void LoadPosition(const std::string& fen) {
        WriteFile(kSavedGameFileName, *BoardFromFen(fen));
        game_.Load(kSavedGameFileName);
        ASSERT_EQ(Fen(), BoardToFen(*BoardFromFen(fen)));
        host_.seen.clear();
        host_.moves.clear();
    }
    template <typename Bytes>
    static void WriteFile(const std::string& name, const Bytes& bytes) {
        std::ofstream(name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    ScopedTempDirectory folder_;  // the current directory, where game.sav lives
    RecordingHost host_;
    Game game_{host_};
};

}  // namespace kelvane::testing
