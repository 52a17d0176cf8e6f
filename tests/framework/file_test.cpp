// Reading, writing, renaming and removing that work are seen through the saved game's tests;
// here, the failures and the files that are no plain files.
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

TEST_F(CFileTest, FailuresToOpenSayWhyAndFailuresToReadOrWriteThrow) {
    fs::create_directory("folder");
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open("missing.bin", CFile::modeRead, &error));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.GetErrorMessage(), "\"missing.bin\": No such file or directory.");
    EXPECT_FALSE(file.Open("folder", CFile::modeCreate | CFile::modeWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);
    EXPECT_FALSE(file.Open("missing.bin", CFile::modeRead));  // with no exception to fill
    // A closed file throws instead of crashing; closing it again is harmless.
    char byte = 0;
    EXPECT_THROW(file.Read(&byte, 1), CFileException);
    EXPECT_THROW(file.Write(&byte, 1), CFileException);
    EXPECT_THROW(file.Flush(), CFileException);
    EXPECT_NO_THROW(file.Close());
    EXPECT_NO_THROW(file.Abort());
    ASSERT_TRUE(file.Open("folder", CFile::modeRead));
    EXPECT_THROW(file.Read(&byte, 1), CFileException);
    EXPECT_THROW(CFile::Rename("missing.bin", "other.bin"), CFileException);
    EXPECT_THROW(CFile::Remove("missing.bin"), CFileException);
}

TEST_F(CFileTest, AFifoWithoutWriterReadsAsEmptyInsteadOfBlocking) {
    ASSERT_EQ(::mkfifo("pipe", 0600), 0);
    CFile file;
    ASSERT_TRUE(file.Open("pipe", CFile::modeRead));
    std::array<char, 4> bytes{};
    EXPECT_EQ(file.Read(bytes.data(), bytes.size()), 0u);
}

TEST_F(CFileTest, AFullDiskThrowsDiskFull) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    CFile file;
    ASSERT_TRUE(file.Open("/dev/full", CFile::modeWrite));
    const std::array<char, 64> bytes{};
    try {
        file.Write(bytes.data(), bytes.size());
        FAIL() << "the write reported success";
    } catch (const CFileException& error) {
        EXPECT_EQ(error.m_cause, CFileException::diskFull);
        EXPECT_STREQ(error.what(), "\"/dev/full\": No space left on device.");
    }
}

}  // namespace
}  // namespace kelvane::framework
