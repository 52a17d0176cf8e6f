#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# cmake --install puts the programs, their desktop files, icons, manual pages and copyright
# file where desktops, man and Debian look for them (into a scratch prefix). Takes the build
# and the source folders.
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
source=$(realpath "$2")
pixels="$(dirname "$(realpath "$0")")/png_pixels.py"
cmake --install "$1" --prefix "$prefix" >/dev/null && cd "$prefix" || exit 1
status=0
fail() { echo "FAIL: $*" >&2; status=1; }
entry=share/applications/org.kelvane.Kelvane.desktop
icon=share/icons/hicolor/scalable/apps/org.kelvane.Kelvane.svg
for file in $entry $icon share/metainfo/org.kelvane.Kelvane.metainfo.xml \
    share/man/man6/kelvane.6.gz share/man/man6/kelvane-cli.6.gz \
    share/doc/kelvane/copyright share/doc/kelvane/changelog.gz; do
    [ -s "$file" ] || fail "$file not installed"
done
# The PNG icons decoded independently: sizes that are whole multiples of the pixel art (16 has
# its own) show its colours, pixel for pixel.
art_colours() { # XPM SIZE X,Y...: the art's colour under each pixel of a SIZE-pixel icon
    python3 -c '
import re, sys
strings = re.findall(r"\"([^\"]*)\"", open(sys.argv[1]).read())
width, height, count, _ = map(int, strings[0].split())
colours = {line[0]: line.split()[-1].upper() for line in strings[1:1 + count]}
size = int(sys.argv[2])
for point in sys.argv[3:]:
    x, y = map(int, point.split(","))
    print(colours[strings[1 + count + y * height // size][x * width // size]] + "FF")' "$@"
}
for size in 16 32 48 64 128 256; do
    png=share/icons/hicolor/${size}x${size}/apps/org.kelvane.Kelvane.png
    art=$source/res/kelvane_icon.xpm
    [ $size = 16 ] && art=$source/res/kelvane_icon_16.xpm
    points=
    # An 8 by 8 grid of pixels; 48 is an area average, checked for its size only.
    [ $size != 48 ] && points=$(for ((i = 0; i < 64; i++)); do
        echo "$((i % 8 * size / 8 + size / 16)),$((i / 8 * size / 8 + size / 32))"
    done)
    want=$(echo "${size}x${size}" $([ -n "$points" ] && art_colours "$art" $size $points))
    got=$("$pixels" "$png" $points | xargs)
    [ "$got" = "$want" ] || fail "$png: '$got', expected '$want'"
done
for program in kelvane kelvane-cli; do
    [ -x games/$program ] || fail "games/$program is not installed as a program"
done
grep -q '^Icon=org.kelvane.Kelvane$' $entry || fail "the desktop entry names another icon"
grep -qx "Exec=$prefix/games/kelvane" $entry || fail "the desktop entry starts $(grep ^Exec= $entry)"
desktop-file-validate $entry || fail "the installed desktop entry does not validate"
grep -q '<svg' $icon || fail "the icon is no SVG"
for page in kelvane kelvane-cli; do
    zcat share/man/man6/$page.6.gz | grep -q '^\.SH EXIT STATUS' || fail "$page.6 has no EXIT STATUS"
done
exit $status
