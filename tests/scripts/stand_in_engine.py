#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A UCI engine for the match tool's tests, playing as BEHAVIOUR says:
  first       the first legal move kelvane-cli lists
  shuffle     the king's knight out and back (g1f3 f3g1, g8f6 f6g8), for repetitions
  illegal     e2e5, which no position allows
  bare        the first legal move, a promotion without its letter
  crash       ends when told to go
  hang        never answers go
  no-variant  offers UCI_Variant without Kelvane's rule sets
Usage: stand_in_engine.py KELVANE_CLI BEHAVIOUR"""

import subprocess
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "scripts"))
import match  # noqa: E402

cli, behaviour = sys.argv[1], sys.argv[2]
variants = "var chess" if behaviour == "no-variant" else "var king-must-die var all-must-die"
position = match.Position.from_fen(match.START_PLACEMENT)


def choose() -> str:
    if behaviour == "illegal":
        return "e2e5"
    if behaviour == "shuffle":
        knight, home, out = ("N", "g1", "f3") if position.white_to_move else ("n", "g8", "f6")
        at_home = position.squares[match.square_index(home)] == knight
        return home + out if at_home else out + home
    side = "white" if position.white_to_move else "black"
    legal = subprocess.run([cli, "moves", position.placement(), side], capture_output=True,
                           text=True, check=True).stdout.split()
    if not legal:
        return "0000"
    promotion = position.is_promotion(legal[0]) and behaviour != "bare"
    return legal[0] + ("q" if promotion else "")


for line in sys.stdin:
    words = line.split()
    if words == ["uci"]:
        print("id name Stand-in " + behaviour)
        print("option name UCI_Variant type combo default chess " + variants)
        print("uciok")
    elif words == ["isready"]:
        print("readyok")
    elif words[:1] == ["position"]:
        rest = line.split("moves")[0].split()[1:]
        fen = match.START_PLACEMENT if rest[:1] == ["startpos"] else " ".join(rest[1:])
        position = match.Position.from_fen(fen)
        for move in words[words.index("moves") + 1:] if "moves" in words else []:
            position.apply(move[0:4])
    elif words[:1] == ["go"]:
        if behaviour == "crash":
            sys.exit(3)
        if behaviour != "hang":
            print("info depth 1 nodes 1")
            print("bestmove " + choose())
    elif words == ["quit"]:
        break
    sys.stdout.flush()
