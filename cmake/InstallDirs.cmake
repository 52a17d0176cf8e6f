# SPDX-License-Identifier: GPL-3.0-or-later
# Where cmake --install and the package put things. Debian installs games in games/ (its
# policy, section 11.11), so both programs go to <prefix>/games unless KELVANE_INSTALL_BINDIR
# says otherwise. Included before the folders so that their install(TARGETS) rules see it.
set(KELVANE_INSTALL_BINDIR games CACHE PATH "Where the programs are installed, under the prefix")
set(CMAKE_INSTALL_BINDIR ${KELVANE_INSTALL_BINDIR})
include(GNUInstallDirs)
