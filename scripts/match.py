#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Plays two UCI engines against each other under Kelvane's rules.

Each opening of the book is played twice, each engine taking White once. Every move is checked
by kelvane-cli, the game's own rules: an illegal move, a crash, or a move that does not come in
time loses the game. A game is drawn at the third occurrence of a position with the same side to
move, after 100 plies without a capture or a pawn move, and at 600 plies. The result is W/D/L,
the score, and the Elo difference with its 95% interval; the games go to a PGN file.

Standard-library Python 3.11 only.
"""

from __future__ import annotations

import argparse
import dataclasses
import math
import os
import queue
import re
import shlex
import signal
import subprocess
import sys
import tempfile
import threading
import time
from collections import Counter
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
DEFAULT_BOOK = REPO / "scripts" / "match-openings.txt"

VARIANTS = {"king-must-die": "King must die", "all-must-die": "All must die"}
VARIANT_SHORT_NAMES = {"king": "king-must-die", "all": "all-must-die"}

REPETITIONS_FOR_DRAW = 3
QUIET_PLIES_FOR_DRAW = 100
MAX_PLIES = 600

START_PLACEMENT = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"
MOVE_PATTERN = re.compile(r"^[a-h][1-8][a-h][1-8][a-z]?$")
# A line longer than this from an engine is read in pieces; nothing it sends can exhaust memory.
LONGEST_LINE = 1 << 16


class MatchError(Exception):
    """A problem that ends the match (bad arguments, book or referee), not one game."""


# ---------------------------------------------------------------------------------------------
# The board, as far as this tool needs it: legality always comes from the referee.


def square_index(name: str) -> int:
    """Index into Position.squares (rank 8 first, file a first) of a square such as "e2"."""
    return (8 - int(name[1])) * 8 + (ord(name[0]) - ord("a"))


class Position:
    """The pieces (FEN letters, White in capitals, "." for empty) and the side to move."""

    def __init__(self, squares: list[str], white_to_move: bool):
        self.squares = squares
        self.white_to_move = white_to_move

    @staticmethod
    def from_fen(text: str) -> Position:
        fields = text.split()
        if not fields:
            raise ValueError("an empty FEN")
        ranks = fields[0].split("/")
        if len(ranks) != 8:
            raise ValueError(f"'{fields[0]}' does not have 8 ranks")
        squares: list[str] = []
        for rank in ranks:
            row: list[str] = []
            for c in rank:
                if c in "12345678":
                    row.extend("." * int(c))
                elif c in "pnbrqkPNBRQK":
                    row.append(c)
                else:
                    raise ValueError(f"'{c}' is no piece in '{fields[0]}'")
            if len(row) != 8:
                raise ValueError(f"rank '{rank}' is not 8 squares long")
            squares.extend(row)
        side = fields[1] if len(fields) > 1 else "w"
        if side not in ("w", "b"):
            raise ValueError(f"'{side}' is no side to move (w or b)")
        for field, what in ((2, "castling"), (3, "en passant")):
            if len(fields) > field and fields[field] != "-":
                raise ValueError(f"the {what} field must be '-': these rules have none")
        return Position(squares, side == "w")

    def copy(self) -> Position:
        return Position(list(self.squares), self.white_to_move)

    def placement(self) -> str:
        ranks = []
        for row in range(8):
            text, empty = "", 0
            for piece in self.squares[row * 8 : row * 8 + 8]:
                if piece == ".":
                    empty += 1
                    continue
                if empty:
                    text += str(empty)
                    empty = 0
                text += piece
            ranks.append(text + (str(empty) if empty else ""))
        return "/".join(ranks)

    def side_letter(self) -> str:
        return "w" if self.white_to_move else "b"

    def fen(self, quiet_plies: int = 0, move_number: int = 1) -> str:
        """Castling and en passant are always "-": the rules have neither."""
        return f"{self.placement()} {self.side_letter()} - - {quiet_plies} {move_number}"

    def key(self) -> str:
        return self.placement() + " " + self.side_letter()

    def is_promotion(self, move: str) -> bool:
        piece = self.squares[square_index(move[0:2])]
        return (piece == "P" and move[3] == "8") or (piece == "p" and move[3] == "1")

    def apply(self, move: str) -> bool:
        """Plays a legal move (a pawn on the far row becomes a queen); True for a capture or a
        pawn move."""
        origin, target = square_index(move[0:2]), square_index(move[2:4])
        piece = self.squares[origin]
        resets = piece in "Pp" or self.squares[target] != "."
        if self.is_promotion(move):
            piece = "Q" if piece == "P" else "q"
        self.squares[target] = piece
        self.squares[origin] = "."
        self.white_to_move = not self.white_to_move
        return resets

    def winner(self, variant: str) -> str | None:
        """"white" or "black" when a side has reached its goal: under King must die its king has
        been taken, under All must die all its pieces. Black is looked at first, as the game
        does."""
        if variant == "king-must-die":
            black_done = "k" not in self.squares
            white_done = "K" not in self.squares
        else:
            black_done = not any(p.islower() for p in self.squares)
            white_done = not any(p.isupper() for p in self.squares)
        if black_done:
            return "black"
        if white_done:
            return "white"
        return None


def san(position: Position, move: str, legal: list[str]) -> str:
    """Standard algebraic notation of a legal move: no castling, no check marks, "=Q" for the
    only promotion; the origin's file, rank or both when another piece of the same kind can
    reach the same square."""
    origin, target = move[0:2], move[2:4]
    piece = position.squares[square_index(origin)].upper()
    capture = position.squares[square_index(target)] != "."
    text = ""
    if piece == "P":
        if capture:
            text = origin[0]
    else:
        text = piece
        rivals = [
            other[0:2]
            for other in legal
            if other[2:4] == target
            and other[0:2] != origin
            and position.squares[square_index(other[0:2])].upper() == piece
        ]
        on_file = any(r[0] == origin[0] for r in rivals)
        on_rank = any(r[1] == origin[1] for r in rivals)
        if rivals and (not on_file or on_rank):
            text += origin[0]
        if on_file:
            text += origin[1]
    if capture:
        text += "x"
    text += target
    if position.is_promotion(move):
        text += "=Q"
    return text


# ---------------------------------------------------------------------------------------------
# The referee: kelvane-cli.


class Referee:
    """kelvane-cli as the judge of every move: its legal move lists, and its replay of a PGN."""

    def __init__(self, program: str):
        self.program = program
        self._cache: dict[str, list[str]] = {}
        self._lock = threading.Lock()

    def _run(self, args: list[str]) -> str:
        try:
            done = subprocess.run(
                [self.program, *args], capture_output=True, text=True, timeout=60, check=False
            )
        except (OSError, subprocess.TimeoutExpired) as error:
            raise MatchError(f"the referee {self.program} cannot run: {error}") from error
        if done.returncode != 0:
            reason = done.stderr.strip() or f"status {done.returncode}"
            raise MatchError(f"the referee refused '{' '.join(args)}': {reason}")
        return done.stdout

    def legal_moves(self, position: Position) -> list[str]:
        """The side to move's legal moves, promotions without a letter (e7e8)."""
        key = position.key()
        with self._lock:
            if key in self._cache:
                return self._cache[key]
        side = "white" if position.white_to_move else "black"
        moves = self._run(["moves", position.placement(), side]).split()
        with self._lock:
            if len(self._cache) > 100_000:
                self._cache.clear()
            self._cache[key] = moves
        return moves

    def replay(self, pgn: str) -> list[str]:
        """The final placement of every game of a PGN text, as kelvane-cli replays it: the last
        field of each line ("game 1: 0-1 PLACEMENT")."""
        with tempfile.NamedTemporaryFile("w", suffix=".pgn", delete=False) as file:
            file.write(pgn)
            name = file.name
        try:
            return [line.split()[-1] for line in self._run(["replay", name]).splitlines()]
        finally:
            os.unlink(name)


