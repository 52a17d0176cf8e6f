// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/play_session.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <span>
#include <vector>

#include "cli/board_text.h"
#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/number.h"
#include "cli/printable.h"
#include "game/game_state.h"
#include "game/saved_game_file.h"
#include "record/pgn_writer.h"
#include "rules/move_generation.h"
#include "rules/notation.h"
#include "rules/piece_moves.h"

namespace kelvane::cli {

namespace {

constexpr int kMaxAutoplayMoves = 100000;
// Keeps an echo of the player's input on one line.
constexpr std::size_t kLongestEcho = 40;

constexpr std::string_view kAccepted =
    "Type a move (e2e3), a square (e2), or one of: moves, hint, undo, new, computer, "
    "level easy|medium|hard|expert, rules king|all, save, load, autoplay N, board, help, quit.";

constexpr std::string_view kHelp =
    "You play White (the capital letters, or the white symbols) and move first; the computer\n"
    "plays Black. The side that loses its king (rules king) or all its pieces (rules all)\n"
    "wins, and a side that can capture must capture.\n"
    "  e2e3            move the piece on e2 to e3\n"
    "  e2              list the moves of the piece on e2\n"
    "  moves           list all your legal moves\n"
    "  hint            suggest a move\n"
    "  undo            take back your last move and the reply\n"
    "  new             start a new game\n"
    "  computer        start a new game in which the computer opens\n"
    "  level L         easy, medium, hard or expert\n"
    "  rules R         king (king must die) or all (all must die)\n"
    "  save, load      save or load the position (game.sav in this folder)\n"
    "  autoplay N      the computer makes the next N moves for both sides\n"
    "  board           show the board again\n"
    "  help            this text\n"
    "  quit            end the program\n";

std::string JoinMoves(std::span<const MoveWord> moves) {
    std::string text;
    for (const MoveWord move : moves) {
        if (!text.empty()) text += ' ';
        text.append(MoveToText(move));
    }
    return text;
}

std::vector<MoveWord> WhiteMoves(const Board& board) {
    MoveList list;
    const int last = GenerateMoves(board, std::span<MoveWord>(list), 2);
    return {list.begin(), list.begin() + (last + 1)};
}

// White's captures, empty when it has none: the generator lists captures only, or no capture.
std::vector<MoveWord> WhiteCaptures(const Board& board) {
    std::vector<MoveWord> moves = WhiteMoves(board);
    if (!moves.empty() && board[IndexOf(DestinationOf(moves.front()))] == 0) moves.clear();
    return moves;
}

// Whether the move would be one of White's moves to an empty square if no capture were
// compulsory: with every Black piece replaced by a White pawn, White has nothing to capture,
// while every square stays as blocked as before.
bool IsQuietMoveOfPiece(const Board& board, MoveWord move) {
    Board withoutCaptures = board;
    for (SquareCode& code : withoutCaptures) {
        if (SideOf(code) == 1) code = kWhitePawn;
    }
    const std::vector<MoveWord> quiet = WhiteMoves(withoutCaptures);
    return std::find(quiet.begin(), quiet.end(), move) != quiet.end();
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(" \t\r") - begin + 1);
}

}  // namespace

FreshGameState::FreshGameState() {
    ResetGameState();
}

PlaySession::PlaySession(const PlayOptions& options, std::ostream& out, std::ostream& err)
    : options_(options), out_(out), err_(err), game_(*this) {
    pgnOpened_ = pgn_.Open(options.pgnFile);
    SetRulesVariant(options.rules);
    SetGameResult(0);
    SetSearchDepth(options.depth);
    UseExpert(options.expert);
}

void PlaySession::UseExpert(bool on) {
    if (!on) {
        expert_.reset();
        game_.SetComputerPlayer({});
        return;
    }
    if (!expert_) {
        expert_ = std::make_unique<ExpertSearch>();
        expert_->SetVariety(options_.vary);
    }
    game_.SetComputerPlayer([this](const Board& board, Side side) {
        ExpertLimits limits;
        limits.movetimeMs = options_.movetimeMs;
        return expert_->Think(board, side, GetRulesVariant(), limits).move;
    });
}

std::string PlaySession::LevelText() const {
    return expert_ ? "expert" : LevelName(GetSearchDepth());
}

