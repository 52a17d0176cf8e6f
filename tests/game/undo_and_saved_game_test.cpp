#include <filesystem>
#include <fstream>

#include "tests/game/game_view_fixture.h"

namespace kelvane::testing {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

Bytes ReadFileBytes(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::string& name, const Bytes& bytes) {
    std::ofstream(name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

using UndoAndSavedGameTest = GameViewTest;

TEST_F(UndoAndSavedGameTest, UndoTakesBackATurnWithTheAutoplayMovesSinceAndAutoplayGoesOn) {
    PlayFirstLegalMove();
    const Board afterFirstTurn = GetBoard();
    PlayFirstLegalMove();
    // Autoplay after the human's move: side 1 moves again.
    const Board afterSecondTurn = GetBoard();
    View().OnGameAutoplay();
    View().OnTimer(0);
    EXPECT_EQ(GetBoard(), SearchedMove(afterSecondTurn, 1, kDepthEasy).first);
    for (int tick = 0; tick < 2; ++tick) View().OnTimer(0);
    ASSERT_TRUE(backend_.MessageBoxes().empty());
    State().SelectedSquare = 206;  // a selection, which Undo clears
    backend_.ClearLog();
    View().OnEditUndo();
    EXPECT_EQ(GetBoard(), afterFirstTurn);
    EXPECT_EQ(Progress(), std::tuple(kNoSquare, kNoSquare, 1, 0, 0, false));
    EXPECT_EQ(GetLog(), (Log{"InvalidateRect(false)"}));
    EXPECT_TRUE(backend_.IsTimerRunning(0));
    View().OnEditUndo();
    View().OnEditUndo();
    EXPECT_EQ(GetBoard(), StartingBoard());
    // Two repaints only; the opening stays over, as the human has moved in this game.
    EXPECT_EQ(GetLog().size(), 2u);
    EXPECT_EQ(Progress(), std::tuple(kNoSquare, kNoSquare, 0, 0, 0, false));
}

// 32774 is Save and 32775 Load, as the menu and the keys have them.
TEST_F(UndoAndSavedGameTest, LoadWithoutAFileOnlyClearsTheHistoryAndLoadAfterSaveGivesTheBoard) {
    PlayFirstLegalMove();
    View().OnGameAutoplay();
    Click(3, 6);
    State().HintFrom = {1, 1};
    const Board saved = GetBoard();
    backend_.ClearLog();
    EXPECT_TRUE(View().OnCommand(32775));  // no file yet: the board and autoplay stay
    EXPECT_EQ(GetLog(), (Log{"InvalidateRect(false)"}));
    EXPECT_EQ(GetBoard(), saved);
    EXPECT_EQ(Progress(), std::tuple(kNoSquare, kNoSquare, 0, 0, 1, false));

    WriteFileBytes("game.sav", Bytes(100, 0x7F));
    State().HintFrom = {1, 1};
    backend_.ClearLog();
    EXPECT_TRUE(View().OnCommand(32774));
    EXPECT_EQ(ReadFileBytes("game.sav"), Bytes(saved.begin(), saved.end()));
    EXPECT_FALSE(fs::exists("game.sav.tmp"));
    EXPECT_TRUE(GetLog().empty());
    EXPECT_EQ(State().HintFrom.column, -1);

    View().OnFileNew();
    View().OnGameAutoplay();
    Click(0, 6);
    backend_.ClearLog();
    EXPECT_TRUE(View().OnCommand(32775));
    EXPECT_EQ(GetBoard(), saved);
    EXPECT_EQ(GetLog(), (Log{"KillTimer(0)", "InvalidateRect(false)"}));
    // The fixed opening belongs to the starting position only.
    EXPECT_EQ(Progress(), std::tuple(kNoSquare, kNoSquare, 0, 0, 1, false));
}

TEST_F(UndoAndSavedGameTest, AShortFileReplacesOnlyItsSquaresAndALongOneGivesItsFirst64Bytes) {
    WriteFileBytes("game.sav", Bytes(10, 0));
    View().OnGameLoad();
    Board expected = StartingBoard();
    std::fill_n(expected.begin(), 10, 0);
    EXPECT_EQ(GetBoard(), expected);
    // What follows the 64th byte is never looked at, not even a byte that is no code.
    Bytes bytes(64, 0);
    bytes[SquareIndex(2, 2)] = kWhiteKing;
    bytes.insert(bytes.end(), {99, 0xFF, 17});
    WriteFileBytes("game.sav", bytes);
    View().OnGameLoad();
    EXPECT_EQ(GetBoard(), MakeBoard({{2, 2, kWhiteKing}}));
}

struct FileFailureCase {
    const char* name;
    void (*prepare)();
    void (GameView::*command)();
    const char* told;  // part of the message
};

class FileFailureTest : public GameViewTest,
                        public ::testing::WithParamInterface<FileFailureCase> {};

TEST_P(FileFailureTest, AFailureIsToldOnceAndChangesNeitherTheFileNorTheGame) {
    GetParam().prepare();
    if (!fs::exists("game.sav")) WriteFileBytes("game.sav", Bytes(64, 0));  // an empty board
    const bool aRegularFile = fs::is_regular_file("game.sav");
    const Bytes file = aRegularFile ? ReadFileBytes("game.sav") : Bytes{};
    PlayFirstLegalMove();
    View().OnGameAutoplay();
    Click(3, 6);
    const Board board = GetBoard();
    const auto progress = Progress();
    backend_.ClearLog();

    (View().*GetParam().command)();
    ASSERT_EQ(backend_.MessageBoxes().size(), 1u);
    EXPECT_EQ(GetLog().size(), 1u);
    const std::string& text = backend_.MessageBoxes()[0].text;
    EXPECT_NE(text.find(GetParam().told), std::string::npos) << text;
    EXPECT_EQ(backend_.MessageBoxes()[0].caption, kFileMessageCaption);
    EXPECT_TRUE(!aRegularFile || ReadFileBytes("game.sav") == file);
    // No half-written file is left behind to be mistaken for anything.
    EXPECT_FALSE(fs::is_regular_file("game.sav.tmp"));
    EXPECT_EQ(GetBoard(), board);
    EXPECT_EQ(Progress(), progress);
}

template <int offset, unsigned char value>
void WriteFileWithByte() {
    Bytes bytes(64, 0);
    bytes[offset] = value;
    WriteFileBytes("game.sav", bytes);
}

constexpr auto kSave = &GameView::OnGameSave;
constexpr auto kLoad = &GameView::OnGameLoad;

INSTANTIATE_TEST_SUITE_P(
    Causes, FileFailureTest,
    ::testing::Values(
        FileFailureCase{"SaveOverADirectory", [] { fs::create_directory("game.sav"); }, kSave,
                        "Is a directory"},
        FileFailureCase{"SaveWithoutATemporaryFile", [] { fs::create_directory("game.sav.tmp"); },
                        kSave, "Is a directory"},
        FileFailureCase{"SaveOnAFullDisk", [] { fs::create_symlink("/dev/full", "game.sav.tmp"); },
                        kSave, "No space left on device"},
        FileFailureCase{"LoadADirectory", [] { fs::create_directory("game.sav"); }, kLoad,
                        "Is a directory"},
        FileFailureCase{"LoadByte0", WriteFileWithByte<0, 10>, kLoad, "byte 0 has the value 10"},
        FileFailureCase{"LoadByte63", WriteFileWithByte<63, 99>, kLoad, "byte 63 has"},
        FileFailureCase{"LoadAHighByte", WriteFileWithByte<12, 0x80>, kLoad, "byte 12 has"}),
    [](const ::testing::TestParamInfo<FileFailureCase>& param) { return param.param.name; });

}  // namespace
}  // namespace kelvane::testing
