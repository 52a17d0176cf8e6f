#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One scripted session with the window with extras (kelvane --extras --pgn) on an X server with
# a window manager and the desktop's accessibility bus, checked from screenshots and from what a
# screen reader is told: the forced-capture explanation and its frames, a game against the
# Expert with the window repainting while it thinks, a search cancelled by New, the final
# position kept, a game as Black on the turned board, keyboard play, and the games' PGN read
# back by kelvane-cli replay. Takes the paths of kelvane and kelvane-cli; run it inside
# dbus-run-session.
set -u
program=$(realpath "$1")
cli=$(realpath "$2")
here=$(dirname "$(realpath "$0")")
source "$here/window_session.sh"
work=$(mktemp -d)
program_pid= wm_pid= monitor= listener=
trap 'kill $program_pid $wm_pid $monitor $listener 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    echo "status line: $(status_text)" >&2
    import -window root "${E2E_FAILURE_SHOT:-/tmp/kelvane-extras-failure.png}" 2>/dev/null
    exit 1
}
# The main window alone, without the desktop's tray clock that changes on its own.
shoot_window() {
    import -window "$(xdotool search --onlyvisible --name '^- Kelvane' | head -1)" \
        "$work/$1.png" || fail "no screenshot of the main window"
}

# What the screen reader is told: the status line, and the square under the keyboard cursor.
accessible() { "$here/accessible_text.py" kelvane 2>/dev/null; }
status_text() { accessible | awk -F'\t' '$1 == "label" && $3 == "Status" { print $2 }'; }
board_text() { accessible | awk -F'\t' '$1 == "filler" { print $2 }'; }
status_matches() { [[ "$(status_text)" =~ $1 ]]; }
# Waits up to $1 tenths of a second for the status line to match the pattern $2.
wait_status() {
    local i
    for ((i = 0; i < $1; i += 3)); do status_matches "$2" && return 0 || sleep 0.3; done
    return 1
}

# Screen squares: column and row from the top-left corner of the board as shown.
click_screen() {
    xdotool mousemove $((board_x + $1 * size + size / 2)) $((board_y + $2 * size + size / 2)) \
        click 1
    sleep 0.2
}
# A board square by name ("e2"), where it stands on the board as shown.
screen_of() {
    local column=$(($(printf '%d' "'${1:0:1}") - 97)) row=$((8 - ${1:1:1}))
    if [ "$turned" = 1 ]; then echo "$((7 - column)) $((7 - row))"; else echo "$column $row"; fi
}
click_square() { click_screen $(screen_of "$1"); }
# The colour of a square's own background, left of its piece and inside any frame.
square_colour() {
    pixel "$1" $((board_x + $2 * size + 4)) $((board_y + $3 * size + size - 5))
}
# A position in game.sav from pieces such as "Ke1 Pe4 pd5": capitals are White's.
save_position() {
    /usr/bin/python3 - "$1" <<'EOF'
import sys
board = bytearray(64)
for piece in sys.argv[1].split():
    column, row = ord(piece[1]) - ord("a"), 8 - int(piece[2])
    board[column * 8 + row] = (20 if piece[0].isupper() else 10) + "pnbrqk".index(piece[0].lower()) + 1
open("game.sav", "wb").write(board)
EOF
}
# Plays the human's side by the hint (a green frame on its origin and its destination) until
# the status line tells the result; the reply comes within $1 tenths of a second.
play_by_hints() {
    local moves=0 squares first second
    while ! status_matches 'won'; do
        ((moves++ < 40)) || fail "the game did not end"
        xdotool key ctrl+h
        sleep 0.3
        shoot hint
        squares=$(framed_squares hint 00FF00)
        read -r first second <<<"$squares"
        [ -n "$second" ] || fail "no hint shown ('$squares')"
        click_screen ${first/,/ }
        shoot picked
        # The origin is the square that got the red frame.
        if [ -z "$(framed_squares picked FF0000)" ]; then
            click_screen ${second/,/ }
            click_screen ${first/,/ }
        else
            click_screen ${second/,/ }
        fi
        wait_status "$1" 'your turn|won' || fail "no reply to the move from the hint"
    done
}

cd "$work" || exit 1
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
    XDG_CACHE_HOME="$work/cache" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
mkdir -p "$HOME"
# --pgn belongs to the extras and takes a regular file or a new name only, refused before any
# window opens.
mkfifo fifo
for args in "--pgn games.pgn" "--extras --pgn fifo" "--extras --pgn ." "--extras --pgn"; do
    err=$(timeout 10 "$program" $args 2>&1 >/dev/null)
    code=$?
    [ "$code" -eq 2 ] && [ "$(wc -l <<<"$err")" -eq 1 ] ||
        fail "kelvane $args: status $code, '$err'"
