// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/search_depth.h"

namespace kelvane {

namespace {
int searchDepth = kDepthEasy;
}

void SetSearchDepth(int depth) {
    searchDepth = depth;
}
int GetSearchDepth() {
    return searchDepth;
}

}  // namespace kelvane
