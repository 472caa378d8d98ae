#include "archive/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/faults.h"

namespace corvane::archive_io {

std::string ErrorText(int code)
{
    return std::strerror(code);
}

Fd::~Fd()
{
    if (fd_ >= 0)
        ::close(fd_);
}

Fd& Fd::operator=(Fd&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.release();
    }
    return *this;
}

int Fd::release()
{
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

OpenedFile OpenRegularFile(const std::string& path, Links links)
{
    OpenedFile opened;
    if (const int fault = InjectedFault(FileOp::Read, path)) {
        opened.error = ErrorText(fault);
        return opened;
    }
    // O_NONBLOCK: opening a fifo for reading would otherwise wait for a writer.
    int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    if (links == Links::Refuse)
        flags |= O_NOFOLLOW;
    Fd fd(::open(path.c_str(), flags));
    if (!fd) {
        opened.error = errno == ELOOP && links == Links::Refuse ? "a link, not followed" : ErrorText(errno);
        return opened;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        opened.error = ErrorText(errno);
        return opened;
    }
    if (!S_ISREG(st.st_mode)) {
        opened.error = S_ISDIR(st.st_mode) ? "a folder, not a file" : "not a regular file";
        return opened;
    }
    const int status = ::fcntl(fd.get(), F_GETFL);
    if (status != -1)
        ::fcntl(fd.get(), F_SETFL, status & ~O_NONBLOCK);
    opened.size = static_cast<std::uint64_t>(st.st_size);
    opened.fd = std::move(fd);
    return opened;
}

bool ReadAt(int fd, std::uint64_t offset, char* out, std::size_t count, std::string& error)
{
    while (count > 0) {
        const ssize_t got = ::pread(fd, out, count, static_cast<off_t>(offset));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            error = ErrorText(errno);
            return false;
        }
        if (got == 0) {
            error = "the file ends early";
            return false;
        }
        out += got;
        count -= static_cast<std::size_t>(got);
        offset += static_cast<std::uint64_t>(got);
    }
    return true;
}

FileStamp StampOf(const std::string& path)
{
    FileStamp stamp;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    return stamp;
}

}  // namespace corvane::archive_io