# ---------------------------------------------------------------------------------------------
# The book of openings.


@dataclasses.dataclass
class Opening:
    number: int  # its place in the book, from 1
    start: Position
    start_fen: str | None  # None: the ordinary start with White to move
    moves: list[str]

    def describe(self) -> str:
        prefix = f"{self.start.placement()} {self.start.side_letter()}; " if self.start_fen else ""
        return prefix + " ".join(self.moves)


def parse_book(text: str) -> list[tuple[int, str | None, list[str]]]:
    """Lines of moves from the start (White first), or "FEN; moves" from FEN; "#" comments."""
    lines = []
    for number, line in enumerate(text.splitlines(), 1):
        line = line.split("#", 1)[0].strip()
        if not line:
            continue
        fen, _, moves = line.rpartition(";") if ";" in line else ("", "", line)
        lines.append((number, fen.strip() or None, moves.split()))
    return lines


def load_book(path: Path, referee: Referee, variant: str) -> list[Opening]:
    try:
        text = path.read_text(encoding="utf-8")
    except (OSError, UnicodeDecodeError) as error:
        raise MatchError(f"cannot read the openings {path}: {error}") from error
    openings = []
    for number, fen, moves in parse_book(text):
        where = f"{path}:{number}"
        try:
            start = Position.from_fen(fen or START_PLACEMENT)
        except ValueError as error:
            raise MatchError(f"{where}: {error}") from error
        position = start.copy()
        for move in moves:
            if not MOVE_PATTERN.match(move):
                raise MatchError(f"{where}: '{move}' is not a move such as e2e4")
            if position.winner(variant) or not referee.legal_moves(position):
                raise MatchError(f"{where}: the game is over before {move}")
            if move[0:4] not in referee.legal_moves(position) or not suffix_fits(position, move):
                raise MatchError(f"{where}: {move} is not legal in {position.fen()}")
            position.apply(move[0:4])
        if position.winner(variant) or not referee.legal_moves(position):
            raise MatchError(f"{where}: the opening ends the game")
        openings.append(Opening(len(openings) + 1, start, fen, [m[0:4] for m in moves]))
    if not openings:
        raise MatchError(f"{path} holds no opening")
    return openings