done
[ ! -e games.pgn ] || fail "a refused command line created games.pgn"
jwm >/dev/null 2>&1 &
wm_pid=$!
wait_for 50 xprop -root _NET_SUPPORTING_WM_CHECK || fail "window manager did not start"
sleep 0.3
"$program" --extras --pgn games.pgn >"$work/program.log" 2>&1 &
program_pid=$!
wait_for 100 xdotool search --onlyvisible --name '^- Kelvane' || fail "main window did not appear"
sleep 0.5
size=40 turned=0
# The board stands right of the ranks.
locate_board '^- Kelvane' $((size * 2 / 5))
# The board, the ranks at its left and the files and the status line below it.
[ "$window_width" -eq $((8 * size + size * 2 / 5)) ] ||
    fail "window width $window_width, expected $((8 * size + size * 2 / 5))"
wait_status 30 '^Move 1: White to move, your turn\.$' || fail "no status line at the start"
echo "start: $(status_text)"

# 1. A click on a piece that cannot move because a capture is due: the explanation, the piece
#    framed red and every piece that can capture framed orange.
save_position "Ke1 Pe4 Nc3 pd5 kh8"
xdotool key F3
sleep 0.5
click_square e1
shoot forced
[ "$(status_text)" = "You must capture: Nxd5, exd5." ] || fail "no forced-capture explanation"
read -r column row <<<"$(screen_of e1)"
[ "$(pixel forced $((board_x + column * size + 1)) $((board_y + row * size + 1)))" = "#FF0000" ] ||
    fail "the clicked king is not framed red"
capturers=$(framed_squares forced FF8000)
[ "$capturers" = "2,5 4,4" ] || fail "the capturing pieces framed orange: '$capturers'"
echo "forced capture: $(status_text) orange frames on $capturers"
#    A target that the rules refuse says why.
click_square e1
click_square e4
click_square e5
[ "$(status_text)" = "You must capture: Nxd5, exd5." ] || fail "no reason for a refused target"

# 2. Level > Expert. While it thinks over its first move, the menus open and the window
#    repaints: the Extra set chosen meanwhile shows at once. Then a game against it from a short
#    ending, played by the hint.
xdotool key alt+l
sleep 0.3
xdotool key x
# The Expert answers at once when it finds a forced win; after these first moves it does not,
# but a machine under load may still be too slow to watch it: then the next one is tried.
watched=
for first in c2c3 a2a3 g1f3; do
    xdotool key ctrl+n alt+o
    sleep 0.2
    xdotool key Down Down Down Return
    sleep 0.3
    click_square "${first:0:2}"
    click_square "${first:2:2}"
    started=$(date +%s%N)
    status_text >"$work/thinking.txt" &
    reader=$!
    xdotool key alt+o
    sleep 0.1
    xdotool key Down Down Down Down Return
    shoot thinking
    elapsed=$((($(date +%s%N) - started) / 1000000))
    wait "$reader"
    thinking_text=$(cat "$work/thinking.txt")
    read -r column row <<<"$(screen_of "${first:2:2}")"
    if [[ "$thinking_text" =~ thinking ]] && [ "$(framed_squares thinking 0000FF)" = "$column,$row" ]; then
        watched=$first
        break
    fi
    echo "the Expert answered $first before it could be watched ($elapsed ms)"
    wait_status 30 'Move 2' || fail "the Expert did not answer $first"
done
[ -n "$watched" ] || fail "the Expert was never seen thinking"
[ "$(square_colour thinking 0 0)" = "#FFFFFF" ] ||
    fail "the board was not repainted with the Extra set while the Expert thought"
echo "$elapsed ms after $watched, while the Expert thinks: '$thinking_text', the Extra set shown"
wait_status 30 'Move 2: White to move, your turn' || fail "the Expert did not answer"
xdotool key alt+o
sleep 0.2
xdotool key Down Down Down Return
sleep 0.3
save_position "Kd1 rb2 kd8"
xdotool key F3
sleep 0.5
play_by_hints 30
final=$(status_text)
echo "game against the Expert: $final"

# 3. The final position stays, with the result, and no box opens.
shoot_window final1
sleep 1.5
shoot_window final2
compare-im6.q16 -metric AE "$work/final1.png" "$work/final2.png" null: 2>/dev/null ||
    fail "the final position did not stay"
for window in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
    [[ "$(xdotool getwindowname "$window")" == "- Kelvane"* ]] || fail "a box opened at the end"
done
[ "$(status_text)" = "$final" ] || fail "the result left the status line"
#    Undo goes back into the game; New starts the next one.
xdotool key ctrl+z
wait_status 20 'your turn' || fail "Undo did not take the game back from its end"

