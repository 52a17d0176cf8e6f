// SPDX-License-Identifier: GPL-3.0-or-later
#include "framework/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace kelvane::framework {

namespace {

CFileException::Cause CauseOfErrno(int osError) {
    switch (osError) {
        case 0:
            return CFileException::none;
        case ENOENT:
            return CFileException::fileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return CFileException::badPath;
        case EMFILE:
        case ENFILE:
            return CFileException::tooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY:
            return CFileException::accessDenied;
        case EBADF:
            return CFileException::invalidFile;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return CFileException::diskFull;
        case EIO:
            return CFileException::hardIO;
        case ESPIPE:
            return CFileException::badSeek;
        case EBUSY:
            return CFileException::sharingViolation;
        default:
            return CFileException::genericException;
    }
}

// Used when no operating-system error explains the failure.
const char* DescribeCause(CFileException::Cause cause) {
    switch (cause) {
        case CFileException::none:
            return "no error";
        case CFileException::fileNotFound:
            return "the file was not found";
        case CFileException::badPath:
            return "the path is not valid";
        case CFileException::tooManyOpenFiles:
            return "too many files are open";
        case CFileException::accessDenied:
            return "access was denied";
        case CFileException::invalidFile:
            return "the file is not open";
        case CFileException::removeCurrentDir:
            return "the current directory cannot be removed";
        case CFileException::directoryFull:
            return "the directory is full";
        case CFileException::badSeek:
            return "the file position cannot be set";
        case CFileException::hardIO:
            return "a hardware error occurred";
        case CFileException::sharingViolation:
            return "the file is in use";
        case CFileException::lockViolation:
            return "the file is locked";
        case CFileException::diskFull:
            return "the disk is full";
        case CFileException::endOfFile:
            return "the end of the file was reached";
        case CFileException::genericException:
            break;
    }
    return "an unexpected error occurred";
}

}  // namespace

CFileException::CFileException(Cause cause, int osError, std::string fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(std::move(fileName)) {
    const std::string reason = osError != 0 ? std::strerror(osError) : DescribeCause(cause);
    message_ = "\"" + m_strFileName + "\": " + reason + ".";
}

CFileException CFileException::FromErrno(int osError, const std::string& fileName) {
    return CFileException(CauseOfErrno(osError), osError, fileName);
}

CFile::~CFile() {
    Abort();
}

bool CFile::Open(const std::string& fileName, unsigned openFlags, CFileException* error) {
    Abort();
    int flags = O_CLOEXEC;
    switch (openFlags & 0x3u) {
        case modeWrite:
            flags |= O_WRONLY;
            break;
        case modeReadWrite:
            flags |= O_RDWR;
            break;
        default:
            // A FIFO in place of the file must not hang the game: open without waiting for a
            // writer, then read normally.
            flags |= O_RDONLY | O_NONBLOCK;
            break;
    }
    if ((openFlags & modeCreate) != 0) {
        flags |= O_CREAT;
        if ((openFlags & modeNoTruncate) == 0) flags |= O_TRUNC;
    }
    int fd = -1;
    do {
        fd = ::open(fileName.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        if (error != nullptr) *error = CFileException::FromErrno(errno, fileName);
        return false;
    }
    if ((flags & O_NONBLOCK) != 0) {
        const int status = ::fcntl(fd, F_GETFL);
        if (status >= 0) ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK);
    }
    fd_ = fd;
    fileName_ = fileName;
    return true;
}

void CFile::ThrowIfClosed() const {
    if (fd_ < 0) throw CFileException(CFileException::invalidFile, 0, fileName_);
}

unsigned CFile::Read(void* buffer, unsigned count) {
    ThrowIfClosed();
    auto* bytes = static_cast<unsigned char*>(buffer);
    unsigned done = 0;
    while (done < count) {
        const ssize_t got = ::read(fd_, bytes + done, count - done);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw CFileException::FromErrno(errno, fileName_);
        }
        if (got == 0) break;
        done += static_cast<unsigned>(got);
    }
    return done;
}

void CFile::Close() {
    if (fd_ < 0) return;
    const int fd = fd_;
    fd_ = -1;
    // A failed close may be the first report of a failed write: it must not pass silently.
    if (::close(fd) != 0 && errno != EINTR) throw CFileException::FromErrno(errno, fileName_);
}

void CFile::Abort() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}

std::string WhyNotAppendable(const std::string& fileName) {
    struct stat link {};
    if (fileName.empty()) return "No file name was given.";
    if (::lstat(fileName.c_str(), &link) != 0) return "";  // a new name
    struct stat target {};
    if (::stat(fileName.c_str(), &target) != 0)
        return fileName + " is a link to a file that does not exist.";
    if (S_ISREG(target.st_mode)) return "";
    const char* what = S_ISDIR(target.st_mode)    ? "a folder"
                       : S_ISFIFO(target.st_mode) ? "a FIFO"
                       : S_ISSOCK(target.st_mode) ? "a socket"
                                                  : "a device";
    return fileName + " is " + what + ", not a regular file.";
}

}  // namespace kelvane::framework
