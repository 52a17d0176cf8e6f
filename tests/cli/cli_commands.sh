#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kelvane-cli as a user runs it: every command's defaults, its documented messages and exit
# statuses, the records it writes read back by replay, and Ctrl+C during a waiting read.
# Every expected text is written out here. Takes the program's path.
set -u
cli=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
export HOME="$work" XDG_CONFIG_HOME="$work/config"
status=0
fail() { echo "FAIL: $*" >&2; status=1; }

# t STATUS OUT ERR ARGS...: runs kelvane-cli ARGS with $input on stdin (none by default).
# OUT and ERR are the exact texts without the last newline; OUT '*' takes anything. Timings
# in the output read as T.
input=
t() {
    local want_status=$1 want_out=$2 want_err=$3 out err code
    shift 3
    printf '%s' "$input" | timeout 60 "$cli" "$@" >"$work/out" 2>"$work/err"
    code=${PIPESTATUS[1]}
    out=$(sed -E 's/^(time|slowest) [0-9.e+-]+ ms.*/\1 T ms/; s/^calls per second [0-9]+$/calls per second N/' "$work/out")
    err=$(cat "$work/err")
    if [ "$code" != "$want_status" ] || { [ "$want_out" != '*' ] && [ "$out" != "$want_out" ]; } ||
        [ "$err" != "$want_err" ]; then
        fail "kelvane-cli $*: status $code (want $want_status)"
        diff <(echo "$want_out") <(echo "$out") >&2
        diff <(echo "$want_err") <(echo "$err") >&2
    fi
    input=
}
lines() { printf '%s\n' "$@"; }

white_start=$(lines a2a3 a2a4 b2b3 b2b4 b1c3 b1a3 c2c3 c2c4 d2d3 d2d4 e2e3 e2e4 f2f3 f2f4 g2g3 \
    g2g4 g1h3 g1f3 h2h3 h2h4)
black_start=$(lines a7a6 a7a5 b8c6 b8a6 b7b6 b7b5 c7c6 c7c5 d7d6 d7d5 e7e6 e7e5 f7f6 f7f5 g8h6 \
    g8f6 g7g6 g7g5 h7h6 h7h5)
# The starting position as a saved game: column by column, rank 8 first in each.
for kind in 4 2 3 5 6 3 2 4; do
    printf "\\x$(printf %02x $((10 + kind)))\\x0b\\0\\0\\0\\0\\x15\\x$(printf %02x $((20 + kind)))"
done >start.sav
head -c 10 start.sav >short.sav

# The command line itself.
t 2 '' 'kelvane-cli: missing command (try kelvane-cli --help)'
for help in --help -h help; do t 0 '*' '' $help; done
t 2 '' "kelvane-cli: unknown command 'dance' (try kelvane-cli --help)" dance
for command in moves search perft selfplay bench play replay; do
    "$cli" $command --help | head -1 | grep -q "^usage: kelvane-cli $command" ||
        fail "$command --help gives no usage"
done

# moves: the generator's order, from start, a FEN (later fields ignored), a saved game.
t 0 "$white_start" '' moves start white
t 0 "$black_start" '' moves start 1
t 0 "$white_start" '' moves 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1' 2
t 0 "$white_start" '' moves start.sav white
t 0 "$(lines d2c3 d2e3)" '' moves 8/8/8/8/8/2p1p3/3P4/R7 white
t 2 '' 'kelvane-cli moves: moves needs 2 arguments (see --help)' moves start
t 2 '' "kelvane-cli moves: unknown side 'green' (white or black)" moves start green
t 2 '' "kelvane-cli moves: unexpected argument 'extra' for moves" moves start white extra
t 2 '' "kelvane-cli moves: malformed FEN 'rnbqkbnr/ppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR': rank 7 has \
more than 8 squares" moves rnbqkbnr/ppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR white
t 2 '' "kelvane-cli moves: cannot open 'missing.sav' as a regular file, and it is not a FEN \
placement field" moves missing.sav white
t 2 '' 'kelvane-cli moves: "short.sav" does not hold a saved game: it holds 10 bytes where a saved game has exactly 64. The board is left as it was.' moves short.sav white

