// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/line_reader.h"

#include <poll.h>
#include <readline/history.h>
#include <readline/readline.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "cli/input_line.h"
#include "cli/interrupt.h"

namespace kelvane::cli {

namespace {

// Lines typed are kept in memory only, no history file is written.
constexpr int kHistoryLength = 500;

class PlainLineReader : public LineReader {
  public:
    explicit PlainLineReader(std::istream& in) : in_(in) {}
    std::optional<std::string> Next(const std::string&) override {
        std::string line;
        if (Interrupted()) return std::nullopt;
        switch (ReadInputLine(in_, line)) {
            case InputLine::End:
                return std::nullopt;
            case InputLine::TooLong:
                // Only its length is kept: a line over the limit, which the session refuses.
                return std::string(kLongestInputLine + 1, ' ');
            case InputLine::Read:
                break;
        }
        return line;
    }

  private:
    std::istream& in_;
};

volatile std::sig_atomic_t resized = 0;

extern "C" void OnResize(int) {
    resized = 1;
}

// Readline's callback interface hands a finished line to a plain function.
struct Typed {
    bool done = false;
    std::optional<std::string> line;
};
Typed* typed = nullptr;

extern "C" void OnLine(char* line) {
    // Taken away at once, so that Readline does not show the prompt again after the line.
    rl_callback_handler_remove();
    typed->done = true;
    if (line == nullptr) return;
    if (*line != '\0') add_history(line);
    typed->line = line;
    std::free(line);
}

class TerminalLineReader : public LineReader {
  public:
    TerminalLineReader() {
        // Readline edits characters, not bytes, in the terminal's own character set.
        std::setlocale(LC_CTYPE, "");
        rl_readline_name = "kelvane";
        rl_instream = stdin;
        rl_outstream = stdout;
        // Ctrl+C is the program's own: it ends the game after writing it.
        rl_catch_signals = 0;
        rl_catch_sigwinch = 0;
        // Tab inserts nothing and completes no file names.
        rl_bind_key('\t', rl_insert);
        stifle_history(kHistoryLength);
        // A resize wakes the wait for a key (poll is never restarted) but no write or read
        // elsewhere.
        struct sigaction action {};
        action.sa_handler = OnResize;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGWINCH, &action, nullptr);
    }

    std::optional<std::string> Next(const std::string& prompt) override {
        if (Interrupted()) return std::nullopt;
        Typed waiting;
        typed = &waiting;
        rl_callback_handler_install(prompt.c_str(), OnLine);
        while (!waiting.done) {
            pollfd input{STDIN_FILENO, POLLIN, 0};
            const int ready = Interrupted() ? -1 : ::poll(&input, 1, -1);
            if (ready < 0 && (errno == EINTR || Interrupted())) {
                if (Interrupted()) {
                    // The half-typed line is dropped and the terminal set back as it was.
                    rl_free_line_state();
                    rl_callback_sigcleanup();
                    rl_callback_handler_remove();
                    std::fputs("\n", stdout);
                    std::fflush(stdout);
                    break;
                }
                if (resized != 0) {
                    resized = 0;
                    rl_resize_terminal();
                }
                continue;
            }
            if (ready < 0) {
                rl_callback_handler_remove();
                break;
            }
            rl_callback_read_char();
        }
        typed = nullptr;
        // Ctrl+D leaves the cursor after the prompt.
        if (waiting.done && !waiting.line) {
            std::fputs("\n", stdout);
            std::fflush(stdout);
        }
        return waiting.line;
    }
};

}  // namespace

std::unique_ptr<LineReader> PlainLines(std::istream& in) {
    return std::make_unique<PlainLineReader>(in);
}

std::unique_ptr<LineReader> TerminalLines() {
    return std::make_unique<TerminalLineReader>();
}

}  // namespace kelvane::cli
