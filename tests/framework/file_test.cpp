// SPDX-License-Identifier: GPL-3.0-or-later
// The document's file: failures say why, and files that are no plain files do no harm.
#include "framework/file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <filesystem>

#include "tests/support/scoped_temp_directory.h"

namespace kelvane::framework {
namespace {

namespace fs = std::filesystem;

class CFileTest : public ::testing::Test {
    testing::ScopedTempDirectory directory_;
};

TEST_F(CFileTest, FailuresToOpenSayWhyAndFailuresToReadThrowAndFifosDoNotBlock) {
    fs::create_directory("folder");
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open("missing.bin", CFile::modeRead, &error));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.GetErrorMessage(), "\"missing.bin\": No such file or directory.");
    EXPECT_FALSE(file.Open("folder", CFile::modeCreate | CFile::modeWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);
    // A closed file throws instead of crashing; closing it again is harmless.
    char byte = 0;
    EXPECT_THROW(file.Read(&byte, 1), CFileException);
    EXPECT_NO_THROW(file.Close());
    ASSERT_TRUE(file.Open("folder", CFile::modeRead));
    EXPECT_THROW(file.Read(&byte, 1), CFileException);
    // A fifo without a writer reads as empty instead of blocking.
    file.Close();
    ASSERT_EQ(::mkfifo("pipe", 0600), 0);
    ASSERT_TRUE(file.Open("pipe", CFile::modeRead));
    std::array<char, 4> bytes{};
    EXPECT_EQ(file.Read(bytes.data(), bytes.size()), 0u);
}

}  // namespace
}  // namespace kelvane::framework
