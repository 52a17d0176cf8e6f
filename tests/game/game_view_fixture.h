// A board view on a recording window, with the process-wide game and settings put back to
// their start values, in a fresh current directory, for every test.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/search.h"
#include "engine/search_depth.h"
#include "game/display_settings.h"
#include "game/game_state.h"
#include "game/game_view.h"
#include "platform/recording_backend.h"
#include "rules/board.h"
#include "rules/evaluation.h"
#include "rules/move_generation.h"
#include "tests/platform/scoped_temp_directory.h"

namespace kelvane::testing {

using Log = std::vector<std::string>;

// What the window showed at one OnDraw.
struct DrawnFrame {
    Board board;
    SquareRef selectedSquare;
    SquareRef lastMoveSquare;
};

class TestView : public GameView {
  public:
    void OnDraw(platform::CDC* dc) override {
        if (auto* backend = dynamic_cast<platform::RecordingBackend*>(GetWindow())) {
            backend->Record(dc != nullptr ? "OnDraw" : "OnDraw(null)");
        }
        const GameState& state = TheGameState();
        frames.push_back({GetBoard(), state.SelectedSquare, state.LastMoveSquare});
    }
    std::vector<DrawnFrame> frames;
};

struct PlacedPiece {
    int column;
    int row;
    SquareCode code;
};

inline Board MakeBoard(std::initializer_list<PlacedPiece> pieces) {
    Board board{};
    for (const PlacedPiece& piece : pieces)
        board[SquareIndex(piece.column, piece.row)] = piece.code;
    return board;
}

inline Board StartingBoard() {
    Board board{};
    SetUpStartingPosition(board);
    return board;
}

inline UndoSnapshot SnapshotOf(const Board& board) {
    UndoSnapshot snapshot{};
    for (int column = 0; column < 8; ++column) {
        for (int row = 0; row < 8; ++row) {
            snapshot[static_cast<std::size_t>(column * 9 + row)] = board[SquareIndex(column, row)];
        }
    }
    return snapshot;
}

class GameViewTest : public ::testing::Test {
  protected:
    GameViewTest() {
        TheGameState() = GameState{};
        SetSquareSize(kMediumSquare);
        SetPieceSet(kStandardSet);
        ResetEvaluation();
        SetRulesVariant(kKingMustDie);
        SetSearchDepth(kDepthEasy);
        view_ = std::make_unique<TestView>();
        view_->AttachWindow(&backend_);
        ResetSearchCallCount();
    }

    TestView& View() { return *view_; }
    Board& GetBoard() { return view_->GetBoard(); }
    GameState& State() { return TheGameState(); }
    const Log& GetLog() const { return backend_.Log(); }
    SquareCode Code(int column, int row) { return GetBoard()[SquareIndex(column, row)]; }

    // A hand-made position in the middle of a game: the opening is over.
    void SetPosition(const Board& board, int rulesVariant) {
        GetBoard() = board;
        SetRulesVariant(rulesVariant);
        State().OpeningPending = 0;
    }

    // A click in the middle of a square.
    void Click(int column, int row) {
        const int size = GetSquareSize();
        ClickPixel(column * size + size / 2, row * size + size / 2);
    }
    void ClickPixel(int x, int y) { view_->OnLButtonDown(0, platform::CPoint{x, y}); }

    // One whole turn: the human plays side 2's first legal move by two clicks, and the
    // computer replies.
    void PlayFirstLegalMove() {
        MoveList moves;
        ASSERT_GE(GenerateMoves(GetBoard(), std::span<MoveWord>(moves), 2), 0);
        const UnpackedMove move = UnpackMove(moves[0]);
        Click(move.fromColumn, move.fromRow);
        Click(move.toColumn, move.toRow);
        ASSERT_EQ(State().SelectedSquare, kNoSquare);
    }

    // Everything logged from index `from` on.
    Log LogSince(std::size_t from) const {
        return Log(GetLog().begin() + static_cast<std::ptrdiff_t>(from), GetLog().end());
    }

    ScopedTempDirectory directory_;
    platform::RecordingBackend backend_;
    std::unique_ptr<TestView> view_;
};

}  // namespace kelvane::testing
