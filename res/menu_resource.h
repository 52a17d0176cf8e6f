// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's menu bar and accelerator table (resource 128).
#pragma once

#include <span>

#include "framework/resources.h"

namespace kelvane::res {

inline constexpr unsigned kMainFrameResource = 128;  // IDR_MAINFRAME

std::span<const framework::MenuResource> MainMenuBar();
// The same bar with the extras' items: New - You play Black, Save Record... and Expert.
std::span<const framework::MenuResource> ExtrasMenuBar();
std::span<const framework::AcceleratorResource> MainAccelerators();

}  // namespace kelvane::res