void PlaySession::Start() {
    out_ << "Kelvane, losing chess: you play White; a side that can capture must capture.\n"
         << "Level " << LevelText() << ", "
         << (GetRulesVariant() == kAllMustDie ? "all must die" : "king must die")
         << ". Type help for the commands.\n";
    if (options_.computerStarts) {
        BeginNewGame(true);
    } else {
        ShowBoard();
    }
}

void PlaySession::ShowBoard() {
    out_ << BoardToText(game_.GetBoard(), options_.ascii);
}

void PlaySession::PrintHelp() {
    out_ << kHelp;
}

void PlaySession::MovePlayed(Side side, MoveWord move) {
    // Autoplay after the human's move leaves Black two moves in a row; a record cannot hold
    // that, so the game so far is written and a record starts from the position.
    if (record_.SideToMove() != 0 && record_.SideToMove() != side) {
        WriteRecord(kUnfinishedResult);
        record_.Start(record_.Current(), true);
    }
    const Board before = record_.Current();
    if (autoplaying_ || side == 1) out_ << SideName(side) << " plays " << MoveToText(move) << '\n';
    out_ << DescribeMove(before, side, move) << '\n';
    ShowBoard();
    record_.Add(side, move);
    if (record_.Current() != game_.GetBoard()) record_.Start(game_.GetBoard(), true);
    if (options_.draws && pendingDraw_ == Draw::None) pendingDraw_ = record_.DrawByRule();
}

void PlaySession::AnnounceResult(const std::string& text) {
    out_ << text << '\n';
    WriteRecord(PgnResultOf(text));
    Board start;
    SetUpStartingPosition(start);
    record_.Start(start, false);
    pendingDraw_ = Draw::None;
    ended_ = true;
}

void PlaySession::ReportFileProblem(const std::string& text) {
    out_ << text << '\n';
    fileProblem_ = true;
}

void PlaySession::WriteRecord(std::string_view result) {
    if (options_.pgnFile.empty() || record_.Moves().empty()) return;
    const PgnHeader header{"Kelvane game", std::to_string(++gamesWritten_), "Human",
                           "Kelvane, " + LevelText(), GetRulesVariant()};
    if (const Status written = pgn_.Append(FormatPgn(record_, header, result)); !written)
        err_ << "kelvane-cli play: " << written.reason() << '\n';
}

void PlaySession::BeginNewGame(bool computerStarts) {
    WriteRecord(kUnfinishedResult);
    Board start;
    SetUpStartingPosition(start);
    record_.Start(start, false);
    if (computerStarts) {
        out_ << "New game: the computer opens, you play White.\n";
        game_.ComputerStarts();
    } else {
        out_ << "New game: you play White.\n";
        game_.NewGame();
        ShowBoard();
    }
}

void PlaySession::AfterMoves() {
    if (pendingDraw_ != Draw::None && !ended_) {
        out_ << DrawText(pendingDraw_) << '\n';
        WriteRecord(kDrawResult);
        Board start;
        SetUpStartingPosition(start);
        record_.Start(start, false);
        game_.NewGame();
        ended_ = true;
    }
    pendingDraw_ = Draw::None;
    if (ended_) {
        out_ << "New game: you play White.\n";
        ShowBoard();
    }
    ended_ = false;
}

void PlaySession::PlayHumanMove(MoveWord move) {
    const Board& board = game_.GetBoard();
    const Square from = OriginOf(move);
    if (SideOf(board[IndexOf(from)]) != 2) {
        out_ << "There is no piece of yours on " << SquareToText(from) << ".\n";
        return;
    }
    const std::vector<MoveWord> legal = WhiteMoves(board);
    if (std::find(legal.begin(), legal.end(), move) == legal.end()) {
        ExplainRefusal(board, move);
        return;
    }
    if (options_.draws && record_.SideToMove() != 1) {
        // The draw comes before the computer's reply, which the game would make at once.
        GameRecord after = record_;
        after.Add(2, move);
        if (after.DrawByRule() != Draw::None) {
            const Board before = record_.Current();
            out_ << DescribeMove(before, 2, move) << '\n'
                 << BoardToText(after.Current(), options_.ascii);
            record_ = after;
            pendingDraw_ = after.DrawByRule();
            AfterMoves();
            return;
        }
    }
    if (TheGameState().SelectedSquare != kNoSquare) game_.Click(std::nullopt);
    game_.Click(from);
    game_.Click(DestinationOf(move));
    AfterMoves();
}

