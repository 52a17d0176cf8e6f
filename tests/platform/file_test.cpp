#include "platform/file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/platform/scoped_temp_directory.h"

namespace kelvane::platform {
namespace {

namespace fs = std::filesystem;
using testing::ScopedTempDirectory;

std::string ReadAll(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

TEST(CFileTest, WriteThenReadGivesTheSameBytes) {
    ScopedTempDirectory dir;
    const std::array<unsigned char, 5> bytes = {0x0E, 0x0B, 0x00, 0xFF, 0x15};
    {
        CFile file;
        ASSERT_TRUE(file.Open("data.bin", CFile::modeCreate | CFile::modeWrite));
        EXPECT_TRUE(file.IsOpen());
        EXPECT_EQ(file.GetFilePath(), "data.bin");
        file.Write(bytes.data(), bytes.size());
        file.Close();
        EXPECT_FALSE(file.IsOpen());
    }
    CFile file;
    ASSERT_TRUE(file.Open("data.bin", CFile::modeRead));
    std::array<unsigned char, 8> back{};
    // Asking for more than there is returns what there is.
    EXPECT_EQ(file.Read(back.data(), back.size()), 5u);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), back.begin()));
    EXPECT_EQ(file.Read(back.data(), back.size()), 0u);
}

TEST(CFileTest, OpeningAMissingFileForReadingFailsAndSaysWhy) {
    ScopedTempDirectory dir;
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open("missing.bin", CFile::modeRead, &error));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_strFileName, "missing.bin");
    EXPECT_NE(error.GetErrorMessage().find("missing.bin"), std::string::npos);
    EXPECT_NE(error.GetErrorMessage().find("No such file"), std::string::npos);
    // Without an exception to fill, it still only reports failure.
    EXPECT_FALSE(file.Open("missing.bin", CFile::modeRead));
}

TEST(CFileTest, OpeningADirectoryForWritingIsRefused) {
    ScopedTempDirectory dir;
    fs::create_directory("folder");
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open("folder", CFile::modeCreate | CFile::modeWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);
}

TEST(CFileTest, ReadingADirectoryThrows) {
    ScopedTempDirectory dir;
    fs::create_directory("folder");
    CFile file;
    ASSERT_TRUE(file.Open("folder", CFile::modeRead));
    char byte = 0;
    EXPECT_THROW(file.Read(&byte, 1), CFileException);
}

TEST(CFileTest, AFifoWithoutWriterReadsAsEmptyInsteadOfBlocking) {
    ScopedTempDirectory dir;
    ASSERT_EQ(::mkfifo("pipe", 0600), 0);
    CFile file;
    ASSERT_TRUE(file.Open("pipe", CFile::modeRead));
    std::array<char, 4> bytes{};
    EXPECT_EQ(file.Read(bytes.data(), bytes.size()), 0u);
}

TEST(CFileTest, AFullDiskThrowsDiskFull) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    CFile file;
    ASSERT_TRUE(file.Open("/dev/full", CFile::modeWrite));
    const std::array<char, 64> bytes{};
    try {
        file.Write(bytes.data(), bytes.size());
        FAIL() << "the write reported success";
    } catch (const CFileException& error) {
        EXPECT_EQ(error.m_cause, CFileException::diskFull);
        EXPECT_NE(error.GetErrorMessage().find("/dev/full"), std::string::npos);
        EXPECT_STREQ(error.what(), error.GetErrorMessage().c_str());
    }
}

TEST(CFileTest, UsingAClosedFileThrowsInsteadOfCrashing) {
    CFile file;
    char byte = 0;
    EXPECT_THROW(file.Read(&byte, 1), CFileException);
    EXPECT_THROW(file.Write(&byte, 1), CFileException);
    EXPECT_THROW(file.Flush(), CFileException);
    EXPECT_NO_THROW(file.Close());
    EXPECT_NO_THROW(file.Abort());
}

TEST(CFileTest, RenameReplacesTheTargetAndRemoveDeletes) {
    ScopedTempDirectory dir;
    WriteAll("new.bin", "new");
    WriteAll("old.bin", "old");
    CFile::Rename("new.bin", "old.bin");
    EXPECT_FALSE(fs::exists("new.bin"));
    EXPECT_EQ(ReadAll("old.bin"), "new");
    CFile::Remove("old.bin");
    EXPECT_FALSE(fs::exists("old.bin"));
    EXPECT_THROW(CFile::Remove("old.bin"), CFileException);
}

TEST(CFileTest, RenameOverADirectoryThrowsAndKeepsBoth) {
    ScopedTempDirectory dir;
    WriteAll("new.bin", "new");
    fs::create_directory("target");
    EXPECT_THROW(CFile::Rename("new.bin", "target"), CFileException);
    EXPECT_TRUE(fs::is_directory("target"));
    EXPECT_EQ(ReadAll("new.bin"), "new");
}

}  // namespace
}  // namespace kelvane::platform
