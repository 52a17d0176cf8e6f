#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""kelvane-cli play at a real terminal (a pseudo-terminal): the prompt, line editing, the
history under the Up arrow, and Ctrl+C, which ends the game and still writes it.

Usage: terminal_session.py KELVANE-CLI"""
import os
import pty
import select
import signal
import sys
import tempfile
import time


class Terminal:
    def __init__(self, program, folder):
        env = dict(os.environ, HOME=folder, INPUTRC=os.devnull, TERM="xterm", LC_ALL="C.UTF-8")
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            try:
                os.chdir(folder)
                os.execve(program, [program, "play", "--ascii", "--pgn", "games.pgn"], env)
            finally:
                os._exit(127)
        self.seen = b""

    def expect(self, text, count=1, timeout=20):
        """Reads until text has been shown count times; fails after timeout seconds."""
        wanted = text.encode()
        end = time.monotonic() + timeout
        while self.seen.count(wanted) < count:
            left = end - time.monotonic()
            ready, _, _ = select.select([self.fd], [], [], max(left, 0))
            if not ready:
                fail(f"no {text!r} (x{count}) within {timeout} s; the terminal shows:\n"
                     + self.seen.decode(errors="replace"))
            try:
                chunk = os.read(self.fd, 4096)
            except OSError:
                chunk = b""
            if not chunk:
                fail(f"the program ended before {text!r}:\n" + self.seen.decode(errors="replace"))
            self.seen += chunk

    def type(self, keys):
        os.write(self.fd, keys.encode())

    def status(self, timeout=20):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            pid, status = os.waitpid(self.pid, os.WNOHANG)
            if pid == self.pid:
                return os.waitstatus_to_exitcode(status)
            try:
                select.select([self.fd], [], [], 0.1)
                os.read(self.fd, 4096)
            except OSError:
                pass
        fail("the program did not end after Ctrl+C")


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def main(folder):
    terminal = Terminal(os.path.abspath(sys.argv[1]), folder)
    try:
        play(terminal, folder)
    finally:
        # A session that did not end as it should is not left behind.
        try:
            os.kill(terminal.pid, signal.SIGKILL)
            os.waitpid(terminal.pid, 0)
        except (ProcessLookupError, ChildProcessError):
            pass


def play(terminal, folder):
    terminal.expect("1. White to move> ")
    # "hnt", two steps left, "i": the line is edited into "hint".
    terminal.type("hnt\x1b[D\x1b[Di\r")
    terminal.expect("Hint: ")
    terminal.type("e3\r")
    terminal.expect("2. White to move> ")
    # Up twice brings back "hint".
    terminal.type("\x1b[A\x1b[A\r")
    terminal.expect("Hint: ", count=2)
    terminal.expect("2. White to move> ", count=2)
    if b"Unknown input" in terminal.seen:
        fail("a key was taken as input:\n" + terminal.seen.decode(errors="replace"))
    # Ctrl+C in the middle of a line ends the session, with the game written.
    terminal.type("moves")
    terminal.expect("moves")
    terminal.type("\x03")
    status = terminal.status()
    if status != 130:
        fail(f"Ctrl+C ended the program with status {status}, not 130")
    with open(os.path.join(folder, "games.pgn"), encoding="utf-8") as record:
        pgn = record.read()
    if "1. e3 " not in pgn or '[Result "*"]' not in pgn:
        fail("the game in play was not written:\n" + pgn)
    print("terminal session: prompt, line editing, history and Ctrl+C as expected")


with tempfile.TemporaryDirectory(prefix="kelvane-pty-") as scratch:
    main(scratch)