void PlaySession::ExplainRefusal(const Board& board, MoveWord move) {
    const std::vector<MoveWord> captures = WhiteCaptures(board);
    if (!captures.empty() && IsQuietMoveOfPiece(board, move)) {
        out_ << "You must capture: " << JoinMoves(captures) << '\n';
        return;
    }
    out_ << "Your " << PieceName(board[IndexOf(OriginOf(move))]) << " on "
         << SquareToText(OriginOf(move)) << " cannot go to " << SquareToText(DestinationOf(move))
         << ".\n";
    if (!captures.empty()) out_ << "You must capture: " << JoinMoves(captures) << '\n';
}

void PlaySession::ShowTargets(Square square) {
    const Board& board = game_.GetBoard();
    const SquareCode code = board[IndexOf(square)];
    const std::string name = SquareToText(square);
    if (SideOf(code) != 2) {
        out_ << "There is no piece of yours on " << name << ".\n";
        return;
    }
    TargetMoveList targets;
    int count = 0;
    GeneratePieceMoves(board, square.column, square.row, targets, count);
    std::string piece = PieceName(code);
    piece[0] = static_cast<char>(piece[0] - 'a' + 'A');
    if (count > 0) {
        out_ << piece << " on " << name << ": "
             << JoinMoves(
                    std::span<const MoveWord>(targets.data(), static_cast<std::size_t>(count)))
             << '\n';
        return;
    }
    out_ << piece << " on " << name << " has no legal move.\n";
    if (const std::vector<MoveWord> captures = WhiteCaptures(board); !captures.empty())
        out_ << "You must capture: " << JoinMoves(captures) << '\n';
}

void PlaySession::Autoplay(std::string_view count) {
    const Result<int> moves = ParseNumber(count, "autoplay", 1, kMaxAutoplayMoves);
    if (!moves) {
        out_ << "autoplay takes a number of moves, 1 to " << kMaxAutoplayMoves << ".\n";
        return;
    }
    autoplaying_ = true;
    game_.StartAutoplay();
    for (int i = 0; i < *moves && !ended_ && pendingDraw_ == Draw::None && !Interrupted(); ++i)
        game_.AutoplayTick();
    game_.StopAutoplay();
    autoplaying_ = false;
    AfterMoves();
}

void PlaySession::Undo() {
    const int before = TheGameState().UndoCount;
    game_.Undo();
    if (TheGameState().UndoCount == before) {
        out_ << "There is no move to take back.\n";
        return;
    }
    record_.TakeBackTo(game_.GetBoard());
    out_ << "Took back your last move and everything after it.\n";
    ShowBoard();
}

void PlaySession::Save() {
    fileProblem_ = false;
    game_.Save(kSavedGameFileName);
    if (!fileProblem_) out_ << "Saved the position to " << kSavedGameFileName << ".\n";
}

void PlaySession::Load() {
    const SavedGameRead::Status status = ReadSavedGame(kSavedGameFileName).status;
    if (status == SavedGameRead::Status::Loaded) WriteRecord(kUnfinishedResult);
    fileProblem_ = false;
    game_.Load(kSavedGameFileName);
    if (fileProblem_) return;
    if (status != SavedGameRead::Status::Loaded) {
        out_ << "There is no saved game (" << kSavedGameFileName << ") here.\n";
        return;
    }
    record_.Start(game_.GetBoard(), true);
    out_ << "Loaded " << kSavedGameFileName << "; you play White.\n";
    ShowBoard();
}

