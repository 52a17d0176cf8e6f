#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window on a Wayland display with DISPLAY unset, on a compositor of our own (weston,
# headless): it opens with its title. A Wayland display no compositor answers is one line on
# stderr and status 2, as for X. Takes the program's path.
set -u
program=$(realpath "$1")
work=$(mktemp -d)
chmod 700 "$work"
compositor= client=
trap 'kill $compositor $client 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1
export HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work"
status=0
fail() { echo "FAIL: $*" >&2; status=1; }

# refused ENVIRONMENT... -- EXPECTED-ERROR
refused() {
    local err code want=${*: -1}
    err=$(env -u DISPLAY -u QT_QPA_PLATFORM "${@:1:$#-1}" timeout 10 "$program" 2>&1 >/dev/null)
    code=$?
    [ "$code" = 2 ] && [ "$err" = "$want" ] || fail "$*: status $code, '$err'"
}
refused WAYLAND_DISPLAY=nobody-here \
    'kelvane: cannot open the Wayland display nobody-here: no Wayland compositor answers there'
refused WAYLAND_DISPLAY="$work/nobody" \
    "kelvane: cannot open the Wayland display $work/nobody: no Wayland compositor answers there"
refused -u XDG_RUNTIME_DIR WAYLAND_DISPLAY=wayland-0 \
    'kelvane: cannot open the Wayland display wayland-0: XDG_RUNTIME_DIR is not set'

weston --backend=headless-backend.so --socket=kelvane-test --idle-time=0 >weston.log 2>&1 &
compositor=$!
for ((i = 0; i < 100; i++)); do [ -S kelvane-test ] && break; sleep 0.1; done
[ -S kelvane-test ] || { cat weston.log >&2; fail "weston did not start"; exit 1; }
env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY=kelvane-test WAYLAND_DEBUG=client \
    "$program" 2>client.log &
client=$!
title='xdg_toplevel@[0-9]*\.set_title("- Kelvane  -  ")'
for ((i = 0; i < 100; i++)); do grep -q "$title" client.log && break; sleep 0.1; done
grep -q "$title" client.log || fail "no window titled '- Kelvane  - ' on Wayland"
sleep 0.5
kill -0 $client 2>/dev/null || fail "the program ended: $(grep -v '^\[' client.log)"
exit $status