# 4. New cancels the Expert's search: nothing it found is played, and it stops using the
#    processor at once.
for first in a2a3 g1f3 b2b4 g2g4; do
    xdotool key ctrl+n
    sleep 0.3
    click_square "${first:0:2}"
    click_square "${first:2:2}"
    status_matches thinking && break
done
status_matches thinking || fail "the Expert is not thinking"
xdotool key ctrl+n
sleep 0.1
ticks() { awk '{ print $14 + $15 }' "/proc/$program_pid/stat"; }
before=$(ticks)
sleep 1.5
after=$(ticks)
shoot cancelled
[ -z "$(framed_squares cancelled 0000FF)" ] || fail "a move was played after New"
[ "$(status_text)" = "Move 1: White to move, your turn." ] || fail "New did not start afresh"
((after - before < 10)) || fail "the search went on after New: $((after - before)) ticks"
echo "New during the search: nothing played, $((after - before)) ticks of processor after it"

# 5. Keyboard play: the arrows move the cursor, Enter picks up and puts down; the square under
#    the cursor is read out, and a screen reader that listens is told of each key and of the
#    status line's changes.
"$here/accessible_text.py" --listen 60 >"$work/listening.txt" &
listener=$!
wait_for 30 grep -q listening "$work/listening.txt" || fail "could not listen as a screen reader"
dbus-monitor --address "$("$here/accessible_text.py" --address)" \
    "type='signal',interface='org.a11y.atspi.Event.Focus'" \
    "type='signal',interface='org.a11y.atspi.Event.Object',member='PropertyChange'" \
    >"$work/heard.txt" 2>&1 &
monitor=$!
sleep 0.5
xdotool key Up
sleep 0.2
[ "$(board_text)" = "e2, white pawn" ] || fail "the cursor's square is read as '$(board_text)'"
xdotool key Return Up Up
sleep 0.2
[ "$(board_text)" = "e4, empty, a possible move" ] || fail "after Enter and Up Up: '$(board_text)'"
xdotool key Return
wait_status 30 'Move 2: White to move, your turn' || fail "the move by keyboard was not played"
shoot keyboard
[ "$(pixel keyboard $((board_x + 4 * size + 2)) $((board_y + 4 * size + 2)))" = "#FF00FF" ] ||
    fail "no cursor frame on e4"
kill "$monitor" "$listener"
focus_events=$(grep -c 'member=Focus' "$work/heard.txt")
name_events=$(grep -A1 'member=PropertyChange' "$work/heard.txt" | grep -c accessible-name)
((focus_events >= 5)) || fail "a screen reader was told of $focus_events keys out of 5"
((name_events >= 2)) || fail "a screen reader was told of $name_events changes of the status line"
echo "keyboard: e2e4 played, $(status_text); $focus_events focus and $name_events name events"

# 6. A game as Black: the board turns and the computer opens with White; then an ending as
#    Black at the Easy level, played to its end.
xdotool key alt+g
sleep 0.3
xdotool key b
turned=1
wait_status 30 'Move 1: Black to move, your turn' || fail "the computer did not open with White"
xdotool key Up
sleep 0.2
[ "$(board_text)" = "d7, black pawn" ] || fail "the board did not turn: '$(board_text)'"
shoot black
[ "$(framed_squares black 0000FF | wc -w)" = 1 ] || fail "White's opening move is not marked"
echo "as Black: $(status_text)"
xdotool key alt+l
sleep 0.3
xdotool key e
save_position "Ke1 Rb7 kd8"
xdotool key F3
sleep 0.5
play_by_hints 10
echo "game as Black: $(status_text)"

# 7. Game > Save Record... appends the game to a file chosen in the chooser.
xdotool key alt+g
sleep 0.3
xdotool key r
wait_for 30 xdotool search --onlyvisible --name '^Save Record$' || fail "no chooser"
sleep 0.3
xdotool type "$work/saved.pgn"
xdotool key Return
wait_for 30 test -s "$work/saved.pgn" || fail "Save Record wrote nothing"
wait_for 30 bash -c "! xdotool search --onlyvisible --name '^Save Record$'" ||
    fail "the chooser stayed open"

# 8. Quit; every game is in the PGN file, and kelvane-cli replays them.
quit_cleanly
games=$(grep -c '^\[Event ' games.pgn)
"$cli" replay games.pgn >replay.txt || fail "kelvane-cli replay refused games.pgn"
"$cli" replay saved.pgn >/dev/null || fail "kelvane-cli replay refused saved.pgn"
grep -q '^\[Black "Kelvane, Expert"\]' games.pgn || fail "no game against the Expert recorded"
grep -q '^\[Black "Human"\]' games.pgn || fail "no game as Black recorded"
echo "games.pgn: $games games, replayed"
echo "PASS"
