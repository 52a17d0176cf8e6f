#!/bin/bash
# One scripted session with the real program on an X server with a window manager: a move by
# two clicks and the computer's reply, a new game, a larger board, the About box, and the
# end-of-game box with its blank title. Checked from screenshots of the whole screen.
# Usage (under an X server): play_session.sh path/to/kelvane
set -u

program=$(realpath "$1")
# A sanitizer build must not blame us for what system libraries keep until exit.
export LSAN_OPTIONS="suppressions=$(dirname "$(realpath "$0")")/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
convert=/usr/bin/convert-im6.q16
compare=/usr/bin/compare-im6.q16
work=$(mktemp -d)
# E2E_KEEP_SHOTS=dir keeps the screenshots for a look.
cleanup() {
    kill $program_pid $wm_pid 2>/dev/null
    wait 2>/dev/null
    [ -n "${E2E_KEEP_SHOTS:-}" ] && mkdir -p "$E2E_KEEP_SHOTS" && cp "$work"/*.png "$E2E_KEEP_SHOTS"/
    rm -rf "$work"
}
trap cleanup EXIT
program_pid=
wm_pid=

fail() {
    echo "FAIL: $*" >&2
    import -window root "$work/failure.png" 2>/dev/null &&
        cp "$work/failure.png" "${E2E_FAILURE_SHOT:-/tmp/kelvane-e2e-failure.png}"
    exit 1
}

# Waits up to $1 tenths of a second for the command to succeed.
wait_for() {
    local tenths=$1
    shift
    for ((i = 0; i < tenths; i++)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

shoot() { import -window root "$work/$1.png" || fail "no screenshot"; }

# The colour of one pixel of a screenshot, as #RRGGBB.
pixel() {
    "$convert" "$work/$1.png" -crop "1x1+$2+$3" -depth 8 txt:- | tail -1 |
        grep -o '#[0-9A-F]\{6\}' | head -1
}

# Left-clicks the centre of square (column, row).
click_square() {
    xdotool mousemove $((board_x + $1 * size + size / 2)) $((board_y + $2 * size + size / 2))
    xdotool click 1
    sleep 0.2
}

# Finds the main window and the board's top-left corner on the screen.
locate_board() {
    window=$(xdotool search --onlyvisible --name '^- Kelvane|\.sav -' | head -1)
    [ -n "$window" ] || fail "no main window"
    # xwininfo gives the client's absolute corner also inside a window manager's frame.
    local info
    info=$(xwininfo -id "$window")
    X=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    Y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    WIDTH=$(sed -n 's/.*Width: *//p' <<<"$info")
    shoot locate
    # Below the menu bar the first pixel row of the board's light corner square.
    board_x=$X
    board_y=
    local column
    column=$("$convert" "$work/locate.png" -crop "1x80+$((X + 2))+$Y" -depth 8 txt:- |
        grep -n '#C0C0C0' | head -1 | cut -d: -f1)
    [ -n "$column" ] || fail "board not found below the menu bar"
    board_y=$((Y + column - 2))
    window_width=$WIDTH
}

# Board squares whose top-left frame pixel is blue, read in one pass.
blue_squares() {
    local shot=$1 format="" c r
    for c in 0 1 2 3 4 5 6 7; do
        for r in 0 1 2 3 4 5 6 7; do
            format="$format$c,$r=%[hex:p{$((board_x + c * size + 1)),$((board_y + r * size + 1))}] "
        done
    done
    "$convert" "$work/$shot.png" -format "$format" info: | tr ' ' '\n' | sed -n 's/=0000FF.*$//p' |
        tr '\n' ' ' | sed 's/ $//'
}

board_crop() { "$convert" "$work/$1.png" -crop "$((8 * size))x$((8 * size))+$board_x+$board_y" "$work/$1-board.png"; }

cd "$work" || exit 1
jwm >/dev/null 2>&1 &
wm_pid=$!
wait_for 50 xprop -root _NET_SUPPORTING_WM_CHECK || fail "window manager did not start"
sleep 0.3

