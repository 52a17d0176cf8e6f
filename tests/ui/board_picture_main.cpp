// kelvane-board-picture: writes the board as the program shows it to a PNG file, marks
// included, so that any game state can be looked at.
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/display_settings.h"
#include "png_file.h"
#include "rules/piece_moves.h"
#include "ui/board_drawing.h"

namespace {

using namespace kelvane;

constexpr std::string_view kUsage =
    "usage: kelvane-board-picture OUT.png [--size 35|40|80] [--set standard|extra]\n"
    "         [--position FILE] [--select SQUARE] [--last SQUARE] [--hint MOVE]\n"
    "FILE holds 64 square codes as game.sav does (default: the starting position).\n"
    "SQUARE is like e2 and MOVE like e2e4; a selected piece shows its targets.\n";

// "e2" is column 4, row 6.
std::optional<HintSquare> SquareFromText(std::string_view text) {
    if (text.size() != 2 || text[0] < 'a' || text[0] > 'h' || text[1] < '1' || text[1] > '8')
        return std::nullopt;
    return HintSquare{text[0] - 'a', '8' - text[1]};
}

std::optional<Board> ReadPosition(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> codes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    Board board;
    if (!in.eof() || codes.size() != board.size()) return std::nullopt;
    for (std::size_t i = 0; i < board.size(); ++i) board[i] = static_cast<SquareCode>(codes[i]);
    return board;
}

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
            const std::optional<Board> read = ReadPosition(value);
            if (!read) return Fail(value + " does not hold 64 square codes");
            board = *read;
        } else if (name == "--select" || name == "--last") {
            const std::optional<HintSquare> square = SquareFromText(value);
            if (!square) return Fail("not a square: " + value);
            (name == "--select" ? state.SelectedSquare : state.LastMoveSquare) =
                MakeSquareRef(square->column, square->row);
        } else if (name == "--hint" && value.size() == 4 && SquareFromText(value.substr(0, 2)) &&
                   SquareFromText(value.substr(2))) {
            state.HintFrom = *SquareFromText(value.substr(0, 2));
            state.HintTo = *SquareFromText(value.substr(2));
        } else {
            return Fail("bad option " + name + " " + value + " (see --help)");
        }
    }
    if (state.SelectedSquare >= 0) {
        GeneratePieceMoves(board, SquareRefColumn(state.SelectedSquare),
                           SquareRefRow(state.SelectedSquare), state.TargetMoves,
                           state.TargetCount);
    }

    const int pixels = 8 * GetSquareSize();
    platform::CDC target;
    target.CreateCompatibleDC(nullptr);
    platform::CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&target, pixels, pixels);
    target.SelectObject(&bitmap);
    DrawBoard(&target, board, state);
    if (!WritePngFile(args[0], bitmap)) return Fail("cannot write " + args[0]);
    return 0;
}
