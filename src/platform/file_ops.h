#pragma once
// Listings, copies, deletes and directory creation. Every call that can fail
// says so in its result, with the reason.

#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

struct OpResult {
    bool ok = false;
    std::string error;  // the reason when not ok
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

// The names of the regular files in `dir` that match `pattern` ("*" and "?",
// ASCII letters without regard to case), in ascending byte order. A folder that
// cannot be listed gives no names.
std::vector<std::string> FindFiles(const std::string& dir, const std::string& pattern);

// True when a directory or a regular file is at exactly this path (links
// followed); system entries do not count.
bool DirectoryEntryExists(const std::string& path);

// Creates the last component of `path`; its parent must exist.
OpResult CreateDirectoryLevel(const std::string& path);

// Deletes one file.
OpResult DeleteFile(const std::string& path);

enum class CopyMode { Replace, FailIfExists };

// Copies a regular file, with the source's modification time and permission
// bits. Over an existing target the data goes into a temporary file in the
// target's folder, which then takes the target's name in one step; a new
// target is created exclusively under its own name and removed again when the
// copy fails. So a copy that fails leaves no partial file and an existing
// target as it was. A source and target that are
// the same file fail. FailIfExists fails when anything is at the target.
OpResult CopyFileAtomic(const std::string& source, const std::string& target,
                        CopyMode mode = CopyMode::Replace);

// True when both paths name the same existing file.
bool SameFile(const std::string& a, const std::string& b);

// A file's size in bytes (links followed), or 0 when it cannot be read.
std::uint64_t FileSize(const std::string& path);

// The file's last-write date and time in the user's locale ("%x %X"), read
// from the file opened for reading; "(date unknown)" when it cannot be opened.
std::string FileDateText(const std::string& path);

}  // namespace corvane
