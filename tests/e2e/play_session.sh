#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One scripted session with the real program on an X server with a window manager, checked from
# screenshots: a move by two clicks and the computer's blue-framed reply, a new game, a larger
# board, the other piece set, the About box, and the end-of-game box with its blank title.
# Takes the program's path.
set -u
program=$(realpath "$1")
source "$(dirname "$(realpath "$0")")/window_session.sh"
work=$(mktemp -d)
program_pid= wm_pid=
trap 'kill $program_pid $wm_pid 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    import -window root "${E2E_FAILURE_SHOT:-/tmp/kelvane-e2e-failure.png}" 2>/dev/null
    exit 1
}
# Left-clicks the centre of square (column, row).
click_square() {
    xdotool mousemove $((board_x + $1 * size + size / 2)) $((board_y + $2 * size + size / 2)) \
        click 1
    sleep 0.2
}
# Twice the centre of a window's frame, as the window manager drew it: "x y".
frame_centre() {
    local info left right top bottom
    info=$(xwininfo -id "$1")
    read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    echo $((2 * ($(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info") - left) +
        $(sed -n 's/.*Width: *//p' <<<"$info") + left + right)) \
        $((2 * ($(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info") - top) +
            $(sed -n 's/.*Height: *//p' <<<"$info") + top + bottom))
}
# A screenshot and the board cut out of it.
shoot_board() {
    shoot "$1"
    "$convert" "$work/$1.png" -crop "$((8 * size))x$((8 * size))+$board_x+$board_y" "$work/$1-b.png"
}

cd "$work" || exit 1
# The program's own home and configuration folders: nothing of the user's is read or written.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
    XDG_CACHE_HOME="$work/cache"
mkdir -p "$HOME"
jwm >/dev/null 2>&1 &
wm_pid=$!
wait_for 50 xprop -root _NET_SUPPORTING_WM_CHECK || fail "window manager did not start"
sleep 0.3
# Qt's own options (one dash) go on to Qt.
"$program" -display "$DISPLAY" >"$work/program.log" 2>&1 &
program_pid=$!
wait_for 100 xdotool search --onlyvisible --name '^- Kelvane' || fail "main window did not appear"
sleep 0.5
size=40
locate_board '^- Kelvane|\.sav -' 0
[ "$window_width" -eq 320 ] || fail "window width $window_width, expected 320"
shoot_board start

# 1. The pawn in column 4 two squares up; the computer answers, its square framed in blue.
click_square 4 6
shoot selected
[ "$(pixel selected $((board_x + 4 * size + 1)) $((board_y + 6 * size + 1)))" = "#FF0000" ] ||
    fail "no red frame on the selected pawn"
click_square 4 4
replied() { shoot replied && reply=$(framed_squares replied 0000FF) && [ -n "$reply" ]; }
wait_for 40 replied
case "$reply" in
    ?,2 | ?,3) echo "move made, reply at $reply" ;;
    *) fail "expected one blue-framed reply in rows 2-3, found '$reply'" ;;
esac
[ "$(pixel replied $((board_x + 4 * size + 20)) $((board_y + 6 * size + 20)))" = "#C0C0C0" ] ||
    fail "the pawn did not leave its square"

# 2. Ctrl+N: the starting position again, no frame.
xdotool key ctrl+n
sleep 0.5
shoot_board renewed
compare-im6.q16 -metric AE "$work/start-b.png" "$work/renewed-b.png" null: 2>"$work/diff.txt" ||
    fail "Ctrl+N did not give the starting picture back ($(cat "$work/diff.txt") pixels differ)"

# 3. Options > Large board, from the keyboard: the window grows to a 640-pixel board.
xdotool key alt+o
sleep 0.3
xdotool key Down Down Return
sleep 0.8
size=80
locate_board '^- Kelvane|\.sav -' 0
[ "$window_width" -eq 640 ] || fail "window width $window_width after Large board, expected 640"
shoot large
[ "$(pixel large $((board_x + 639)) $((board_y + 639)))" = "#C0C0C0" ] ||
    fail "the large board is not whole"

# 3b. Options > Extra set: the screen itself shows the set's white light squares at once.
xdotool key alt+o
sleep 0.3
xdotool key Down Down Down Down Return
sleep 0.5
shoot extra
[ "$(pixel extra $((board_x + 2)) $((board_y + 2)))" = "#FFFFFF" ] ||
    fail "the Extra set is not on the screen after it was chosen"

# 4. F1 opens the About box, its frame centred on the main window's; Escape closes it.
xdotool key F1
wait_for 30 xdotool search --onlyvisible --name '^About Kelvane\.\.\.$' || fail "no About box"
sleep 0.3
about=$(frame_centre "$(xdotool search --onlyvisible --name '^About Kelvane\.\.\.$' | head -1)")
main=$(frame_centre "$(xdotool search --onlyvisible --name '^- Kelvane' | head -1)")
read -r ax ay <<<"$about"
read -r mx my <<<"$main"
[ $((ax - mx)) -ge -1 ] && [ $((ax - mx)) -le 1 ] && [ $((ay - my)) -ge -1 ] &&
    [ $((ay - my)) -le 1 ] || fail "About box centred at ($about)/2, the main window at ($main)/2"
xdotool key Escape
wait_for 30 bash -c "! xdotool search --onlyvisible --name '^About Kelvane'" ||
    fail "Escape did not close the About box"

# 5. A saved position where the player takes the computer's king: the box that ends the game
#    has a blank title, not the program's name. Column 0, then columns 1-6 empty, column 7.
{ printf '\x10\0\0\0\0\0\0\x18'; printf '\0%.0s' {1..48}; printf '\0\0\0\0\0\0\0\x1a'; } >game.sav
xdotool key F3
sleep 0.5
click_square 0 7
click_square 0 0
box=
for ((i = 0; i < 30 && ${#box} == 0; i++)); do
    sleep 0.1
    for candidate in $(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null); do
        name=$(xdotool getwindowname "$candidate" 2>/dev/null)
        [[ "$name" == "- Kelvane"* || "$name" == *".sav -"* ]] || box=$candidate
    done
done
[ -n "$box" ] || fail "no end-of-game box"
title=$(xprop -id "$box" _NET_WM_NAME)
case "$title" in
    *'= " "'* | *'= ""'*) echo "end-of-game box with a blank title" ;;
    *) fail "the box's title is not blank: $title" ;;
esac
xdotool key Return
sleep 0.5

# 6. Ctrl+O's file chooser, cancelled: it names nothing and, like everything but Save, writes
#    nothing (checked once the program has ended).
xdotool key ctrl+o
wait_for 30 xdotool search --onlyvisible --name '^Open$' || fail "no file chooser"
xdotool key Escape
wait_for 30 bash -c "! xdotool search --onlyvisible --name '^Open$'" ||
    fail "Escape did not close the file chooser"
sleep 0.3

# 7. Ctrl+Q ends the program cleanly.
quit_cleanly
written=$(find "$XDG_CONFIG_HOME" "$HOME" -type f 2>/dev/null)
[ -z "$written" ] || fail "files written outside the current folder: $written"
echo "PASS"
