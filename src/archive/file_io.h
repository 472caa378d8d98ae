#pragma once
// File access of the archive code: open files that are known to be regular,
// read at an offset, stamp a file, and write an output through a temporary
// file beside it. Archives and base-game folders are untrusted, so nothing
// here blocks on a fifo or a device, and reads stay inside the file's real
// size.

#include <cstdint>
#include <string>

#include "archive/archive.h"

namespace corvane::archive_io {

// An open file descriptor, closed when it goes.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd();
    Fd(Fd&& other) noexcept : fd_(other.release()) {}
    Fd& operator=(Fd&& other) noexcept;
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int release();

private:
    int fd_ = -1;
};

struct OpenedFile {
    Fd fd;
    std::uint64_t size = 0;
    std::string error;  // why it could not be opened; empty when fd is open
};

// Opens a regular file for reading. Anything else (a folder, a fifo, a device;
// with Links::Refuse also a symbolic link in the last component) is refused
// without waiting on it.
OpenedFile OpenRegularFile(const std::string& path, Links links);

// Reads exactly `count` bytes at `offset`; false with the reason when the file
// ends sooner or the read fails.
bool ReadAt(int fd, std::uint64_t offset, char* out, std::size_t count, std::string& error);

// What identifies one state of a file or folder: when any of these changes,
// what was read from it may be stale.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    bool exists = false;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of what the path names (a link is followed; a path that names
// nothing has a stamp that says so).
FileStamp StampOf(const std::string& path);

// An output written under a temporary name in its own folder and given its
// name only when complete. Dropping it unfinished removes the temporary file.
class TemporaryOutput {
public:
    TemporaryOutput() = default;
    ~TemporaryOutput();
    TemporaryOutput(const TemporaryOutput&) = delete;
    TemporaryOutput& operator=(const TemporaryOutput&) = delete;

    // Creates the temporary file beside `output`, open for writing.
    bool create(const std::string& output, std::string& error);
    const std::string& path() const { return temp_; }
    int fd() const { return fd_.get(); }

    // Writes all of `count` bytes after what was written so far.
    bool write(const char* data, std::size_t count, std::string& error);

    // Writes all of `count` bytes at `offset`, over what is there.
    bool writeAt(std::uint64_t offset, const char* data, std::size_t count, std::string& error);

    // Flushes and closes the file, then gives it the output's name: over an
    // existing output only when `replace`, else failing when one has appeared.
    bool commit(bool replace, std::string& error);

    // Closes the descriptor without committing (for writers that reopen the
    // file by its name).
    void closeFd() { fd_ = Fd(); }

private:
    std::string output_;
    std::string temp_;
    Fd fd_;
    std::uint64_t end_ = 0;  // where write() goes on
    bool committed_ = false;
};

// Text of an errno value.
std::string ErrorText(int code);

}  // namespace corvane::archive_io
