// SPDX-License-Identifier: GPL-3.0-or-later
// Files as the framework opens documents: open by name and mode, read, close. Errors of the
// operating system come back as a CFileException that says what went wrong in plain words.
#pragma once

#include <exception>
#include <string>

namespace kelvane::framework {

class CFileException : public std::exception {
  public:
    enum Cause {
        none = 0,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };

    CFileException() = default;
    CFileException(Cause cause, int osError, std::string fileName);

    // Builds the exception for an errno value met while working on fileName.
    static CFileException FromErrno(int osError, const std::string& fileName);

    Cause m_cause = none;
    int m_lOsError = 0;
    std::string m_strFileName;

    // A sentence for the player, naming the file and the reason.
    const std::string& GetErrorMessage() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

  private:
    std::string message_;
};

class CFile {
  public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000,
    };

    CFile() = default;
    ~CFile();  // closes quietly
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // False when the file cannot be opened; error, when given, then tells why. Share flags are
    // accepted but not enforced: the file is only ever open within one command.
    bool Open(const std::string& fileName, unsigned openFlags, CFileException* error = nullptr);

    // Reads until count bytes or the end of the file; returns the number read.
    unsigned Read(void* buffer, unsigned count);
    void Close();
    // Closes without throwing; for clean-up after a failure.
    void Abort();

    bool IsOpen() const { return fd_ >= 0; }
    const std::string& GetFilePath() const { return fileName_; }

  private:
    void ThrowIfClosed() const;

    int fd_ = -1;
    std::string fileName_;
};

// Why text cannot be appended to fileName: "" for a regular file (also through a link) or a
// name that is still free; otherwise a sentence naming the file and what it is.
std::string WhyNotAppendable(const std::string& fileName);

}  // namespace kelvane::framework
