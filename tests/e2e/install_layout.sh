#!/bin/bash
# cmake --install puts the program and its desktop files where desktops look for them.
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null && cd "$prefix" || exit 1
status=0
fail() { echo "FAIL: $*" >&2; status=1; }
entry=share/applications/org.kelvane.Kelvane.desktop
icon=share/icons/hicolor/scalable/apps/org.kelvane.Kelvane.svg
for file in $entry $icon share/metainfo/org.kelvane.Kelvane.metainfo.xml; do
    [ -s "$file" ] || fail "$file not installed"
done
[ -x bin/kelvane ] || fail "bin/kelvane is not installed as a program"
grep -q '^Icon=org.kelvane.Kelvane$' $entry || fail "the desktop entry names another icon"
grep -q '<svg' $icon || fail "the icon is no SVG"
exit $status