def suffix_fits(position: Position, move: str) -> bool:
    """A promotion is written e7e8q (UCI); no other move takes a letter."""
    if position.is_promotion(move):
        return move[4:] == "q"
    return len(move) == 4


# ---------------------------------------------------------------------------------------------
# Engines.


class EngineFailure(Exception):
    """The engine crashed or did not answer in time; kind is "crash" or "time"."""

    def __init__(self, kind: str, detail: str):
        super().__init__(detail)
        self.kind = kind


@dataclasses.dataclass
class EngineSpec:
    command: list[str]
    options: list[tuple[str, str]]
    name: str | None
    limit: tuple[str, int]  # ("movetime", ms) or ("nodes", n)
    send_moves: bool


class Log:
    """The UCI conversation, when asked for: one line per message, with the engine's label."""

    def __init__(self, path: str | None):
        self._file = open(path, "a", encoding="utf-8") if path else None
        self._lock = threading.Lock()

    def write(self, label: str, arrow: str, line: str) -> None:
        if self._file:
            with self._lock:
                self._file.write(f"{time.monotonic():.3f} {label} {arrow} {line}\n")
                self._file.flush()

    def close(self) -> None:
        if self._file:
            self._file.close()


@dataclasses.dataclass
class SearchNote:
    """What the engine said last about its search of one move."""

    depth: int | None = None
    nodes: int | None = None
    score: str | None = None


class Engine:
    """One engine process speaking UCI, started and restarted as needed."""

    STARTUP_SECONDS = 20.0
    READY_SECONDS = 20.0

    def __init__(self, spec: EngineSpec, variant: str, log: Log, label: str):
        self.spec = spec
        self.variant = variant
        self.log = log
        self.label = label
        self.name = spec.name or Path(spec.command[0]).name
        self.process: subprocess.Popen[bytes] | None = None
        self.lines: queue.Queue[str | None] = queue.Queue()

    # -- process ------------------------------------------------------------------------------

    def alive(self) -> bool:
        return self.process is not None and self.process.poll() is None

    def _read(self, process: subprocess.Popen[bytes], lines: queue.Queue[str | None]) -> None:
        assert process.stdout is not None
        while True:
            try:
                raw = process.stdout.readline(LONGEST_LINE)
            except (OSError, ValueError):
                break
            if not raw:
                break
            lines.put(raw.decode("utf-8", "replace").rstrip("\r\n"))
        lines.put(None)

    def send(self, line: str) -> None:
        self.log.write(self.label, ">", line)
        if not self.alive():
            raise EngineFailure("crash", "the engine is not running")
        assert self.process is not None and self.process.stdin is not None
        try:
            self.process.stdin.write((line + "\n").encode())
            self.process.stdin.flush()
        except (BrokenPipeError, OSError) as error:
            raise EngineFailure("crash", f"it stopped reading ({error})") from error

    def next_line(self, deadline: float, awaited: str) -> str:
        """The engine's next line; EngineFailure when it ends or nothing comes by deadline."""
        try:
            line = self.lines.get(timeout=max(0.0, deadline - time.monotonic()))
        except queue.Empty:
            raise EngineFailure("time", f"no '{awaited}' in time") from None
        if line is None:
            code = None
            if self.process:
                try:
                    code = self.process.wait(timeout=1)
                except subprocess.TimeoutExpired:
                    pass
            status = f" (exit status {code})" if code is not None else ""
            raise EngineFailure("crash", f"the engine ended{status}")
        self.log.write(self.label, "<", line)
        return line

    def wait_for(self, word: str, seconds: float, note: SearchNote | None = None) -> str:
        """The first line starting with word; info lines update note meanwhile."""
        deadline = time.monotonic() + seconds
        while True:
            tokens = self.next_line(deadline, word).split()
            if tokens[:1] == [word]:
                return " ".join(tokens)
            if note is not None and tokens[:1] == ["info"]:
                read_info(tokens, note)

    def start(self) -> None:
        """Starts the process, says uci, sets the options and the variant, waits until ready.
        Raises MatchError when the engine is unusable."""
        self.stop()
        self.lines = queue.Queue()
        try:
            self.process = subprocess.Popen(
                self.spec.command,
                stdin=subprocess.PIPE,
                stdout=subprocess.PIPE,
                start_new_session=True,
            )
        except OSError as error:
            raise MatchError(f"cannot start {' '.join(self.spec.command)}: {error}") from error
        threading.Thread(target=self._read, args=(self.process, self.lines), daemon=True).start()
        try:
            advertised = self._handshake()
            variant = self.variant
            for name, value in self.spec.options:
                if name.lower() == "uci_variant":
                    variant = value
                else:
                    self.send(f"setoption name {name} value {value}")
            if "uci_variant" not in advertised:
                print(
                    f"warning: {self.name} has no UCI_Variant option: it must play "
                    f"{self.variant} without being told",
                    file=sys.stderr,
                )
            else:
                if variant not in advertised["uci_variant"]:
                    # Variants read from a file (fairy-stockfish's VariantPath) are listed
                    # only once it has been read; uci again sets the engine back to its
                    # default variant, so UCI_Variant comes after.
                    advertised = self._handshake()
                    if variant not in advertised.get("uci_variant", set()):
                        raise MatchError(
                            f"{self.name} does not offer the variant {variant} (for "
                            f"fairy-stockfish: VariantPath=/full/path/to/scripts/variants.ini)"
                        )
                self.send(f"setoption name UCI_Variant value {variant}")
            self.send("isready")
            self.wait_for("readyok", self.READY_SECONDS)
        except EngineFailure as failure:
            self.stop()
            raise MatchError(f"{' '.join(self.spec.command)} does not start: {failure}") from None
        except MatchError:
            self.stop()
            raise

    def _handshake(self) -> dict[str, set[str]]:
        """Says uci; returns the combo values of each option, by lower-case name."""
        self.send("uci")
        deadline = time.monotonic() + self.STARTUP_SECONDS
        options: dict[str, set[str]] = {}
        while True:
            tokens = self.next_line(deadline, "uciok").split()
            if tokens[:1] == ["uciok"]:
                return options
            if tokens[:2] == ["id", "name"] and not self.spec.name:
                self.name = " ".join(tokens[2:]) or self.name
            if tokens[:2] == ["option", "name"] and "type" in tokens:
                name = " ".join(tokens[2 : tokens.index("type")]).lower()
                options[name] = {tokens[i + 1] for i, t in enumerate(tokens[:-1]) if t == "var"}

    def stop(self) -> None:
        """Ends the process: quit, then a kill after a second."""
        process, self.process = self.process, None
        if process is None:
            return
        if process.poll() is None:
            try:
                assert process.stdin is not None
                process.stdin.write(b"quit\n")
                process.stdin.flush()
            except (BrokenPipeError, OSError):
                pass
            try:
                process.wait(timeout=1)
            except subprocess.TimeoutExpired:
                try:
                    os.killpg(process.pid, signal.SIGKILL)
                except OSError:
                    process.kill()
                process.wait()
        # stdout is left to the reader thread, which ends at its end of file.
        try:
            if process.stdin:
                process.stdin.close()
        except OSError:
            pass

    # -- games --------------------------------------------------------------------------------

    def new_game(self) -> None:
        """ucinewgame and isready, after a restart when the last game left it dead."""
        if not self.alive():
            self.start()
        self.send("ucinewgame")
        self.send("isready")
        self.wait_for("readyok", self.READY_SECONDS)

    def best_move(self, position_command: str, margin: float) -> tuple[str, SearchNote, float]:
        """The engine's move (as sent after bestmove), what it said of its search, and the
        seconds it took. Raises EngineFailure; the engine is then stopped."""
        kind, amount = self.spec.limit
        allowed = (amount / 1000.0 if kind == "movetime" else 0.0) + margin
        note = SearchNote()
        begin = time.monotonic()
        try:
            self.send(position_command)
            self.send(f"go {kind} {amount}")
            line = self.wait_for("bestmove", allowed, note)
        except EngineFailure:
            self.stop()
            raise
        tokens = line.split()
        return (tokens[1] if len(tokens) > 1 else ""), note, time.monotonic() - begin


