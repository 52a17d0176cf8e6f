#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kelvane-board-picture reads positions as the game does: what is no saved game gets one line
# on stderr and status 2, and nothing blocks it. Takes the program's path.
set -u
program=$(realpath "$1")
work=$(mktemp -d)
trap 'kill $writer 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir folder
mkfifo fifo
sleep 30 >fifo & # a writer that never writes
writer=$!
head -c 63 /dev/zero >short.sav
status=0
for position in folder fifo /dev/zero short.sav missing.sav; do
    err=$(timeout 10 "$program" out.png --position "$position" 2>&1 >/dev/null)
    code=$?
    if [ "$code" -ne 2 ] || [ "$(wc -l <<<"$err")" -ne 1 ] || [ -e out.png ]; then
        echo "FAIL ($position): status $code, err '$err'" >&2
        status=1
    fi
done
# A saved game of the start position gives a picture.
"$program" start.png --position <(printf '\x0e\x0b\0\0\0\0\x15\x18\x0c\x0b\0\0\0\0\x15\x16') \
    2>/dev/null && { echo "FAIL: a 16-byte pipe was taken" >&2; status=1; }
"$program" start.png --size 35 || status=1
[ -s start.png ] || { echo "FAIL: no picture" >&2; status=1; }
exit $status
