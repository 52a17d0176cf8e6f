#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks a built package: its control fields, that it holds exactly the expected files
# (dpkg-deb --contents), and that the PNG icons have the sizes their folders name.
# Usage: tests/package/check_package.sh build/package/kelvane_VERSION_ARCH.deb VERSION
set -u
deb=$1
version=$2
status=0
fail() { echo "FAIL: $*" >&2; status=1; }
[ -f "$deb" ] || { echo "FAIL: no package $deb" >&2; exit 1; }

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = kelvane ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
grep -q 'libqt6widgets6' <<<"$(field Depends)" || fail "Depends lacks the Qt libraries: $(field Depends)"
grep -q 'libc6' <<<"$(field Depends)" || fail "Depends lacks libc6: $(field Depends)"
grep -q 'libreadline8' <<<"$(field Depends)" || fail "Depends lacks GNU Readline: $(field Depends)"
grep -q 'qt6-wayland' <<<"$(field Depends)" || fail "Depends lacks Qt's Wayland platform: $(field Depends)"
[ "$(dpkg-deb --field "$deb" Description | wc -l)" -ge 3 ] || fail "no long description"

expected="./usr/games/kelvane
./usr/games/kelvane-cli
./usr/share/applications/org.kelvane.Kelvane.desktop
./usr/share/doc/kelvane/changelog.gz
./usr/share/doc/kelvane/copyright
./usr/share/icons/hicolor/128x128/apps/org.kelvane.Kelvane.png
./usr/share/icons/hicolor/16x16/apps/org.kelvane.Kelvane.png
./usr/share/icons/hicolor/256x256/apps/org.kelvane.Kelvane.png
./usr/share/icons/hicolor/32x32/apps/org.kelvane.Kelvane.png
./usr/share/icons/hicolor/48x48/apps/org.kelvane.Kelvane.png
./usr/share/icons/hicolor/64x64/apps/org.kelvane.Kelvane.png
./usr/share/icons/hicolor/scalable/apps/org.kelvane.Kelvane.svg
./usr/share/man/man6/kelvane-cli.6.gz
./usr/share/man/man6/kelvane.6.gz
./usr/share/metainfo/org.kelvane.Kelvane.metainfo.xml"
# Files and links only (directories end in /), sorted alike.
actual=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $6}' | LC_ALL=C sort)
expected=$(LC_ALL=C sort <<<"$expected")
if [ "$actual" != "$expected" ]; then
    fail "the package's files differ from the expected ones (< expected, > in the package):"
    diff <(echo "$expected") <(echo "$actual") >&2
fi

# The files themselves, unpacked into a scratch folder.
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb --extract "$deb" "$root" || fail "cannot unpack $deb"
for size in 16 32 48 64 128 256; do
    png=$root/usr/share/icons/hicolor/${size}x${size}/apps/org.kelvane.Kelvane.png
    [ -f "$png" ] || continue
    # IHDR: width and height as 4-byte big-endian numbers at offsets 16 and 20.
    read -r w h < <(od -An -tu1 -j16 -N8 "$png" |
        awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "$size px icon is ${w}x${h}"
done
for page in kelvane kelvane-cli; do
    gzip -t "$root/usr/share/man/man6/$page.6.gz" 2>/dev/null || fail "$page.6.gz is no gzip file"
done
grep -q '^License: GPL-3.0-or-later' "$root/usr/share/doc/kelvane/copyright" ||
    fail "the copyright file names no GPL-3.0-or-later licence"
for program in kelvane kelvane-cli; do
    [ -x "$root/usr/games/$program" ] || fail "/usr/games/$program is not a program"
done
[ "$("$root/usr/games/kelvane-cli" --version)" = "Kelvane $version" ] ||
    fail "kelvane-cli --version does not say Kelvane $version"
[ $status -eq 0 ] && echo "package $deb: $(wc -l <<<"$actual") files as expected"
exit $status
