#pragma once
// What can be learnt of a file without changing it: whether it is there, its
// size and when it was last written, and whether two files hold the same bytes.

#include <cstdint>
#include <string>

namespace corvane {

struct FileFacts {
    bool file = false;          // a regular file is there (links followed), as FileExists says
    std::uint64_t size = 0;     // its bytes
    std::int64_t modified = 0;  // its last write, in nanoseconds since 1970-01-01 UTC
};

// The facts of the file at `path`; `file` is false (and the rest 0) when no
// regular file is there or it cannot be looked at.
FileFacts ReadFileFacts(const std::string& path);

// Reads the facts of many files that lie mostly in the same folders, one
// after the other, as ReadFileFacts would: the folder of the last path read
// stays open and the next file in it is looked up there, and a folder that
// does not exist answers for all its files without asking the system again.
class FileFactsReader {
public:
    FileFactsReader() = default;
    ~FileFactsReader();
    FileFactsReader(const FileFactsReader&) = delete;
    FileFactsReader& operator=(const FileFactsReader&) = delete;

    FileFacts read(const std::string& path);

private:
    std::string folder_;  // the folder of the last path read
    int fd_ = -1;         // that folder, open; -1 when it is not there
    bool open_ = false;   // folder_ has been looked at
};

// True when both paths name regular files of the same size and the same
// bytes; false when either cannot be read.
bool SameContent(const std::string& a, const std::string& b);

}  // namespace corvane
