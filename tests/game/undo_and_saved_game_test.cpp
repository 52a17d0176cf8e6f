#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game/messages.h"
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
    std::ofstream out(name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

Bytes BytesOf(const Board& board) {
    Bytes bytes;
    for (const SquareCode code : board) bytes.push_back(static_cast<unsigned char>(code));
    return bytes;
}

using UndoTest = GameViewTest;

TEST_F(UndoTest, UndoWithNothingStoredOnlyClearsTheHint) {
    View().OnGameComputerStarts();
    const Board before = GetBoard();
    backend_.ClearLog();
    State().HintFrom = {1, 1};
    View().OnEditUndo();
    EXPECT_EQ(State().HintFrom.column, -1);
    EXPECT_TRUE(GetLog().empty());
    EXPECT_EQ(GetBoard(), before);
}

TEST_F(UndoTest, TwoUndosTakeBackTwoTurnsAndAThirdDoesNothing) {
    PlayFirstLegalMove();
    const Board afterFirstTurn = GetBoard();
    PlayFirstLegalMove();
    ASSERT_EQ(State().UndoCount, 2);
    State().SelectedSquare = 206;  // a selection, which Undo clears
    backend_.ClearLog();

    View().OnEditUndo();
    EXPECT_EQ(GetBoard(), afterFirstTurn);
    EXPECT_EQ(State().UndoCount, 1);
    EXPECT_EQ(State().SelectedSquare, kNoSquare);
    EXPECT_EQ(State().LastMoveSquare, kNoSquare);
    EXPECT_EQ(GetLog(), (Log{"InvalidateRect(false)"}));

    View().OnEditUndo();
    EXPECT_EQ(GetBoard(), StartingBoard());
    EXPECT_EQ(State().UndoCount, 0);

    backend_.ClearLog();
    View().OnEditUndo();
    EXPECT_EQ(GetBoard(), StartingBoard());
    EXPECT_TRUE(GetLog().empty());
    // The opening stays over: the human has moved in this game.
    EXPECT_EQ(State().OpeningPending, 0);
}

TEST_F(UndoTest, UndoDiscardsTheAutoplayMovesAndAutoplayGoesOn) {
    PlayFirstLegalMove();
    View().OnGameAutoplay();
    for (int tick = 0; tick < 3; ++tick) View().OnTimer(0);
    ASSERT_TRUE(backend_.MessageBoxes().empty());
    const int turn = State().AutoplayTurn;
    View().OnEditUndo();
    EXPECT_EQ(GetBoard(), StartingBoard());
    EXPECT_TRUE(backend_.IsTimerRunning(0));
    EXPECT_EQ(State().AutoplayTurn, turn);
}

using SavedGameTest = GameViewTest;

TEST_F(SavedGameTest, SaveWritesThe64CodesInIndexOrderAndNothingElse) {
    View().OnGameAutoplay();
    State().HintFrom = {1, 1};
    WriteFileBytes("game.sav", Bytes(100, 0x7F));
    backend_.ClearLog();
    View().OnGameSave();
    const Bytes saved = ReadFileBytes("game.sav");
    ASSERT_EQ(saved.size(), 64u);
    const Bytes firstColumns = {0x0E, 0x0B, 0, 0, 0, 0, 0x15, 0x18,
                                0x0C, 0x0B, 0, 0, 0, 0, 0x15, 0x16};
    EXPECT_TRUE(std::equal(firstColumns.begin(), firstColumns.end(), saved.begin()));
    EXPECT_EQ(saved, BytesOf(StartingBoard()));
    EXPECT_TRUE(GetLog().empty());
    EXPECT_EQ(State().HintFrom.column, -1);
    EXPECT_TRUE(backend_.IsTimerRunning(0));
    EXPECT_FALSE(fs::exists("game.sav.tmp"));
}

TEST_F(SavedGameTest, SaveThenLoadGivesTheSameBoardWithTheHumanToMove) {
    PlayFirstLegalMove();
    PlayFirstLegalMove();
    const Board saved = GetBoard();
    View().OnGameSave();
    View().OnFileNew();
    View().OnGameAutoplay();
    Click(0, 6);
    backend_.ClearLog();

    View().OnGameLoad();
    EXPECT_EQ(GetBoard(), saved);
    EXPECT_EQ(GetLog(), (Log{"KillTimer(0)", "InvalidateRect(false)"}));
    EXPECT_FALSE(backend_.IsTimerRunning(0));
    EXPECT_EQ(State().UndoCount, 0);
    EXPECT_EQ(State().SelectedSquare, kNoSquare);
    EXPECT_EQ(State().LastMoveSquare, kNoSquare);
    EXPECT_TRUE(backend_.MessageBoxes().empty());
    // Nothing left to undo.
    backend_.ClearLog();
    View().OnEditUndo();
    EXPECT_TRUE(GetLog().empty());
}

TEST_F(SavedGameTest, AfterALoadTheComputerSearchesInsteadOfPlayingTheOpening) {
    Board position = StartingBoard();
    position[SquareIndex(6, 1)] = 0;  // the opening's pawn is gone
    GetBoard() = position;
    View().OnGameSave();
    View().OnFileNew();
    ASSERT_EQ(State().OpeningPending, 1);
    View().OnGameLoad();
    EXPECT_EQ(State().OpeningPending, 0);
    View().OnTimer(0);
    EXPECT_GT(GetSearchCallCount(), 0u);
    EXPECT_EQ(Code(6, 1), 0);
}

TEST_F(SavedGameTest, AShortFileReplacesOnlyTheSquaresItHas) {
    Bytes bytes(10, 0);
    bytes[3] = 26;
    WriteFileBytes("game.sav", bytes);
    View().OnGameLoad();
    Board expected = StartingBoard();
    for (int i = 0; i < 10; ++i)
        expected[static_cast<std::size_t>(i)] =
            static_cast<SquareCode>(bytes[static_cast<std::size_t>(i)]);
    EXPECT_EQ(GetBoard(), expected);
}

TEST_F(SavedGameTest, ALongFileGivesItsFirst64Bytes) {
    Board position{};
    position[SquareIndex(2, 2)] = kWhiteKing;
    position[SquareIndex(5, 5)] = kBlackKing;
    Bytes bytes = BytesOf(position);
    // What follows the 64th byte is never looked at, not even a byte that is no code.
    bytes.insert(bytes.end(), {99, 0xFF, 17});
    WriteFileBytes("game.sav", bytes);
    View().OnGameLoad();
    EXPECT_EQ(GetBoard(), position);
    EXPECT_TRUE(backend_.MessageBoxes().empty());
}

TEST_F(SavedGameTest, AMissingFileClearsTheHistoryButLeavesBoardAndAutoplay) {
    PlayFirstLegalMove();
    View().OnGameAutoplay();
    Click(3, 6);
    const Board before = GetBoard();
    backend_.ClearLog();
    View().OnGameLoad();
    EXPECT_EQ(GetLog(), (Log{"InvalidateRect(false)"}));
    EXPECT_EQ(GetBoard(), before);
    EXPECT_TRUE(backend_.IsTimerRunning(0));
    EXPECT_EQ(State().UndoCount, 0);
    EXPECT_EQ(State().SelectedSquare, kNoSquare);
    EXPECT_EQ(State().LastMoveSquare, kNoSquare);
}

struct RefusedCase {
    int offset;
    unsigned char value;
};

class RefusedFileTest : public GameViewTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedFileTest, AFileWithAByteThatIsNoSquareCodeChangesNothing) {
    PlayFirstLegalMove();
    View().OnGameAutoplay();
    Click(3, 6);
    const Board before = GetBoard();
    const GameState stateBefore = State();
    Bytes bytes = BytesOf(StartingBoard());
    bytes[static_cast<std::size_t>(GetParam().offset)] = GetParam().value;
    WriteFileBytes("game.sav", bytes);
    State().HintFrom = {1, 1};
    backend_.ClearLog();

