// kelvane-board-picture: writes the board as the program shows it to a PNG file.
//   kelvane-board-picture out.png [35|40|80] [standard|extra] [position file]
// The position file holds the 64 square codes in board order, as "game.sav" does; without
// one the starting position is drawn.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "game/display_settings.h"
#include "png_file.h"
#include "ui/board_drawing.h"

namespace {

int Usage() {
    std::cerr << "usage: kelvane-board-picture out.png [35|40|80] [standard|extra] "
                 "[position file]\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace kelvane;
    if (argc < 2 || argc > 5) {
        return Usage();
    }
    const std::string output = argv[1];
    const std::string size = argc > 2 ? argv[2] : "40";
    const std::string set = argc > 3 ? argv[3] : "standard";
    if (size != "35" && size != "40" && size != "80") {
        return Usage();
    }
    if (set != "standard" && set != "extra") {
        return Usage();
    }
    SetSquareSize(std::stoi(size));
    SetPieceSet(set == "standard" ? kStandardSet : kExtraSet);

    Board board;
    SetUpStartingPosition(board);
    if (argc > 4) {
        std::ifstream in(argv[4], std::ios::binary);
        const std::vector<char> codes{std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>()};
        if (!in.good() && !in.eof()) {
            std::cerr << "cannot read " << argv[4] << "\n";
            return 1;
        }
        if (codes.size() != board.size()) {
            std::cerr << argv[4] << " does not hold 64 square codes\n";
            return 1;
        }
        for (std::size_t i = 0; i < board.size(); ++i) {
            board[i] = static_cast<SquareCode>(codes[i]);
        }
    }

    const int pixels = 8 * GetSquareSize();
    platform::CDC target;
    target.CreateCompatibleDC(nullptr);
    platform::CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&target, pixels, pixels);
    target.SelectObject(&bitmap);
    DrawBoard(&target, board, GameState{});
    if (!WritePngFile(output, bitmap)) {
        std::cerr << "cannot write " << output << "\n";
        return 1;
    }
    return 0;
}
