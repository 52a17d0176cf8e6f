// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/play_session.h"

#include <cerrno>
#include <cstring>
#include <map>
#include <span>
#include <vector>

#include "cli/board_text.h"
#include "cli/commands.h"
#include "cli/input_line.h"
#include "cli/interrupt.h"
#include "cli/number.h"
#include "cli/printable.h"
#include "engine/search_depth.h"
#include "game/game_state.h"
#include "game/saved_game_file.h"
#include "rules/notation.h"
#include "rules/piece_moves.h"
#include "rules/san.h"

namespace kelvane::cli {

namespace {

constexpr int kMaxAutoplayMoves = 100000;
// Keeps an echo of the player's input on one line.
constexpr std::size_t kLongestEcho = 40;

constexpr std::string_view kHelp =
    "Moves: standard notation (e3, Nf3, Bxb5, exd5, e8=Q) or coordinates (e2e3, E2-E4,\n"
    "f1xb5). A side that can capture must capture; there is no castling and no en passant,\n"
    "and a pawn on the far row always becomes a queen.\n"
    "  e2              list the moves of the piece on e2\n"
    "  moves           list every legal move of the side to move\n"
    "  hint            suggest a move (the computer looks 4 plies ahead at every level)\n"
    "  go              let the computer play the side to move, once\n"
    "  autoplay N      let the computer play the next N moves, from the side to move\n"
    "  undo            take back your last move and everything after it\n"
    "  resign          give up the game\n"
    "  new [white|black]  a new game, on your side or on the one named\n"
    "  computer        a new game in which the computer opens\n"
    "  level [L]       easy (2 plies), medium (4), hard (6) or expert; alone, the level\n"
    "  rules [R]       king (king must die) or all (all must die); alone, the rules\n"
    "  save, load      save or load the position (game.sav in this folder)\n"
    "  board [on|off]  show the board now, or after every turn or not\n"
    "  last            the last move again\n"
    "  help, ?         this text\n"
    "  quit, exit      end the program\n";

std::string JoinMoves(std::span<const MoveWord> moves) {
    std::string text;
    for (const MoveWord move : moves) {
        if (!text.empty()) text += ' ';
        text.append(MoveToText(move));
    }
    return text;
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(" \t\r") - begin + 1);
}

const char* RulesName(int rules) {
    return rules == kAllMustDie ? "all must die" : "king must die";
}

std::string Lowered(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
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
    // The terminal keeps a finished game on the board, and answers a move itself, so that a
    // draw can come before the reply.
    game_.SetKeepFinalPosition(true);
    game_.SetReplyAtOnce(false);
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
    out_ << "Kelvane, losing chess: you play " << SideName(options_.humanSide)
         << "; a side that can capture must capture.\n"
         << "Level " << LevelText() << ", " << RulesName(GetRulesVariant())
         << ". Type ? for help.\n";
    StartGame(options_.computerStarts);
    AfterCommand();
}

std::string PlaySession::Prompt() const {
    if (ending_) return "Game over> ";
    return std::to_string(record_.MoveNumber()) + ". " + SideName(game_.SideToMove()) +
           " to move> ";
}

void PlaySession::ShowBoard() {
    BoardLook look{options_.ascii, options_.humanSide, std::nullopt};
    if (!record_.Moves().empty()) look.marked = DestinationOf(record_.Moves().back());
    out_ << BoardToText(game_.GetBoard(), look);
}

void PlaySession::PrintHelp() {
    out_ << "You play " << SideName(options_.humanSide) << ", the computer "
         << SideName(Opponent(options_.humanSide))
         << ".\nThe side that loses its king (rules king) or all its pieces (rules all) wins, and\n"
            "so does a side that has no move at its turn.\n"
         << kHelp;
}

std::string PlaySession::MoveLine(std::size_t i) const {
    const Board& before = record_.Before(i);
    const MoveWord move = record_.Moves()[i];
    const Side side = SideOf(before[IndexOf(OriginOf(move))]);
    return std::string(SideName(side)) + " plays " + MoveToText(move) + " (" +
           MoveToSan(before, side, move) + "): " + DescribeMove(before, move) + ".";
}

void PlaySession::MovePlayed(Side side, MoveWord move) {
    // A side that moves twice in a row cannot be written in one record: the game so far is
    // written and a record starts from the position.
    if (record_.SideToMove() != 0 && record_.SideToMove() != side) {
        WriteRecord();
        StartRecord(Board(record_.Current()), true);
    }
    record_.Add(side, move, humanMoving_ ? Mover::Human : Mover::Computer);
    humanMoving_ = false;
    if (record_.Current() != game_.GetBoard()) record_.Start(game_.GetBoard(), true);
    out_ << MoveLine(record_.Moves().size() - 1) << '\n';
    boardDue_ = true;
    if (options_.draws && pendingDraw_ == Draw::None) pendingDraw_ = record_.DrawByRule();
}

void PlaySession::GameOver(const Verdict& verdict) {
    const char* text =
        autoplaying_ ? AutoplayVerdictText(verdict) : VerdictText(verdict, options_.humanSide);
    End({text, WonResult(verdict.winner), TerminationOf(verdict.reason)});
}

void PlaySession::ComputerToMove(Side) {
    replyDue_ = true;
}

void PlaySession::ReportFileProblem(const std::string& text) {
    out_ << text << '\n';
    fileProblem_ = true;
}

void PlaySession::End(Ending ending) {
    ending_ = std::move(ending);
    endingDue_ = true;
}

void PlaySession::AfterCommand() {
    if (options_.draws && pendingDraw_ != Draw::None && !ending_) {
        End({DrawText(pendingDraw_), kDrawResult,
             pendingDraw_ == Draw::Repetition ? kRepetitionTermination : kFiftyMovesTermination});
    }
    if (boardDue_ && options_.showBoard) ShowBoard();
    boardDue_ = false;
    if (endingDue_) out_ << ending_->text << ' ' << ending_->result << '\n';
    endingDue_ = false;
}

bool PlaySession::GameGoesOn() {
    if (!ending_) return true;
    out_ << "The game is over (" << ending_->result << "): type new for another, or undo.\n";
    return false;
}

std::string PlaySession::PlayerName(Side side) const {
    const std::string computer = "Kelvane, " + recordLevel_;
    const bool human = record_.MovedBy(side, Mover::Human);
    const bool machine = record_.MovedBy(side, Mover::Computer);
    if (human && machine) return "Human and " + computer;
    if (human || (!machine && side == options_.humanSide)) return "Human";
    return computer;
}

void PlaySession::WriteRecord() {
    if (options_.pgnFile.empty() || record_.Moves().empty()) return;
    const PgnHeader header{
        "Kelvane game", std::to_string(++gamesWritten_),
        PlayerName(2),  PlayerName(1),
        recordRules_,   std::string(ending_ ? ending_->termination : kUnfinishedTermination)};
    const std::string_view result = ending_ ? ending_->result : kUnfinishedResult;
    if (const Status written = pgn_.Append(FormatPgn(record_, header, result)); !written)
        err_ << "kelvane-cli play: " << Printable(written.reason()) << '\n';
}

void PlaySession::StartRecord(const Board& board, bool setUp) {
    record_.Start(board, setUp);
    recordLevel_ = LevelText();
    recordRules_ = GetRulesVariant();
}

void PlaySession::StartGame(bool computerOpens) {
    WriteRecord();
    ending_.reset();
    pendingDraw_ = Draw::None;
    game_.SetHumanSide(options_.humanSide);
    game_.NewGame();
    StartRecord(game_.GetBoard(), false);
    boardDue_ = true;
    if (options_.humanSide == 2 && computerOpens) {
        game_.ComputerStarts();
    } else if (game_.SideToMove() != options_.humanSide) {
        // White moves first: the computer's when the human plays Black.
        game_.PlayComputerMove();
    }
}

void PlaySession::NewGame(std::string_view side, bool computerOpens) {
    if (side == "white" || side == "black") {
        options_.humanSide = side == "white" ? 2 : 1;
    } else if (!side.empty()) {
        out_ << "new takes white or black.\n";
        return;
    }
    out_ << "New game: you play " << SideName(options_.humanSide) << ".\n";
    StartGame(computerOpens);
}

void PlaySession::PlayTypedMove(const MoveInput& input) {
    if (!GameGoesOn()) return;
    const MoveWord previous = record_.Moves().empty() ? NoMove : record_.Moves().back();
    const MoveReading reading =
        ReadMove(game_.GetBoard(), game_.SideToMove(), input, previous, Voice::Player);
    if (reading.move == NoMove) {
        ExplainRefusal(reading);
        return;
    }
    humanMoving_ = true;
    replyDue_ = false;
    game_.PlayMove(reading.move);
    humanMoving_ = false;
    // A draw made by the human's move comes before the reply.
    if (replyDue_ && !ending_ && pendingDraw_ == Draw::None) game_.PlayComputerMove();
    replyDue_ = false;
}

void PlaySession::ExplainRefusal(const MoveReading& reading) {
    out_ << reading.why;
    if (!reading.candidates.empty()) out_ << ": " << JoinMoves(reading.candidates);
    if (reading.onlyForCapture) {
        out_ << ": " << JoinMoves(reading.captures) << '\n';
        return;
    }
    out_ << ".\n";
    if (!reading.captures.empty())
        out_ << "You must capture: " << JoinMoves(reading.captures) << '\n';
}

void PlaySession::ShowTargets(Square square) {
    const Board& board = game_.GetBoard();
    const SquareCode code = board[IndexOf(square)];
    const std::string name = SquareToText(square);
    TargetMoveList targets;
    int count = 0;
    GeneratePieceMoves(board, square.column, square.row, targets, count, game_.SideToMove());
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
    if (const std::vector<MoveWord> captures = CompulsoryCaptures(board, game_.SideToMove());
        !captures.empty())
        out_ << "You must capture: " << JoinMoves(captures) << '\n';
}

void PlaySession::ListMoves() {
    const Side side = game_.SideToMove();
    const std::vector<MoveWord> moves = LegalMoves(game_.GetBoard(), side);
    if (moves.empty())
        out_ << SideName(side) << " has no legal move.\n";
    else
        out_ << JoinMoves(moves) << '\n';
}

void PlaySession::ShowHint() {
    if (!GameGoesOn()) return;
    game_.Hint();
    const GameState& state = TheGameState();
    if (state.HasHint())
        out_ << "Hint: " << MoveToText(PackMove(state.HintFrom, state.HintTo)) << '\n';
    else
        out_ << "No hint: " << SideName(options_.humanSide) << " has no legal move.\n";
}

void PlaySession::ShowLastMove() {
    if (record_.Moves().empty())
        out_ << "No move has been played in this game yet.\n";
    else
        out_ << "Last move: " << MoveLine(record_.Moves().size() - 1) << '\n';
}

void PlaySession::Go() {
    if (!GameGoesOn()) return;
    game_.PlayComputerMove();
}

void PlaySession::Autoplay(std::string_view count) {
    const Result<int> moves = ParseNumber(count, "autoplay", 1, kMaxAutoplayMoves);
    if (!moves) {
        out_ << "autoplay takes a number of moves, 1 to " << kMaxAutoplayMoves << ".\n";
        return;
    }
    if (!GameGoesOn()) return;
    autoplaying_ = true;
    for (int i = 0; i < *moves && !ending_ && pendingDraw_ == Draw::None && !Interrupted(); ++i)
        game_.PlayComputerMove();
    autoplaying_ = false;
}

void PlaySession::Resign() {
    if (!GameGoesOn()) return;
    End({"I won: you resigned.", WonResult(Opponent(options_.humanSide)), kResignationTermination});
}

void PlaySession::Undo() {
    const int before = TheGameState().UndoCount;
    game_.Undo();
    if (TheGameState().UndoCount == before) {
        out_ << "There is no move to take back.\n";
        return;
    }
    ending_.reset();
    pendingDraw_ = Draw::None;
    record_.TakeBackTo(game_.GetBoard(), game_.SideToMove());
    out_ << "Took back your last move and everything after it.\n";
    boardDue_ = true;
}

void PlaySession::Save() {
    fileProblem_ = false;
    game_.Save(kSavedGameFileName);
    if (!fileProblem_) out_ << "Saved the position to " << kSavedGameFileName << ".\n";
}

void PlaySession::Load() {
    const SavedGameRead saved = ReadSavedGame(kSavedGameFileName);
    const SavedGameRead::Status status = saved.status;
    if (status == SavedGameRead::Status::Loaded) WriteRecord();
    fileProblem_ = false;
    game_.Load(kSavedGameFileName);
    if (fileProblem_) return;
    if (status != SavedGameRead::Status::Loaded) {
        // The window says nothing of a file it cannot open; here the player is told why.
        if (!saved.message.empty())
            out_ << saved.message << '\n';
        else
            out_ << "There is no saved game (" << kSavedGameFileName << ") here.\n";
        return;
    }
    ending_.reset();
    pendingDraw_ = Draw::None;
    StartRecord(game_.GetBoard(), true);
    out_ << "Loaded " << kSavedGameFileName << "; you play " << SideName(options_.humanSide)
         << ".\n";
    boardDue_ = true;
}

void PlaySession::SetLevel(std::string_view level) {
    if (level.empty()) {
        out_ << "Level " << LevelText() << ".\n";
        return;
    }
    const std::optional<int> depth = DepthOfLevel(level);
    if (!depth && level != "expert") {
        out_ << "level takes easy, medium, hard or expert.\n";
        return;
    }
    if (depth) SetSearchDepth(*depth);
    UseExpert(!depth);
    // The record's tags name the level the game began with; a change is noted where it came.
    if (record_.Moves().empty())
        recordLevel_ = LevelText();
    else if (!ending_)
        record_.Remark("Level " + LevelText());
    out_ << "Level " << LevelText() << ".\n";
}

void PlaySession::SetRules(std::string_view word) {
    if (word.empty()) {
        out_ << "Rules: " << RulesName(GetRulesVariant()) << ".\n";
        return;
    }
    const Result<int> rules = ParseRules(word);
    if (!rules) {
        out_ << "rules takes king or all.\n";
        return;
    }
    SetRulesVariant(*rules);
    // Other rules make another game: the record so far is written, and a new one begins.
    if (!ending_ && !record_.Moves().empty()) {
        WriteRecord();
        StartRecord(game_.GetBoard(), true);
    } else if (!ending_) {
        recordRules_ = *rules;
    }
    out_ << "Rules: " << RulesName(*rules) << ".\n";
}

void PlaySession::SetBoardShown(std::string_view word) {
    if (word.empty()) {
        ShowBoard();
    } else if (word == "on" || word == "off") {
        options_.showBoard = word == "on";
        out_ << "The board is shown " << (options_.showBoard ? "after every turn" : "on request")
             << ".\n";
    } else {
        out_ << "board takes on or off.\n";
    }
}

bool PlaySession::Handle(std::string_view line) {
    line = Trimmed(line);
    if (line.empty()) return true;
    const std::size_t space = line.find_first_of(" \t");
    const std::string_view word = line.substr(0, space);
    const std::string_view argument =
        space == std::string_view::npos ? std::string_view() : Trimmed(line.substr(space));

    enum class Takes { Nothing, Maybe, Something };
    struct Command {
        Takes argument;
        void (*run)(PlaySession& session, std::string_view argument);
    };
    using S = PlaySession&;
    using A = std::string_view;
    static const std::map<std::string_view, Command> kCommands = {
        {"moves", {Takes::Nothing, [](S s, A) { s.ListMoves(); }}},
        {"hint", {Takes::Nothing, [](S s, A) { s.ShowHint(); }}},
        {"undo", {Takes::Nothing, [](S s, A) { s.Undo(); }}},
        {"go", {Takes::Nothing, [](S s, A) { s.Go(); }}},
        {"resign", {Takes::Nothing, [](S s, A) { s.Resign(); }}},
        {"new", {Takes::Maybe, [](S s, A a) { s.NewGame(a, s.options_.computerStarts); }}},
        {"computer", {Takes::Nothing, [](S s, A) { s.NewGame({}, true); }}},
        {"save", {Takes::Nothing, [](S s, A) { s.Save(); }}},
        {"load", {Takes::Nothing, [](S s, A) { s.Load(); }}},
        {"board", {Takes::Maybe, [](S s, A a) { s.SetBoardShown(a); }}},
        {"last", {Takes::Nothing, [](S s, A) { s.ShowLastMove(); }}},
        {"help", {Takes::Nothing, [](S s, A) { s.PrintHelp(); }}},
        {"?", {Takes::Nothing, [](S s, A) { s.PrintHelp(); }}},
        {"quit", {Takes::Nothing, nullptr}},
        {"exit", {Takes::Nothing, nullptr}},
        {"level", {Takes::Maybe, [](S s, A a) { s.SetLevel(a); }}},
        {"rules", {Takes::Maybe, [](S s, A a) { s.SetRules(a); }}},
        {"autoplay", {Takes::Something, [](S s, A a) { s.Autoplay(a); }}},
    };
    const auto command = kCommands.find(word);
    if (command != kCommands.end()) {
        const Takes takes = command->second.argument;
        if ((takes == Takes::Nothing && argument.empty()) ||
            (takes == Takes::Something && !argument.empty()) || takes == Takes::Maybe) {
            if (command->second.run == nullptr) return false;
            command->second.run(*this, argument);
            AfterCommand();
            return true;
        }
    } else if (argument.empty()) {
        // A square holding a piece of the side to move lists its moves; any other square is a
        // pawn's move there, as e4 is.
        const std::optional<Square> square = SquareFromText(Lowered(std::string(word)));
        if (square && SideOf(game_.GetBoard()[IndexOf(*square)]) == game_.SideToMove()) {
            ShowTargets(*square);
            return true;
        }
        if (const std::optional<MoveInput> move = ReadMoveInput(word)) {
            PlayTypedMove(*move);
            AfterCommand();
            return true;
        }
    }
    out_ << "Unknown input '" << Printable(line, kLongestEcho) << "': type ? for help.\n";
    return true;
}

void PlaySession::Finish() {
    WriteRecord();
}

Result<int> RunPlay(const PlayOptions& options, LineReader& in, std::ostream& out,
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
    bool goOn = written();
    while (goOn && !Interrupted()) {
        const std::optional<std::string> line = in.Next(session.Prompt());
        if (!line) break;
        if (line->size() > kLongestInputLine) {
            out << "Input line too long (over " << kLongestInputLine << " bytes): ignored.\n";
            goOn = written();
            continue;
        }
        goOn = session.Handle(*line) && written();
    }
    session.Finish();
    if (lostOutput == 0) written();
    if (lostOutput != 0)
        err << "kelvane-cli play: cannot write the output: " << std::strerror(lostOutput) << '\n';
    if (session.PgnFailed() || lostOutput != 0) return kExitWriteFailed;
    return Interrupted() ? InterruptedStatus() : kExitOk;
}

Result<int> RunPlay(const PlayOptions& options, std::istream& in, std::ostream& out,
                    std::ostream& err) {
    const std::unique_ptr<LineReader> lines = PlainLines(in);
    return RunPlay(options, *lines, out, err);
}

}  // namespace kelvane::cli
