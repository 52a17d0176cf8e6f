// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/uci_session.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <new>
#include <optional>

#include "cli/play_options.h"
#include "cli/printable.h"
#include "engine/search.h"
#include "kelvane_version.h"
#include "rules/evaluation.h"

namespace kelvane::cli {

namespace {

// Longer lines are read to their end and ignored, so that no input can exhaust memory.
constexpr std::size_t kLongestLine = std::size_t{1} << 20;
constexpr std::size_t kLongestEcho = 40;
constexpr std::size_t kLargestHash = 1024;
constexpr std::int64_t kLargestVary = 2147483647;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsSpace(line[i])) ++i;
        const std::size_t start = i;
        while (i < line.size() && !IsSpace(line[i])) ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

std::string Join(const std::vector<std::string_view>& words, std::size_t from, std::size_t to) {
    std::string text;
    for (std::size_t i = from; i < to; ++i) {
        if (i > from) text += ' ';
        text += words[i];
    }
    return text;
}

// UCI counts a proven result in moves: a win or a loss in p plies is one in (p + 1) / 2 moves.
std::string ScoreText(std::int32_t score, int mateInPlies) {
    if (mateInPlies > 0) return "mate " + std::to_string((mateInPlies + 1) / 2);
    if (mateInPlies < 0) return "mate -" + std::to_string((-mateInPlies + 1) / 2);
    return "cp " + std::to_string(score);
}

std::string InfoLine(const ExpertInfo& info, Board board) {
    std::string line = "info depth " + std::to_string(info.depth) + " seldepth " +
                       std::to_string(info.selectiveDepth) + " score " +
                       ScoreText(info.score, info.mateInPlies) + " nodes " +
                       std::to_string(info.nodes) + " nps " + std::to_string(info.nodesPerSecond) +
                       " time " + std::to_string(info.timeMs) + " pv";
    for (const MoveWord move : info.pv) {
        line += ' ' + UciMoveText(board, move);
        ApplyMove(board, move);
    }
    return line;
}

enum class LineRead { Line, TooLong, End };

LineRead ReadLine(std::istream& in, std::string& line) {
    line.clear();
    std::streambuf* buffer = in.rdbuf();
    bool tooLong = false;
    for (;;) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(std::ios::eofbit);
            if (tooLong) return LineRead::TooLong;
            return line.empty() ? LineRead::End : LineRead::Line;
        }
        if (c == '\n') return tooLong ? LineRead::TooLong : LineRead::Line;
        if (line.size() < kLongestLine) {
            line += static_cast<char>(c);
        } else {
            tooLong = true;
        }
    }
}

}  // namespace

UciSession::UciSession(std::ostream& out)
    : out_(out), position_(StartingUciPosition()), variant_(kKingMustDie) {}

UciSession::~UciSession() {
    Finish();
}

void UciSession::Send(const std::string& line) {
    const std::lock_guard lock(outMutex_);
    out_ << line << '\n';
    out_.flush();
}

void UciSession::Identify() {
    Send("id name Kelvane " + std::string(kKelvaneVersion));
    Send("id author Kelvane developers");
    Send(
        "option name UCI_Variant type combo default king-must-die var king-must-die var "
        "all-must-die");
    Send("option name Hash type spin default 64 min 1 max " + std::to_string(kLargestHash));
    Send("option name Threads type spin default 1 min 1 max 1");
    Send("option name Vary type spin default 0 min 0 max " + std::to_string(kLargestVary));
    Send("option name Level type combo default expert var expert var easy var medium var hard");
    Send("uciok");
}

void UciSession::SetOption(const std::vector<std::string_view>& words) {
    const auto valueAt = std::find(words.begin(), words.end(), "value");
    if (words.empty() || words[0] != "name") {
        Send("info string setoption needs: name NAME value VALUE");
        return;
    }
    const auto valueIndex = static_cast<std::size_t>(valueAt - words.begin());
    const std::string given = Join(words, 1, valueIndex);
    const std::string name = Lower(given);
    const std::string value =
        valueAt == words.end() ? std::string() : Join(words, valueIndex + 1, words.size());
    {
        const std::lock_guard lock(stateMutex_);
        if (searching_) {
            Send("info string options cannot change while searching");
            return;
        }
    }
    const auto spin = [&](std::int64_t min, std::int64_t max) -> std::optional<std::int64_t> {
        std::int64_t number = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (ec != std::errc() || end != value.data() + value.size() || number < min ||
            number > max) {
            Send("info string " + Printable(given, kLongestEcho) + " must be a number from " +
                 std::to_string(min) + " to " + std::to_string(max));
            return std::nullopt;
        }
        return number;
    };
    if (name == "uci_variant") {
        if (value == "king-must-die" || value == "all-must-die") {
            variant_ = value == "king-must-die" ? kKingMustDie : kAllMustDie;
        } else {
            Send("info string UCI_Variant is king-must-die or all-must-die");
        }
    } else if (name == "hash") {
        if (const auto megabytes = spin(1, static_cast<std::int64_t>(kLargestHash))) {
            try {
                search_.SetHashMegabytes(static_cast<std::size_t>(*megabytes));
            } catch (const std::bad_alloc&) {
                search_.SetHashMegabytes(1);
                Send("info string not enough memory for the table; it has 1 MB");
            }
        }
    } else if (name == "threads") {
        spin(1, 1);
    } else if (name == "vary") {
        if (const auto seed = spin(0, kLargestVary))
            search_.SetVariety(static_cast<std::uint64_t>(*seed));
    } else if (name == "level") {
        if (value == "expert") {
            exactDepth_ = 0;
        } else if (const std::optional<int> depth = DepthOfLevel(value)) {
            exactDepth_ = *depth;
        } else {
            Send("info string Level is expert, easy, medium or hard");
        }
    } else {
        Send("info string unknown option " + Printable(given, kLongestEcho));
    }
}

