// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/board_drawing.h"

#include <algorithm>
#include <cstddef>

#include "app/display_settings.h"
#include "res/bitmap_resources.h"
#include "res/piece_art.h"

namespace kelvane {

namespace {

using framework::CBitmap;
using framework::CDC;
using framework::COLORREF;
using framework::RGB;

constexpr COLORREF kLastMoveColour = RGB(0, 0, 255);
constexpr COLORREF kHintColour = RGB(0, 255, 0);
constexpr COLORREF kSelectionColour = RGB(255, 0, 0);
constexpr COLORREF kTargetColour = RGB(255, 255, 0);

// Far beyond the three board sizes, yet small enough that no coordinate can overflow.
constexpr int kLargestSquare = 1024;

using res::kCellHeight;
using res::kCellWidth;

struct SetLook {
    unsigned sheetId;
    res::SquareColours colours;
};

SetLook LookOf(int pieceSet) {
    const unsigned sheetId = pieceSet == kStandardSet ? res::IDB_STANDARD_SET : res::IDB_EXTRA_SET;
    return {sheetId, res::SquareColoursOf(sheetId)};
}

// Four bars inside the square, over its piece. A square off the board would be drawn outside
// the canvas anyway, so it is skipped before its coordinates are computed.
void DrawFrame(CDC& canvas, Square square, int squareSize, COLORREF colour) {
    if (!IsOnBoard(square)) {
        return;
    }
    const int thickness = squareSize / 16;
    const int left = square.column * squareSize;
    const int top = square.row * squareSize;
    const int right = (square.column + 1) * squareSize;
    const int bottom = (square.row + 1) * squareSize;
    canvas.FillSolidRect(left, top, squareSize, thickness, colour);
    canvas.FillSolidRect(left, top, thickness, squareSize, colour);
    canvas.FillSolidRect(left, bottom - thickness, squareSize, thickness, colour);
    canvas.FillSolidRect(right - thickness, top, thickness, squareSize, colour);
}

void DrawSquaresAndPieces(CDC& canvas, CDC& sheet, const Board& board, int squareSize,
                          const SetLook& look) {
    for (int column = 0; column < kBoardDim; ++column) {
        for (int row = 0; row < kBoardDim; ++row) {
            const bool dark = (column + row) % 2 != 0;
            canvas.FillSolidRect(column * squareSize, row * squareSize, squareSize, squareSize,
                                 dark ? look.colours.dark : look.colours.light);
            const SquareCode code = board[static_cast<std::size_t>(SquareIndex(column, row))];
            if (!IsPieceCode(code)) {
                continue;
            }
            // The piece stands at the top of its square, a quarter square in from the left.
            canvas.StretchBlt(column * squareSize + squareSize / 4, row * squareSize,
                              squareSize * kCellWidth / 40, squareSize * kCellHeight / 40, &sheet,
                              res::CellX(KindOf(code)), res::CellY(SideOf(code), dark), kCellWidth,
                              kCellHeight, framework::SRCCOPY);
        }
    }
}

void DrawFrames(CDC& canvas, const GameState& state, int squareSize) {
    if (state.LastMoveSquare >= 0) {
        DrawFrame(canvas, SquareOf(state.LastMoveSquare), squareSize, kLastMoveColour);
    }
    if (state.HasHint()) {
        DrawFrame(canvas, state.HintFrom, squareSize, kHintColour);
        DrawFrame(canvas, state.HintTo, squareSize, kHintColour);
    }
    if (state.SelectedSquare < 0) {
        return;  // targets belong to a selection; a stale count without one shows nothing
    }
    DrawFrame(canvas, SquareOf(state.SelectedSquare), squareSize, kSelectionColour);
    // The list holds at most its own size, whatever the count claims.
    const int targetCount =
        std::min<int>(state.TargetCount, static_cast<int>(state.TargetMoves.size()));
    for (int i = 0; i < targetCount; ++i) {
        const MoveWord move = state.TargetMoves[static_cast<std::size_t>(i)];
        DrawFrame(canvas, DestinationOf(move), squareSize, kTargetColour);
    }
}

}  // namespace

void DrawBoard(framework::CDC* target, const Board& board, const GameState& state) {
    const int squareSize = GetSquareSize();
    if (target == nullptr || squareSize <= 0 || squareSize > kLargestSquare) {
        return;
    }
    const int boardPixels = kBoardDim * squareSize;
    const SetLook look = LookOf(GetPieceSet());

    CDC canvas;
    canvas.CreateCompatibleDC(target);
    CBitmap canvasBitmap;
    canvasBitmap.CreateCompatibleBitmap(target, boardPixels, boardPixels);
    CBitmap* canvasBefore = canvas.SelectObject(&canvasBitmap);

    // Loaded afresh on every paint, so a change of set shows at the next one.
    CDC sheet;
    sheet.CreateCompatibleDC(target);
    CBitmap sheetBitmap;
    sheetBitmap.LoadBitmap(look.sheetId);
    CBitmap* sheetBefore = sheet.SelectObject(&sheetBitmap);

    DrawSquaresAndPieces(canvas, sheet, board, squareSize, look);
    DrawFrames(canvas, state, squareSize);
    target->BitBlt(0, 0, boardPixels, boardPixels, &canvas, 0, 0, framework::SRCCOPY);

    canvas.SelectObject(canvasBefore);
    sheet.SelectObject(sheetBefore);
    sheetBitmap.DeleteObject();
    canvasBitmap.DeleteObject();
    canvas.DeleteDC();
    sheet.DeleteDC();
}

}  // namespace kelvane