def read_info(tokens: list[str], note: SearchNote) -> None:
    for i, token in enumerate(tokens[:-1]):
        value = tokens[i + 1]
        if token == "depth" and value.isdigit():
            note.depth = int(value)
        elif token == "nodes" and value.isdigit():
            note.nodes = int(value)
        elif token == "score" and i + 2 < len(tokens):
            note.score = f"{value} {tokens[i + 2]}"


# ---------------------------------------------------------------------------------------------
# One game.


@dataclasses.dataclass
class GameRecord:
    round: int
    opening: Opening
    white: str
    black: str
    first_is_white: bool
    san_moves: list[str]
    result: str  # "1-0", "0-1", "1/2-1/2"
    reason: str
    termination: str  # the PGN Termination tag
    final: Position
    faults: list[str]  # illegal moves, crashes and time-outs, for the report


@dataclasses.dataclass
class MoveStats:
    """Per engine: moves, seconds, and depths and nodes as the engine reported them."""

    moves: int = 0
    seconds: float = 0.0
    depth_sum: int = 0
    depth_count: int = 0
    nodes_sum: int = 0
    nodes_count: int = 0

    def add(self, note: SearchNote, seconds: float) -> None:
        self.moves += 1
        self.seconds += seconds
        if note.depth is not None:
            self.depth_sum += note.depth
            self.depth_count += 1
        if note.nodes is not None:
            self.nodes_sum += note.nodes
            self.nodes_count += 1

    def merge(self, other: MoveStats) -> None:
        for field in dataclasses.fields(self):
            setattr(self, field.name, getattr(self, field.name) + getattr(other, field.name))


