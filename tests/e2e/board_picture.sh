#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# kelvane-board-picture's pictures, decoded by an independent reader (tests/e2e/png_pixels.py):
# valid PNG, the size, the set's square colours, a piece's pixels and the marks. Positions are
# read as the game reads them: what is no saved game gets one line on stderr and status 2, and
# nothing blocks it. Takes the program's path.
set -u
program=$(realpath "$1")
pixels="$(dirname "$(realpath "$0")")/png_pixels.py"
work=$(mktemp -d)
trap 'kill $writer 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1
status=0
fail() { echo "FAIL: $*" >&2; status=1; }

# picture 'OPTIONS' 'WIDTHxHEIGHT #colour-at-x,y ...' X,Y ...
picture() {
    local options=$1 want=$2 got
    shift 2
    rm -f out.png
    "$program" out.png $options || { fail "status $? for $options"; return; }
    got=$("$pixels" out.png "$@" | xargs)
    [ "$got" = "$want" ] || fail "$options: '$got', expected '$want'"
}
# a8 light, b8 dark, h1 light; a2's white pawn: its outline at art (2, 30), its body at (3, 29).
picture '' '320x320 #C0C0C0 #808080 #C0C0C0 #000000 #FFFFFF' 0,0 40,0 319,319 12,270 13,269
picture '--size 40 --set standard' '320x320 #C0C0C0 #808080 #000000' 0,0 40,0 13,268
picture '--set extra' '320x320 #FFFFFF #C0C0C0 #FFFBF0 #000000' 0,0 40,0 13,268 12,270
picture '--size 80' '640x640 #C0C0C0 #808080 #FFFFFF #C0C0C0' 0,0 80,0 27,539 639,639
# On the small board art rows 7, 15, 23 and 31 are dropped: art row 28 is row 25.
picture '--size 35 --set extra' '280x280 #FFFFFF #C0C0C0 #FFFBF0' 0,0 35,0 11,235
# Red on the selected pawn, yellow on its two targets, blue on the last move, green on the
# hint's squares; the frames are 2 pixels thick at this size.
picture '--select e2 --last d7 --hint g1f3' \
    '320x320 #FF0000 #FF0000 #C0C0C0 #FFFF00 #FFFF00 #0000FF #00FF00 #00FF00 #808080' \
    160,240 161,241 162,242 160,200 160,160 120,40 240,280 200,200 40,80
# A saved game with Black's king alone on a8: a2 is empty.
{ printf '\x10'; head -c 63 /dev/zero; } >king.sav
picture '--position king.sav' '320x320 #C0C0C0' 12,270
"$pixels" out.png 12,30 | grep -q '#000000' || fail "no black king on a8"

mkdir folder
mkfifo fifo
sleep 30 >fifo & # a writer that never writes
writer=$!
head -c 63 /dev/zero >short.sav
for position in folder fifo /dev/zero short.sav missing.sav; do
    err=$(timeout 10 "$program" bad.png --position "$position" 2>&1 >/dev/null)
    code=$?
    if [ "$code" -ne 2 ] || [ "$(wc -l <<<"$err")" -ne 1 ] || [ -e bad.png ]; then
        fail "($position): status $code, err '$err'"
    fi
done
err=$("$program" out.png --size 50 2>&1)
[ $? = 2 ] && [ "$err" = "kelvane-board-picture: bad option --size 50 (see --help)" ] ||
    fail "--size 50: $err"
"$program" start.png --position <(printf '\x0e\x0b\0\0\0\0\x15\x18\x0c\x0b\0\0\0\0\x15\x16') \
    2>/dev/null && fail "a 16-byte pipe was taken"
exit $status
