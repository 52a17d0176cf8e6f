#!/bin/bash
# cmake --install puts the program and its desktop files where desktops look for them.
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null || exit 1
status=0
for file in bin/kelvane \
    share/applications/org.kelvane.Kelvane.desktop \
    share/icons/hicolor/scalable/apps/org.kelvane.Kelvane.svg \
    share/metainfo/org.kelvane.Kelvane.metainfo.xml; do
    if [ ! -s "$prefix/$file" ]; then
        echo "FAIL: $file not installed" >&2
        status=1
    fi
done
[ -x "$prefix/bin/kelvane" ] || { echo "FAIL: bin/kelvane is not executable" >&2; status=1; }
grep -q '^Icon=org.kelvane.Kelvane$' "$prefix/share/applications/org.kelvane.Kelvane.desktop" ||
    { echo "FAIL: the desktop entry names another icon" >&2; status=1; }
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/org.kelvane.Kelvane.svg" ||
    { echo "FAIL: the icon is no SVG" >&2; status=1; }
[ $status -eq 0 ] && echo PASS
exit $status