class DrawWatch:
    """Third repetition, QUIET_PLIES_FOR_DRAW plies without a capture or pawn move, MAX_PLIES."""

    def __init__(self, start_key: str, quiet_plies: int = 0):
        self.seen = Counter([start_key])
        self.quiet = quiet_plies
        self.plies = 0

    def after(self, key: str, resets: bool) -> str | None:
        """The draw's reason after a move to the position key, if it is one."""
        self.plies += 1
        self.quiet = 0 if resets else self.quiet + 1
        self.seen[key] += 1
        if self.seen[key] >= REPETITIONS_FOR_DRAW:
            return "Draw by threefold repetition"
        if self.quiet >= QUIET_PLIES_FOR_DRAW:
            return f"Draw after {QUIET_PLIES_FOR_DRAW} plies without a capture or a pawn move"
        if self.plies >= MAX_PLIES:
            return f"Draw at {MAX_PLIES} plies"
        return None


SIDE_NAMES = {"white": "White", "black": "Black"}


def play_game(
    round_number: int,
    opening: Opening,
    first_is_white: bool,
    engines: tuple[Engine, Engine],
    referee: Referee,
    variant: str,
    margin: float,
    stats: tuple[MoveStats, MoveStats],
) -> GameRecord:
    white, black = engines if first_is_white else (engines[1], engines[0])
    white_stats, black_stats = stats if first_is_white else (stats[1], stats[0])
    position = opening.start.copy()
    start_fen = opening.start.fen()
    played: list[str] = []
    san_moves: list[str] = []
    faults: list[str] = []
    watch = DrawWatch(position.key())
    move_number = 1

    def record(result: str, reason: str, termination: str) -> GameRecord:
        return GameRecord(
            round_number,
            opening,
            white.name,
            black.name,
            first_is_white,
            san_moves,
            result,
            reason,
            termination,
            position,
            faults,
        )

    def lose(side_white: bool, reason: str, termination: str) -> GameRecord:
        faults.append(reason)
        return record("0-1" if side_white else "1-0", reason, termination)

    for engine, side_white in ((white, True), (black, False)):
        try:
            engine.new_game()
        except EngineFailure as failure:
            engine.stop()
            what = "hangs" if failure.kind == "time" else "crashed"
            termination = "time forfeit" if failure.kind == "time" else "abandoned"
            return lose(side_white, f"{engine.name} {what} before the game: {failure}", termination)

    pending = list(opening.moves)
    while True:
        legal = referee.legal_moves(position)
        mover = "White" if position.white_to_move else "Black"
        if not legal:
            winner = "1-0" if position.white_to_move else "0-1"
            return record(winner, f"{mover} has no move and wins", "normal")
        if pending:
            move = pending.pop(0)
        else:
            engine = white if position.white_to_move else black
            if engine.spec.send_moves:
                command = f"position fen {start_fen}" + (
                    " moves " + " ".join(played) if played else ""
                )
            else:
                command = f"position fen {position.fen(watch.quiet, move_number)}"
            try:
                sent, note, seconds = engine.best_move(command, margin)
            except EngineFailure as failure:
                if failure.kind == "time":
                    reason = f"{engine.name} ({mover}) lost on time: {failure}"
                    return lose(position.white_to_move, reason, "time forfeit")
                reason = f"{engine.name} ({mover}) crashed: {failure}"
                return lose(position.white_to_move, reason, "abandoned")
            (white_stats if position.white_to_move else black_stats).add(note, seconds)
            if not (
                MOVE_PATTERN.match(sent) and sent[0:4] in legal and suffix_fits(position, sent)
            ):
                reason = (
                    f"{engine.name} ({mover}) played the illegal move '{sent[:40]}' "
                    f"in {position.fen(watch.quiet, move_number)}"
                )
                if sent[0:4] in legal:
                    reason += " (a promotion is written e7e8q, any other move without a letter)"
                return lose(position.white_to_move, reason, "rules infraction")
            move = sent[0:4]
        san_moves.append(san(position, move, legal))
        played.append(move + ("q" if position.is_promotion(move) else ""))
        if not position.white_to_move:
            move_number += 1
        resets = position.apply(move)
        winner = position.winner(variant)
        if winner:
            goal = "its king was taken" if variant == "king-must-die" else "it has no piece left"
            result = "1-0" if winner == "white" else "0-1"
            return record(result, f"{SIDE_NAMES[winner]} wins: {goal}", "normal")
        draw = watch.after(position.key(), resets)
        if draw and referee.legal_moves(position):
            return record("1/2-1/2", draw, "adjudication")


# ---------------------------------------------------------------------------------------------
# PGN.


def pgn_tag(name: str, value: str) -> str:
    return f'[{name} "' + value.replace("\\", "\\\\").replace('"', '\\"') + '"]\n'


