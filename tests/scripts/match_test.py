#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""scripts/match.py: what it keeps itself (notation, draws, score), and whole matches: engines
that misbehave lose, games end as the rules say, and kelvane-cli uci plays itself.
Usage: match_test.py KELVANE_CLI [unittest arguments]"""

import math
import re
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
SCRIPT = HERE.parents[1] / "scripts" / "match.py"
sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, str(SCRIPT.parent))
import match  # noqa: E402

CLI = ""  # set from the command line


class Notation(unittest.TestCase):
    def test_san_names_each_move_as_kelvane_replays_it(self):
        cases = [
            # FEN, move, SAN
            ("k7/8/8/8/8/8/K7/R6R w", "a1d1", "Rad1"),  # the other rook on the same rank
            ("7k/8/8/R7/8/8/7K/R7 w", "a1a3", "R1a3"),  # on the same file
            ("1k6/8/8/8/4Q2Q/8/K7/7Q w", "h4e1", "Qh4e1"),  # on both
            ("1k6/8/8/8/4Q2Q/8/K7/7Q w", "e4e1", "Qee1"),
            ("k7/8/8/3p4/4P3/8/8/7K w", "e4d5", "exd5"),
            ("k7/1P6/8/8/8/8/8/7K w", "b7a8", "bxa8=Q"),
            ("4k3/8/8/8/8/8/8/r3K3 b", "a1e1", "Rxe1"),
            ("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b", "g8f6", "Nf6"),
        ]
        referee = match.Referee(CLI)
        for fen, move, expected in cases:
            with self.subTest(fen=fen, move=move):
                position = match.Position.from_fen(fen)
                legal = referee.legal_moves(position)
                self.assertIn(move, legal)
                self.assertEqual(match.san(position, move, legal), expected)


class Adjudication(unittest.TestCase):
    def test_third_repetition(self):
        watch = match.DrawWatch("A")
        self.assertEqual([watch.after(k, False) for k in "BAB"], [None] * 3)
        self.assertEqual(watch.after("A", False), "Draw by threefold repetition")

    def test_quiet_plies_count_from_the_last_capture_or_pawn_move(self):
        watch = match.DrawWatch("start")
        keys = iter(range(1000))
        self.assertFalse(any(watch.after(str(next(keys)), False) for _ in range(60)))
        self.assertIsNone(watch.after(str(next(keys)), True))
        self.assertFalse(any(watch.after(str(next(keys)), False) for _ in range(99)))
        self.assertEqual(
            watch.after(str(next(keys)), False),
            "Draw after 100 plies without a capture or a pawn move",
        )

    def test_six_hundred_plies(self):
        watch = match.DrawWatch("start")
        verdicts = [watch.after(str(ply), ply % 50 == 0) for ply in range(1, 601)]
        self.assertEqual(verdicts[:599], [None] * 599)
        self.assertEqual(verdicts[599], "Draw at 600 plies")


class Score(unittest.TestCase):
    def test_elo_and_interval(self):
        cases = [
            # W, D, L, score, Elo, low, high (written out from -400 log10(1/s - 1))
            (3, 0, 1, 0.75, 190.85, None, math.inf),
            (1, 0, 3, 0.25, -190.85, -math.inf, None),
            (10, 0, 10, 0.5, 0.0, -163.3, 163.3),
            (0, 8, 0, 0.5, 0.0, 0.0, 0.0),
            (4, 0, 0, 1.0, math.inf, math.inf, math.inf),
        ]
        for wins, draws, losses, score, elo, low, high in cases:
            with self.subTest(wdl=(wins, draws, losses)):
                got = match.elo_summary(wins, draws, losses)
                self.assertAlmostEqual(got[0], score)
                for value, expected in zip(got[1:], (elo, low, high)):
                    if expected is None:
                        continue
                    if math.isinf(expected):
                        self.assertEqual(value, expected)
                    else:
                        self.assertAlmostEqual(value, expected, delta=0.1)


def games_of(pgn: str) -> list[dict]:
    """Each game's tags and movetext."""
    games = []
    for block in re.split(r"\n\n(?=\[)", pgn.strip()):
        tags = dict(re.findall(r'^\[(\w+) "(.*)"\]$', block, re.M))
        lines = [line for line in block.splitlines() if line and not line.startswith("[")]
        tags["moves"] = " ".join(lines)
        games.append(tags)
    return games


class MatchRunner(unittest.TestCase):
    def run_match(self, first: str, second: str, book: str, *options: str):
        """status, output, errors and the PGN games of a match of stand-ins (by behaviour) or
        of engine commands."""

        def command(engine: str) -> str:
            if " " in engine:
                return engine
            return f"{sys.executable} {HERE / 'stand_in_engine.py'} {CLI} {engine}"

        with tempfile.TemporaryDirectory() as folder:
            (Path(folder) / "book.txt").write_text(book)
            pgn = Path(folder) / "games.pgn"
            done = subprocess.run(
                [sys.executable, str(SCRIPT), "--referee", CLI, "--book",
                 str(Path(folder) / "book.txt"), "--first", command(first),
                 "--second", command(second), "--pgn", str(pgn), *options],
                capture_output=True, text=True, timeout=300, check=False)
            text = pgn.read_text() if pgn.exists() else ""
            replayed = ""
            if text:
                replayed = subprocess.run([CLI, "replay", str(pgn)], capture_output=True,
                                          text=True, check=False).stdout
        return done.returncode, done.stdout, done.stderr, games_of(text) if text else [], replayed


