// The file operations over the POSIX calls.

#include "platform/file_ops.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include "platform/faults.h"
#include "platform/file_ops_detail.h"
#include "platform/paths.h"

namespace corvane {

using detail::Failed;
using detail::kNotRegular;
using detail::kSameFile;
using detail::TemporaryPathFor;

namespace {

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    void reset()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
    int release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

EntryType TypeOf(const struct stat& st)
{
    if (S_ISREG(st.st_mode))
        return EntryType::File;
    if (S_ISDIR(st.st_mode))
        return EntryType::Directory;
    return EntryType::System;
}

// Copies the whole of `in` to `out`, both open.
int CopyData(int in, int out, const std::string& target)
{
    if (const int fault = InjectedFault(FileOp::Write, target))
        return fault;
    // The kernel copies up to this much at a time, so that most files take
    // one call (and one more that finds the end).
    static constexpr std::size_t kKernelChunk = std::size_t{1} << 30;
    static constexpr std::size_t kChunk = 1 << 20;
    for (;;) {
        const ssize_t moved = ::copy_file_range(in, nullptr, out, nullptr, kKernelChunk, 0);
        if (moved > 0)
            continue;
        if (moved == 0)
            return 0;
        if (errno == EINTR)
            continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
            return errno;
        break;  // this pair of file systems cannot do it: copy by hand
    }
    std::vector<char> buffer(kChunk);
    for (;;) {
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got == 0)
            return 0;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        const char* data = buffer.data();
        auto left = static_cast<std::size_t>(got);
        while (left > 0) {
            const ssize_t put = ::write(out, data, left);
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            data += put;
            left -= static_cast<std::size_t>(put);
        }
    }
}

// Fills the open file `out` with the data of `in`, gives it the source's
// permission bits and times, and closes it unless asked to keep it open; 0 or
// the error.
int FillCopy(int in, Fd& out, const struct stat& sourceStat, const std::string& target, bool close = true)
{
    int error = CopyData(in, out.get(), target);
    if (error == 0 && ::fchmod(out.get(), sourceStat.st_mode & 07777) != 0)
        error = errno;
    if (error == 0) {
        const struct timespec times[2] = {sourceStat.st_atim, sourceStat.st_mtim};
        if (::futimens(out.get(), times) != 0)
            error = errno;
    }
    if (error == 0 && close && ::close(out.release()) != 0)
        error = errno;
    return error;
}

// Gives the finished unnamed file behind `self` (its /proc link) the name of
// the existing `target`: linked under a fresh temporary name beside it, then
// renamed over it.
OpResult PutInPlace(const std::string& self, const std::string& target)
{
    for (unsigned attempt = 0;; ++attempt) {
        const std::string temp = TemporaryPathFor(
            target, ".corvane-" + std::to_string(::getpid()) + "-" + std::to_string(attempt));
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            if (errno == EEXIST && attempt < 100)
                continue;
            return Failed(errno);
        }
        if (::rename(temp.c_str(), target.c_str()) != 0) {
            const int error = errno;
            ::unlink(temp.c_str());
            return Failed(error);
        }
        return {true, {}};
    }
}

}  // namespace