def format_pgn(game: GameRecord, event: str, variant: str, date: str) -> str:
    text = (
        pgn_tag("Event", event)
        + pgn_tag("Site", "Kelvane")
        + pgn_tag("Date", date)
        + pgn_tag("Round", str(game.round))
        + pgn_tag("White", game.white)
        + pgn_tag("Black", game.black)
        + pgn_tag("Result", game.result)
        + pgn_tag("Variant", f"Losing chess, {VARIANTS[variant]}")
        + pgn_tag("Termination", game.termination)
    )
    start = game.opening.start
    if game.opening.start_fen is not None:
        text += pgn_tag("SetUp", "1") + pgn_tag("FEN", start.fen())
    tokens: list[str] = []
    white_to_move = start.white_to_move
    number = 1
    for i, move in enumerate(game.san_moves):
        if white_to_move:
            tokens.append(f"{number}.")
        elif i == 0:
            tokens.append(f"{number}...")
        tokens.append(move)
        if i + 1 == len(game.opening.moves):
            tokens.append(f"{{opening {game.opening.number}}}")
        if not white_to_move:
            number += 1
        white_to_move = not white_to_move
    tokens.append("{" + game.reason.replace("}", ")") + "}")
    tokens.append(game.result)
    lines, line = [], ""
    for token in tokens:
        if line and len(line) + 1 + len(token) > 79:
            lines.append(line)
            line = token
        else:
            line = f"{line} {token}" if line else token
    lines.append(line)
    return text + "\n" + "\n".join(lines) + "\n\n"


# ---------------------------------------------------------------------------------------------
# Score and Elo.


def elo_of(score: float) -> float:
    if score <= 0.0:
        return -math.inf
    if score >= 1.0:
        return math.inf
    return -400.0 * math.log10(1.0 / score - 1.0)


def elo_summary(wins: int, draws: int, losses: int) -> tuple[float, float, float, float]:
    """Score, Elo difference, and the Elo bounds of the 95% interval of the score (the normal
    approximation over the games' results)."""
    games = wins + draws + losses
    score = (wins + 0.5 * draws) / games
    variance = (
        wins * (1.0 - score) ** 2 + draws * (0.5 - score) ** 2 + losses * score**2
    ) / games
    margin = 1.959964 * math.sqrt(variance / games)
    return score, elo_of(score), elo_of(score - margin), elo_of(score + margin)


def format_elo(value: float) -> str:
    if math.isinf(value):
        return "+inf" if value > 0 else "-inf"
    return f"{value + 0.0:+.1f}"  # no "-0.0"


# ---------------------------------------------------------------------------------------------
# The match.


@dataclasses.dataclass
class Tally:
    wins: int = 0  # of the first engine
    draws: int = 0
    losses: int = 0

    def add(self, game: GameRecord) -> None:
        if game.result == "1/2-1/2":
            self.draws += 1
        elif (game.result == "1-0") == game.first_is_white:
            self.wins += 1
        else:
            self.losses += 1

    def games(self) -> int:
        return self.wins + self.draws + self.losses