bool PlaySession::Handle(std::string_view line) {
    line = Trimmed(line);
    if (line.empty()) return true;
    const std::size_t space = line.find_first_of(" \t");
    const std::string_view word = line.substr(0, space);
    const std::string_view argument =
        space == std::string_view::npos ? std::string_view() : Trimmed(line.substr(space));

    if (argument.empty()) {
        if (const std::optional<MoveWord> move = MoveFromText(word)) {
            PlayHumanMove(*move);
            return true;
        }
        if (const std::optional<Square> square = SquareFromText(word)) {
            ShowTargets(*square);
            return true;
        }
    }
    // Each command word: whether it takes an argument, and what it does; nothing for quit.
    struct Command {
        bool takesArgument;
        void (*run)(PlaySession& session, std::string_view argument);
    };
    static const std::map<std::string_view, Command> kCommands = {
        {"moves", {false, [](PlaySession& s, std::string_view) { s.ListMoves(); }}},
        {"hint", {false, [](PlaySession& s, std::string_view) { s.ShowHint(); }}},
        {"undo", {false, [](PlaySession& s, std::string_view) { s.Undo(); }}},
        {"new", {false, [](PlaySession& s, std::string_view) { s.BeginNewGame(false); }}},
        {"computer", {false, [](PlaySession& s, std::string_view) { s.BeginNewGame(true); }}},
        {"save", {false, [](PlaySession& s, std::string_view) { s.Save(); }}},
        {"load", {false, [](PlaySession& s, std::string_view) { s.Load(); }}},
        {"board", {false, [](PlaySession& s, std::string_view) { s.ShowBoard(); }}},
        {"help", {false, [](PlaySession& s, std::string_view) { s.PrintHelp(); }}},
        {"quit", {false, nullptr}},
        {"level", {true, [](PlaySession& s, std::string_view a) { s.SetLevel(a); }}},
        {"rules", {true, [](PlaySession& s, std::string_view a) { s.SetRules(a); }}},
        {"autoplay", {true, [](PlaySession& s, std::string_view a) { s.Autoplay(a); }}},
    };
    const auto command = kCommands.find(word);
    if (command == kCommands.end() || (!command->second.takesArgument && !argument.empty())) {
        out_ << "Unknown input '" << Printable(line, kLongestEcho) << "'. " << kAccepted << '\n';
        return true;
    }
    if (command->second.run == nullptr) return false;
    command->second.run(*this, argument);
    return true;
}

void PlaySession::ListMoves() {
    const std::vector<MoveWord> moves = WhiteMoves(game_.GetBoard());
    out_ << (moves.empty() ? std::string("White has no legal move.") : JoinMoves(moves)) << '\n';
}

void PlaySession::ShowHint() {
    game_.Hint();
    const GameState& state = TheGameState();
    if (state.HasHint())
        out_ << "Hint: " << MoveToText(PackMove(state.HintFrom, state.HintTo)) << '\n';
    else
        out_ << "No hint: White has no legal move.\n";
}

void PlaySession::SetLevel(std::string_view level) {
    if (const std::optional<int> depth = DepthOfLevel(level)) {
        SetSearchDepth(*depth);
        UseExpert(false);
        out_ << "Level " << level << ".\n";
    } else if (level == "expert") {
        UseExpert(true);
        out_ << "Level expert.\n";
    } else {
        out_ << "level takes easy, medium, hard or expert.\n";
    }
}

void PlaySession::SetRules(std::string_view word) {
    if (const Result<int> rules = ParseRules(word)) {
        SetRulesVariant(*rules);
        out_ << (*rules == kAllMustDie ? "Rules: all must die." : "Rules: king must die.") << '\n';
    } else {
        out_ << "rules takes king or all.\n";
    }
}

void PlaySession::Finish() {
    WriteRecord(kUnfinishedResult);
}

Result<int> RunPlay(const PlayOptions& options, std::istream& in, std::ostream& out,
                    std::ostream& err) {
    PlaySession session(options, out, err);
    if (!session.PgnOpened()) return Failure{session.PgnOpened().reason()};
    // The output is checked after each line, keeping the cause of a failed write.
    int lostOutput = 0;
    const auto written = [&] {
        out.flush();
        if (!out) lostOutput = errno != 0 ? errno : EIO;
        errno = 0;
        return lostOutput == 0;
    };
    errno = 0;
    session.Start();
    std::string line;
    bool goOn = written();
    while (goOn && !Interrupted() && std::getline(in, line))
        goOn = session.Handle(line) && written();
    session.Finish();
    if (lostOutput == 0) written();
    if (lostOutput != 0)
        err << "kelvane-cli play: cannot write the output: " << std::strerror(lostOutput) << '\n';
    if (session.PgnFailed() || lostOutput != 0) return kExitWriteFailed;
    return Interrupted() ? kExitInterrupted : kExitOk;
}

}  // namespace kelvane::cli
