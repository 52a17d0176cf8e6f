#include "cli/position_source.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "cli/notation.h"

namespace kelvane::cli {

namespace {
bool LooksLikeFen(const std::string& text) {
    const std::string placement = text.substr(0, text.find(' '));
    if (placement.find('/') == std::string::npos) return false;
    return placement.find_first_not_of("pnbrqkPNBRQK12345678/") == std::string::npos;
}

std::optional<Board> LoadSavedGame(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open '" + path + "' (not a FEN placement field nor a readable file)";
        return std::nullopt;
    }
    std::vector<char> bytes;
    char byte;
    while (bytes.size() <= 64 && file.get(byte)) bytes.push_back(byte);
    if (file.bad()) {
        error = "cannot read '" + path + "'";
        return std::nullopt;
    }
    if (bytes.size() != 64) {
        error = "'" + path + "' is not a saved game: it must be exactly 64 bytes";
        return std::nullopt;
    }
    Board board{};
    for (std::size_t i = 0; i < 64; ++i) {
        const auto code = static_cast<SquareCode>(bytes[i]);
        if (code != 0 && !IsPieceCode(code)) {
            error = "'" + path + "' is not a saved game: byte " + std::to_string(i) +
                    " is no square code";
            return std::nullopt;
        }
        board[i] = code;
    }
    return board;
}
}  // namespace

std::optional<Board> LoadPosition(const std::string& text, std::string& error) {
    if (text == "start") {
        Board board;
        SetUpStartingPosition(board);
        return board;
    }
    if (LooksLikeFen(text)) {
        std::string fenError;
        std::optional<Board> board = BoardFromFen(text, fenError);
        if (!board) error = "malformed FEN '" + text + "': " + fenError;
        return board;
    }
    return LoadSavedGame(text, error);
}

}  // namespace kelvane::cli
