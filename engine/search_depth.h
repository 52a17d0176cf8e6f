// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelvane {

inline constexpr int kDepthEasy = 2;
inline constexpr int kDepthMedium = 4;
inline constexpr int kDepthHard = 6;
inline constexpr int kHintDepth = 4;

void SetSearchDepth(int depth);
int GetSearchDepth();

}  // namespace kelvane
