// SPDX-License-Identifier: GPL-3.0-or-later
#include "res/piece_art.h"

#include <cstddef>
#include <map>
#include <sstream>

namespace kelvane::res {

extern const char kStandardSetArt[];
extern const std::size_t kStandardSetArtSize;
extern const char kExtraSetArt[];
extern const std::size_t kExtraSetArtSize;

namespace {

constexpr std::array<std::string_view, 6> kKindNames = {"pawn", "knight", "bishop",
                                                        "rook", "queen",  "king"};

// Splits off the lines one by one, without their line ends ("\r\n" included).
class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text) {}

    bool Next(std::string_view& line) {
        if (position_ >= text_.size()) {
            return false;
        }
        std::size_t end = text_.find('\n', position_);
        if (end == std::string_view::npos) {
            end = text_.size();
        }
        line = text_.substr(position_, end - position_);
        position_ = end + 1;
        ++number_;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
            line.remove_suffix(1);
        }
        return true;
    }
    int Number() const { return number_; }

  private:
    std::string_view text_;
    std::size_t position_ = 0;
    int number_ = 0;
};

bool ReadColour(std::istringstream& words, std::uint32_t& colour) {
    int red = -1;
    int green = -1;
    int blue = -1;
    if (!(words >> red >> green >> blue) || red < 0 || red > 255 || green < 0 || green > 255 ||
        blue < 0 || blue > 255) {
        return false;
    }
    colour = static_cast<std::uint32_t>(red) | (static_cast<std::uint32_t>(green) << 8) |
             (static_cast<std::uint32_t>(blue) << 16);
    return true;
}

int KindFromName(const std::string& name) {
    for (std::size_t i = 0; i < kKindNames.size(); ++i) {
        if (kKindNames[i] == name) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

PieceArtParse Fail(const LineReader& lines, const std::string& what) {
    PieceArtParse result;
    result.error = "line " + std::to_string(lines.Number()) + ": " + what;
    return result;
}

}  // namespace

PieceArtParse ParsePieceArt(std::string_view text) {
    PieceArtParse result;
    std::map<char, std::uint32_t> palette;
    bool haveLight = false;
    bool haveDark = false;
    std::array<std::array<bool, 6>, 2> drawn{};
    LineReader lines(text);
    std::string_view line;
    while (lines.Next(line)) {
        if (line.empty() || line.front() == '#') {
            continue;
        }
        std::istringstream words{std::string(line)};
        std::string keyword;
        words >> keyword;
        if (keyword == "light" || keyword == "dark") {
            std::uint32_t& colour =
                keyword == "light" ? result.art.lightSquare : result.art.darkSquare;
            if (!ReadColour(words, colour)) {
                return Fail(lines, "bad square colour");
            }
            (keyword == "light" ? haveLight : haveDark) = true;
        } else if (keyword == "colour") {
            std::string symbol;
            std::uint32_t colour = 0;
            if (!(words >> symbol) || symbol.size() != 1 || symbol == "." || symbol == "#" ||
                !ReadColour(words, colour)) {
                return Fail(lines, "bad colour definition");
            }
            if (!palette.emplace(symbol[0], colour).second) {
                return Fail(lines, "symbol defined twice");
            }
        } else if (keyword == "piece") {
            std::string sideName;
            std::string kindName;
            words >> sideName >> kindName;
            const int side = sideName == "black" ? 1 : sideName == "white" ? 2 : 0;
            const int kind = KindFromName(kindName);
            if (side == 0 || kind == 0) {
                return Fail(lines, "unknown piece");
            }
            if (drawn[side - 1][kind - 1]) {
                return Fail(lines, "piece drawn twice");
            }
            drawn[side - 1][kind - 1] = true;
            PieceCell& cell = result.art.cells[side - 1][kind - 1];
            for (int y = 0; y < kCellHeight; ++y) {
                if (!lines.Next(line)) {
                    return Fail(lines, "piece ends early");
                }
                if (line.size() != kCellWidth) {
                    return Fail(lines, "a piece row must be 24 symbols wide");
                }
                for (int x = 0; x < kCellWidth; ++x) {
                    const char symbol = line[static_cast<std::size_t>(x)];
                    std::uint32_t colour = kCellBackground;
                    if (symbol != '.') {
                        const auto found = palette.find(symbol);
                        if (found == palette.end()) {
                            return Fail(lines, std::string("undefined symbol '") + symbol + "'");
                        }
                        colour = found->second;
                    }
                    cell[static_cast<std::size_t>(y * kCellWidth + x)] = colour;
                }
            }
        } else {
            return Fail(lines, "unknown keyword '" + keyword + "'");
        }
    }
    if (!haveLight || !haveDark) {
        return Fail(lines, "square colours missing");
    }
    for (int side = 1; side <= 2; ++side) {
        for (int kind = 1; kind <= 6; ++kind) {
            if (!drawn[side - 1][kind - 1]) {
                return Fail(lines, std::string(side == 1 ? "black " : "white ") +
                                       std::string(kKindNames[kind - 1]) + " missing");
            }
        }
    }
    result.ok = true;
    return result;
}

std::vector<std::uint32_t> ComposeSheet(const PieceArt& art) {
    std::vector<std::uint32_t> sheet(static_cast<std::size_t>(kSheetWidth * kSheetHeight));
    // Rows from y 64 down, the two spare rows included, lie on the dark colour.
    for (int y = 0; y < kSheetHeight; ++y) {
        for (int x = 0; x < kSheetWidth; ++x) {
            sheet[static_cast<std::size_t>(y * kSheetWidth + x)] =
                y < CellY(2, true) ? art.lightSquare : art.darkSquare;
        }
    }
    for (const bool onDark : {false, true}) {
        const std::uint32_t background = onDark ? art.darkSquare : art.lightSquare;
        for (int side = 1; side <= 2; ++side) {
            const int originY = CellY(side, onDark);
            for (int kind = 1; kind <= 6; ++kind) {
                const PieceCell& cell = art.cells[static_cast<std::size_t>(side - 1)]
                                                 [static_cast<std::size_t>(kind - 1)];
                const int originX = CellX(kind);
                for (int y = 0; y < kCellHeight; ++y) {
                    for (int x = 0; x < kCellWidth; ++x) {
                        const std::uint32_t colour =
                            cell[static_cast<std::size_t>(y * kCellWidth + x)];
                        sheet[static_cast<std::size_t>((originY + y) * kSheetWidth + originX + x)] =
                            colour == kCellBackground ? background : colour;
                    }
                }
            }
        }
    }
    return sheet;
}

std::string_view StandardSetArt() {
    return {kStandardSetArt, kStandardSetArtSize};
}
std::string_view ExtraSetArt() {
    return {kExtraSetArt, kExtraSetArtSize};
}

}  // namespace kelvane::res
