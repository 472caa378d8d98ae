#pragma once
// Listings, copies, deletes and directory creation. Every call that can fail
// says so in its result, with the reason.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace corvane {

struct OpResult {
    bool ok = false;
    std::string error;  // the reason when not ok

    // What stood in the way, for callers that decide by it.
    enum class Cause {
        Other,
        Exists,  // something is at the target's name already
        Link,    // a symbolic link stands where a folder of a target was to be (the reason names it)
    };
    Cause cause = Cause::Other;
};

// What a listed entry is. A link counts as what it points to; a link whose
// target cannot be read, or an entry whose attributes cannot be read, is Unknown.
// System entries are those that are neither regular files nor directories
// (devices, fifos, sockets).
enum class EntryType { File, Directory, System, Unknown };

struct DirEntry {
    std::string name;
    EntryType type = EntryType::Unknown;
    bool link = false;        // the entry itself is a symbolic link
    std::uint64_t size = 0;   // bytes, for files
};

struct Listing {
    bool ok = false;
    std::string error;
    std::vector<DirEntry> entries;  // without "." and "..", in ascending byte order of name
};

// Lists a directory.
Listing ListDirectory(const std::string& dir);

// The names in a directory (without "." and ".."), in no set order, without
// asking what each is: for a lookup by name, a folder of thousands of files
// costs its reads only.
struct NameListing {
    bool ok = false;
    std::vector<std::string> names;
};
NameListing ListNames(const std::string& dir);

// The names of the regular files in `dir` that match `pattern` ("*" and "?",
// ASCII letters without regard to case), in ascending byte order. A folder that
// cannot be listed gives no names.
std::vector<std::string> FindFiles(const std::string& dir, const std::string& pattern);

// True when a directory or a regular file is at exactly this path (links
// followed); system entries do not count.
bool DirectoryEntryExists(const std::string& path);

// What is at a path.
enum class PathKind {
    Missing,    // nothing: no such entry, or a folder on the way is missing
    File,       // a regular file
    Directory,
    Link,       // a symbolic link (only where links are not followed)
    Other,      // a device, fifo or socket
    Unknown,    // it cannot be told: a folder on the way cannot be searched, say
};

struct PathProbe {
    PathKind kind = PathKind::Missing;
    std::string error;  // why it cannot be told (Unknown), or which link is in the way (Link)
};

// What is at `path`, links followed. A folder that cannot be read is Unknown
// with its reason ("Permission denied"), never Missing.
PathProbe ProbePath(const std::string& path);

// Creates the last component of `path`; its parent must exist.
OpResult CreateDirectoryLevel(const std::string& path);

// Deletes one file.
OpResult DeleteFile(const std::string& path);

// What a file was when a copy opened it, so that it can be told later
// whether its path still names that file, unchanged.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    bool operator==(const FileIdentity&) const = default;
};

// Replace takes the target's name whatever is there; FailIfExists never
// replaces anything, and fails with Cause::Exists when something is at the
// name, also when it appeared while the data was being copied.
enum class CopyMode { Replace, FailIfExists };

struct CopyOptions {
    CopyMode mode = CopyMode::Replace;
    // The copy and its folder's entry reach the disk before the copy returns
    // (for a move, whose source is deleted next).
    bool flush = false;
};

struct CopyResult : OpResult {
    FileIdentity source;  // the source as it was opened, when ok
};

// Copies a regular file, with the source's modification time and permission
// bits and its holes (a sparse file stays sparse). The data goes into a file
// without a name in the target's folder (a named temporary file where the file
// system has none), which takes the target's name in one step only when it is
// complete: a copy that fails, or a process that dies, leaves no partial file
// and an existing target as it was. A source and target that are the same
// file fail. The target's folder is followed if it is a link; see
// TargetFolder for copies that must not follow links below a folder.
CopyResult CopyFileAtomic(const std::string& source, const std::string& target,
                          CopyMode mode = CopyMode::Replace);

// Deletes the file at `path` if it is still the file a copy took (see
// CopyResult::source): the same device and inode, size and modification time.
// A file that changed or was replaced since is kept, with the reason
// "changed after it was copied".
OpResult DeleteCopiedFile(const std::string& path, const FileIdentity& copied);
inline constexpr const char* kChangedSinceCopied = "changed after it was copied";

// A folder that a transfer writes into. Below it, no symbolic link is ever
// followed: folders are probed, made and opened, and files created and
// replaced, without following a link, and a link in the way fails with
// Cause::Link and the reason "PATH is a link". The folder itself may be
// reached through a link. Paths are full paths below the folder (its path, a
// separator and the rest); a path elsewhere fails.
//
// Before its first copy into a folder it removes the temporary files that
// copies of processes that no longer run left there (".NAME.corvane-PID-N").
class TargetFolder {
public:
    explicit TargetFolder(std::string root);
    ~TargetFolder();
    TargetFolder(const TargetFolder&) = delete;
    TargetFolder& operator=(const TargetFolder&) = delete;

    const std::string& root() const { return root_; }

    // What is at `path`, its last component not followed either.
    PathProbe probe(const std::string& path) const;
    // Creates the last component of `path`; the folders above it must exist.
    OpResult createDirectory(const std::string& path) const;
    CopyResult copyFile(const std::string& source, const std::string& path,
                        const CopyOptions& options = {}) const;

private:
    struct Open;
    // Opens `folder` (below the root, "" for the root) and keeps it open for
    // the next call on the same folder: 0 and its handle, or the error, with
    // `link` naming a link in the way.
    int openFolder(const std::string& folder, std::string& link, int& handle) const;

    std::string root_;
    std::unique_ptr<Open> open_;  // the folders opened so far
};

// The reason given for a link in the way.
std::string LinkInTheWay(const std::string& path);

// An exclusive lock on a folder, held by this object until it is destroyed:
// the lock of a transfer on its target. It is taken on the folder itself, so
// nothing is written into it, and the system releases it when the process
// ends, however it ends.
class FolderLock {
public:
    enum class State {
        Free,         // not taken (yet)
        Held,
        Busy,         // another holder has it
        Unavailable,  // the file system cannot lock the folder (see error())
    };

    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Takes the lock on `dir` if it is free; does not wait.
    State tryLock(const std::string& dir);
    // After Busy: waits until the other holder lets go, and takes the lock.
    State wait();
    State state() const { return state_; }
    const std::string& error() const { return error_; }

private:
    int fd_ = -1;
    State state_ = State::Free;
    std::string error_;
};

// True when both paths name the same existing file.
bool SameFile(const std::string& a, const std::string& b);

// A file's size in bytes (links followed), or 0 when it cannot be read.
std::uint64_t FileSize(const std::string& path);

// The file's last-write date and time in the user's locale ("%x %X"), read
// from the file opened for reading; "(date unknown)" when it cannot be opened.
std::string FileDateText(const std::string& path);

}  // namespace corvane
