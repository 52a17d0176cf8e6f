# SPDX-License-Identifier: GPL-3.0-or-later
# What the scripted window sessions share, sourced by them: waiting, screenshots and their
# pixels, the board's place on the screen, the frames on its squares, and a clean Quit. The
# session defines fail, $work (its scratch folder), $size (the board's square size) and
# $program_pid.

# A sanitizer build must not blame us for what system libraries keep until exit.
LSAN_OPTIONS="suppressions=$(dirname "$(realpath "${BASH_SOURCE[0]}")")/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export LSAN_OPTIONS
convert=/usr/bin/convert-im6.q16

# Waits up to $1 tenths of a second for the command to succeed.
wait_for() {
    local i
    for ((i = 0; i < $1; i++)); do "${@:2}" >/dev/null 2>&1 && return 0 || sleep 0.1; done
    return 1
}
shoot() { import -window root "$work/$1.png" || fail "no screenshot"; }
# The colour of one pixel of a screenshot, as #RRGGBB.
pixel() { "$convert" "$work/$1.png" -format "#%[hex:p{$2,$3}]" info: | cut -c1-7; }

# Finds the main window, whose title matches $1, its size and the board's top-left corner: $2
# pixels right of the window's left edge, and the first pixel row of the light corner square
# below the menu bar.
locate_board() {
    local window info row y
    window=$(xdotool search --onlyvisible --name "$1" | head -1)
    [ -n "$window" ] || fail "no main window"
    # xwininfo gives the client's absolute corner also inside a window manager's frame.
    info=$(xwininfo -id "$window")
    board_x=$(($(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info") + $2))
    y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    window_width=$(sed -n 's/.*Width: *//p' <<<"$info")
    window_height=$(sed -n 's/.*Height: *//p' <<<"$info")
    shoot locate
    row=$("$convert" "$work/locate.png" -crop "1x80+$((board_x + 2))+$y" -depth 8 txt:- |
        grep -n '#C0C0C0' | head -1 | cut -d: -f1)
    [ -n "$row" ] || fail "board not found below the menu bar"
    board_y=$((y + row - 2))
}
# Screen squares "column,row" whose top-left frame pixel has the colour $2 in screenshot $1,
# read in one pass.
framed_squares() {
    local format="" c r
    for c in 0 1 2 3 4 5 6 7; do
        for r in 0 1 2 3 4 5 6 7; do
            format+="$c,$r=%[hex:p{$((board_x + c * size + 1)),$((board_y + r * size + 1))}] "
        done
    done
    "$convert" "$work/$1.png" -format "$format" info: | tr ' ' '\n' | sed -n "s/=$2.*//p" | xargs
}
# Ctrl+Q: the program must end within 5 s with status 0 and no sanitizer report in its log,
# $work/program.log.
quit_cleanly() {
    local status
    xdotool key ctrl+q
    wait_for 50 bash -c "! kill -0 $program_pid" || fail "Ctrl+Q did not end the program"
    wait "$program_pid"
    status=$?
    program_pid=
    if [ "$status" -ne 0 ] || grep -qE 'runtime error|Sanitizer' "$work/program.log"; then
        cat "$work/program.log" >&2
        fail "exit status $status, or a memory or undefined-behaviour error"
    fi
}
