// SPDX-License-Identifier: GPL-3.0-or-later
// Every resource compiled into the program, as the framework finds them.
#pragma once

#include "framework/resources.h"

namespace kelvane::res {

const framework::ResourceTable& ProgramResources();
// The same resources with the extras' menu items.
const framework::ResourceTable& ExtrasProgramResources();

}  // namespace kelvane::res
