// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/board_extras_drawing.h"

#include <memory>
#include <string>

#include "app/board_drawing.h"
#include "app/display_settings.h"
#include "res/coordinate_glyphs.h"

namespace kelvane {

namespace {

using framework::CBitmap;
using framework::CDC;
using framework::COLORREF;

// Far beyond the three board sizes, as for the classic picture.
constexpr int kLargestSquare = 1024;

// The square's ring of thickness S/16, inset pixels in from its edges.
void DrawRing(CDC& dc, int left, int top, int size, int inset, COLORREF colour) {
    const int thickness = size / 16;
    const int x = left + inset;
    const int y = top + inset;
    const int side = size - 2 * inset;
    dc.FillSolidRect(x, y, side, thickness, colour);
    dc.FillSolidRect(x, y, thickness, side, colour);
    dc.FillSolidRect(x, y + side - thickness, side, thickness, colour);
    dc.FillSolidRect(x + side - thickness, y, thickness, side, colour);
}

// Glyphs are drawn twice as large on the large board.
void DrawGlyph(CDC& dc, char c, int centreX, int centreY, int squareSize) {
    const auto glyph = res::CoordinateGlyph(c);
    if (!glyph) return;
    const int scale = squareSize >= 80 ? 2 : 1;
    const int left = centreX - res::kGlyphWidth * scale / 2;
    const int top = centreY - res::kGlyphHeight * scale / 2;
    for (int y = 0; y < res::kGlyphHeight; ++y) {
        for (int x = 0; x < res::kGlyphWidth; ++x) {
            if ((*glyph)[static_cast<std::size_t>(y)][x] != '#') continue;
            dc.FillSolidRect(left + x * scale, top + y * scale, scale, scale, kEdgeTextColour);
        }
    }
}

void DrawEdges(CDC& dc, int squareSize, bool turned) {
    const int edge = EdgeWidth(squareSize);
    const int boardPixels = kBoardDim * squareSize;
    dc.FillSolidRect(0, 0, edge, boardPixels + edge, kEdgeColour);
    dc.FillSolidRect(edge, boardPixels, boardPixels, edge, kEdgeColour);
    for (int i = 0; i < kBoardDim; ++i) {
        const Square board = ScreenSquare({i, i}, turned);
        const char file = static_cast<char>('a' + board.column);
        const char rank = static_cast<char>('8' - board.row);
        DrawGlyph(dc, rank, edge / 2, i * squareSize + squareSize / 2, squareSize);
        DrawGlyph(dc, file, edge + i * squareSize + squareSize / 2, boardPixels + edge / 2,
                  squareSize);
    }
}

Board TurnedBoard(const Board& board) {
    Board turned{};
    for (int column = 0; column < kBoardDim; ++column) {
        for (int row = 0; row < kBoardDim; ++row) {
            turned[IndexOf(ScreenSquare({column, row}, true))] = board[IndexOf({column, row})];
        }
    }
    return turned;
}

SquareRef TurnedRef(SquareRef ref) {
    return ref < 0 ? ref : MakeSquareRef(ScreenSquare(SquareOf(ref), true));
}

// The marks the classic drawing reads, as they stand on the turned board.
void TurnMarks(const GameState& state, GameState& shown) {
    shown.SelectedSquare = TurnedRef(state.SelectedSquare);
    shown.LastMoveSquare = TurnedRef(state.LastMoveSquare);
    shown.TargetCount = state.TargetCount;
    for (std::size_t i = 0; i < state.TargetMoves.size(); ++i) {
        const MoveWord move = state.TargetMoves[i];
        shown.TargetMoves[i] =
            PackMove(ScreenSquare(OriginOf(move), true), ScreenSquare(DestinationOf(move), true));
    }
    shown.HintFrom = state.HasHint() ? ScreenSquare(state.HintFrom, true) : state.HintFrom;
    shown.HintTo = ScreenSquare(state.HintTo, true);
}

}  // namespace

void DrawBoardWithExtras(CDC* target, const Board& board, const GameState& state,
                         const BoardExtras& extras) {
    const int squareSize = GetSquareSize();
    if (target == nullptr || squareSize <= 0 || squareSize > kLargestSquare) return;
    const int boardPixels = kBoardDim * squareSize;
    const int edge = EdgeWidth(squareSize);

    // The classic picture, drawn at its own top-left corner, then moved right of the ranks.
    CDC boardDC;
    boardDC.CreateCompatibleDC(target);
    CBitmap boardBitmap;
    boardBitmap.CreateCompatibleBitmap(target, boardPixels, boardPixels);
    CBitmap* before = boardDC.SelectObject(&boardBitmap);
    if (extras.turned) {
        auto shown = std::make_unique<GameState>();
        TurnMarks(state, *shown);
        DrawBoard(&boardDC, TurnedBoard(board), *shown);
    } else {
        DrawBoard(&boardDC, board, state);
    }
    target->BitBlt(edge, 0, boardPixels, boardPixels, &boardDC, 0, 0, framework::SRCCOPY);
    boardDC.SelectObject(before);

    DrawEdges(*target, squareSize, extras.turned);
    const auto place = [&](Square square) {
        const Square screen = ScreenSquare(square, extras.turned);
        return std::pair{edge + screen.column * squareSize, screen.row * squareSize};
    };
    for (const Square square : extras.capturers) {
        if (!IsOnBoard(square)) continue;
        const auto [x, y] = place(square);
        DrawRing(*target, x, y, squareSize, 0, kCapturerColour);
    }
    // Inside any other frame, so that both stay visible.
    if (extras.cursor && IsOnBoard(*extras.cursor)) {
        const auto [x, y] = place(*extras.cursor);
        DrawRing(*target, x, y, squareSize, squareSize / 16, kCursorColour);
    }
}

std::optional<Square> BoardSquareAt(int x, int y, bool turned) {
    const int squareSize = GetSquareSize();
    const int boardX = x - EdgeWidth(squareSize);
    if (boardX < 0 || y < 0) return std::nullopt;
    const Square screen{boardX / squareSize, y / squareSize};
    if (!IsOnBoard(screen)) return std::nullopt;
    return ScreenSquare(screen, turned);
}

}  // namespace kelvane
