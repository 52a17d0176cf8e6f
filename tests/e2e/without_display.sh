#!/bin/bash
# Without a display (none named, or a local X display where no server answers) the program
# says so in one line on stderr and ends with a failure status.
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
    if [ "$code" -eq 0 ] || [ "$code" -ge 124 ] || [ "$(wc -l <"$errors")" -ne 1 ] ||
        ! grep -q "$pattern" "$errors"; then
        echo "FAIL ($what): exit status $code, expected one line matching '$pattern':" >&2
        cat "$errors" >&2
        status=1
    fi
}
expect_one_line "no display named" 'no display'
# A display number no server uses: the highest one X allows locally.
expect_one_line "no server on the display" 'cannot open the display' DISPLAY=:65000
exit $status