    View().OnGameLoad();
    EXPECT_EQ(GetBoard(), before);
    ASSERT_EQ(backend_.MessageBoxes().size(), 1u);
    EXPECT_EQ(GetLog().size(), 1u);
    const platform::RecordedMessageBox& box = backend_.MessageBoxes()[0];
    EXPECT_NE(box.text.find("game.sav"), std::string::npos) << box.text;
    EXPECT_NE(box.text.find(std::to_string(GetParam().offset)), std::string::npos) << box.text;
    EXPECT_EQ(box.caption, kFileMessageCaption);
    EXPECT_TRUE(backend_.IsTimerRunning(0));
    EXPECT_EQ(State().UndoCount, stateBefore.UndoCount);
    EXPECT_EQ(State().SelectedSquare, stateBefore.SelectedSquare);
    EXPECT_EQ(State().LastMoveSquare, stateBefore.LastMoveSquare);
    EXPECT_EQ(State().OpeningPending, stateBefore.OpeningPending);
}

INSTANTIATE_TEST_SUITE_P(Bytes, RefusedFileTest,
                         ::testing::Values(RefusedCase{0, 10}, RefusedCase{5, 17},
                                           RefusedCase{20, 20}, RefusedCase{33, 27},
                                           RefusedCase{47, 0xFF}, RefusedCase{63, 99},
                                           RefusedCase{12, 0x80}));

