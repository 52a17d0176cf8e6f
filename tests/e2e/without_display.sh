#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Without a display (none named, a name that is no display, a local X display where no server
# answers, or a screen the server does not have) the program says so in one line on stderr and
# ends with status 2.
program=$1
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
status=0
expect_one_line() {
    local what=$1 pattern=$2 code
    shift 2
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" timeout 10 "$program" \
        2>"$errors" >/dev/null
    code=$?
    if [ "$code" -ne 2 ] || [ "$(wc -l <"$errors")" -ne 1 ] ||
        ! grep -q "$pattern" "$errors"; then
        echo "FAIL ($what): exit status $code, expected one line matching '$pattern':" >&2
        cat "$errors" >&2
        status=1
    fi
}
expect_one_line "no display named" 'no display'
# A display number no server uses: the highest one X allows locally.
expect_one_line "no server on the display" 'cannot open the display' DISPLAY=:65000
expect_one_line "no display number" 'cannot open the display :abc: not a display' DISPLAY=:abc
expect_one_line "no colon" 'cannot open the display' DISPLAY=foo
expect_one_line "a control byte" 'display :0\\x0a1: not a display' DISPLAY=$':0\n1'
expect_one_line "an unknown host" 'cannot open the display' DISPLAY=nohost.invalid:0
# A screen the server does not have, on a server of our own.
if command -v Xvfb >/dev/null; then
    exec 3< <(exec Xvfb -displayfd 1 -nolisten tcp -screen 0 320x200x24 2>/dev/null)
    xvfb=$!
    read -r -t 10 number <&3
    kill_xvfb() { kill "$xvfb" 2>/dev/null; }
    trap 'rm -f "$errors"; kill_xvfb' EXIT
    if [ -n "$number" ]; then
        expect_one_line "no such screen" 'has no screen 5' DISPLAY=":$number.5"
    else
        echo "FAIL: Xvfb did not start" >&2
        status=1
    fi
fi
exit $status
