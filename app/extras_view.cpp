// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/extras_view.h"

#include <algorithm>
#include <iostream>

#include "app/board_extras_drawing.h"
#include "app/display_settings.h"
#include "app/expert_thinker.h"
#include "app/status_text.h"
#include "engine/search_depth.h"
#include "framework/command_ids.h"
#include "framework/file.h"
#include "framework/win_app.h"
#include "game/game_state.h"
#include "game/saved_game_file.h"
#include "res/command_ids.h"
#include "res/string_resource.h"
#include "rules/evaluation.h"
#include "rules/move_generation.h"

namespace kelvane {

using namespace framework;
using namespace res;

namespace {

constexpr const char* kRecordChooserCaption = "Save Record";
constexpr const char* kRecordChooserFilter = "PGN files (*.pgn);;All files (*)";

// Where the keyboard's cursor starts on the board as shown.
constexpr Square kCursorStart{4, 6};

const char* LevelName(bool expert) {
    if (expert) return "Expert";
    switch (GetSearchDepth()) {
        case kDepthMedium:
            return "Medium";
        case kDepthHard:
            return "Hard";
        default:
            return "Easy";
    }
}

// The pieces that can capture, each once, in the order of their captures.
std::vector<Square> CapturingPieces(const std::vector<MoveWord>& captures) {
    std::vector<Square> pieces;
    for (const MoveWord capture : captures) {
        if (std::find(pieces.begin(), pieces.end(), OriginOf(capture)) == pieces.end())
            pieces.push_back(OriginOf(capture));
    }
    return pieces;
}

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

CExtrasView::CExtrasView(ExtrasOptions options) : options_(std::move(options)) {
    game_.SetKeepFinalPosition(true);
}

CExtrasView::~CExtrasView() {
    // The search stops and its thread ends before anything it could reach goes.
    worker_.reset();
    AppendToPgnFile();
}

void CExtrasView::OnInitialUpdate() {
    WindowBackend* window = GetWindow();
    if (window == nullptr) return;
    statusHeight_ = window->CreateStatusLine();
    window->EnableKeyboard();
    RefreshStatus();
}

void CExtrasView::OnDraw(CDC* dc) {
    const BoardExtras extras{turned_, capturers_,
                             cursorShown_ ? std::optional<Square>(cursor_) : std::nullopt};
    DrawBoardWithExtras(dc, game_.GetBoard(), TheGameState(), extras);
}

bool CExtrasView::OnCommand(int commandId) {
    switch (commandId) {
        case ID_FILE_NEW:
            StartGame(2, false);
            return true;
        case ID_GAME_COMPUTER_STARTS:
            StartGame(2, true);
            return true;
        case ID_GAME_YOU_PLAY_BLACK:
            StartGame(1, false);
            return true;
        case ID_GAME_LOAD:
            Load();
            return true;
        case ID_EDIT_UNDO:
            Undo();
            return true;
        case ID_GAME_STOP:
            CancelThinking();
            ClearExplanation();
            OnGameStop();
            RefreshStatus();
            return true;
        case ID_GAME_SAVE_RECORD:
            SaveRecord();
            return true;
        default:
            // The game's other commands end an explanation; the settings leave it.
            if (!CChessView::OnCommand(commandId)) return false;
            ClearExplanation();
            RefreshStatus();
            return true;
    }
}

void CExtrasView::OnLButtonDown(unsigned flags, CPoint point) {
    (void)flags;
    cursorShown_ = false;
    const std::optional<Square> square = BoardSquareAt(point.x, point.y, turned_);
    if (square) cursor_ = *square;
    ClickSquare(square);
}

void CExtrasView::ClickSquare(std::optional<Square> square) {
    ClearExplanation();
    const Board before = game_.GetBoard();
    const Side human = game_.HumanSide();
    const SquareRef selected = TheGameState().SelectedSquare;
    // The game takes the click only while the human may move.
    const bool taken = !game_.IsOver() && (game_.SideToMove() == human || !expert_);
    if (taken && selected != kNoSquare && square && *square != SquareOf(selected) &&
        !IsLegalMove(before, human, PackMove(SquareOf(selected), *square))) {
        const Square from = SquareOf(selected);
        explanation_ = RefusalText(before, human, from, *square);
        if (ForbiddenByCapture(before, human, from, *square))
            capturers_ = CapturingPieces(CapturesOf(before, human));
    }
    clicking_ = true;
    game_.Click(square);
    clicking_ = false;
    const GameState& state = TheGameState();
    if (taken && selected == kNoSquare && state.SelectedSquare != kNoSquare &&
        state.TargetCount == 0) {
        const std::vector<MoveWord> captures = CapturesOf(before, human);
        if (captures.empty()) {
            explanation_ = NoMoveText(before, SquareOf(state.SelectedSquare));
        } else {
            explanation_ = MustCaptureText(before, human, captures);
            capturers_ = CapturingPieces(captures);
        }
    }
    RefreshStatus();
}

void CExtrasView::StartGame(Side humanSide, bool computerStarts) {
    CancelThinking();
    ClearExplanation();
    CloseRecord();
    autoplayEnded_ = false;
    game_.SetHumanSide(humanSide);
    turned_ = humanSide == 1;
    // The cursor starts on the human's king's pawn, hidden until a key is pressed.
    cursor_ = ScreenSquare(kCursorStart, turned_);
    cursorShown_ = false;
    Board start;
    SetUpStartingPosition(start);
    StartRecord(start, false);
    if (computerStarts) {
        game_.ComputerStarts();
    } else {
        game_.NewGame();
    }
    ComputerMoveDue();
    RefreshStatus();
}

void CExtrasView::Load() {
    CancelThinking();
    ClearExplanation();
    const bool loads = ReadSavedGame(kSavedGameFileName).status == SavedGameRead::Status::Loaded;
    if (loads) CloseRecord();
    OnGameLoad();
    if (loads) {
        autoplayEnded_ = false;
        StartRecord(game_.GetBoard(), true);
    }
    // A file that did not load leaves the game as it was, the computer's turn included.
    ComputerMoveDue();
    RefreshStatus();
}

void CExtrasView::Undo() {
    CancelThinking();
    ClearExplanation();
    const int before = TheGameState().UndoCount;
    OnEditUndo();
    if (TheGameState().UndoCount < before) {
        autoplayEnded_ = false;
        record_.TakeBackTo(game_.GetBoard(), game_.HumanSide());
    }
    ComputerMoveDue();
    RefreshStatus();
}

void CExtrasView::SaveRecord() {
    ClearExplanation();
    CWinApp* app = AfxGetApp();
    if (app == nullptr) return;
    const std::optional<std::string> name =
        app->Platform().PromptForFileToAppend(kRecordChooserCaption, kRecordChooserFilter);
    if (!name) return;
    // Checked again: the file may have changed since it was chosen.
    if (const std::string problem = WhyNotAppendable(*name); !problem.empty()) {
        MessageBox(problem, kApplicationTitle, MB_OK);
        return;
    }
    PgnFile file;
    Status done = file.Open(*name);
    if (done) done = file.Append(RecordPgn());
    if (!done) {
        MessageBox(done.reason(), kApplicationTitle, MB_OK);
        return;
    }
    explanation_ = "The game so far was added to " + FileNameOf(*name) + ".";
    RefreshStatus();
}

void CExtrasView::ComputerMoveDue() {
    if (game_.IsOver() || autoplayOn_ || game_.SideToMove() == game_.HumanSide()) return;
    if (expert_) {
        RequestSearch(game_.SideToMove(), Purpose::Reply);
    } else {
        game_.PlayComputerMove();
    }
}

void CExtrasView::RequestSearch(Side side, Purpose purpose) {
    if (worker_ == nullptr) {
        std::unique_ptr<MoveThinker> thinker =
            options_.makeThinker ? options_.makeThinker() : MakeExpertThinker();
        WindowBackend* window = GetWindow();
        worker_ = std::make_unique<SearchWorker>(std::move(thinker), [window](std::uint64_t number,
                                                                              MoveWord move) {
            if (window != nullptr)
                window->PostMessage(kSearchAnswerMessage, number, static_cast<std::intptr_t>(move));
        });
    }
    purpose_ = purpose;
    SearchRequest request;
    request.board = game_.GetBoard();
    request.side = side;
    request.variant = GetRulesVariant();
    request.history = record_.History();
    worker_->Request(std::move(request));
    if (WindowBackend* window = GetWindow()) window->SetWaitCursorOverWindow(true);
    RefreshStatus();
}

bool CExtrasView::CancelThinking() {
    if (!IsThinking()) return false;
    worker_->Cancel();
    if (WindowBackend* window = GetWindow()) window->SetWaitCursorOverWindow(false);
    return true;
}

void CExtrasView::WaitForWorker() {
    if (worker_ != nullptr) worker_->WaitUntilIdle();
}

void CExtrasView::OnPostedMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    // An answer to a request that New, Undo, Load, Stop or a change of level or rules has
    // superseded is dropped here.
    if (message != kSearchAnswerMessage || worker_ == nullptr || !worker_->Accept(wParam)) return;
    if (WindowBackend* window = GetWindow()) window->SetWaitCursorOverWindow(false);
    PlayAnswer(static_cast<MoveWord>(lParam));
    RefreshStatus();
}

void CExtrasView::PlayAnswer(MoveWord move) {
    applyingAnswer_ = true;
    if (purpose_ == Purpose::Autoplay) {
        autoplayEnded_ = true;
        if (!game_.PlayAutoplayMove(move)) game_.AutoplayTick();
    } else if (!game_.PlayMove(move)) {
        // Never expected: the exact search moves instead of an answer that cannot be played.
        game_.PlayComputerMove();
    }
    applyingAnswer_ = false;
}

void CExtrasView::OnTimer(std::uintptr_t id) {
    // An answer on its way comes first; ticks meanwhile are let go.
    if (IsThinking()) return;
    autoplayEnded_ = true;
    if (!expert_ || game_.IsOver() || game_.AutoplayOpeningDue()) {
        CChessView::OnTimer(id);
        return;
    }
    RequestSearch(game_.AutoplaySide(), Purpose::Autoplay);
}

void CExtrasView::OnLevelChanged(bool expert) {
    CancelThinking();
    const std::string level = LevelName(expert);
    // The record tells from which move on the computer played at the new level.
    if (record_.IsEmpty()) {
        recordLevel_ = level;
    } else if (level != currentLevel_) {
        record_.Remark("Level " + level);
    }
    currentLevel_ = level;
    expert_ = expert;
    game_.SetReplyAtOnce(!expert);
    ComputerMoveDue();
    RefreshStatus();
}

void CExtrasView::OnRulesChanged() {
    CancelThinking();
    ComputerMoveDue();
    RefreshStatus();
}

int CExtrasView::ExtraWidth() const {
    return EdgeWidth(GetSquareSize());
}

int CExtrasView::ExtraHeight() const {
    return EdgeWidth(GetSquareSize()) + statusHeight_;
}

void CExtrasView::Invalidate() {
    CChessView::Invalidate();
    RefreshStatus();
}

void CExtrasView::StartAutoplayTimer() {
    autoplayOn_ = true;
    CChessView::StartAutoplayTimer();
}

void CExtrasView::StopAutoplayTimer() {
    autoplayOn_ = false;
    CChessView::StopAutoplayTimer();
}

void CExtrasView::GameOver(const Verdict& verdict) {
    (void)verdict;
    CancelThinking();
    AppendToPgnFile();
    RefreshStatus();
}

void CExtrasView::ComputerToMove(Side side) {
    RequestSearch(side, Purpose::Reply);
}

void CExtrasView::MovePlayed(Side side, MoveWord move) {
    // A move made while a search runs changes the position under it.
    if (!applyingAnswer_) CancelThinking();
    if (!record_.Follows(side)) {
        CloseRecord();
        recordLevel_ = LevelName(expert_);
    }
    const bool byHuman = clicking_ && side == game_.HumanSide();
    record_.Add(side, move, byHuman ? Mover::Human : Mover::Computer, game_.GetBoard());
    recordUsed_ = true;
    recordWritten_ = false;
    if (byHuman) autoplayEnded_ = false;
}

void CExtrasView::StartRecord(const Board& board, bool setUp) {
    record_.Start(board, setUp);
    recordWritten_ = false;
    recordLevel_ = LevelName(expert_);
}

void CExtrasView::CloseRecord() {
    // Also a game taken back to its first position has had its number.
    if (!recordUsed_) return;
    AppendToPgnFile();
    ++gameNumber_;
    recordUsed_ = false;
}

std::string CExtrasView::PlayerName(Side side) const {
    const std::string computer = "Kelvane, " + recordLevel_;
    const bool human = record_.Record().MovedBy(side, Mover::Human);
    const bool machine = record_.Record().MovedBy(side, Mover::Computer);
    if (human && machine) return "Human and " + computer;
    if (human || (!machine && side == game_.HumanSide())) return "Human";
    return computer;
}

std::string CExtrasView::RecordPgn() const {
    const Verdict& verdict = game_.GetVerdict();
    const PgnHeader header{
        "Kelvane game",
        std::to_string(gameNumber_),
        PlayerName(2),
        PlayerName(1),
        GetRulesVariant(),
        std::string(game_.IsOver() ? TerminationOf(verdict.reason) : kUnfinishedTermination)};
    return FormatPgn(record_.Record(), header,
                     game_.IsOver() ? WonResult(verdict.winner) : kUnfinishedResult);
}

void CExtrasView::AppendToPgnFile() {
    if (options_.pgnFile == nullptr || record_.IsEmpty() || recordWritten_) return;
    recordWritten_ = true;
    const Status written = options_.pgnFile->Append(RecordPgn());
    if (written) return;
    if (HasWindow()) {
        MessageBox(written.reason(), kApplicationTitle, MB_OK);
    } else {
        std::cerr << "kelvane: " << written.reason() << "\n";
    }
}

void CExtrasView::OnKeyDown(unsigned virtualKey) {
    switch (virtualKey) {
        case VK_LEFT:
            MoveCursor(-1, 0);
            break;
        case VK_RIGHT:
            MoveCursor(1, 0);
            break;
        case VK_UP:
            MoveCursor(0, -1);
            break;
        case VK_DOWN:
            MoveCursor(0, 1);
            break;
        case VK_RETURN:
        case VK_SPACE:
            cursorShown_ = true;
            ClickSquare(cursor_);
            break;
        default:
            return;
    }
    CChessView::Invalidate();
    Announce(true);
}

void CExtrasView::MoveCursor(int columns, int rows) {
    // The first key only shows where the cursor is.
    if (!cursorShown_) {
        cursorShown_ = true;
        return;
    }
    Square screen = ScreenSquare(cursor_, turned_);
    screen.column = std::clamp(screen.column + columns, 0, kBoardDim - 1);
    screen.row = std::clamp(screen.row + rows, 0, kBoardDim - 1);
    cursor_ = ScreenSquare(screen, turned_);
}

void CExtrasView::Announce(bool again) {
    WindowBackend* window = GetWindow();
    if (window == nullptr) return;
    const GameState& state = TheGameState();
    std::string text = DescribeSquare(game_.GetBoard(), cursor_);
    const SquareRef here = MakeSquareRef(cursor_);
    if (state.SelectedSquare == here) text += ", selected";
    if (state.SelectedSquare != kNoSquare) {
        for (int i = 0; i < std::min<int>(state.TargetCount, 64); ++i) {
            if (DestinationOf(state.TargetMoves[static_cast<std::size_t>(i)]) == cursor_)
                text += ", a possible move";
        }
    }
    if (state.LastMoveSquare == here) text += ", last move";
    window->SetAccessibleText(text, again);
}

void CExtrasView::RefreshStatus() {
    std::string text;
    if (game_.IsOver()) {
        text = autoplayEnded_ ? AutoplayVerdictText(game_.GetVerdict())
                              : VerdictText(game_.GetVerdict(), game_.HumanSide());
        if (!record_.LastMove().empty()) text += " Last move: " + record_.LastMove();
    } else if (!explanation_.empty()) {
        text = explanation_;
    } else {
        const bool humanToMove = game_.SideToMove() == game_.HumanSide();
        text = TurnText({record_.Record().MoveNumber(), game_.SideToMove(),
                         humanToMove && !autoplayOn_, IsThinking(),
                         expert_ && !humanToMove && !autoplayOn_, record_.LastMove()});
    }
    if (text != status_) {
        status_ = text;
        if (WindowBackend* window = GetWindow()) window->SetStatusText(status_);
    }
    Announce();
}

void CExtrasView::ClearExplanation() {
    explanation_.clear();
    if (capturers_.empty()) return;
    capturers_.clear();
    CChessView::Invalidate();  // their frames go
}

}  // namespace kelvane