class FaultyEngines(MatchRunner):
    def test_an_engine_that_misbehaves_loses_every_game(self):
        cases = [
            ("illegal", "rules infraction", "played the illegal move 'e2e5'", []),
            ("crash", "abandoned", "crashed: the engine ended (exit status 3)", []),
            ("hang", "time forfeit", "lost on time", ["--timeout", "300"]),
        ]
        for behaviour, termination, reason, extra in cases:
            with self.subTest(behaviour=behaviour):
                status, out, _, games, _ = self.run_match(
                    behaviour, "first", "e2e3 b7b5\n", "--nodes", "1", *extra)
                self.assertEqual(status, 0)
                self.assertIn("W/D/L: 0/0/2", out)
                self.assertEqual(out.count("Fault: game"), 2)
                self.assertEqual([g["Result"] for g in games], ["0-1", "1-0"])
                for game in games:
                    self.assertEqual(game["Termination"], termination)
                    self.assertIn(reason, game["moves"])

    def test_a_promotion_needs_its_letter(self):
        status, out, _, games, _ = self.run_match(
            "bare", "first", "k7/4P3/8/8/8/8/8/7K w;\n", "--nodes", "1")
        self.assertEqual(status, 0, out)
        self.assertEqual(games[0]["Result"], "0-1")
        self.assertIn("played the illegal move 'e7e8'", games[0]["moves"])
        self.assertIn("a promotion is written e7e8q", games[0]["moves"])
        self.assertTrue(games[1]["moves"].startswith("1. e8=Q "), games[1]["moves"])

    def test_a_bad_book_or_engine_stops_the_match_with_a_reason(self):
        cases = [
            ("first", "e2e3 e2e5\n", "book.txt:1: e2e5 is not legal"),
            ("first", "# openings\ne2e3 b7b5 zz\n", "book.txt:2: 'zz' is not a move"),
            ("first", "8/8/8/8/8/8/8/4K3 w; e1e2\n", "book.txt:1: the game is over before e1e2"),
            ("first", "8/8/8/8/8/8/8/4K3 w KQ - 0 1;\n", "book.txt:1: the castling field"),
            ("no-variant", "e2e3\n", "does not offer the variant king-must-die"),
            ("/nonexistent/engine uci", "e2e3\n", "cannot start /nonexistent/engine uci"),
        ]
        for first, book, message in cases:
            with self.subTest(message=message):
                status, _, errors, games, _ = self.run_match(
                    first, "first", book, "--movetime", "10")
                self.assertEqual(status, 2)
                self.assertIn(message, errors)
                self.assertEqual(games, [])


class Games(MatchRunner):
    def test_games_end_as_the_rules_say(self):
        cases = [
            ("4k3/8/8/8/8/8/8/r3K3 b;", "king", "1-0", "White wins: its king was taken"),
            ("4k3/8/8/8/8/8/8/4R3 w;", "all", "0-1", "Black wins: it has no piece left"),
            ("8/8/8/8/8/p7/P7/7K w;", "all", "0-1", "Black has no move and wins"),
        ]
        for book, variant, result, reason in cases:
            with self.subTest(book=book):
                status, out, _, games, replayed = self.run_match(
                    "first", "first", book + "\n", "--nodes", "1", "--variant", variant)
                self.assertEqual(status, 0, out)
                self.assertEqual(len(games), 2)
                for game in games:
                    self.assertEqual((game["Result"], game["Termination"]), (result, "normal"))
                    self.assertIn(f"{{{reason}}} {result}", game["moves"])
                    self.assertEqual(game["FEN"], book.replace(";", " - - 0 1"))
                self.assertEqual(len(replayed.splitlines()), 2)

    def test_third_repetition_is_a_draw(self):
        status, out, _, games, _ = self.run_match(
            "shuffle", "shuffle", match.START_PLACEMENT + " w;\n", "--movetime", "1")
        self.assertEqual(status, 0, out)
        self.assertIn("W/D/L: 0/2/0", out)
        self.assertEqual(
            games[0]["moves"],
            "1. Nf3 Nf6 2. Ng1 Ng8 3. Nf3 Nf6 4. Ng1 Ng8 {Draw by threefold repetition} 1/2-1/2")
        self.assertEqual(games[0]["Termination"], "adjudication")
        self.assertEqual(games[0]["Variant"], "Losing chess, King must die")

    def test_the_shipped_book_is_legal(self):
        done = subprocess.run([sys.executable, str(SCRIPT), "--referee", CLI, "--check-book"],
                              capture_output=True, text=True, check=False)
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertGreaterEqual(int(done.stdout.split()[0]), 50)

    def test_kelvane_plays_itself(self):
        engine = f"{CLI} uci"
        status, out, _, games, replayed = self.run_match(
            engine, engine, "c2c4 g8h6 g1f3 h6g4\n", "--nodes", "2000",
            "--first-option", "Hash=8", "--second-option", "Hash=8")
        self.assertEqual(status, 0, out)
        wins, draws, losses = map(int, re.search(r"W/D/L: (\d+)/(\d+)/(\d+)", out).groups())
        self.assertEqual(wins + draws + losses, 2)
        self.assertEqual(len(games), 2)
        whites = games[0]["White"] + "/" + games[1]["White"]
        self.assertRegex(whites, r"^Kelvane \S+ \(1\)/Kelvane \S+ \(2\)$")
        for game in games:
            self.assertIn(game["Termination"], ("normal", "adjudication"))
        self.assertEqual(len(replayed.splitlines()), 2)


if __name__ == "__main__":
    CLI = sys.argv.pop(1)
    unittest.main()
