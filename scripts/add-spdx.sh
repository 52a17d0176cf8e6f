#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Adds "SPDX-License-Identifier: GPL-3.0-or-later" at the top of every file that
# scripts/check-spdx.sh lists: "// " in C++, "# " in CMake and shell scripts, after the
# "#!" line where there is one.
cd "$(dirname "$0")/.." || exit 2
line='SPDX-License-Identifier: GPL-3.0-or-later'
scripts/check-spdx.sh 2>/dev/null | while IFS= read -r file; do
    case "$file" in
        *.cpp | *.h) comment="// $line" ;;
        *) comment="# $line" ;;
    esac
    tmp="$file.spdx.$$"
    if head -n 1 "$file" | grep -q '^#!'; then
        { head -n 1 "$file"; echo "$comment"; tail -n +2 "$file"; } >"$tmp"
    else
        { echo "$comment"; cat "$file"; } >"$tmp"
    fi
    # Keep the file's mode (scripts stay executable).
    cat "$tmp" >"$file" && rm -f "$tmp"
    echo "added: $file"
done