"$program" >"$work/program.log" 2>&1 &
program_pid=$!
wait_for 100 xdotool search --onlyvisible --name '^- Kelvane' || fail "main window did not appear"
sleep 0.5
size=40
locate_board
[ "$window_width" -eq 320 ] || fail "window width $window_width, expected 320"
shoot start
board_crop start

# 1. The pawn in column 4 two squares up; the computer answers, its square framed in blue.
click_square 4 6
shoot selected
[ "$(pixel selected $((board_x + 4 * size + 1)) $((board_y + 6 * size + 1)))" = "#FF0000" ] ||
    fail "no red frame on the selected pawn"
click_square 4 4
reply=
for ((attempt = 0; attempt < 20; attempt++)); do
    sleep 0.2
    shoot replied
    reply=$(blue_squares replied)
    [ -n "$reply" ] && break
done
case "$reply" in
    ?,2 | ?,3) ;;
    *) fail "expected one blue-framed reply in rows 2-3, found '$reply'" ;;
esac
[ "$(pixel replied $((board_x + 4 * size + 20)) $((board_y + 6 * size + 20)))" = "#C0C0C0" ] ||
    fail "the pawn did not leave its square"
echo "move made, reply at $reply"

# 2. Ctrl+N: the starting position again, no frame.
xdotool key ctrl+n
sleep 0.5
shoot renewed
board_crop renewed
"$compare" -metric AE "$work/start-board.png" "$work/renewed-board.png" null: 2>"$work/diff.txt" ||
    fail "Ctrl+N did not give the starting picture back ($(cat "$work/diff.txt") pixels differ)"
echo "new game shown"

# 3. Options > Large board, from the keyboard: the window grows to a 640-pixel board.
xdotool key alt+o
sleep 0.3
xdotool key Down Down Return
sleep 0.8
size=80
locate_board
[ "$window_width" -eq 640 ] || fail "window width $window_width after Large board, expected 640"
shoot large
[ "$(pixel large $((board_x + 639)) $((board_y + 639)))" = "#C0C0C0" ] ||
    fail "the large board is not whole"
echo "large board shown"

# 4. F1 opens the About box; Escape closes it.
xdotool key F1
wait_for 30 xdotool search --onlyvisible --name '^About Kelvane\.\.\.$' || fail "no About box"
shoot about
xdotool key Escape
wait_for 30 bash -c "! xdotool search --onlyvisible --name '^About Kelvane'" ||
    fail "Escape did not close the About box"
echo "About box opened and closed"

# 5. A saved position where the player takes the computer's king: the box that ends the game
#    has a blank title, not the program's name.
printf '\x10\0\0\0\0\0\0\x18' >game.sav                                  # column 0
printf '\0\0\0\0\0\0\0\0%.0s' 1 2 3 4 5 6 >>game.sav                      # columns 1-6
printf '\0\0\0\0\0\0\0\x1a' >>game.sav                                    # column 7
xdotool key F3
sleep 0.5
click_square 0 7
click_square 0 0
box=
for ((i = 0; i < 30; i++)); do
    for candidate in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
        name=$(xdotool getwindowname "$candidate" 2>/dev/null)
        case "$name" in "- Kelvane"* | *".sav -"*) ;; *) box=$candidate ;; esac
    done
    [ -n "$box" ] && break
    sleep 0.1
done
[ -n "$box" ] || fail "no end-of-game box"
title=$(xprop -id "$box" _NET_WM_NAME)
echo "box title: $title"
case "$title" in
    *'= " "'* | *'= ""'*) ;;
    *) fail "the box's title is not blank: $title" ;;
esac
shoot message
xdotool key Return
sleep 0.5
echo "end-of-game box closed"

# 6. Ctrl+Q ends the program cleanly.
xdotool key ctrl+q
wait_for 50 bash -c "! kill -0 $program_pid" || fail "Ctrl+Q did not end the program"
wait "$program_pid"
status=$?
program_pid=
[ "$status" -eq 0 ] || { cat "$work/program.log" >&2; fail "exit status $status"; }
if grep -qE 'runtime error|Sanitizer' "$work/program.log"; then
    cat "$work/program.log" >&2
    fail "the program reported a memory or undefined-behaviour error"
fi
echo "PASS"