# search: the rules decide here (King must die by default: taking Black's king loses).
t 0 "$(lines h1h8 'nodes 1' 'time T ms')" '' search k6q/8/8/8/8/8/8/R6R white 2
t 0 "$(lines h1h8 'nodes 1' 'time T ms')" '' search k6q/8/8/8/8/8/8/R6R white 2 --rules king
t 0 "$(lines a1a8 'nodes 8' 'time T ms')" '' search k6q/8/8/8/8/8/8/R6R white 2 --rules all
t 0 "$(lines none 'nodes 1' 'time T ms')" '' search 8/8/8/8/8/3p4/3P4/8 white 3
t 0 "$(lines g2g3 'nodes 7745' 'time T ms')" '' search start white 4
t 2 '' 'kelvane-cli search: depth must be 0 to 10' search start white 11
t 2 '' 'kelvane-cli search: depth must be 0 to 10' search start white -1
t 2 '' "kelvane-cli search: depth must be a number, not '3x'" search start white 3x
t 2 '' "kelvane-cli search: unknown rules 'queen' (king or all)" search start white 2 --rules queen
t 2 '' 'kelvane-cli search: --rules needs a value' search start white 2 --rules
t 2 '' "kelvane-cli search: unexpected argument '--depth' for search" search start white 2 --depth 3

# perft and bench; bench searches at depth 6 unless told otherwise.
t 0 1 '' perft start white 0
t 0 400 '' perft start black 2
t 0 8067 '' perft start white 3
t 2 '' 'kelvane-cli perft: depth must be 0 to 10' perft start white 11
t 0 "$(lines 'positions 51' 'depth 6' 'nodes 4981898' 'time T ms' 'calls per second N' \
    'slowest T ms')" '' bench
t 0 "$(lines 'positions 51' 'depth 1' 'nodes 580' 'time T ms' 'calls per second N' \
    'slowest T ms')" '' bench --depth 1
t 2 '' "kelvane-cli bench: depth must be a number, not 'deep'" bench --depth deep

# selfplay: depth 2, King must die and 1000 plies by default; Black opens with g7g6.
t 0 "$(lines g7g6 g2g3 f7f6 f2f3 f8g7 f1g2 'No result within 6 plies.')" '' selfplay --max-plies 6
t 0 "$(lines g7g6 g2g3 f7f6 g1f3 f6f5 g3g4 'No result within 6 plies.')" '' \
    selfplay --max-plies 6 --depth 3
t 0 "$(lines g7g6 f2f4 e7e5 f4e5 d8f6 e5f6 'No result within 6 plies.')" '' \
    selfplay --max-plies 6 --depth 1 --rules all
out=$("$cli" selfplay)
[ "$(wc -l <<<"$out")" = 1001 ] && [ "${out##*$'\n'}" = 'No result within 1000 plies.' ] ||
    fail "selfplay: $(wc -l <<<"$out") lines ending '${out##*$'\n'}'"
t 0 "$(lines g7g6 g2g3 f7f6 f2f3 f8g7 f1g2 e8f7 e1f2 f7e6 f2f1 e6f7 f1f2 f7e6 f2f1 e6f7 f1f2 \
    'Draw by repetition.')" '' selfplay --draws
t 0 "$(lines 'g7g6 rnbqkbnr/pppppp1p/6p1/8/8/8/PPPPPPPP/RNBQKBNR' \
    'g2g3 rnbqkbnr/pppppp1p/6p1/8/8/6P1/PPPPPP1P/RNBQKBNR' 'No result within 2 plies.')" '' \
    selfplay --max-plies 2 --positions
t 2 '' "kelvane-cli selfplay: unexpected argument '--plies' for selfplay" selfplay --plies 3
t 2 '' 'kelvane-cli selfplay: max-plies must be 0 to 1000000' selfplay --max-plies 1000001

