// SPDX-License-Identifier: GPL-3.0-or-later
// The About box template (dialog 100), in dialog units.
#pragma once

#include "framework/resources.h"

namespace kelvane::res {

inline constexpr unsigned IDD_ABOUTBOX = 100;

// Null for an id that is no dialog of ours.
const framework::DialogResource* FindDialogResource(unsigned id);

}  // namespace kelvane::res
