#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# cmake --install puts the programs, their desktop files, icons, manual pages and copyright
# file where desktops, man and Debian look for them (into a scratch prefix).
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
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
for size in 16 32 48 64 128 256; do
    png=share/icons/hicolor/${size}x${size}/apps/org.kelvane.Kelvane.png
    [ "$(head -c 8 "$png" 2>/dev/null | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ] ||
        fail "$png is no PNG"
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