# The record selfplay appends, tag by tag, read back by replay; a second game is appended.
t 0 '*' '' selfplay --max-plies 2 --pgn self.pgn
t 0 '*' '' selfplay --max-plies 3 --rules all --pgn self.pgn
today=$(date +%Y.%m.%d)
for tag in 'Event "Kelvane selfplay"' 'Site "Kelvane"' "Date \"$today\"" 'Round "1"' \
    'White "Kelvane, depth 2"' 'Black "Kelvane, depth 2"' 'Result "*"' \
    'Variant "Losing chess, King must die"' 'Termination "unterminated"' 'SetUp "1"' \
    'FEN "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b - - 0 1"'; do
    [ "$(grep -c -x -F "[$tag]" self.pgn)" -ge 1 ] || fail "self.pgn has no [$tag]"
done
grep -q -x -F '[Variant "Losing chess, All must die"]' self.pgn || fail "no second game"
[ "$(grep -n '^\[' self.pgn | head -7 | cut -d'[' -f2 | cut -d' ' -f1 | xargs)" = \
    "Event Site Date Round White Black Result" ] || fail "the seven tags are not first, in order"
grep -q -x -F '1... g6 2. g3 *' self.pgn || fail "self.pgn's moves: $(cat self.pgn)"
t 0 "$(lines 'game 1: * rnbqkbnr/pppppp1p/6p1/8/8/6P1/PPPPPP1P/RNBQKBNR' \
    'game 2: * rnbqkbnr/ppppp2p/5pp1/8/8/6P1/PPPPPP1P/RNBQKBNR')" '' replay self.pgn
head -13 self.pgn >first.pgn
t 0 'game 1: * rnbqkbnr/pppppp1p/6p1/8/8/6P1/PPPPPP1P/RNBQKBNR' "" replay first.pgn

# play: Easy and King must die by default; the level decides the computer's reply.
greeting='Kelvane, losing chess: you play White; a side that can capture must capture.'
board=$(lines '8 ♜ ♞ ♝ ♛ ♚ ♝ ♞ ♜' '7 ♟ ♟ ♟ ♟ ♟ ♟ ♟ ♟' '6 . . . . . . . .' '5 . . . . . . . .' \
    '4 . . . . . . . .' '3 . . . . . . . .' '2 ♙ ♙ ♙ ♙ ♙ ♙ ♙ ♙' '1 ♖ ♘ ♗ ♕ ♔ ♗ ♘ ♖' '  a b c d e f g h')
ascii=$(lines '8 r n b q k b n r' '7 p p p p p p p p' '6 . . . . . . . .' '5 . . . . . . . .' \
    '4 . . . . . . . .' '3 . . . . . . . .' '2 P P P P P P P P' '1 R N B Q K B N R' '  a b c d e f g h')
t 0 "$(lines "$greeting" 'Level easy, king must die. Type ? for help.' "$board")" '' play
t 0 "$(lines "$greeting" 'Level medium, all must die. Type ? for help.' "$ascii")" '' \
    play --ascii --level medium --rules all
for level in easy:f7f6 medium:e7e6 hard:b8a6; do
    out=$(printf 'a2a3\n' | "$cli" play --level "${level%:*}")
    grep -q "^Black plays ${level#*:} " <<<"$out" || fail "play --level ${level%:*}: $out"
done
t 2 '' "kelvane-cli play: unknown level 'insane' (easy, medium, hard or expert)" play --level insane
t 2 '' "kelvane-cli play: unknown rules 'most' (king or all)" play --rules most
t 2 '' 'kelvane-cli play: --pgn needs a value' play --pgn
t 2 '' "kelvane-cli play: unexpected argument '--colour' for play" play --colour
# A declared draw ends the game: its final position stays until new starts the next one.
drawn='Draw by repetition. 1/2-1/2'
out=$(printf 'autoplay 200\nboard\nnew\n' | "$cli" play --draws --ascii)
grep -q -x "$drawn" <<<"$out" || fail "no draw declared in autoplay"
final=$(grep -B9 -x "$drawn" <<<"$out" | head -9)
[ "$(grep -A9 -x "$drawn" <<<"$out" | tail -9)" = "$final" ] && [ "$final" != "$ascii" ] ||
    fail "the final position did not stay after the draw: $out"
