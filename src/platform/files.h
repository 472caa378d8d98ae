#pragma once
// File-system access the rest of the core builds on. Every call that can fail
// says so in its result, with the reason.

#include <string>

namespace corvane {

struct ReadResult {
    bool ok = false;
    std::string data;   // the whole file when ok
    std::string error;  // the reason when not ok, such as "No such file or directory"
};

// Reads a file whole, byte for byte.
ReadResult ReadWholeFile(const std::string& path);

// Existence tests. A link counts as what it points to; a broken link exists as nothing.
bool PathExists(const std::string& path);
bool FileExists(const std::string& path);       // a regular file
bool DirectoryExists(const std::string& path);

}  // namespace corvane
