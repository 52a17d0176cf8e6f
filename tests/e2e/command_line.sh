#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program's own options are answered before any window opens, with or without a display.
program=$1
status=0
check() {
    local args=$1 want_status=$2 want_out=$3 want_err=$4 out err code
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY timeout 10 "$program" $args 2>/tmp/kelvane-cl.$$)
    code=$?
    err=$(cat /tmp/kelvane-cl.$$)
    rm -f /tmp/kelvane-cl.$$
    if [ "$code" -ne "$want_status" ] || ! grep -q "$want_out" <<<"$out" ||
        ! grep -q "$want_err" <<<"$err" || [ "$(wc -l <<<"$err")" -ne 1 ]; then
        echo "FAIL (kelvane $args): status $code, out '$out', err '$err'" >&2
        status=1
    fi
}
check --help 0 '^usage: kelvane' '^$'
check -h 0 '^usage: kelvane' '^$'
check --version 0 '^Kelvane 1.0$' '^$'
check --frobnicate 2 '^$' "unknown option '--frobnicate'"
exit $status
