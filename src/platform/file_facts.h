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

// True when both paths name regular files of the same size and the same
// bytes; false when either cannot be read.
bool SameContent(const std::string& a, const std::string& b);

}  // namespace corvane
