// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/commands.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "cli/board_text.h"
#include "cli/expert_commands.h"
#include "cli/interrupt.h"
#include "cli/line_reader.h"
#include "cli/number.h"
#include "cli/play_options.h"
#include "cli/play_session.h"
#include "cli/position_source.h"
#include "cli/printable.h"
#include "cli/replay.h"
#include "cli/selfplay.h"
#include "cli/uci_session.h"
#include "engine/benchmark_positions.h"
#include "engine/search.h"
#include "engine/search_depth.h"
#include "kelvane_version.h"
#include "rules/evaluation.h"
#include "rules/move_generation.h"
#include "rules/notation.h"

namespace kelvane::cli {

namespace {

// Depth 9 already takes about half a minute; deeper searches would never end for a user.
constexpr int kMaxDepth = 10;
constexpr int kLongestSelfplay = 1000000;

using Args = std::span<const std::string>;

const std::map<std::string_view, std::string_view> kUsage = {
    {"moves",
     "usage: kelvane-cli moves POSITION SIDE\n"
     "  Lists SIDE's legal moves in the generator's order, one per line (e.g. g7g6).\n"},
    {"search",
     "usage: kelvane-cli search POSITION SIDE DEPTH [--rules king|all]\n"
     "       kelvane-cli search POSITION SIDE --level expert [--movetime MS | --nodes N]\n"
     "                          [--depth N] [--rules king|all] [--vary SEED]\n"
     "  Line 1: the chosen move, or none. Line 2: nodes N (calls of the search, root\n"
     "  included). Line 3: time T ms. DEPTH is 0 to 10.\n"
     "  With --level expert: the move, its score (cp N, or win/loss in N plies), the depth\n"
     "  reached, the nodes and the time; it thinks 1000 ms unless a limit is given.\n"},
    {"perft",
     "usage: kelvane-cli perft POSITION SIDE DEPTH\n"
     "  Counts the move sequences of DEPTH (0 to 10) plies, sides alternating.\n"},
    {"selfplay",
     "usage: kelvane-cli selfplay [--depth N] [--rules king|all] [--max-plies N] [--positions]\n"
     "                            [--draws] [--pgn FILE]\n"
     "  The computer plays both sides from the start, Black opening with g7g6; one move per\n"
     "  line, then the winner. --positions adds the placement after each move. --draws ends\n"
     "  the game at a threefold repetition or after fifty moves of each side without a capture\n"
     "  or a pawn move. --pgn appends the game to FILE in PGN. Defaults: depth 2 (0 to 10),\n"
     "  rules king, 1000 plies. A FILE that cannot be opened is refused before the game\n"
     "  (status 2); output or a game that cannot be written ends with status 1. Ctrl+C, a\n"
     "  hang-up or SIGTERM ends the game where it stands, still written, with 128 + the signal.\n"},
    {"play",
     "usage: kelvane-cli play [--level easy|medium|hard|expert] [--movetime MS] [--vary SEED]\n"
     "                        [--rules king|all] [--black] [--computer-starts] [--ascii]\n"
     "                        [--no-board] [--draws] [--pgn FILE]\n"
     "  The game in the terminal: one move (e3, Nf3, e2e3) or command per line from the\n"
     "  keyboard, with a prompt and line editing, or from a pipe; type ? for the commands.\n"
     "  You play White, or Black with --black; --computer-starts lets the computer open every\n"
     "  game. --ascii prints the board in letters (always, outside a UTF-8 locale),\n"
     "  --no-board only on request, --draws declares draws by repetition and by the\n"
     "  fifty-move rule, --pgn appends every game to FILE in PGN. Levels: easy, medium and\n"
     "  hard look 2, 4 and 6 plies ahead; expert thinks --movetime MS a move (1000), and\n"
     "  --vary SEED (not 0) varies its opening moves. End of input or quit ends with status 0;\n"
     "  Ctrl+C, a hang-up or SIGTERM with 128 + the signal (130, 129, 143), the game in play\n"
     "  still written. A FILE that cannot be opened is refused before the game (status 2);\n"
     "  output or a game that cannot be written ends with status 1, after the game in play\n"
     "  is written. Defaults: easy, king, White.\n"},
    {"replay",
     "usage: kelvane-cli replay FILE.pgn\n"
     "  Plays every game of the PGN file through the rules (those its Variant tag names) and\n"
     "  prints, as soon as each game is replayed, its number, its result and its final FEN\n"
     "  placement: game 1: 0-1 rnbqkbnr/... A move that is not legal (with its cause), a move\n"
     "  after the end of the game, a result that the board contradicts, or a file that is no\n"
     "  PGN, is one line on stderr with status 2 (no more games are read). Output that cannot\n"
     "  be written ends with status 1.\n"},
    {"uci",
     "usage: kelvane-cli uci\n"
     "  Speaks the Universal Chess Interface on standard input and output, for chess GUIs\n"
     "  and match tools. Options: UCI_Variant (king-must-die, all-must-die), Hash (MB),\n"
     "  Threads (1), Vary (0 off, else the seed of the opening variety), Level (expert,\n"
     "  easy, medium, hard).\n"},
    {"bench",
     "usage: kelvane-cli bench [--depth N]\n"
     "       kelvane-cli bench --level expert [--movetime MS]\n"
     "  Searches the built-in benchmark positions (default depth 6, at most 10) and reports the "
     "total\n"
     "  calls of the search, the time and the calls per second. With --level expert: Expert\n"
     "  thinks MS (1000) on each and the nodes per second and depths reached are reported.\n"},
};

constexpr std::string_view kMainUsage =
    "usage: kelvane-cli COMMAND [ARGS]\n"
    "       kelvane-cli --version\n"
    "commands: play, replay, moves, search, perft, selfplay, bench, uci (COMMAND --help for each)\n"
    "POSITION: start, a FEN placement field (rank 8 first), or a 64-byte saved game file\n"
    "SIDE: white (2) or black (1)\n";

Result<Side> ParseSide(std::string_view text) {
    if (const std::optional<Side> side = SideFromText(text)) return *side;
    return Failure{"unknown side '" + std::string(text) + "' (white or black)"};
}

// Options after the positional arguments; every option takes a value unless it is a flag.
struct Options {
    int depth = -1;
    int rules = kKingMustDie;
    int maxPlies = 1000;
    bool positions = false;
    bool draws = false;
    std::string pgnFile;
};

Result<Options> ParseOptions(Args args, std::string_view command,
                             std::initializer_list<std::string_view> allowed) {
    Options options;
    const auto isAllowed = [&](std::string_view name) {
        return std::find(allowed.begin(), allowed.end(), name) != allowed.end();
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (!isAllowed(name))
            return Failure{"unexpected argument '" + name + "' for " + std::string(command)};
        if (name == "--positions" || name == "--draws") {
            (name == "--draws" ? options.draws : options.positions) = true;
            continue;
        }
        if (i + 1 >= args.size()) return Failure{name + " needs a value"};
        const std::string& value = args[++i];
        if (name == "--depth" || name == "--max-plies") {
            const bool depth = name == "--depth";
            const Result<int> number = ParseNumber(value, depth ? "depth" : "max-plies", 0,
                                                   depth ? kMaxDepth : kLongestSelfplay);
            if (!number) return Failure{number.reason()};
            (depth ? options.depth : options.maxPlies) = *number;
        } else if (name == "--rules") {
            const Result<int> rules = ParseRules(value);
            if (!rules) return Failure{rules.reason()};
            options.rules = *rules;
        } else if (name == "--pgn") {
            if (value.empty()) return Failure{"--pgn needs a file name"};
            options.pgnFile = value;
        }
    }
    return options;
}

// POSITION SIDE DEPTH (DEPTH when withDepth), the arguments moves, search and perft begin
// with, then their options.
struct Given {
    Board board{};
    Side side = 0;
    int depth = 0;
    Options options;
};

Result<Given> ParseGiven(Args args, std::string_view command, bool withDepth,
                         std::initializer_list<std::string_view> allowed) {
    const std::size_t count = withDepth ? 3 : 2;
    if (args.size() < count)
        return Failure{std::string(command) + " needs " + std::to_string(count) +
                       " arguments (see --help)"};
    Given given;
    const Result<Board> board = LoadPosition(args[0]);
    if (!board) return Failure{board.reason()};
    given.board = *board;
    const Result<Side> side = ParseSide(args[1]);
    if (!side) return Failure{side.reason()};
    given.side = *side;
    if (withDepth) {
        const Result<int> depth = ParseNumber(args[2], "depth", 0, kMaxDepth);
        if (!depth) return Failure{depth.reason()};
        given.depth = *depth;
    }
    const Result<Options> options = ParseOptions(args.subspan(count), command, allowed);
    if (!options) return Failure{options.reason()};
    given.options = *options;
    return given;
}

Result<int> RunMoves(Args args, std::ostream& out) {
    const Result<Given> given = ParseGiven(args, "moves", false, {});
    if (!given) return Failure{given.reason()};
    MoveList list;
    const int last = GenerateMoves(given->board, list, given->side);
    for (int i = 0; i <= last; ++i) out << MoveToText(list[static_cast<std::size_t>(i)]) << '\n';
    return kExitOk;
}

struct TimedSearch {
    MoveWord move;
    std::uint64_t calls;
    double milliseconds;
};

TimedSearch SearchAtRoot(Board& board, Side side, int depth) {
    ResetSearchCallCount();
    const auto start = std::chrono::steady_clock::now();
    const MoveWord move = ChooseMove(board, side, depth);
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    return {move, GetSearchCallCount(), elapsed.count()};
}

Result<int> RunSearch(Args args, std::ostream& out) {
    if (WantsExpert(args)) return RunExpertSearch(args, out);
    Result<Given> given = ParseGiven(args, "search", true, {"--rules"});
    if (!given) return Failure{given.reason()};
    Board board = given->board;
    SetRulesVariant(given->options.rules);
    const TimedSearch result = SearchAtRoot(board, given->side, given->depth);
    out << (result.move > 0 ? MoveToText(result.move) : "none") << '\n';
    out << "nodes " << result.calls << '\n';
    out << "time " << result.milliseconds << " ms\n";
    return kExitOk;
}

std::uint64_t Perft(Board& board, Side side, int depth) {
    if (depth == 0) return 1;
    MoveList list;
    const int last = GenerateMoves(board, list, side);
    if (depth == 1) return static_cast<std::uint64_t>(last + 1);
    std::uint64_t total = 0;
    for (int i = 0; i <= last; ++i) {
        const MoveWord move = list[static_cast<std::size_t>(i)];
        const MoveUndo undo = ApplyMove(board, move);
        total += Perft(board, Opponent(side), depth - 1);
        RetractMove(board, move, undo);
    }
    return total;
}

Result<int> RunPerft(Args args, std::ostream& out) {
    const Result<Given> given = ParseGiven(args, "perft", true, {});
    if (!given) return Failure{given.reason()};
    Board board = given->board;
    out << Perft(board, given->side, given->depth) << '\n';
    return kExitOk;
}

Result<int> RunSelfplayCommand(Args args, std::ostream& out, std::ostream& err) {
    const Result<Options> options = ParseOptions(
        args, "selfplay", {"--depth", "--rules", "--max-plies", "--positions", "--draws", "--pgn"});
    if (!options) return Failure{options.reason()};
    CatchInterrupt();
    return RunSelfplay({options->depth < 0 ? kDepthEasy : options->depth, options->rules,
                        options->maxPlies, options->positions, options->draws, options->pgnFile},
                       out, err);
}

Result<int> RunPlayCommand(Args args, std::ostream& out, std::ostream& err) {
    Result<PlayOptions> parsed = ParsePlayOptions(args);
    if (!parsed) return Failure{parsed.reason()};
    PlayOptions options = *parsed;
    // The chess symbols need a terminal that shows UTF-8.
    options.ascii = options.ascii || !LocaleIsUtf8();
    CatchInterrupt();
    // A prompt and line editing for a person at a terminal; a pipe or a file is read as it is.
    const std::unique_ptr<LineReader> lines =
        ::isatty(STDIN_FILENO) == 1 ? TerminalLines() : PlainLines(std::cin);
    return RunPlay(options, *lines, out, err);
}

Result<int> RunUciCommand(Args args, std::ostream& out) {
    if (!args.empty()) return Failure{"uci takes no arguments"};
    return RunUci(std::cin, out);
}

Result<int> RunReplayCommand(Args args, std::ostream& out) {
    if (args.size() != 1) return Failure{"replay needs one PGN file (see --help)"};
    const Result<int> games = ReplayPgnFile(args[0], out);
    if (!games) return Failure{games.reason()};
    return kExitOk;
}

Result<int> RunBench(Args args, std::ostream& out) {
    if (WantsExpert(args)) return RunExpertBench(args, out);
    const Result<Options> options = ParseOptions(args, "bench", {"--depth"});
    if (!options) return Failure{options.reason()};
    const int depth = options->depth < 0 ? 6 : options->depth;
    std::uint64_t totalCalls = 0;
    double totalMs = 0;
    double slowestMs = 0;
    std::string slowest;
    for (const bench::BenchmarkPosition& position : bench::BenchmarkPositions()) {
        Board board = *BoardFromFen(position.placement);
        SetRulesVariant(position.rules);
        const TimedSearch result = SearchAtRoot(board, position.side, depth);
        totalCalls += result.calls;
        totalMs += result.milliseconds;
        if (result.milliseconds > slowestMs) {
            slowestMs = result.milliseconds;
            slowest = std::string(position.placement);
        }
    }
    out << "positions " << bench::BenchmarkPositions().size() << '\n';
    out << "depth " << depth << '\n';
    out << "nodes " << totalCalls << '\n';
    out << "time " << totalMs << " ms\n";
    // A tiny depth can finish within the clock's resolution.
    const double perSecond = totalMs > 0 ? static_cast<double>(totalCalls) / (totalMs / 1000.0) : 0;
    out << "calls per second " << static_cast<std::uint64_t>(perSecond) << '\n';
    out << "slowest " << slowestMs << " ms " << slowest << '\n';
    return kExitOk;
}

// A command's exit status, or the reason its arguments were refused.
using Command = std::function<Result<int>(Args, std::ostream& out, std::ostream& err)>;

// A command that writes nothing to the error stream itself.
Command OutOnly(Result<int> (*run)(Args, std::ostream&)) {
    return [run](Args args, std::ostream& out, std::ostream&) { return run(args, out); };
}

const std::map<std::string_view, Command> kCommands = {
    {"moves", OutOnly(RunMoves)},          {"search", OutOnly(RunSearch)},
    {"perft", OutOnly(RunPerft)},          {"bench", OutOnly(RunBench)},
    {"selfplay", RunSelfplayCommand},      {"play", RunPlayCommand},
    {"replay", OutOnly(RunReplayCommand)}, {"uci", OutOnly(RunUciCommand)},
};

// --name=value is --name value, for every option of every command.
std::vector<std::string> SplitOptionValues(Args args) {
    std::vector<std::string> split;
    for (const std::string& arg : args) {
        const std::size_t equals = arg.find('=');
        if (arg.rfind("--", 0) == 0 && equals != std::string::npos && equals > 2) {
            split.push_back(arg.substr(0, equals));
            split.push_back(arg.substr(equals + 1));
        } else {
            split.push_back(arg);
        }
    }
    return split;
}

bool WantsHelp(Args args) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") return true;
    }
    return false;
}

}  // namespace

int RunCli(Args args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << "kelvane-cli: missing command (try kelvane-cli --help)\n";
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << kMainUsage;
        return kExitOk;
    }
    if (args[0] == "--version") {
        out << "Kelvane " << kKelvaneVersion << '\n';
        return kExitOk;
    }
    const auto command = kCommands.find(args[0]);
    if (command == kCommands.end()) {
        err << "kelvane-cli: unknown command '" << Printable(args[0])
            << "' (try kelvane-cli --help)\n";
        return kExitUsage;
    }
    const std::vector<std::string> options = SplitOptionValues(args.subspan(1));
    const Args rest(options);
    if (WantsHelp(rest)) {
        out << kUsage.at(args[0]);
        return kExitOk;
    }
    const Result<int> status = command->second(rest, out, err);
    if (status) return *status;
    err << "kelvane-cli " << args[0] << ": " << Printable(status.reason()) << '\n';
    return kExitUsage;
}

}  // namespace kelvane::cli
