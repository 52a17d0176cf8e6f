#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kelvane-cli's game records under a shell, as players and scripts meet them: whatever ends the
# program, the game in play is written; a game that cannot be appended whole is taken back;
# each game is one write; a file's name is never printed raw; replay keeps to the file's size;
# game.sav is neither saved through a link planted in a shared folder nor said to be missing
# when it cannot be read. Takes the program's path, then 1 when it was built with the address
# sanitizer.
set -u
cli=$(realpath "$1")
sanitized=${2:-0}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
status=0
fail() {
    echo "FAIL: $*" >&2
    status=1
}
has_game() { grep -q "$2" "$1" 2>/dev/null; }

# 1. A hang-up, SIGTERM or Ctrl+C while play waits for a line, or its output closed: the game in
#    play is written, then the program ends with 128 + the signal, or with 1 for the output. The
#    time limit only stops a hang.
mkfifo to from
for signal in HUP TERM INT PIPE; do
    rm -f game.pgn
    "$cli" play --pgn game.pgn <to >from 2>errors &
    pid=$!
    (sleep 30 && kill -KILL "$pid") >/dev/null 2>&1 &
    watchdog=$!
    exec 3>to 4<from
    echo e2e3 >&3
    reply=
    while IFS= read -r -t 10 line <&4; do
        [[ $line == "Black plays "* ]] && reply=1
        [[ -n $reply && $line == "  a b c d e f g h" ]] && break
    done
    if [ "$signal" = PIPE ]; then
        exec 4<&-
        (echo g2g3 >&3) 2>/dev/null  # a subshell: should the program be gone, not us
    else
        kill -"$signal" "$pid"
    fi
    exec 3>&- 4<&-
    wait "$pid"
    code=$?
    kill "$watchdog" 2>/dev/null
    want=$((128 + $(kill -l "$signal")))
    [ "$signal" = PIPE ] && want=1
    [ "$code" -eq "$want" ] && has_game game.pgn '^1\. e3 ' ||
        fail "play, SIG$signal: status $code, expected $want, and the game written: $(head -c 80 game.pgn 2>/dev/null)"
done
# selfplay's output closed from the start: the game so far is written all the same.
rm -f game.pgn
exec 5> >(true)
wait $! 2>/dev/null
"$cli" selfplay --max-plies 2000 --positions --pgn game.pgn >&5 2>errors
code=$?
exec 5>&-
[ "$code" -eq 1 ] && has_game game.pgn '^1\.\.\. g6 2\. ' ||
    fail "selfplay with its output closed: status $code, and no game written"

# 2. A game and the blank line after it are one write, so that nothing another program appends
#    comes between them: a game longer than any buffer, traced.
rm -f game.pgn
ASAN_OPTIONS=detect_leaks=0 strace -f -y -e trace=write,writev,pwrite64,pwritev -o trace \
    "$cli" selfplay --max-plies 2000 --pgn game.pgn >/dev/null
writes=$(grep -c 'game\.pgn>' trace)
size=$(stat -c %s game.pgn)
[ "$size" -gt 10000 ] && [ "$writes" -eq 1 ] && grep -q "game\.pgn>.*) = $size$" trace &&
    [ "$(tail -c 3 game.pgn | od -An -c | tr -d ' ')" = '*\n\n' ] ||
    fail "a game of $size bytes in $writes writes: $(grep 'game\.pgn>' trace | cut -c1-80)"

# 3. A game that does not fit under the file-size limit: status 1, the file left as it was, so
#    that the next game is appended whole and every game replays.
rm -f game.pgn
"$cli" selfplay --max-plies 4 --pgn game.pgn >/dev/null
cp game.pgn before.pgn
printf 'e2e3\ng2g3\nb2b3\nquit\n' >moves
for run in "selfplay --max-plies 60 --pgn game.pgn" "play --pgn game.pgn"; do
    prlimit --fsize=$(($(stat -c %s game.pgn) + 100)) "$cli" $run <moves >/dev/null 2>errors
    code=$?
    [ "$code" -eq 1 ] && cmp -s game.pgn before.pgn && [ "$(wc -l <errors)" -eq 1 ] &&
        grep -q 'game\.pgn: File too large; the file is left as it was$' errors ||
        fail "$run over the file-size limit: status $code, $(cat errors)"
done
"$cli" selfplay --max-plies 6 --pgn game.pgn >/dev/null
[ "$("$cli" replay game.pgn | wc -l)" -eq 2 ] || fail "the games after a failed one do not replay"

# 4. A game that cannot be written is told with the file's name escaped.
name=$'\e]0;pwned\a\e[2J.pgn'
ln -s /dev/full "$name"
"$cli" selfplay --max-plies 2 --pgn "$name" >/dev/null 2>errors
printf 'e2e3\n' | "$cli" play --pgn "$name" >/dev/null 2>>errors
[ "$(grep -cF '\x1b]0;pwned\x07\x1b[2J.pgn' errors)" -eq 2 ] && ! grep -q $'[\e\a]' errors ||
    fail "the file's name shown raw: $(od -c errors | head -3)"

# 5. replay under a limit on its memory: a long game needs little more than the file's size, a
#    game of endless tags is refused at once, and a file too big for the memory is one line with
#    status 2. The address sanitizer needs more memory than any of these limits.
if [ "$sanitized" != 1 ]; then
    { echo '[Event "x"]'; yes 'Nf3 Nf6 Ng1 Ng8' | head -100000; echo '*'; } >long.pgn
    { yes '[a ""]' | head -600000 | tr -d '\n'; printf '\n1. e3 *\n'; } >tags.pgn
    { printf '{'; head -c 16M /dev/zero | tr '\0' x; printf '}\n1. e3 *\n'; } >big.pgn
    while read -r file megabytes want said; do
        prlimit --data=$((megabytes << 20)) timeout 20 "$cli" replay "$file" >out 2>errors
        code=$?
        [ "$code" -eq "$want" ] && [ "$(cat out errors | wc -l)" -eq 1 ] &&
            grep -q -- "$said" out errors || fail "replay $file: status $code, $(cat out errors)"
    done <<'EOF'
long.pgn 8 0 ^game 1: \* rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR$
tags.pgn 64 2 tags.pgn: line 1: a game has more than 256 tags$
big.pgn 8 2 big.pgn: there is not enough memory to replay it$
EOF
fi

# 6. As another user (nobody): in a sticky folder that everyone may write, save does not follow
#    a link someone else planted there; and load says why a game.sav it cannot read is refused.
if [ "$(id -u)" -eq 0 ]; then
    chmod 711 "$work"
    mkdir -m 1777 shared
    echo mine >shared/target
    chown 65534 shared/target
    ln -s target shared/game.sav
    chown -h 4242 shared/game.sav
    as_nobody() { (cd shared && setpriv --reuid=65534 --regid=65534 --clear-groups "$cli" play); }
    said=$(echo save | as_nobody | grep game.sav)
    [ "$said" = 'The game could not be saved. "game.sav": Permission denied. Any game saved before is kept.' ] &&
        [ "$(cat shared/target)" = mine ] || fail "save through a planted link: $said"
    rm shared/game.sav
    (cd shared && echo save | "$cli" play >/dev/null && chmod 600 game.sav)
    said=$(echo load | as_nobody | grep game.sav)
    [ "$said" = 'The saved game could not be read. "game.sav": Permission denied. The board is left as it was.' ] ||
        fail "load of a game.sav that cannot be read: $said"
fi
exit $status
