// SPDX-License-Identifier: GPL-3.0-or-later
// kelvane-board-picture: writes the board as the program shows it to a PNG file, marks
// included, so that any game state can be looked at.
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/board_drawing.h"
#include "app/display_settings.h"
#include "framework/resources.h"
#include "game/saved_game_file.h"
#include "res/program_resources.h"
#include "rules/notation.h"
#include "rules/piece_moves.h"
#include "tools/png_file.h"

namespace {

using namespace kelvane;

constexpr std::string_view kUsage =
    "usage: kelvane-board-picture OUT.png [--size 35|40|80] [--set standard|extra]\n"
    "         [--position FILE] [--select SQUARE] [--last SQUARE] [--hint MOVE]\n"
    "FILE is a saved game, as game.sav (default: the starting position).\n"
    "SQUARE is like e2 and MOVE like e2e4; a selected piece shows its targets.\n";

int Fail(std::string_view message) {
    std::cerr << "kelvane-board-picture: " << message << '\n';
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help") {
        std::cout << kUsage;
        return args.empty() ? 2 : 0;
    }
    framework::AfxSetResources(&res::ProgramResources());
    Board board;
    SetUpStartingPosition(board);
    static GameState state;  // large: its undo history holds a thousand boards
    for (std::size_t i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) return Fail(args[i] + " needs a value");
        const std::string& name = args[i];
        const std::string& value = args[i + 1];
        if (name == "--size" && (value == "35" || value == "40" || value == "80")) {
            SetSquareSize(std::stoi(value));
        } else if (name == "--set" && (value == "standard" || value == "extra")) {
            SetPieceSet(value == "standard" ? kStandardSet : kExtraSet);
        } else if (name == "--position") {
            const SavedGameRead read = ReadSavedGame(value);
            if (read.status == SavedGameRead::Status::NotOpened)
                return Fail("cannot open " + value + " as a regular file");
            if (read.status == SavedGameRead::Status::Refused) return Fail(read.message);
            board = read.board;
        } else if (name == "--select" || name == "--last") {
            const std::optional<Square> square = SquareFromText(value);
            if (!square) return Fail("not a square: " + value);
            (name == "--select" ? state.SelectedSquare : state.LastMoveSquare) =
                MakeSquareRef(*square);
        } else if (const std::optional<MoveWord> hint = MoveFromText(value);
                   name == "--hint" && hint) {
            state.HintFrom = OriginOf(*hint);
            state.HintTo = DestinationOf(*hint);
        } else {
            return Fail("bad option " + name + " " + value + " (see --help)");
        }
    }
    if (state.SelectedSquare >= 0) {
        const Square selected = SquareOf(state.SelectedSquare);
        GeneratePieceMoves(board, selected.column, selected.row, state.TargetMoves,
                           state.TargetCount);
    }

    const int pixels = 8 * GetSquareSize();
    framework::CDC target;
    target.CreateCompatibleDC(nullptr);
    framework::CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&target, pixels, pixels);
    target.SelectObject(&bitmap);
    DrawBoard(&target, board, state);
    std::vector<unsigned char> rgb;
    for (int y = 0; y < pixels; ++y) {
        for (int x = 0; x < pixels; ++x) {
            const framework::COLORREF colour = bitmap.GetPixel(x, y);
            rgb.insert(rgb.end(), {static_cast<unsigned char>(framework::GetRValue(colour)),
                                   static_cast<unsigned char>(framework::GetGValue(colour)),
                                   static_cast<unsigned char>(framework::GetBValue(colour))});
        }
    }
    if (!WritePngFile(args[0], pixels, pixels, PngPixels::Rgb, rgb))
        return Fail("cannot write " + args[0]);
    return 0;
}
