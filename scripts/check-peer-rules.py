#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks that fairy-stockfish, set up by scripts/variants.ini, plays by Kelvane's rules: on
positions from random games and from the openings book, its legal moves (go perft 1) are
kelvane-cli's, and its move-sequence counts at depths 2 and 3 (go perft N) are kelvane-cli's.

fairy-stockfish stops counting where a game has ended (a king taken under King must die, a
side without pieces under All must die); kelvane-cli perft counts on through. The comparison
takes those ended games out of kelvane-cli's count, so the way each engine ends a game is
checked too. Positions are given without an en-passant square, as the match gives them; but
11.1 cannot switch en passant off inside its own tree, where a capture is compulsory, so a
count is compared only when no pawn's double step beside an enemy pawn comes before its last
ply.

Usage: scripts/check-peer-rules.py [--peer /usr/games/fairy-stockfish] [--positions 200]
"""

import argparse
import random
import subprocess
import sys
from pathlib import Path

sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent))
import match  # noqa: E402


class Peer:
    def __init__(self, command: str, variants: Path, variant: str):
        self.process = subprocess.Popen(
            [command], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1
        )
        self.send(f"setoption name VariantPath value {variants}")
        self.send(f"setoption name UCI_Variant value {variant}")

    def send(self, line: str) -> None:
        assert self.process.stdin is not None
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()

    def perft(self, fen: str, depth: int) -> tuple[int, list[str]]:
        """The count and, at depth 1, the moves (promotions without their letter)."""
        self.send(f"position fen {fen}")
        self.send(f"go perft {depth}")
        moves = []
        assert self.process.stdout is not None
        while True:
            line = self.process.stdout.readline()
            if not line:
                raise RuntimeError("fairy-stockfish ended")
            if line.startswith("Nodes searched:"):
                return int(line.split(":")[1]), moves
            if ":" in line and match.MOVE_PATTERN.match(line.split(":")[0]):
                moves.append(line.split(":")[0][0:4])

    def score(self, fen: str) -> str:
        self.send("ucinewgame")
        self.send(f"position fen {fen}")
        self.send("go depth 4")
        score = ""
        assert self.process.stdout is not None
        while True:
            line = self.process.stdout.readline()
            if not line:
                raise RuntimeError("fairy-stockfish ended")
            words = line.split() or [""]
            if "score" in words:
                score = " ".join(words[words.index("score") + 1 : words.index("score") + 3])
            if words[0] == "bestmove":
                return score

    def close(self) -> None:
        self.send("quit")
        self.process.wait()


# Positions lost for the side to move at once ("mate -1" from the peer).
LOST_POSITIONS = [
    ("king-must-die", "4k3/8/8/8/8/8/8/r3K3 b - - 0 1"),  # Black must take the king
    ("all-must-die", "4k3/8/8/8/8/8/8/4R3 w - - 0 1"),  # White must take Black's last piece
    ("all-must-die", "8/8/8/8/8/p7/P7/7K w - - 0 1"),  # each move leaves Black without one
]


def cli_perft(referee: match.Referee, position: match.Position, depth: int) -> int:
    side = "white" if position.white_to_move else "black"
    return int(referee._run(["perft", position.placement(), side, str(depth)]))


def child(position: match.Position, move: str) -> match.Position:
    after = position.copy()
    after.apply(move)
    return after


def opens_en_passant(position: match.Position, move: str) -> bool:
    """A pawn's double step to beside an enemy pawn."""
    pawn = position.squares[match.square_index(move[0:2])]
    if pawn not in "Pp" or abs(int(move[3]) - int(move[1])) != 2:
        return False
    enemy = "p" if pawn == "P" else "P"
    files = (chr(ord(move[2]) + d) for d in (-1, 1))
    beside = [file + move[3] for file in files if "a" <= file <= "h"]
    return any(position.squares[match.square_index(square)] == enemy for square in beside)


