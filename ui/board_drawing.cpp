#include "ui/board_drawing.h"

#include <algorithm>
#include <cstddef>

#include "game/display_settings.h"
#include "res/bitmap_resources.h"

namespace kelvane {

namespace {

using platform::CBitmap;
using platform::CDC;
using platform::COLORREF;
using platform::RGB;

constexpr COLORREF kLastMoveColour = RGB(0, 0, 255);
constexpr COLORREF kHintColour = RGB(0, 255, 0);
constexpr COLORREF kSelectionColour = RGB(255, 0, 0);
constexpr COLORREF kTargetColour = RGB(255, 255, 0);

// Far beyond the three board sizes, yet small enough that no coordinate can overflow.
constexpr int kLargestSquare = 1024;

constexpr int kCellWidth = 24;
constexpr int kCellHeight = 32;

struct SetLook {
    unsigned sheetId;
    COLORREF lightSquare;
    COLORREF darkSquare;
};

SetLook LookOf(int pieceSet) {
    if (pieceSet == kStandardSet) {
        return {res::IDB_STANDARD_SET, RGB(192, 192, 192), RGB(128, 128, 128)};
    }
    return {res::IDB_EXTRA_SET, RGB(255, 255, 255), RGB(192, 192, 192)};
}

// The sheet rows: white pieces at y 0, black at 32, on the light colour; 64 and 96 on the dark.
int CellOriginY(Side side, bool darkSquare) {
    return (darkSquare ? 64 : 0) + (side == 1 ? 32 : 0);
}

bool OnBoard(int column, int row) {
    return column >= 0 && column < kBoardDim && row >= 0 && row < kBoardDim;
}

// Four bars inside the square, over its piece. A square off the board would be drawn outside
// the canvas anyway, so it is skipped before its coordinates are computed.
void DrawFrame(CDC& canvas, int column, int row, int squareSize, COLORREF colour) {
    if (!OnBoard(column, row)) {
        return;
    }
    const int thickness = squareSize / 16;
    const int left = column * squareSize;
    const int top = row * squareSize;
    canvas.FillSolidRect(left, top, squareSize, thickness, colour);
    canvas.FillSolidRect(left, top, thickness, squareSize, colour);
    canvas.FillSolidRect(left, (row + 1) * squareSize - thickness, squareSize, thickness, colour);
    canvas.FillSolidRect((column + 1) * squareSize - thickness, top, thickness, squareSize, colour);
}

void DrawFrame(CDC& canvas, SquareRef square, int squareSize, COLORREF colour) {
    DrawFrame(canvas, SquareRefColumn(square), SquareRefRow(square), squareSize, colour);
}

void DrawSquaresAndPieces(CDC& canvas, CDC& sheet, const Board& board, int squareSize,
                          const SetLook& look) {
    for (int column = 0; column < kBoardDim; ++column) {
        for (int row = 0; row < kBoardDim; ++row) {
            const bool dark = (column + row) % 2 != 0;
            canvas.FillSolidRect(column * squareSize, row * squareSize, squareSize, squareSize,
                                 dark ? look.darkSquare : look.lightSquare);
            const SquareCode code = board[static_cast<std::size_t>(SquareIndex(column, row))];
            if (!IsPieceCode(code)) {
                continue;
            }
            // The piece stands at the top of its square, a quarter square in from the left.
            canvas.StretchBlt(column * squareSize + squareSize / 4, row * squareSize,
                              squareSize * kCellWidth / 40, squareSize * kCellHeight / 40, &sheet,
                              (KindOf(code) - 1) * kCellWidth, CellOriginY(SideOf(code), dark),
                              kCellWidth, kCellHeight, platform::SRCCOPY);
        }
    }
}

void DrawFrames(CDC& canvas, const GameState& state, int squareSize) {
    if (state.LastMoveSquare >= 0) {
        DrawFrame(canvas, state.LastMoveSquare, squareSize, kLastMoveColour);
    }
    if (state.HintFrom.column >= 0) {
        DrawFrame(canvas, state.HintFrom.column, state.HintFrom.row, squareSize, kHintColour);
        DrawFrame(canvas, state.HintTo.column, state.HintTo.row, squareSize, kHintColour);
    }
    if (state.SelectedSquare < 0) {
        return;  // targets belong to a selection; a stale count without one shows nothing
    }
    DrawFrame(canvas, state.SelectedSquare, squareSize, kSelectionColour);
    // The list holds at most its own size, whatever the count claims.
    const int targetCount =
        std::min<int>(state.TargetCount, static_cast<int>(state.TargetMoves.size()));
    for (int i = 0; i < targetCount; ++i) {
        const UnpackedMove move = UnpackMove(state.TargetMoves[static_cast<std::size_t>(i)]);
        DrawFrame(canvas, move.toColumn, move.toRow, squareSize, kTargetColour);
    }
}

}  // namespace

void DrawBoard(platform::CDC* target, const Board& board, const GameState& state) {
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
    target->BitBlt(0, 0, boardPixels, boardPixels, &canvas, 0, 0, platform::SRCCOPY);

    canvas.SelectObject(canvasBefore);
    sheet.SelectObject(sheetBefore);
    sheetBitmap.DeleteObject();
    canvasBitmap.DeleteObject();
    canvas.DeleteDC();
    sheet.DeleteDC();
}

}  // namespace kelvane
