#include "rules/move_generation.h"

#include <bit>

#include "rules/piece_moves.h"

namespace kelvane {

namespace {

struct Step {
    int column;
    int row;
};

constexpr Step kKnightSteps[] = {{1, 2},  {1, -2},  {-1, 2}, {-1, -2},
                                 {-2, 1}, {-2, -1}, {2, 1},  {2, -1}};
constexpr Step kKingSteps[] = {{0, 1}, {0, -1}, {1, 0},  {-1, 0},
                               {1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
// A queen slides along the bishop's rays first, then the rook's.
constexpr Step kQueenRays[] = {{1, 1}, {1, -1}, {-1, 1}, {-1, -1},
                               {1, 0}, {-1, 0}, {0, 1},  {0, -1}};
constexpr std::span<const Step> kBishopRays(kQueenRays, 4);
constexpr std::span<const Step> kRookRays(kQueenRays + 4, 4);

constexpr bool OnBoard(int column, int row) {
    return static_cast<unsigned>(column) < 8u && static_cast<unsigned>(row) < 8u;
}

// Appends while there is room; moves past the capacity are dropped.
class MoveSink {
  public:
    explicit MoveSink(std::span<MoveWord> list) : list_(list) {}
    void Add(int fromColumn, int fromRow, int toColumn, int toRow) {
        if (count_ < list_.size()) list_[count_++] = PackMove(fromColumn, fromRow, toColumn, toRow);
    }
    int Last() const { return static_cast<int>(count_) - 1; }

  private:
    std::span<MoveWord> list_;
    std::size_t count_ = 0;
};

class PieceMoveGenerator {
  public:
    PieceMoveGenerator(const Board& board, Side side, MoveSink& sink)
        : board_(board), opponent_(Opponent(side)), sink_(sink) {}

    void Captures(int column, int row, SquareCode code) {
        switch (code) {
            case kBlackPawn:
                CaptureAt(column, row, column - 1, row + 1);
                CaptureAt(column, row, column + 1, row + 1);
                break;
            case kWhitePawn:
                CaptureAt(column, row, column - 1, row - 1);
                CaptureAt(column, row, column + 1, row - 1);
                break;
            case 12:
            case 22:
                for (Step s : kKnightSteps) CaptureAt(column, row, column + s.column, row + s.row);
                break;
            case 13:
            case 23:
                SlidingCaptures(column, row, kBishopRays);
                break;
            case 14:
            case 24:
                SlidingCaptures(column, row, kRookRays);
                break;
            case 15:
            case 25:
                SlidingCaptures(column, row, kQueenRays);
                break;
            case 16:
            case 26:
                for (Step s : kKingSteps) CaptureAt(column, row, column + s.column, row + s.row);
                break;
            default:  // empty, or a byte that is no piece: it does not move
                break;
        }
    }

    void QuietMoves(int column, int row, SquareCode code) {
        switch (code) {
            case kBlackPawn:
                PawnSteps(column, row, 1, 1);
                break;
            case kWhitePawn:
                PawnSteps(column, row, -1, 6);
                break;
            case 12:
            case 22:
                for (Step s : kKnightSteps) QuietAt(column, row, column + s.column, row + s.row);
                break;
            case 13:
            case 23:
                SlidingQuietMoves(column, row, kBishopRays);
                break;
            case 14:
            case 24:
                SlidingQuietMoves(column, row, kRookRays);
                break;
            case 15:
            case 25:
                SlidingQuietMoves(column, row, kQueenRays);
                break;
            case 16:
            case 26:
                for (Step s : kKingSteps) QuietAt(column, row, column + s.column, row + s.row);
                break;
            default:
                break;
        }
    }

  private:
    SquareCode At(int column, int row) const { return board_[SquareIndex(column, row)]; }
    bool IsOpponentPiece(SquareCode code) const { return code != 0 && SideOf(code) == opponent_; }

    void CaptureAt(int column, int row, int toColumn, int toRow) {
        if (OnBoard(toColumn, toRow) && IsOpponentPiece(At(toColumn, toRow)))
            sink_.Add(column, row, toColumn, toRow);
    }
    void QuietAt(int column, int row, int toColumn, int toRow) {
        if (OnBoard(toColumn, toRow) && At(toColumn, toRow) == 0)
            sink_.Add(column, row, toColumn, toRow);
    }
    void PawnSteps(int column, int row, int forward, int startRow) {
        const int oneAhead = row + forward;
        if (!OnBoard(column, oneAhead) || At(column, oneAhead) != 0) return;
        sink_.Add(column, row, column, oneAhead);
        if (row == startRow && At(column, oneAhead + forward) == 0)
            sink_.Add(column, row, column, oneAhead + forward);
    }
    void SlidingCaptures(int column, int row, std::span<const Step> rays) {
        for (Step ray : rays) {
            int c = column + ray.column;
            int r = row + ray.row;
            while (OnBoard(c, r) && At(c, r) == 0) {
                c += ray.column;
                r += ray.row;
            }
            if (OnBoard(c, r) && IsOpponentPiece(At(c, r))) sink_.Add(column, row, c, r);
        }
    }
    void SlidingQuietMoves(int column, int row, std::span<const Step> rays) {
        for (Step ray : rays) {
            for (int c = column + ray.column, r = row + ray.row; OnBoard(c, r) && At(c, r) == 0;
                 c += ray.column, r += ray.row) {
                sink_.Add(column, row, c, r);
            }
        }
    }

    const Board& board_;
    Side opponent_;
    MoveSink& sink_;
};

// Calls visit(column, row, code) for each square in sideSquares, in Board index order.
template <typename Visit>
void ForEachSquare(const Board& board, std::uint64_t sideSquares, Visit&& visit) {
    while (sideSquares != 0) {
        const int index = std::countr_zero(sideSquares);
        sideSquares &= sideSquares - 1;
        visit(index / kBoardDim, index % kBoardDim, board[static_cast<std::size_t>(index)]);
    }
}

}  // namespace

std::uint64_t SquaresOfSide(const Board& board, Side side) {
    std::uint64_t squares = 0;
    for (int index = 0; index < 64; ++index) {
        const SquareCode code = board[static_cast<std::size_t>(index)];
        if (code != 0 && SideOf(code) == side) squares |= std::uint64_t{1} << index;
    }
    return squares;
}

int GenerateMovesOfSquares(const Board& board, std::span<MoveWord> list, Side side,
                           std::uint64_t sideSquares) {
    MoveSink sink(list);
    PieceMoveGenerator generator(board, side, sink);
    ForEachSquare(board, sideSquares, [&](int column, int row, SquareCode code) {
        generator.Captures(column, row, code);
    });
    // A side that can capture must capture: no move to an empty square is even computed then.
    if (sink.Last() >= 0) return sink.Last();
    ForEachSquare(board, sideSquares, [&](int column, int row, SquareCode code) {
        generator.QuietMoves(column, row, code);
    });
    return sink.Last();
}

int GenerateMoves(const Board& board, std::span<MoveWord> list, Side side) {
    return GenerateMovesOfSquares(board, list, side, SquaresOfSide(board, side));
}

int IsLegalSide2Move(const Board& board, int fromColumn, int fromRow, int toColumn, int toRow) {
    MoveList list;
    const int last = GenerateMoves(board, list, 2);
    const MoveWord wanted = PackMove(fromColumn, fromRow, toColumn, toRow);
    for (int i = 0; i <= last; ++i) {
        if (list[static_cast<std::size_t>(i)] == wanted) return 1;
    }
    return 0;
}

void GeneratePieceMoves(const Board& board, int column, int row, TargetMoveList& targets,
                        int& targetCount) {
    // Side 2's list keeps the selected piece's moves together and in its own order, so
    // filtering it by origin gives exactly the piece's legal moves.
    MoveList list;
    const int last = GenerateMoves(board, list, 2);
    targetCount = 0;
    for (int i = 0; i <= last; ++i) {
        const MoveWord move = list[static_cast<std::size_t>(i)];
        const UnpackedMove m = UnpackMove(move);
        if (m.fromColumn == column && m.fromRow == row &&
            targetCount < static_cast<int>(targets.size())) {
            targets[static_cast<std::size_t>(targetCount++)] = move;
        }
    }
}

}  // namespace kelvane
