// The file operations over the POSIX calls (and a few of Linux's own:
// copy_file_range, O_TMPFILE, openat2, renameat2).

#include "platform/file_ops.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

#include "platform/faults.h"
#include "platform/file_ops_detail.h"
#include "platform/paths.h"

namespace corvane {

using detail::Failed;
using detail::kNotRegular;
using detail::kSameFile;

namespace {

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(Fd&& other) noexcept : fd_(other.release()) {}
    Fd& operator=(Fd&& other) noexcept
    {
        if (this != &other) {
            reset();
            fd_ = other.release();
        }
        return *this;
    }
    int get() const { return fd_; }
    void reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
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

PathKind KindOf(const struct stat& st)
{
    if (S_ISREG(st.st_mode))
        return PathKind::File;
    if (S_ISDIR(st.st_mode))
        return PathKind::Directory;
    if (S_ISLNK(st.st_mode))
        return PathKind::Link;
    return PathKind::Other;
}

// A stat that failed: nothing is there, or it cannot be told why not.
PathProbe ProbeFailure(int error)
{
    if (error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG)
        return {PathKind::Missing, {}};
    return {PathKind::Unknown, std::strerror(error)};
}

OpResult Refused(int code, OpResult::Cause cause)
{
    OpResult result = Failed(code);
    result.cause = cause;
    return result;
}

OpResult LinkRefusal(const std::string& link)
{
    OpResult result = Failed(LinkInTheWay(link));
    result.cause = OpResult::Cause::Link;
    return result;
}

FileIdentity IdentityOf(const struct stat& st)
{
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size), static_cast<std::int64_t>(st.st_mtim.tv_sec),
            static_cast<std::int64_t>(st.st_mtim.tv_nsec)};
}

