#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kelvane-cli as a script uses it: options written --name=value, the board's letters outside a
# UTF-8 locale, a closed output in every command, and a recorded game read back by replay.
# Usage: scripted_sessions.sh KELVANE-CLI
cli=$(realpath "$1")
status=0
fail() { echo "FAIL: $*" >&2; status=1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
export HOME=$scratch

# --name=value, the level alone, the letters of the C locale and symbols under UTF-8.
out=$(printf 'level\nrules\n' | LC_ALL=C "$cli" play --level=hard --rules=all)
grep -qx 'Level hard.' <<<"$out" || fail "--level=hard: $out"
grep -qx 'Rules: all must die.' <<<"$out" || fail "--rules=all: $out"
grep -qx '1 R N B Q K B N R' <<<"$out" || fail "no letters in the C locale: $out"
out=$(printf 'quit\n' | LC_ALL=C.UTF-8 "$cli" play --black)
grep -q '^1 ♖ ♘ ♗ ♔ ♕ ♗ ♘ ♖$' <<<"$out" || fail "no symbols from Black's side: $out"
grep -q '^White plays ' <<<"$out" || fail "the computer did not open as White: $out"
[ "$("$cli" search start black 2 --rules=king | head -n 1)" = "$("$cli" search start black 2 |
    head -n 1)" ] || fail "search --rules=king"

# Without the board, a move and its reply are two lines; the game and its record agree.
out=$(printf 'e3\nresign\n' | "$cli" play --no-board --pgn=game.pgn)
[ "$(grep -c ' plays ' <<<"$out")" = 2 ] || fail "--no-board: $out"
[ "$(tail -n 1 <<<"$out")" = "I won: you resigned. 0-1" ] || fail "resign: $out"
replayed=$("$cli" replay game.pgn)
[[ $replayed == "game 1: 0-1 "* ]] || fail "replay of the played game: $replayed"

# A reader that has gone away is a failed write: status 1 from every command, never SIGPIPE.
printf 'moves\nquit\n' > moves.txt
for command in "play" "selfplay --depth=1 --max-plies=3" "replay game.pgn" "perft start white 2" \
    "moves start white" "search start white 1" "bench --depth=0" "--help" "--version"; do
    # The reader (true) has ended before the first write.
    (sleep 0.3; exec "$cli" $command < moves.txt 2>/dev/null) | true
    code=${PIPESTATUS[0]}
    [ "$code" = 1 ] || fail "$command into a closed pipe: status $code, not 1"
done
"$cli" moves start white >&- 2>/dev/null
[ $? = 1 ] || fail "moves with its output closed: not status 1"
exit $status
