// SPDX-License-Identifier: GPL-3.0-or-later
// Test programs that draw or open windows find the program's resources as the program does.
#include <gtest/gtest.h>

#include "framework/resources.h"
#include "res/program_resources.h"

int main(int argc, char** argv) {
    kelvane::framework::AfxSetResources(&kelvane::res::ProgramResources());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