class Match:
    def __init__(self, args: argparse.Namespace, specs: tuple[EngineSpec, EngineSpec]):
        self.args = args
        self.specs = specs
        self.variant = args.variant
        self.referee = Referee(args.referee)
        self.log = Log(args.log)
        self.lock = threading.Lock()
        self.halt = threading.Event()
        self.tally = Tally()
        self.by_colour = {True: Tally(), False: Tally()}
        self.terminations: Counter[str] = Counter()
        self.faults: list[str] = []
        self.stats = (MoveStats(), MoveStats())
        self.names = [spec.name or Path(spec.command[0]).name for spec in specs]
        self.engines: list[Engine] = []
        self.errors: list[str] = []
        self.pgn = None
        self.date = time.strftime("%Y.%m.%d")
        self.finished = 0
        self.total = 0
        self.interrupted = False

    def run(self, openings: list[Opening]) -> int:
        jobs: queue.Queue[tuple[int, Opening, bool]] = queue.Queue()
        for i, opening in enumerate(openings):
            jobs.put((2 * i + 1, opening, True))
            jobs.put((2 * i + 2, opening, False))
        self.total = 2 * len(openings)
        if self.args.pgn:
            try:
                self.pgn = open(self.args.pgn, "a", encoding="utf-8")
            except OSError as error:
                raise MatchError(f"cannot open {self.args.pgn}: {error}") from error
        workers = max(1, min(self.args.concurrency, self.total))
        pairs = []
        try:
            for w in range(workers):
                pair = tuple(
                    Engine(spec, self.variant, self.log, f"{w + 1}.{e + 1}")
                    for e, spec in enumerate(self.specs)
                )
                for engine in pair:
                    self.engines.append(engine)
                    engine.start()
                pairs.append(pair)
            self.names = [pairs[0][0].name, pairs[0][1].name]
            if self.names[0] == self.names[1]:
                self.names = [self.names[0] + " (1)", self.names[1] + " (2)"]
            for pair in pairs:
                pair[0].name, pair[1].name = self.names
            limits = " / ".join(f"{s.limit[0]} {s.limit[1]}" for s in self.specs)
            print(
                f"{self.names[0]} vs {self.names[1]}, {self.variant}, {self.total} games "
                f"({len(openings)} openings, both colours), {limits}",
                flush=True,
            )
            threads = [threading.Thread(target=self.work, args=(jobs, p)) for p in pairs]
            for thread in threads:
                thread.daemon = True
                thread.start()
            for thread in threads:
                while thread.is_alive():
                    thread.join(0.2)
        except KeyboardInterrupt:
            self.interrupted = True
            self.halt.set()
            print("interrupted: the games in play are not counted", file=sys.stderr)
        finally:
            for engine in self.engines:
                engine.stop()
            if self.pgn:
                with self.lock:
                    self.pgn.close()
                    self.pgn = None
            self.log.close()
        with self.lock:
            self.report()
        if self.errors:
            for error in self.errors:
                print(f"error: {error}", file=sys.stderr)
            return 2
        return 130 if self.interrupted else 0

    def work(self, jobs: queue.Queue[tuple[int, Opening, bool]], pair: tuple[Engine, ...]) -> None:
        engines = (pair[0], pair[1])
        while not self.halt.is_set():
            try:
                round_number, opening, first_is_white = jobs.get_nowait()
            except queue.Empty:
                break
            stats = (MoveStats(), MoveStats())
            try:
                game = play_game(
                    round_number,
                    opening,
                    first_is_white,
                    engines,
                    self.referee,
                    self.variant,
                    self.args.timeout / 1000.0,
                    stats,
                )
                self.check_record(game)
            except MatchError as error:
                if not self.halt.is_set():  # not a referee stopped by Ctrl+C
                    with self.lock:
                        self.errors.append(f"game {round_number}: {error}")
                    self.halt.set()
                break
            self.finish(game, stats)

    def check_record(self, game: GameRecord) -> None:
        """The game's PGN, replayed by kelvane-cli, must end where the match ended it."""
        pgn = format_pgn(game, self.args.event, self.variant, self.date)
        replayed = self.referee.replay(pgn)
        if replayed != [game.final.placement()]:
            raise MatchError(
                f"kelvane-cli replays the game to {replayed}, not {game.final.placement()}"
            )

    def finish(self, game: GameRecord, stats: tuple[MoveStats, MoveStats]) -> None:
        with self.lock:
            if self.halt.is_set():  # interrupted: the engines were stopped under the game
                return
            for total, mine in zip(self.stats, stats):
                total.merge(mine)
            self.finished += 1
            self.tally.add(game)
            self.by_colour[game.first_is_white].add(game)
            fault = game.termination not in ("normal", "adjudication")
            self.terminations[game.termination if fault else game.reason] += 1
            self.faults.extend(f"game {game.round}: {fault}" for fault in game.faults)
            if self.pgn:
                self.pgn.write(format_pgn(game, self.args.event, self.variant, self.date))
                self.pgn.flush()
            t = self.tally
            print(
                f"[{self.finished:>{len(str(self.total))}}/{self.total}] game {game.round}: "
                f"{game.white} - {game.black} {game.result} ({game.reason}), "
                f"{len(game.san_moves)} plies; {self.names[0]} +{t.wins} ={t.draws} -{t.losses}",
                flush=True,
            )

    def report(self) -> None:
        t = self.tally
        print()
        print(f"{self.names[0]} vs {self.names[1]}, {self.variant}: {t.games()} games")
        if t.games() == 0:
            return
        score, elo, low, high = elo_summary(t.wins, t.draws, t.losses)
        print(f"W/D/L: {t.wins}/{t.draws}/{t.losses}  score {100 * score:.1f}%")
        print(
            f"Elo difference: {format_elo(elo)}, 95% interval "
            f"[{format_elo(low)}, {format_elo(high)}]"
        )
        for as_white, label in ((True, "White"), (False, "Black")):
            c = self.by_colour[as_white]
            print(f"  with {label}: W/D/L {c.wins}/{c.draws}/{c.losses}")
        ends = ", ".join(f"{name} {count}" for name, count in sorted(self.terminations.items()))
        print(f"Endings: {ends}")
        for name, s in zip(self.names, self.stats):
            if s.moves == 0:
                continue
            parts = [f"{s.moves} moves, {1000 * s.seconds / s.moves:.0f} ms a move"]
            if s.depth_count:
                parts.append(f"depth {s.depth_sum / s.depth_count:.1f}")
            if s.nodes_count:
                parts.append(f"{s.nodes_sum / s.nodes_count:.0f} nodes")
            print(f"  {name}: " + ", ".join(parts) + " on average")
        for fault in self.faults:
            print(f"Fault: {fault}")


# ---------------------------------------------------------------------------------------------
# Command line.


def parse_option(text: str) -> tuple[str, str]:
    name, equals, value = text.partition("=")
    if not equals or not name.strip():
        raise argparse.ArgumentTypeError(f"'{text}' is not NAME=VALUE")
    return name.strip(), value


def positive(text: str) -> int:
    try:
        value = int(text)
    except ValueError:
        raise argparse.ArgumentTypeError(f"'{text}' is not a whole number") from None
    if value < 1:
        raise argparse.ArgumentTypeError(f"'{text}' is not 1 or more")
    return value


def variant_name(text: str) -> str:
    name = VARIANT_SHORT_NAMES.get(text, text)
    if name not in VARIANTS:
        raise argparse.ArgumentTypeError(f"'{text}' is not king-must-die or all-must-die")
    return name


def default_referee() -> str:
    built = REPO / "build" / "kelvane-cli"
    return str(built) if built.exists() else "kelvane-cli"


