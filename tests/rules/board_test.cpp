#include <gtest/gtest.h>

#include "rules/board.h"

TEST(Placeholder, Builds) { EXPECT_EQ(kelvane::PackMove(0, 0, 0, 1), 1); }
