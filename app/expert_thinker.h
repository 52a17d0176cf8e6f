// SPDX-License-Identifier: GPL-3.0-or-later
// The Expert as the worker thread runs it: one second a move.
#pragma once

#include <memory>

#include "app/search_worker.h"

namespace kelvane {

inline constexpr int kExpertMoveTimeMs = 1000;

std::unique_ptr<MoveThinker> MakeExpertThinker();

}  // namespace kelvane