Listing ListDirectory(const std::string& dir)
{
    Listing listing;
    if (const int fault = InjectedFault(FileOp::List, dir)) {
        listing.error = std::strerror(fault);
        return listing;
    }
    DIR* handle = ::opendir(dir.c_str());
    if (!handle) {
        listing.error = std::strerror(errno);
        return listing;
    }
    const int dirFd = ::dirfd(handle);
    for (;;) {
        errno = 0;
        const dirent* item = ::readdir(handle);
        if (!item)
            break;
        const char* name = item->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        DirEntry entry;
        entry.name = name;
        struct stat st {};
        if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            entry.type = EntryType::Unknown;
        } else if (S_ISLNK(st.st_mode)) {
            entry.link = true;
            entry.type = ::fstatat(dirFd, name, &st, 0) == 0 ? TypeOf(st) : EntryType::Unknown;
        } else {
            entry.type = TypeOf(st);
        }
        if (entry.type == EntryType::File)
            entry.size = static_cast<std::uint64_t>(st.st_size);
        listing.entries.push_back(std::move(entry));
    }
    const int readError = errno;
    ::closedir(handle);
    if (readError != 0) {
        listing.entries.clear();
        listing.error = std::strerror(readError);
        return listing;
    }
    std::sort(listing.entries.begin(), listing.entries.end(),
              [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    listing.ok = true;
    return listing;
}

bool DirectoryEntryExists(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    return S_ISREG(st.st_mode) || S_ISDIR(st.st_mode);
}

OpResult CreateDirectoryLevel(const std::string& path)
{
    if (const int fault = InjectedFault(FileOp::CreateDirectory, path))
        return Failed(fault);
    if (::mkdir(path.c_str(), 0777) != 0)
        return Failed(errno);
    return {true, {}};
}

OpResult DeleteFile(const std::string& path)
{
    if (const int fault = InjectedFault(FileOp::Delete, path))
        return Failed(fault);
    if (::unlink(path.c_str()) != 0)
        return Failed(errno);
    return {true, {}};
}

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

OpResult CopyFileAtomic(const std::string& source, const std::string& target, CopyMode mode)
{
    if (const int fault = InjectedFault(FileOp::Read, source))
        return Failed(fault);
    Fd in(::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (in.get() < 0)
        return Failed(errno);
    struct stat sourceStat {};
    if (::fstat(in.get(), &sourceStat) != 0)
        return Failed(errno);
    if (!S_ISREG(sourceStat.st_mode))
        return Failed(kNotRegular);

    // The copy is made in an unnamed file in the target's folder and given a
    // name only when it is complete, so a copy that fails or is cut short (a
    // full disk, a crash, a kill) leaves nothing behind: the file goes with its
    // descriptor. A new target is linked under its own name, which fails when
    // something is there; an existing one is replaced by a rename, so it stays
    // whole until its replacement is. (The fault seam's Rename stands for the
    // step that puts the finished copy in place.) Where the file system has no
    // unnamed files, a named temporary file does the same below.
    {
        Fd out(::open(ParentPath(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
        if (out.get() >= 0) {
            int error = FillCopy(in.get(), out, sourceStat, target, false);
            if (error == 0)
                error = InjectedFault(FileOp::Rename, target);
            if (error != 0)
                return Failed(error);
            const std::string self = "/proc/self/fd/" + std::to_string(out.get());
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0)
                return {true, {}};
            if (errno == EEXIST) {
                struct stat targetStat {};
                if (::stat(target.c_str(), &targetStat) == 0 && targetStat.st_dev == sourceStat.st_dev &&
                    targetStat.st_ino == sourceStat.st_ino)
                    return Failed(kSameFile);
                if (mode == CopyMode::FailIfExists)
                    return Failed(EEXIST);
                return PutInPlace(self, target);
            }
            // Without /proc the unnamed file cannot be named: copy again the other way.
            if (::lseek(in.get(), 0, SEEK_SET) != 0)
                return Failed(errno);
        } else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            return Failed(errno);
        }
    }

    struct stat targetStat {};
    if (::stat(target.c_str(), &targetStat) == 0 && targetStat.st_dev == sourceStat.st_dev &&
        targetStat.st_ino == sourceStat.st_ino)
        return Failed(kSameFile);
    if (mode == CopyMode::FailIfExists && ::lstat(target.c_str(), &targetStat) == 0)
        return Failed(EEXIST);

    // The temporary file lies beside the target, so that the last step is a
    // rename within one file system.
    std::string temp = TemporaryPathFor(target, ".corvane-XXXXXX");
    if (const int fault = InjectedFault(FileOp::Write, temp))
        return Failed(fault);
    Fd out(::mkostemp(temp.data(), O_CLOEXEC));
    if (out.get() < 0)
        return Failed(errno);

    int error = FillCopy(in.get(), out, sourceStat, target);
    if (error == 0)
        error = InjectedFault(FileOp::Rename, target);
    if (error == 0) {
        if (mode == CopyMode::Replace) {
            if (::rename(temp.c_str(), target.c_str()) != 0)
                error = errno;
        } else if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
            error = errno;
            if (error == EINVAL || error == ENOSYS) {
                // A file system without the no-replace rename: a hard link
                // refuses an existing name just as well.
                error = ::link(temp.c_str(), target.c_str()) == 0 ? 0 : errno;
                if (error == 0)
                    ::unlink(temp.c_str());
            }
        }
    }
    if (error != 0) {
        out.reset();
        ::unlink(temp.c_str());
        return Failed(error);
    }
    return {true, {}};
}

std::uint64_t FileSize(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

std::string FileDateText(const std::string& path)
{
    Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0)
        return "(date unknown)";
    std::tm local {};
    const std::time_t when = st.st_mtim.tv_sec;
    if (!::localtime_r(&when, &local))
        return "(date unknown)";
    char text[128];
    const std::size_t length = std::strftime(text, sizeof text, "%x %X", &local);
    return std::string(text, length);
}

}  // namespace corvane
