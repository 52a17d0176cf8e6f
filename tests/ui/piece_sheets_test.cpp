#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/device_context.h"
#include "res/bitmap_resources.h"
#include "res/piece_art.h"

namespace kelvane::res {
namespace {

using platform::RGB;

struct SetColours {
    const char* name;
    unsigned id;
    std::uint32_t light;
    std::uint32_t dark;
    std::uint32_t whiteBody;  // must never touch the square colour, at any board size
    std::string_view (*art)();
};

const SetColours kSets[] = {
    {"Standard", IDB_STANDARD_SET, RGB(192, 192, 192), RGB(128, 128, 128), RGB(255, 255, 255),
     StandardSetArt},
    {"Extra", IDB_EXTRA_SET, RGB(255, 255, 255), RGB(192, 192, 192), RGB(255, 251, 240),
     ExtraSetArt},
};

class PieceSheetTest : public ::testing::TestWithParam<SetColours> {
  protected:
    std::uint32_t Pixel(int x, int y) const {
        return sheet_->pixels[static_cast<std::size_t>(y * sheet_->width + x)];
    }
    // The pixels of one cell, top row first.
    std::vector<std::uint32_t> Cell(int kind, int originY) const {
        std::vector<std::uint32_t> cell;
        for (int y = 0; y < kCellHeight; ++y) {
            for (int x = 0; x < kCellWidth; ++x) {
                cell.push_back(Pixel((kind - 1) * kCellWidth + x, originY + y));
            }
        }
        return cell;
    }
    void SetUp() override {
        sheet_ = FindBitmapResource(GetParam().id);
        ASSERT_NE(sheet_, nullptr);
        ASSERT_EQ(sheet_->width, 144);
        ASSERT_EQ(sheet_->height, 130);
    }
    const SheetData* sheet_ = nullptr;
};

// Pieces are copied as plain rectangles, so every cell's border must be its square colour:
// anything else would show as a seam around the piece on the board.
TEST_P(PieceSheetTest, CellBordersAndSpareRowsAreTheSquareColours) {
    for (int y = 0; y < 130; ++y) {
        const std::uint32_t background = y < 64 ? GetParam().light : GetParam().dark;
        for (int x = 0; x < 144; ++x) {
            const bool cellBorder = x % kCellWidth == 0 || x % kCellWidth == kCellWidth - 1 ||
                                    y % kCellHeight == 0 || y % kCellHeight == kCellHeight - 1 ||
                                    y >= 128;
            if (cellBorder) {
                ASSERT_EQ(Pixel(x, y), background) << x << "," << y;
            }
        }
    }
}

// The sheet is the drawn art with the square colour wherever the art leaves the square
// showing: the same piece on both colours, in the row of its side.
TEST_P(PieceSheetTest, EachPieceIsItsArtOnBothSquareColours) {
    const PieceArtParse parsed = ParsePieceArt(GetParam().art());
    ASSERT_TRUE(parsed.ok) << parsed.error;
    for (int side = 1; side <= 2; ++side) {
        const int sideRow = side == 1 ? 32 : 0;
        for (int kind = 1; kind <= 6; ++kind) {
            const PieceCell& art =
                parsed.art
                    .cells[static_cast<std::size_t>(side - 1)][static_cast<std::size_t>(kind - 1)];
            const auto onLight = Cell(kind, sideRow);
            const auto onDark = Cell(kind, sideRow + 64);
            int pieceArea = 0;
            for (std::size_t i = 0; i < art.size(); ++i) {
                const bool square = art[i] == kCellBackground;
                EXPECT_EQ(onLight[i], square ? GetParam().light : art[i]) << kind << " " << i;
                EXPECT_EQ(onDark[i], square ? GetParam().dark : art[i]) << kind << " " << i;
                pieceArea += square ? 0 : 1;
            }
            // A piece is a real figure, not a speck: at least a sixth of its cell.
            EXPECT_GT(pieceArea, kCellWidth * kCellHeight / 6) << kind << " side " << side;
        }
    }
}

TEST_P(PieceSheetTest, AllTwelvePiecesDiffer) {
    std::set<std::vector<std::uint32_t>> pieces;
    for (int sideRow : {0, 32}) {
        for (int kind = 1; kind <= 6; ++kind) {
            pieces.insert(Cell(kind, sideRow));
        }
    }
    EXPECT_EQ(pieces.size(), 12u);
}

// Shrunk for the small board or doubled for the large one, a white piece's body stays
// enclosed by its outline: no body pixel borders the square showing through.
TEST_P(PieceSheetTest, WhitePiecesKeepTheirOutlinesAtEveryBoardSize) {
    const PieceArtParse parsed = ParsePieceArt(GetParam().art());
    ASSERT_TRUE(parsed.ok) << parsed.error;
    for (auto [width, height] : {std::pair{21, 28}, {24, 32}, {48, 64}}) {
        for (int kind = 1; kind <= 6; ++kind) {
            const PieceCell& cell = parsed.art.cells[1][static_cast<std::size_t>(kind - 1)];
            auto at = [&](int x, int y) {
                return cell[static_cast<std::size_t>((y * kCellHeight / height) * kCellWidth +
                                                     x * kCellWidth / width)];
            };
            int body = 0;
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    if (at(x, y) != GetParam().whiteBody) continue;
                    ++body;
                    for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                        const int nx = x + dx;
                        const int ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
                        EXPECT_NE(at(nx, ny), kCellBackground)
                            << "kind " << kind << " at " << width << "x" << height << " (" << x
                            << "," << y << ")";
                    }
                }
            }
            EXPECT_GT(body, 0) << "kind " << kind;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothSets, PieceSheetTest, ::testing::ValuesIn(kSets),
                         [](const auto& param) { return std::string(param.param.name); });

// Which colours each side is made of, as the two sets are described.
TEST(PieceSheetColoursTest, SidesUseTheirSetsColours) {
    auto coloursOf = [](unsigned id, int sideRow) {
        const SheetData* sheet = FindBitmapResource(id);
        std::set<std::uint32_t> colours;
        for (int y = sideRow; y < sideRow + kCellHeight; ++y) {
            for (int x = 0; x < 144; ++x) colours.insert(sheet->pixels[y * 144 + x]);
        }
        return colours;
    };
    const auto standardWhite = coloursOf(IDB_STANDARD_SET, 64);
    const auto standardBlack = coloursOf(IDB_STANDARD_SET, 96);
    const auto extraWhite = coloursOf(IDB_EXTRA_SET, 64);
    const auto extraBlack = coloursOf(IDB_EXTRA_SET, 96);
    EXPECT_TRUE(standardWhite.contains(RGB(255, 255, 255)));
    EXPECT_TRUE(standardWhite.contains(RGB(0, 0, 0)));
    EXPECT_TRUE(standardBlack.contains(RGB(0, 0, 0)));
    EXPECT_FALSE(standardBlack.contains(RGB(255, 255, 255)));
    EXPECT_TRUE(extraWhite.contains(RGB(255, 251, 240)));
    EXPECT_TRUE(extraWhite.contains(RGB(0, 0, 0)));
    EXPECT_TRUE(extraBlack.contains(RGB(64, 64, 64)));
    EXPECT_TRUE(extraBlack.contains(RGB(255, 255, 255)));
    EXPECT_FALSE(extraBlack.contains(RGB(255, 251, 240)));
}

TEST(PieceArtTest, BothCompiledSetsParse) {
    for (std::string_view text : {StandardSetArt(), ExtraSetArt()}) {
        const PieceArtParse parsed = ParsePieceArt(text);
        EXPECT_TRUE(parsed.ok) << parsed.error;
    }
}

// A broken text must be refused with the line at fault, never turned into a half sheet.
TEST(PieceArtTest, RefusesBrokenText) {
    const std::string text(StandardSetArt());
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string changed = text;
        const std::size_t at = changed.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? changed : changed.replace(at, from.size(), to);
    };
    const std::string firstRow = "\n........................\n";
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {replaced("piece black king", "piece black queen"), "piece drawn twice"},
        {replaced("piece white rook", "piece white tower"), "unknown piece"},
        {replaced(firstRow, "\n.......................\n"), "24 symbols wide"},
        {replaced(firstRow, "\n.......................?\n"), "undefined symbol '?'"},
        {replaced("light 192", "light 300"), "bad square colour"},
        {replaced("dark 128 128 128", ""), "square colours missing"},
        {text.substr(0, text.rfind("piece black king")), "black king missing"},
        {text.substr(0, text.rfind("piece black king") + 17 + 25 * 3), "piece ends early"},
        {"colour x 1 2 3\ncolour x 1 2 3\n", "symbol defined twice"},
        {"colour . 1 2 3\n", "bad colour definition"},
        {"pieces white pawn\n", "unknown keyword"},
    };
    for (const auto& broken : cases) {
        const PieceArtParse parsed = ParsePieceArt(broken.text);
        EXPECT_FALSE(parsed.ok) << broken.error;
        EXPECT_NE(parsed.error.find(broken.error), std::string::npos)
            << "expected " << broken.error << ", got " << parsed.error;
        EXPECT_EQ(parsed.error.rfind("line ", 0), 0u) << parsed.error;
    }
}

