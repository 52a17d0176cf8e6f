# SPDX-License-Identifier: GPL-3.0-or-later
# The version of both programs comes from project(): kelvane_version.h in the build folder,
# found as #include "kelvane_version.h" by every target.
configure_file(${CMAKE_CURRENT_LIST_DIR}/kelvane_version.h.in
               ${PROJECT_BINARY_DIR}/generated/kelvane_version.h @ONLY)
include_directories(${PROJECT_BINARY_DIR}/generated)
