// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's menu bar and accelerator table (resource 128).
#pragma once

#include <span>

#include "framework/resources.h"

namespace kelvane::res {

inline constexpr unsigned kMainFrameResource = 128;  // IDR_MAINFRAME

std::span<const framework::MenuResource> MainMenuBar();
std::span<const framework::AcceleratorResource> MainAccelerators();

}  // namespace kelvane::res