TEST_F(SavedGameTest, AFileThatCannotBeReadIsToldAndChangesNothing) {
    fs::create_directory("game.sav");
    View().OnGameAutoplay();
    Click(4, 6);
    backend_.ClearLog();
    View().OnGameLoad();
    ASSERT_EQ(backend_.MessageBoxes().size(), 1u);
    EXPECT_NE(backend_.MessageBoxes()[0].text.find("game.sav"), std::string::npos);
    EXPECT_EQ(GetLog().size(), 1u);
    EXPECT_EQ(GetBoard(), StartingBoard());
    EXPECT_EQ(State().SelectedSquare, 406);
    EXPECT_TRUE(backend_.IsTimerRunning(0));
}

struct FailingSaveCase {
    const char* name;
    void (*prepare)();
    const char* reason;  // part of the message
};

class FailingSaveTest : public GameViewTest,
                        public ::testing::WithParamInterface<FailingSaveCase> {};

TEST_P(FailingSaveTest, AFailedSaveKeepsTheOldFileTellsWhyAndTheGameGoesOn) {
    const Bytes previous = BytesOf(MakeBoard({{1, 1, kWhiteKing}, {6, 6, kBlackKing}}));
    GetParam().prepare();
    if (!fs::exists("game.sav")) WriteFileBytes("game.sav", previous);
    const bool oldFileIsAFile = fs::is_regular_file("game.sav");
    if (oldFileIsAFile) {
        ASSERT_EQ(ReadFileBytes("game.sav"), previous);
    }

    PlayFirstLegalMove();
    View().OnGameAutoplay();
    Click(3, 6);
    const Board before = GetBoard();
    const GameState stateBefore = State();
    backend_.ClearLog();

    View().OnGameSave();
    ASSERT_EQ(backend_.MessageBoxes().size(), 1u);
    EXPECT_EQ(GetLog().size(), 1u);
    const platform::RecordedMessageBox& box = backend_.MessageBoxes()[0];
    EXPECT_NE(box.text.find(GetParam().reason), std::string::npos) << box.text;
    EXPECT_EQ(box.caption, kFileMessageCaption);
    if (oldFileIsAFile) {
        EXPECT_EQ(ReadFileBytes("game.sav"), previous);
    }
    EXPECT_EQ(GetBoard(), before);
    EXPECT_EQ(State().UndoCount, stateBefore.UndoCount);
    EXPECT_EQ(State().SelectedSquare, stateBefore.SelectedSquare);
    EXPECT_TRUE(backend_.IsTimerRunning(0));
    // No half-written file is left behind to be mistaken for anything.
    EXPECT_FALSE(fs::is_regular_file("game.sav.tmp"));
}

INSTANTIATE_TEST_SUITE_P(
    Causes, FailingSaveTest,
    ::testing::Values(FailingSaveCase{"TheSavedGameIsADirectory",
                                      [] { fs::create_directory("game.sav"); }, "Is a directory"},
                      FailingSaveCase{"TheTemporaryFileCannotBeCreated",
                                      [] { fs::create_directory("game.sav.tmp"); },
                                      "Is a directory"},
                      FailingSaveCase{"TheDiskIsFull",
                                      [] { fs::create_symlink("/dev/full", "game.sav.tmp"); },
                                      "No space left on device"}),
    [](const ::testing::TestParamInfo<FailingSaveCase>& param) { return param.param.name; });

}  // namespace
}  // namespace kelvane::testing
