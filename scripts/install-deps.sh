#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what Kelvane needs to build, run, test and package on Debian 12 (run as root).
set -e
packages="cmake g++ make libgtest-dev libbenchmark-dev qt6-base-dev libxcb1-dev pkg-config libxkbcommon-dev zlib1g-dev
  libreadline-dev
  xvfb xauth xdotool imagemagick jwm x11-utils appstream desktop-file-utils fonts-dejavu-core
  dbus-daemon dbus-bin at-spi2-core python3-dbus
  dpkg-dev lintian man-db clang-format python3 strace qt6-wayland weston"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
fi