bool SameInode(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Copies `length` bytes (or up to the end, if it comes first) at `offset` of
// `in` to the same place in `out`; 0 or the error.
int CopyRange(int in, int out, off_t offset, off_t length)
{
    // The kernel copies up to this much at a time, so that most files take
    // one call (and one more that finds the end).
    static constexpr off_t kKernelChunk = off_t{1} << 30;
    static constexpr off_t kChunk = 1 << 20;
    off_t inOffset = offset;
    off_t outOffset = offset;
    off_t left = length;
    while (left > 0) {
        const auto want = static_cast<std::size_t>(std::min(left, kKernelChunk));
        const ssize_t moved = ::copy_file_range(in, &inOffset, out, &outOffset, want, 0);
        if (moved > 0) {
            left -= moved;
            continue;
        }
        if (moved == 0)
            return 0;  // the end of the file
        if (errno == EINTR)
            continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
            return errno;
        break;  // this pair of file systems cannot do it: copy by hand
    }
    std::vector<char> buffer(static_cast<std::size_t>(std::min(left, kChunk)));
    while (left > 0) {
        const auto want = static_cast<std::size_t>(std::min(left, kChunk));
        const ssize_t got = ::pread(in, buffer.data(), want, inOffset);
        if (got == 0)
            return 0;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        for (ssize_t put = 0; put < got;) {
            const ssize_t wrote = ::pwrite(out, buffer.data() + put, static_cast<std::size_t>(got - put), outOffset);
            if (wrote < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            put += wrote;
            outOffset += wrote;
        }
        inOffset += got;
        left -= got;
    }
    return 0;
}

// Copies the data of a file with holes: only the parts that hold data, up to
// the size it had when it was opened, and the copy is then given that size,
// so its holes stay holes. 0, the error, or -1 when the file system cannot
// tell data from holes.
int CopySparse(int in, int out, off_t size)
{
    off_t at = 0;
    while (at < size) {
        const off_t data = ::lseek(in, at, SEEK_DATA);
        if (data < 0) {
            if (errno == ENXIO)
                break;  // only a hole is left
            return errno == EINVAL || errno == EOPNOTSUPP ? -1 : errno;
        }
        if (data >= size)
            break;
        off_t hole = ::lseek(in, data, SEEK_HOLE);
        if (hole < 0)
            return errno;
        hole = std::min(hole, size);
        if (const int error = CopyRange(in, out, data, hole - data))
            return error;
        at = hole;
    }
    return ::ftruncate(out, size) == 0 ? 0 : errno;
}

// Copies the data of `in`, whose state when opened is `st`, to `out`.
int CopyData(int in, int out, const struct stat& st, const std::string& target)
{
    if (const int fault = InjectedFault(FileOp::Write, target))
        return fault;
    // Fewer blocks than the size needs: the file has holes, which the copy
    // keeps. (A whole file copies in one go, without asking where its holes are.)
    if (st.st_blocks * 512 < st.st_size) {
        const int sparse = CopySparse(in, out, st.st_size);
        if (sparse >= 0)
            return sparse;
    }
    // Up to the size the file had when it was opened, which spares the call
    // that would find its end; a file that tells no size is copied to its end.
    return CopyRange(in, out, 0, st.st_size > 0 ? st.st_size : std::numeric_limits<off_t>::max());
}

// Writes what is open at `fd` (a copy at `target`, or its folder) to the disk.
int Flush(int fd, const std::string& target)
{
    if (const int fault = InjectedFault(FileOp::Flush, target))
        return fault;
    return ::fsync(fd) == 0 ? 0 : errno;
}

// Fills the open file `out` with the data of `in`, gives it the source's
// permission bits and times, and with `flush` writes it to the disk; 0 or the
// error.
int FillCopy(int in, int out, const struct stat& sourceStat, const std::string& target, bool flush)
{
    int error = CopyData(in, out, sourceStat, target);
    if (error == 0 && ::fchmod(out, sourceStat.st_mode & 07777) != 0)
        error = errno;
    if (error == 0) {
        const struct timespec times[2] = {sourceStat.st_atim, sourceStat.st_mtim};
        if (::futimens(out, times) != 0)
            error = errno;
    }
    if (error == 0 && flush)
        error = Flush(out, target);
    return error;
}

bool ProcessRuns(long pid)
{
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

// Removes what copies of processes that no longer run left in the open folder
// `dir`: regular files named as a copy's named temporary file.
void RemoveLeftovers(int dir)
{
    Fd listed(::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    DIR* handle = listed.get() >= 0 ? ::fdopendir(listed.get()) : nullptr;
    if (!handle)
        return;
    listed.release();
    std::vector<std::string> gone;
    while (const dirent* item = ::readdir(handle)) {
        long pid = 0;
        if (detail::IsCopyLeftover(item->d_name, pid) && !ProcessRuns(pid))
            gone.emplace_back(item->d_name);
    }
    ::closedir(handle);
    for (const std::string& name : gone) {
        struct stat st {};
        if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            ::unlinkat(dir, name.c_str(), 0);
    }
}

bool HasOpenat2 = true;

// Opens the folder `relative` ("a/b", or "" for `base` itself) below the open
// folder `base` (whose path is `basePath`) without following any link; 0 or
// the error. Where a link stands in the way, `link` is its full path.
int OpenBeneath(int base, const std::string& basePath, const std::string& relative, Fd& out, std::string& link)
{
    if (relative.empty()) {
        out.reset(::fcntl(base, F_DUPFD_CLOEXEC, 0));
        return out.get() >= 0 ? 0 : errno;
    }
    if (HasOpenat2 && InjectedFault(FileOp::ResolveBeneath, basePath) == 0) {
        struct open_how how {};
        how.flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
        how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
        const long fd = ::syscall(SYS_openat2, base, relative.c_str(), &how, sizeof how);
        if (fd >= 0) {
            out.reset(static_cast<int>(fd));
            return 0;
        }
        if (errno == ENOSYS || errno == EPERM)
            HasOpenat2 = false;  // an older kernel, or a filter that refuses the call
        else if (errno != ELOOP && errno != EXDEV && errno != ENOTDIR)
            return errno;
        // Otherwise a link (or something that is no folder) is in the way:
        // the walk below finds which.
    }
    // One folder at a time, none of them followed if it is a link.
    Fd current(::fcntl(base, F_DUPFD_CLOEXEC, 0));
    if (current.get() < 0)
        return errno;
    std::string walked = basePath;
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = relative.find('/', start);
        if (end == std::string::npos)
            end = relative.size();
        const std::string part = relative.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..")
            return EXDEV;  // never above the folder
        walked = JoinPath(walked, part);
        Fd next(::openat(current.get(), part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (next.get() < 0) {
            const int error = errno;
            struct stat st {};
            if ((error == ELOOP || error == ENOTDIR) &&
                ::fstatat(current.get(), part.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode)) {
                link = walked;
                return ELOOP;
            }
            return error;
        }
        current = std::move(next);
    }
    out = std::move(current);
    return 0;
}

bool LinkByDescriptor = true;

// Gives the unnamed file open at `fd` the name `name` in `dir`; 0 or the
// error (ENOENT: it cannot be named here). The descriptor itself names it
// where the process may do so; elsewhere its link in /proc does.
int LinkUnnamed(int fd, int dir, const std::string& name)
{
    if (LinkByDescriptor) {
        if (::linkat(fd, "", dir, name.c_str(), AT_EMPTY_PATH) == 0)
            return 0;
        if (errno != ENOENT && errno != EPERM && errno != EINVAL)
            return errno;
        LinkByDescriptor = false;
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), dir, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
}

// Gives the finished unnamed file open at `fd` the name of the existing
// `name` in `dir`: linked under a fresh temporary name beside it, then
// renamed over it.
OpResult PutInPlace(int fd, int dir, const std::string& name)
{
    for (unsigned attempt = 0;; ++attempt) {
        const std::string temp = detail::TemporaryNameFor(name, detail::TemporarySuffix(::getpid(), attempt));
        if (const int error = LinkUnnamed(fd, dir, temp)) {
            errno = error;
            if (errno == EEXIST && attempt < 100)
                continue;
            return Failed(errno);
        }
        if (::renameat(dir, temp.c_str(), dir, name.c_str()) != 0) {
            const int error = errno;
            ::unlinkat(dir, temp.c_str(), 0);
            return Failed(error);
        }
        return {true, {}};
    }
}

// What a name already taken in `dir` means for a copy of `sourceStat` there.
OpResult TakenName(int dir, const std::string& name, const struct stat& sourceStat)
{
    struct stat st {};
    if (::fstatat(dir, name.c_str(), &st, 0) == 0 && SameInode(st, sourceStat))
        return Failed(kSameFile);
    if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode))
        return Failed(EISDIR);
    return Refused(EEXIST, OpResult::Cause::Exists);
}

// Copies the open source `in` into the open folder `dir` as `name`; `target`
// is the full path, for the fault seam.
OpResult CopyInto(int in, const struct stat& sourceStat, int dir, const std::string& name,
                  const std::string& target, const CopyOptions& options)
{
    // The copy is made in an unnamed file in the target's folder and given a
    // name only when it is complete, so a copy that fails or is cut short (a
    // full disk, a crash, a kill) leaves nothing behind: the file goes with its
    // descriptor. A new target is linked under its own name, which fails when
    // something is there; an existing one is replaced by a rename, so it stays
    // whole until its replacement is. (The fault seam's Rename stands for the
    // step that puts the finished copy in place.) Where the file system has no
    // unnamed files, a named temporary file does the same below.
    {
        const int refused = InjectedFault(FileOp::UnnamedFile, target);
        Fd out(refused ? -1 : ::openat(dir, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
        if (refused)
            errno = refused;
        if (out.get() >= 0) {
            int error = FillCopy(in, out.get(), sourceStat, target, options.flush);
            if (error == 0)
                error = InjectedFault(FileOp::Rename, target);
            if (error != 0)
                return Failed(error);
            const int linked = LinkUnnamed(out.get(), dir, name);
            if (linked == 0)
                return {true, {}};
            if (linked == EEXIST) {
                const OpResult taken = TakenName(dir, name, sourceStat);
                if (options.mode == CopyMode::FailIfExists || taken.error == kSameFile)
                    return taken;
                return PutInPlace(out.get(), dir, name);
            }
            if (linked != ENOENT)
                return Failed(linked);
            // Without /proc the unnamed file cannot be named: copy again the other way.
        } else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            return Failed(errno);
        }
    }

    struct stat targetStat {};
    if (::fstatat(dir, name.c_str(), &targetStat, 0) == 0 && SameInode(targetStat, sourceStat))
        return Failed(kSameFile);
    if (options.mode == CopyMode::FailIfExists && ::fstatat(dir, name.c_str(), &targetStat, AT_SYMLINK_NOFOLLOW) == 0)
        return TakenName(dir, name, sourceStat);

    // The temporary file lies beside the target, so that the last step is a
    // rename within one folder. It is named after this process, so that a
    // later copy into the folder can tell a leftover of a process that died.
    Fd out;
    std::string temp;
    for (unsigned attempt = 0; out.get() < 0; ++attempt) {
        temp = detail::TemporaryNameFor(name, detail::TemporarySuffix(::getpid(), attempt));
        if (const int fault = InjectedFault(FileOp::Write, JoinPath(ParentPath(target), temp)))
            return Failed(fault);
        out.reset(::openat(dir, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (out.get() < 0 && (errno != EEXIST || attempt >= 100))
            return Failed(errno);
    }

    int error = FillCopy(in, out.get(), sourceStat, target, options.flush);
    if (error == 0 && ::close(out.release()) != 0)
        error = errno;
    if (error == 0)
        error = InjectedFault(FileOp::Rename, target);
    bool taken = false;
    if (error == 0) {
        if (options.mode == CopyMode::Replace) {
            if (::renameat(dir, temp.c_str(), dir, name.c_str()) != 0)
                error = errno;
        } else if (::renameat2(dir, temp.c_str(), dir, name.c_str(), RENAME_NOREPLACE) != 0) {
            error = errno;
            if (error == EINVAL || error == ENOSYS) {
                // A file system without the no-replace rename: a hard link
                // refuses an existing name just as well.
                error = ::linkat(dir, temp.c_str(), dir, name.c_str(), 0) == 0 ? 0 : errno;
                if (error == 0)
                    ::unlinkat(dir, temp.c_str(), 0);
            }
            taken = error == EEXIST;
        }
    }
    if (error != 0) {
        out.reset();
        ::unlinkat(dir, temp.c_str(), 0);
        return taken ? TakenName(dir, name, sourceStat) : Failed(error);
    }
    return {true, {}};
}

}  // namespace

NameListing ListNames(const std::string& dir)
{
    NameListing listing;
    if (InjectedFault(FileOp::List, dir))
        return listing;
    DIR* handle = ::opendir(dir.c_str());
    if (!handle)
        return listing;
    for (;;) {
        errno = 0;
        const dirent* item = ::readdir(handle);
        if (!item)
            break;
        if (std::strcmp(item->d_name, ".") != 0 && std::strcmp(item->d_name, "..") != 0)
            listing.names.emplace_back(item->d_name);
    }
    const int readError = errno;
    ::closedir(handle);
    listing.ok = readError == 0;
    if (!listing.ok)
        listing.names.clear();
    return listing;
}

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

PathProbe ProbePath(const std::string& path)
{
    if (const int fault = InjectedFault(FileOp::Stat, path))
        return ProbeFailure(fault);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return ProbeFailure(errno);
    return {KindOf(st), {}};
}

OpResult CreateDirectoryLevel(const std::string& path)
{
    if (const int fault = InjectedFault(FileOp::CreateDirectory, path))
        return Failed(fault);
    if (::mkdir(path.c_str(), 0777) != 0)
        return Refused(errno, errno == EEXIST ? OpResult::Cause::Exists : OpResult::Cause::Other);
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

OpResult DeleteCopiedFile(const std::string& path, const FileIdentity& copied)
{
    if (const int fault = InjectedFault(FileOp::Delete, path))
        return Failed(fault);
    // Followed, as the copy followed it: a source that is a link to the file
    // that was copied is that file, and deleting it deletes the link.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return Failed(errno);
    if (!S_ISREG(st.st_mode) || !(IdentityOf(st) == copied))
        return Failed(kChangedSinceCopied);
    if (::unlink(path.c_str()) != 0)
        return Failed(errno);
    return {true, {}};
}

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && SameInode(sa, sb);
}

namespace {

// Opens a copy's source and checks that it is a regular file.
OpResult OpenSource(const std::string& source, Fd& in, struct stat& st)
{
    if (const int fault = InjectedFault(FileOp::Read, source))
        return Failed(fault);
    in.reset(::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (in.get() < 0)
        return Failed(errno);
    if (::fstat(in.get(), &st) != 0)
        return Failed(errno);
    if (!S_ISREG(st.st_mode))
        return Failed(kNotRegular);
    return {true, {}};
}

CopyResult Finished(OpResult result, const struct stat& sourceStat)
{
    CopyResult copied;
    static_cast<OpResult&>(copied) = std::move(result);
    if (copied.ok)
        copied.source = IdentityOf(sourceStat);
    return copied;
}

}  // namespace

CopyResult CopyFileAtomic(const std::string& source, const std::string& target, CopyMode mode)
{
    Fd in;
    struct stat sourceStat {};
    if (OpResult opened = OpenSource(source, in, sourceStat); !opened.ok)
        return Finished(std::move(opened), sourceStat);
    const Fd dir(::open(ParentPath(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0)
        return Finished(Failed(errno), sourceStat);
    return Finished(CopyInto(in.get(), sourceStat, dir.get(), std::string(FileName(target)), target, {mode, false}),
                    sourceStat);
}

// --- TargetFolder ---------------------------------------------------------------

struct TargetFolder::Open {
    Fd root;
    std::string folder;  // the folder opened last, below the root ("" for the root)
    Fd folderFd;
    bool folderOpen = false;
    std::set<std::string> cleaned;  // folders rid of leftovers
};

TargetFolder::TargetFolder(std::string root) : root_(std::move(root)), open_(std::make_unique<Open>()) {}

TargetFolder::~TargetFolder() = default;

namespace {

// Splits a full path below `root` into the folder below the root ("" for the
// root itself) and the last name; false for a path elsewhere.
bool SplitBelow(const std::string& root, const std::string& path, std::string& folder, std::string& name)
{
    std::string prefix = root;
    if (prefix.empty() || prefix.back() != '/')
        prefix += '/';
    if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0)
        return false;
    std::string below = path.substr(prefix.size());
    while (!below.empty() && below.back() == '/')
        below.pop_back();
    const std::size_t slash = below.rfind('/');
    folder = slash == std::string::npos ? std::string() : below.substr(0, slash);
    name = slash == std::string::npos ? below : below.substr(slash + 1);
    return !name.empty() && name != "." && name != "..";
}

const char* kOutsideTarget = "Not below the target folder";

}  // namespace

int TargetFolder::openFolder(const std::string& folder, std::string& link, int& fd) const
{
    Open& open = *open_;
    if (open.root.get() < 0) {
        open.root.reset(::open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (open.root.get() < 0)
            return errno;
    }
    if (!open.folderOpen || open.folder != folder) {
        open.folderOpen = false;
        Fd opened;
        if (const int error = OpenBeneath(open.root.get(), root_, folder, opened, link))
            return error;
        open.folderFd = std::move(opened);
        open.folder = folder;
        open.folderOpen = true;
    }
    fd = open.folderFd.get();
    return 0;
}

PathProbe TargetFolder::probe(const std::string& path) const
{
    std::string folder, name, link;
    if (!SplitBelow(root_, path, folder, name))
        return {PathKind::Unknown, kOutsideTarget};
    int dir = -1;
    if (const int error = openFolder(folder, link, dir)) {
        if (!link.empty())
            return {PathKind::Unknown, LinkInTheWay(link)};
        return ProbeFailure(error);
    }
    struct stat st {};
    if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return ProbeFailure(errno);
    const PathKind kind = KindOf(st);
    return {kind, kind == PathKind::Link ? LinkInTheWay(path) : std::string()};
}

OpResult TargetFolder::createDirectory(const std::string& path) const
{
    if (const int fault = InjectedFault(FileOp::CreateDirectory, path))
        return Failed(fault);
    std::string folder, name, link;
    if (!SplitBelow(root_, path, folder, name))
        return Failed(kOutsideTarget);
    int dir = -1;
    if (const int error = openFolder(folder, link, dir))
        return link.empty() ? Failed(error) : LinkRefusal(link);
    if (::mkdirat(dir, name.c_str(), 0777) == 0)
        return {true, {}};
    const int error = errno;
    struct stat st {};
    if (error == EEXIST && ::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode))
        return LinkRefusal(path);
    return Refused(error, error == EEXIST ? OpResult::Cause::Exists : OpResult::Cause::Other);
}

CopyResult TargetFolder::copyFile(const std::string& source, const std::string& path,
                                  const CopyOptions& options) const
{
    Fd in;
    struct stat sourceStat {};
    if (OpResult opened = OpenSource(source, in, sourceStat); !opened.ok)
        return Finished(std::move(opened), sourceStat);
    std::string folder, name, link;
    if (!SplitBelow(root_, path, folder, name))
        return Finished(Failed(kOutsideTarget), sourceStat);
    int dir = -1;
    if (const int error = openFolder(folder, link, dir))
        return Finished(link.empty() ? Failed(error) : LinkRefusal(link), sourceStat);
    if (open_->cleaned.insert(folder).second)
        RemoveLeftovers(dir);
    OpResult copied = CopyInto(in.get(), sourceStat, dir, name, path, options);
    if (copied.ok && options.flush) {
        if (const int error = Flush(dir, path))
            copied = Failed(error);
    }
    return Finished(std::move(copied), sourceStat);
}

// --- FolderLock -----------------------------------------------------------------

FolderLock::~FolderLock()
{
    if (fd_ >= 0)
        ::close(fd_);  // lets the lock go
}

FolderLock::State FolderLock::tryLock(const std::string& dir)
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) {
        error_ = std::strerror(errno);
        return state_ = State::Unavailable;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0)
        return state_ = State::Held;
    if (errno == EWOULDBLOCK)
        return state_ = State::Busy;
    // A file system that cannot lock (some network ones): nothing to wait for.
    error_ = std::strerror(errno);
    return state_ = State::Unavailable;
}

FolderLock::State FolderLock::wait()
{
    if (state_ != State::Busy)
        return state_;
    while (::flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            error_ = std::strerror(errno);
            return state_ = State::Unavailable;
        }
    }
    return state_ = State::Held;
}

// --- dates and sizes ------------------------------------------------------------

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
