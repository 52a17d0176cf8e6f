#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Both programs, the metainfo's newest release, the changelog and the manual pages name the
# project version. Usage: versions.sh KELVANE KELVANE-CLI VERSION SOURCE_DIR
kelvane=$1 cli=$2 version=$3 source=$4
status=0
fail() { echo "FAIL: $*" >&2; status=1; }
gui=$(env -u DISPLAY -u WAYLAND_DISPLAY timeout 10 "$kelvane" --version)
[ "$gui" = "Kelvane $version" ] || fail "kelvane --version says '$gui', not 'Kelvane $version'"
text=$(timeout 10 "$cli" --version)
[ "$text" = "$gui" ] || fail "kelvane-cli --version says '$text', kelvane --version '$gui'"
release=$(grep -o '<release version="[^"]*"' "$source/res/org.kelvane.Kelvane.metainfo.xml" | head -n 1)
[ "$release" = "<release version=\"$version\"" ] || fail "the metainfo's newest release is $release"
head -n 1 "$source/packaging/changelog" | grep -q "^kelvane ($version) " ||
    fail "packaging/changelog has no entry for $version on top"
for page in kelvane kelvane-cli; do
    grep -q "^\.TH .* \"Kelvane $version\"" "$source/man/$page.6" ||
        fail "man/$page.6 names another version"
done
exit $status
