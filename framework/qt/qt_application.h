// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a shell application on Qt: the display check, the event loop, the order of teardown.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/shell_platform.h"

namespace kelvane::framework::qt {

// What the windows would be shown on; empty when there is nothing to open them on.
std::string FindDisplay();

// Returns the running application (kept alive until the event loop ends), or null when the
// program must end at once. arguments: the command line after the program's name, without
// the options Qt took for itself.
using StartUp = std::function<std::shared_ptr<void>(ShellPlatform& platform,
                                                    std::vector<std::string> arguments)>;

// Returns the program's exit status.
int RunApplication(int argc, char** argv, const StartUp& startUp);

}  // namespace kelvane::framework::qt