void UciSession::SetPosition(const std::vector<std::string_view>& words) {
    Result<UciPosition> position = ParseUciPosition(words, variant_);
    if (!position) {
        Send("info string " + Printable(position.reason()) + "; the position stays as it was");
        return;
    }
    position_ = *position;
}

void UciSession::Go(const std::vector<std::string_view>& words) {
    const Result<UciGo> go = ParseUciGo(words);
    if (!go) {
        Send("info string " + Printable(go.reason()));
        return;
    }
    {
        const std::lock_guard lock(stateMutex_);
        if (searching_ && infinite_) {
            Send("info string already searching");
            return;
        }
    }
    // A search with limits ends by itself: the new one waits for it.
    if (worker_.joinable()) worker_.join();
    const ExpertLimits& given = go->limits;
    const bool bare = given.movetimeMs == 0 && given.nodes == 0 && given.depth == 0 &&
                      go->whiteTime < 0 && go->blackTime < 0;
    {
        const std::lock_guard lock(stateMutex_);
        searching_ = true;
        stopRequested_ = false;
        infinite_ = go->infinite || bare;
    }
    worker_ = std::thread(&UciSession::Think, this, position_, *go);
}

void UciSession::ThinkExactly(const UciPosition& position) {
    Board board = position.board;
    SetRulesVariant(variant_);
    ResetSearchCallCount();
    const MoveWord move = ChooseMove(board, position.side, exactDepth_);
    Send("info depth " + std::to_string(exactDepth_ + 1) + " nodes " +
         std::to_string(GetSearchCallCount()));
    WaitForStopIfInfinite();
    Send("bestmove " + (move > 0 ? UciMoveText(position.board, move) : std::string("0000")));
}

void UciSession::Think(UciPosition position, UciGo go) {
    if (exactDepth_ != 0) {
        ThinkExactly(position);
    } else {
        const ExpertResult result =
            search_.Think(position.board, position.side, variant_,
                          SearchLimitsFor(go, position.side), position.history,
                          [&](const ExpertInfo& info) { Send(InfoLine(info, position.board)); });
        WaitForStopIfInfinite();
        Send("bestmove " +
             (result.move > 0 ? UciMoveText(position.board, result.move) : std::string("0000")));
    }
    {
        const std::lock_guard lock(stateMutex_);
        searching_ = false;
    }
    stateChanged_.notify_all();
}

void UciSession::WaitForStopIfInfinite() {
    // An infinite search answers only once it is told to stop, even when it ends sooner.
    std::unique_lock lock(stateMutex_);
    stateChanged_.wait(lock, [&] { return !infinite_ || stopRequested_; });
}

void UciSession::WaitUnlessInfinite() {
    {
        std::unique_lock lock(stateMutex_);
        if (infinite_) return;
    }
    if (worker_.joinable()) worker_.join();
}

void UciSession::Finish() {
    {
        const std::lock_guard lock(stateMutex_);
        stopRequested_ = true;
    }
    stateChanged_.notify_all();
    // A stop given just as the search starts can be missed: repeat it until the search ends.
    for (;;) {
        std::unique_lock lock(stateMutex_);
        if (!searching_) break;
        lock.unlock();
        search_.Stop();
        lock.lock();
        stateChanged_.wait_for(lock, std::chrono::milliseconds(5), [&] { return !searching_; });
    }
    if (worker_.joinable()) worker_.join();
}

void UciSession::IgnoreLongLine() {
    Send("info string a line longer than " + std::to_string(kLongestLine) + " bytes was ignored");
}

bool UciSession::Handle(std::string_view line) {
    const std::vector<std::string_view> words = Words(line);
    if (words.empty()) return true;
    const std::string_view command = words[0];
    const std::vector<std::string_view> rest(words.begin() + 1, words.end());
    if (command == "uci") {
        Identify();
    } else if (command == "isready") {
        Send("readyok");
    } else if (command == "ucinewgame") {
        Finish();
        search_.NewGame();
        position_ = StartingUciPosition();
    } else if (command == "position") {
        SetPosition(rest);
    } else if (command == "go") {
        Go(rest);
    } else if (command == "stop") {
        Finish();
    } else if (command == "quit") {
        Finish();
        return false;
    } else if (command == "setoption") {
        SetOption(rest);
    } else if (command == "debug" || command == "ponderhit" || command == "register") {
        // Nothing to do: no debug output, no pondering, no registration.
    } else {
        Send("info string unknown command " + Printable(command, kLongestEcho));
    }
    return true;
}

int RunUci(std::istream& in, std::ostream& out) {
    UciSession session(out);
    std::string line;
    for (;;) {
        const LineRead read = ReadLine(in, line);
        if (read == LineRead::End) {
            // What was asked is still answered: a search with limits ends by itself.
            session.WaitUnlessInfinite();
            break;
        }
        if (read == LineRead::TooLong) {
            session.IgnoreLongLine();
            continue;
        }
        if (!session.Handle(line)) break;
    }
    session.Finish();
    return 0;
}

}  // namespace kelvane::cli
