// A board view on a recording window, with the process-wide game and settings put back to
// their start values, in a fresh current directory, for every test.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/display_settings.h"
#include "engine/search.h"
#include "engine/search_depth.h"
#include "framework/testing/recording_backend.h"
#include "game/game_view.h"
#include "game/messages.h"
#include "rules/evaluation.h"
#include "rules/move_generation.h"
#include "tests/framework/scoped_temp_directory.h"

namespace kelvane::testing {

using Log = std::vector<std::string>;
inline const Log kTwoRepaints = {"InvalidateRect(false)", "InvalidateRect(false)"};
inline std::string BoxEntry(const std::string& text) {
    return "MessageBox('" + text + "','')";
}

// What the window showed at one OnDraw: the board, the selection and the last move's square.
struct DrawnFrame {
    Board board;
    std::pair<SquareRef, SquareRef> marks;
};

class TestView : public GameView {
  public:
    void OnDraw(framework::CDC*) override {
        dynamic_cast<framework::RecordingBackend&>(*GetWindow()).Record("OnDraw");
        frames.push_back(
            {GetBoard(), {TheGameState().SelectedSquare, TheGameState().LastMoveSquare}});
    }
    std::vector<DrawnFrame> frames;
};

struct PlacedPiece {
    int column, row;
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

// The position after the search's move for side, and the square the game must mark.
inline std::pair<Board, SquareRef> SearchedMove(Board board, Side side, int depth) {
    Board scratch = board;
    const MoveWord move = Search(scratch, 1, side, depth, kRootBound, 1);
    EXPECT_GT(move, 0);
    if (move > 0) ApplyMove(board, move);
    return {board, MakeSquareRef(UnpackMove(move).toColumn, UnpackMove(move).toRow)};
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
        view_.AttachWindow(&backend_);
        ResetSearchCallCount();
    }

    TestView& View() { return view_; }
    Board& GetBoard() { return view_.GetBoard(); }
    GameState& State() { return TheGameState(); }
    const Log& GetLog() const { return backend_.Log(); }
    SquareCode Code(int column, int row) { return GetBoard()[SquareIndex(column, row)]; }
    // Selection, last-move mark, moves to undo, opening pending, autoplay's side, hint shown.
    auto Progress() {
        const GameState& s = State();
        return std::tuple(s.SelectedSquare, s.LastMoveSquare, s.UndoCount, s.OpeningPending,
                          s.AutoplayTurn, s.HintFrom.column >= 0);
    }
    // What New leaves, also after every announced end of a game.
    void ExpectNewGame() {
        EXPECT_EQ(GetBoard(), StartingBoard());
        EXPECT_EQ(Progress(), std::tuple(kNoSquare, kNoSquare, 0, 1, 1, false));
    }
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
    void ClickPixel(int x, int y) { view_.OnLButtonDown(0, framework::CPoint{x, y}); }
    UnpackedMove FirstSide2Move() {
        MoveList moves{};
        EXPECT_GE(GenerateMoves(GetBoard(), std::span<MoveWord>(moves), 2), 0);
        return UnpackMove(moves[0]);
    }
    // One whole turn: side 2's first legal move by two clicks, and the computer's reply.
    void PlayFirstLegalMove() {
        const UnpackedMove move = FirstSide2Move();
        Click(move.fromColumn, move.fromRow);
        Click(move.toColumn, move.toRow);
        ASSERT_EQ(State().SelectedSquare, kNoSquare);
    }

    ScopedTempDirectory directory_;
    framework::RecordingBackend backend_;
    TestView view_;  // made before the game and settings above are put back
};

}  // namespace kelvane::testing
