#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that every folder includes only the folders it may use: each arrow points down.
# Prints each include that points elsewhere and exits 1 if there is one.
set -u
cd "$(dirname "$0")/.."

allowed() {
    case "$1" in
        rules) echo "rules" ;;
        engine) echo "rules engine" ;;
        game) echo "rules engine game" ;;
        framework) echo "framework" ;;
        res) echo "framework res" ;;
        app) echo "rules engine game record framework res app" ;;
        record) echo "rules game record" ;;
        cli) echo "rules engine game record cli" ;;
        tools) echo "rules game framework res app tools" ;;
        bench) echo "rules engine bench" ;;
        tests) echo "rules engine game record framework res app cli tools tests" ;;
        *) echo "" ;;
    esac
}

status=0
for file in $(git ls-files '*.cpp' '*.h'); do
    folder=${file%%/*}
    permitted=$(allowed "$folder")
    for target in $(sed -n 's/^#include "\([a-z_]*\)\/.*"/\1/p' "$file"); do
        case " $permitted " in
            *" $target "*) ;;
            *) echo "$file includes $target/, which $folder/ may not use"; status=1 ;;
        esac
    done
    # Only the Qt backend sees Qt.
    case "$file" in
        framework/qt/* | tests/shell/*) ;;
        *) if grep -q '^#include <Q' "$file"; then
               echo "$file includes Qt outside framework/qt"; status=1
           fi ;;
    esac
done
exit $status
