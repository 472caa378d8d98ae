#include "archive/file_io.h"

#include <algorithm>
#include <atomic>
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

namespace {

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

TemporaryOutput::~TemporaryOutput()
{
    fd_ = Fd();
    if (!committed_ && !temp_.empty())
        ::unlink(temp_.c_str());
}

bool TemporaryOutput::create(const std::string& output, std::string& error)
{
    static std::atomic<unsigned> counter{0};
    output_ = output;
    // A hidden name that any output name can have: the output's name is cut
    // so that the whole stays within a file name's 255 bytes.
    std::string stem = "." + NameOf(output);
    stem.resize(std::min<std::size_t>(stem.size(), 200));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = (FolderOf(output) == "/" ? "/" : FolderOf(output) + "/") + stem +
                                      ".part-" + std::to_string(::getpid()) + "-" +
                                      std::to_string(counter.fetch_add(1));
        if (const int fault = InjectedFault(FileOp::Write, candidate)) {
            error = ErrorText(fault);
            return false;
        }
        Fd fd(::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666));
        if (fd) {
            temp_ = candidate;
            fd_ = std::move(fd);
            return true;
        }
        if (errno != EEXIST) {
            error = ErrorText(errno);
            return false;
        }
    }
    error = "no free temporary name beside it";
    return false;
}

bool TemporaryOutput::write(const char* data, std::size_t count, std::string& error)
{
    if (!writeAt(end_, data, count, error))
        return false;
    end_ += count;
    return true;
}

bool TemporaryOutput::writeAt(std::uint64_t offset, const char* data, std::size_t count, std::string& error)
{
    if (const int fault = InjectedFault(FileOp::Write, temp_)) {
        error = ErrorText(fault);
        return false;
    }
    while (count > 0) {
        const ssize_t put = ::pwrite(fd_.get(), data, count, static_cast<off_t>(offset));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            error = ErrorText(errno);
            return false;
        }
        data += put;
        count -= static_cast<std::size_t>(put);
        offset += static_cast<std::uint64_t>(put);
    }
    return true;
}

bool TemporaryOutput::commit(bool replace, std::string& error)
{
    if (fd_) {
        if (::fsync(fd_.get()) != 0 || ::close(fd_.release()) != 0) {
            error = ErrorText(errno);
            return false;
        }
    }
    if (const int fault = InjectedFault(FileOp::Rename, output_)) {
        error = ErrorText(fault);
        return false;
    }
    if (replace) {
        if (::rename(temp_.c_str(), output_.c_str()) != 0) {
            error = ErrorText(errno);
            return false;
        }
    } else if (::renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, output_.c_str(), RENAME_NOREPLACE) != 0) {
        // File systems without the flag: a hard link fails just as well when
        // the name is taken.
        if (errno != EINVAL && errno != ENOSYS) {
            error = ErrorText(errno);
            return false;
        }
        if (::link(temp_.c_str(), output_.c_str()) != 0) {
            error = ErrorText(errno);
            return false;
        }
        ::unlink(temp_.c_str());
    }
    committed_ = true;
    return true;
}

}  // namespace corvane::archive_io
