#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Lists the tracked source files (.cpp, .h, .cmake, CMakeLists.txt, .sh) that lack the line
# "SPDX-License-Identifier: GPL-3.0-or-later" in their first 3 lines; fails if there is one.
# scripts/add-spdx.sh adds the line to them.
cd "$(dirname "$0")/.." || exit 2
missing=0
for file in $(git ls-files -- '*.cpp' '*.h' '*.cmake' '*CMakeLists.txt' '*.sh'); do
    if ! head -n 3 "$file" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later'; then
        echo "$file"
        missing=1
    fi
done
if [ "$missing" -ne 0 ]; then
    echo "check-spdx: the files above lack an SPDX line (scripts/add-spdx.sh adds it)" >&2
    exit 1
fi
exit 0