TEST(PieceArtTest, ComposeSheetPlacesEachCellByKindAndSide) {
    PieceArt art;
    art.lightSquare = RGB(10, 10, 10);
    art.darkSquare = RGB(20, 20, 20);
    for (auto& side : art.cells) {
        for (auto& cell : side) cell.fill(kCellBackground);
    }
    art.cells[1][5][0] = RGB(1, 1, 1);                             // white king, top-left pixel
    art.cells[0][1][kCellWidth * kCellHeight - 1] = RGB(2, 2, 2);  // black knight, last pixel
    const auto sheet = ComposeSheet(art);
    ASSERT_EQ(sheet.size(), 144u * 130u);
    auto at = [&](int x, int y) { return sheet[static_cast<std::size_t>(y * 144 + x)]; };
    EXPECT_EQ(at(120, 0), RGB(1, 1, 1));
    EXPECT_EQ(at(120, 64), RGB(1, 1, 1));
    EXPECT_EQ(at(47, 63), RGB(2, 2, 2));
    EXPECT_EQ(at(47, 127), RGB(2, 2, 2));
    EXPECT_EQ(at(120, 32), RGB(10, 10, 10));
    EXPECT_EQ(at(121, 64), RGB(20, 20, 20));
    EXPECT_EQ(at(47, 129), RGB(20, 20, 20));
}

}  // namespace
}  // namespace kelvane::res
