# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, made by CPack from the install rules:
#   cmake --build build -j2 && cpack --config build/CPackConfig.cmake -B build/package
# gives build/package/kelvane_<version>_<arch>.deb. Its dependencies are computed by
# dpkg-shlibdeps (package dpkg-dev) from the programs' shared libraries: Qt for the window,
# GNU Readline (libreadline8) for kelvane-cli's line editing, and the C and C++ libraries.
include(${CMAKE_CURRENT_LIST_DIR}/Install.cmake)

# The newest changelog entry names the version being packaged.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog changelog_top LIMIT_COUNT 1)
if(NOT changelog_top MATCHES "^kelvane \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog begins with '${changelog_top}', but the project "
                        "version is ${PROJECT_VERSION}: add an entry for it")
endif()

set(KELVANE_PACKAGE_MAINTAINER "Kelvane developers <developers@kelvane.org>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Kelvane developers")
set(CPACK_PACKAGE_CONTACT "${KELVANE_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "losing chess against the computer")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build.*/;/\\\\.git/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_NAME kelvane)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KELVANE_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's Wayland platform: without it the window cannot open where only Wayland is.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-wayland")
# The long description; CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Kelvane is chess turned around: a side that can capture must capture, and
you win by losing your king, or all of your pieces, before the computer
loses its own. The pieces move as in chess, without castling, en passant or
check, and a pawn that reaches the far row becomes a queen.

The game window offers two rule sets (King must die, All must die), three
levels of play, a hint, undo, autoplay, three board sizes and two sets of
pieces. The command-line driver kelvane-cli plays the same game in a
terminal, with either colour, standard notation, line editing and PGN
records; it also replays and checks records, lists moves, runs the search,
counts move sequences and lets the computer play itself.")

include(CPack)