def counts_that_stop_at_ended_games(
    referee: match.Referee, position: match.Position, variant: str
) -> tuple[int | None, int | None, int]:
    """Counts of depths 2 and 3 where a sequence stops at a position whose game has ended (the
    last move of a sequence may end it), from kelvane-cli's lists and counts, or None where en
    passant would change the peer's; and how many ended games the tree holds."""
    depth2 = 0
    depth3 = cli_perft(referee, position, 3)
    ended = 0
    en_passant_at_1 = en_passant_at_2 = False
    for move in referee.legal_moves(position):
        en_passant_at_1 = en_passant_at_1 or opens_en_passant(position, move)
        first = child(position, move)
        if first.winner(variant):
            ended += 1
            depth3 -= cli_perft(referee, first, 2)
            continue
        replies = referee.legal_moves(first)
        depth2 += len(replies)
        for reply in replies:
            en_passant_at_2 = en_passant_at_2 or opens_en_passant(first, reply)
            second = child(first, reply)
            if second.winner(variant):
                ended += 1
                depth3 -= len(referee.legal_moves(second))
    if en_passant_at_1:
        return None, None, ended
    return depth2, (None if en_passant_at_2 else depth3), ended


def sample_positions(
    referee: match.Referee, count: int, seed: int, variant: str
) -> list[match.Position]:
    """The positions at the end of each opening of the book, then positions of random games
    (from both starts, every fifth ply until the game ends)."""
    rng = random.Random(seed)
    positions = []
    book = match.parse_book(match.DEFAULT_BOOK.read_text())
    for _, fen, moves in book:
        position = match.Position.from_fen(fen or match.START_PLACEMENT)
        for move in moves:
            position.apply(move)
        positions.append(position)
    while len(positions) < count:
        side = rng.choice([" w", " b"])
        position = match.Position.from_fen(match.START_PLACEMENT + side)
        for ply in range(1, match.MAX_PLIES):
            legal = referee.legal_moves(position)
            if not legal:
                break
            position.apply(rng.choice(legal))
            if position.winner(variant):
                break
            if ply % 5 == 0:
                positions.append(position.copy())
    return positions[:count]


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--peer", default="/usr/games/fairy-stockfish")
    parser.add_argument("--variants", default=str(match.REPO / "scripts" / "variants.ini"))
    parser.add_argument("--referee", default=match.default_referee())
    parser.add_argument("--positions", type=int, default=200)
    parser.add_argument("--seed", type=int, default=15)
    args = parser.parse_args()
    referee = match.Referee(args.referee)
    failures = 0
    for variant in match.VARIANTS:
        positions = sample_positions(referee, args.positions, args.seed, variant)
        peer = Peer(args.peer, Path(args.variants).resolve(), variant)
        compared = [0, 0, 0]
        ended_trees = 0
        for position in positions:
            if position.winner(variant) or not referee.legal_moves(position):
                continue
            fen = position.fen()
            ours = [sorted(referee.legal_moves(position))]
            depth2, depth3, ended = counts_that_stop_at_ended_games(referee, position, variant)
            ours += [depth2, depth3]
            theirs = [sorted(peer.perft(fen, 1)[1])]
            theirs += [peer.perft(fen, d)[0] if ours[d - 1] is not None else None for d in (2, 3)]
            for depth in range(3):
                compared[depth] += ours[depth] is not None
            ended_trees += ended > 0 and depth3 is not None
            if theirs != ours:
                failures += 1
                print(f"{variant}: {fen}: kelvane-cli {ours}, peer {theirs}")
        for _, fen in (case for case in LOST_POSITIONS if case[0] == variant):
            score = peer.score(fen)
            if score != "mate -1":
                failures += 1
                print(f"{variant}: {fen}: the peer says {score}, not mate -1")
        peer.close()
        print(
            f"{variant}: legal moves compared on {compared[0]} positions, counts at depth 2 on "
            f"{compared[1]}, at depth 3 on {compared[2]} ({ended_trees} of them with a game "
            f"ending inside the tree); the others open en passant"
        )
    print("differences: " + str(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