def build_parser() -> argparse.ArgumentParser:
    parser = argparse.ArgumentParser(
        description="Plays two UCI engines against each other under Kelvane's rules, every "
        "move checked by kelvane-cli.",
        epilog="Example: scripts/match.py --first 'build/kelvane-cli uci' --first-option "
        "Level=hard --second /usr/games/fairy-stockfish --second-option "
        "VariantPath=$PWD/scripts/variants.ini --movetime 100 --pgn games.pgn",
    )
    for which in ("first", "second"):
        parser.add_argument(f"--{which}", metavar="COMMAND", help=f"the {which} engine's command")
        parser.add_argument(
            f"--{which}-option",
            metavar="NAME=VALUE",
            type=parse_option,
            action="append",
            default=[],
            help="a UCI option for it (repeatable), set in the order given",
        )
        parser.add_argument(
            f"--{which}-name", metavar="NAME", help="its name in the output and the PGN"
        )
        parser.add_argument(
            f"--{which}-movetime", metavar="MS", type=positive, help="its own time a move"
        )
        parser.add_argument(
            f"--{which}-nodes", metavar="N", type=positive, help="its own node budget a move"
        )
        parser.add_argument(
            f"--{which}-send-moves",
            action="store_true",
            help="give it the game's moves since the opening's start, not only the current "
            "position (for an engine without en passant)",
        )
    parser.add_argument(
        "--variant",
        type=variant_name,
        metavar="NAME",
        default="king-must-die",
        help="king-must-die (king) or all-must-die (all); sent as UCI_Variant",
    )
    parser.add_argument("--movetime", metavar="MS", type=positive, help="time a move, both")
    parser.add_argument("--nodes", metavar="N", type=positive, help="nodes a move, both")
    parser.add_argument(
        "--timeout",
        metavar="MS",
        type=positive,
        default=5000,
        help="a move that has not come MS after its movetime (MS after go, with nodes) loses "
        "on time; default 5000",
    )
    parser.add_argument(
        "--book", metavar="FILE", default=str(DEFAULT_BOOK), help="the openings, one a line"
    )
    parser.add_argument("--openings", metavar="N", type=positive, help="the first N openings")
    parser.add_argument(
        "--concurrency", metavar="N", type=positive, default=1, help="games at once; default 1"
    )
    parser.add_argument("--pgn", metavar="FILE", help="append the games to FILE")
    parser.add_argument(
        "--event", metavar="TEXT", default="Kelvane match", help="the PGN Event tag"
    )
    parser.add_argument("--log", metavar="FILE", help="append the UCI conversation to FILE")
    parser.add_argument(
        "--referee", metavar="PATH", default=default_referee(), help="kelvane-cli's path"
    )
    parser.add_argument(
        "--check-book", action="store_true", help="only check the openings and say how many"
    )
    return parser


def engine_spec(args: argparse.Namespace, which: str) -> EngineSpec:
    command_text = getattr(args, which)
    if not command_text:
        raise MatchError(f"--{which} is needed")
    try:
        command = shlex.split(command_text)
    except ValueError as error:
        raise MatchError(f"--{which}: {error}") from error
    if not command:
        raise MatchError(f"--{which} is empty")
    movetime = getattr(args, f"{which}_movetime")
    nodes = getattr(args, f"{which}_nodes")
    if movetime and nodes:
        raise MatchError(f"--{which}-movetime and --{which}-nodes exclude each other")
    if not movetime and not nodes:
        movetime, nodes = args.movetime, args.nodes
        if movetime and nodes:
            raise MatchError("--movetime and --nodes exclude each other")
    if not movetime and not nodes:
        raise MatchError(f"the {which} engine has no limit (--movetime or --nodes)")
    limit = ("movetime", movetime) if movetime else ("nodes", nodes)
    return EngineSpec(
        command,
        getattr(args, f"{which}_option"),
        getattr(args, f"{which}_name"),
        limit,
        getattr(args, f"{which}_send_moves"),
    )


def stop_like_ctrl_c(signum: int, frame: object) -> None:
    raise KeyboardInterrupt


def main(argv: list[str] | None = None) -> int:
    args = build_parser().parse_args(argv)
    # A match ended from outside still stops its engines and reports the games played.
    signal.signal(signal.SIGTERM, stop_like_ctrl_c)
    signal.signal(signal.SIGHUP, stop_like_ctrl_c)
    try:
        referee = Referee(args.referee)
        openings = load_book(Path(args.book), referee, args.variant)
        if args.check_book:
            print(f"{len(openings)} openings, every move legal")
            return 0
        if args.openings:
            if args.openings > len(openings):
                raise MatchError(f"the book has {len(openings)} openings, not {args.openings}")
            openings = openings[: args.openings]
        specs = (engine_spec(args, "first"), engine_spec(args, "second"))
        match = Match(args, specs)
        match.referee = referee
        return match.run(openings)
    except MatchError as error:
        print(f"match.py: {error}", file=sys.stderr)
        return 2
    except KeyboardInterrupt:
        print("match.py: interrupted", file=sys.stderr)
        return 130


if __name__ == "__main__":
    sys.exit(main())
