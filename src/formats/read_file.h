#pragma once
// Reading the game's binary files from disk with a bound on what is read, so
// that a huge file, or a device or pipe in a file's place, costs no more than
// the bound.

#include <cstddef>
#include <string>
#include <utility>

namespace corvane {

struct BoundedRead {
    std::string data;   // what was read
    std::string error;  // empty on success, such as "No such file or directory"
};

// Reads a regular file whole when it holds at most `cap` bytes; a larger one
// gives the error "larger than CAP bytes" and no data.
BoundedRead ReadFileCapped(const std::string& path, std::size_t cap);

// Reads the first `count` bytes of a regular file (all of it when it is shorter).
BoundedRead ReadFileHead(const std::string& path, std::size_t count);

// What `parse` makes of the bytes read, or a Result that holds only the
// read's error when the file could not be read.
template <typename Result, typename Parse>
Result ParseRead(BoundedRead read, Parse parse)
{
    if (read.error.empty())
        return parse(read.data);
    Result result;
    result.error = std::move(read.error);
    return result;
}

}  // namespace corvane