[ "$(tail -9 <<<"$out")" = "$ascii" ] || fail "the board after new: $(tail -9 <<<"$out")"
[ "$(grep -c -x 'New game: you play White.' <<<"$out")" = 1 ] || fail "no new game after new"
out=$(printf 'autoplay 200\n' | "$cli" play)
grep -q 'Draw' <<<"$out" && fail "a draw declared without --draws"

# Errors are one line, the user's text made safe to show; nothing waits on a FIFO; lost output
# is status 1. o STATUS ERR 'SHELL ARGUMENTS', with stdout sent where the arguments say.
o() {
    local err code
    timeout 20 bash -c "\"\$0\" $3 2>err </dev/null" "$cli"
    code=$?
    err=$(cat err)
    [ "$code" = "$1" ] && [ "$err" = "$2" ] || fail "kelvane-cli $3: status $code, '$err'"
}
mkfifo position
truncate -s 65M big.pgn
o 2 "kelvane-cli: unknown command 'mo\\nves\\x1b[31m' (try kelvane-cli --help)" \
    "\"\$(printf 'mo\\nves\\033[31m')\" start white >/dev/null"
o 2 "kelvane-cli: unknown command 'm\\xc2\\x9bo\\x9bv€' (try kelvane-cli --help)" \
    "\"\$(printf 'm\\302\\233o\\233v\\342\\202\\254')\" >/dev/null"
o 2 "kelvane-cli moves: cannot open 'position' as a regular file, and it is not a FEN placement \
field" 'moves position white >/dev/null'
o 2 'kelvane-cli replay: position: is not a regular file' 'replay position >/dev/null'
o 2 'kelvane-cli replay: .: is a folder' 'replay . >/dev/null'
o 2 'kelvane-cli replay: big.pgn: is larger than 64 MB' 'replay big.pgn >/dev/null'
o 2 'kelvane-cli play: cannot open no/x.pgn to write the games: No such file or directory' \
    'play --pgn no/x.pgn >out'
o 2 'kelvane-cli selfplay: cannot open . to write the games: Is a directory' \
    'selfplay --pgn . >out'
o 2 'kelvane-cli play: cannot write the games to position: it is a FIFO' \
    'play --pgn position >out'
[ -s out ] && fail "a game began before its record was refused: $(cat out)"
o 1 'kelvane-cli selfplay: cannot write the game to /dev/full: No space left on device' \
    'selfplay --max-plies 2 --pgn /dev/full >/dev/null'
o 1 'kelvane-cli: cannot write the output: No space left on device' '--version >/dev/full'
o 1 'kelvane-cli play: cannot write the output: No space left on device' 'play >/dev/full'
o 1 'kelvane-cli: cannot write the output: Bad file descriptor' '--version >&-'

# Ctrl+C while play waits for a line: status 130 at once, the game so far written.
mkfifo typed
"$cli" play --pgn ctrl-c.pgn <typed >/dev/null 2>&1 &
player=$!
exec 3>typed
echo e2e3 >&3
sleep 1
kill -INT $player
for ((i = 0; i < 50; i++)); do kill -0 $player 2>/dev/null || break; sleep 0.1; done
if kill -0 $player 2>/dev/null; then
    fail "Ctrl+C did not end a waiting play"
    kill $player
fi
wait $player
code=$?
exec 3>&-
[ $code = 130 ] || fail "play ended with $code after Ctrl+C"
grep -q '^1\. e3 ' ctrl-c.pgn && grep -q -x -F '[Result "*"]' ctrl-c.pgn ||
    fail "the interrupted game was not written: $(cat ctrl-c.pgn 2>&1)"

exit $status
