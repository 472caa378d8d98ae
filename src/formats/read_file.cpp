#include "formats/read_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/faults.h"

namespace corvane {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Reads at most `limit` bytes. Anything but a regular file is refused before
// it is opened: a pipe would block the open, a device might never end.
BoundedRead ReadUpTo(const std::string& path, std::size_t limit)
{
    BoundedRead result;
    if (const int fault = InjectedFault(FileOp::Read, path)) {
        result.error = std::strerror(fault);
        return result;
    }
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec) {
        result.error = ec.message();
        return result;
    }
    if (!std::filesystem::is_regular_file(status)) {
        result.error = "not a regular file";
        return result;
    }
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        result.error = std::strerror(errno ? errno : ENOENT);
        return result;
    }
    // The size is a hint for the first allocation only (one byte more, so that
    // the end shows without growing); the file may change while it is read, so
    // the loop stops at the limit whatever the hint said.
    const auto hint = std::filesystem::file_size(path, ec);
    std::size_t capacity = ec ? 0 : static_cast<std::size_t>(std::min<std::uintmax_t>(hint + 1, limit));
    constexpr std::size_t kChunk = 64 * 1024;
    std::string& data = result.data;
    std::size_t used = 0;
    while (used < limit) {
        if (capacity <= used)
            capacity = std::min(limit, used + std::max(kChunk, used / 2));
        data.resize(capacity);
        const std::size_t want = capacity - used;
        errno = 0;
        const std::size_t got = std::fread(data.data() + used, 1, want, file.get());
        used += got;
        if (got < want) {
            if (std::ferror(file.get())) {
                result.error = std::strerror(errno ? errno : EIO);
                data.clear();
                return result;
            }
            break;
        }
    }
    data.resize(used);
    return result;
}

}  // namespace

BoundedRead ReadFileCapped(const std::string& path, std::size_t cap)
{
    // One byte past the cap tells a file of exactly `cap` bytes from a larger one.
    BoundedRead result = ReadUpTo(path, cap + 1);
    if (result.error.empty() && result.data.size() > cap) {
        result.data.clear();
        result.data.shrink_to_fit();
        result.error = "larger than " + std::to_string(cap) + " bytes";
    }
    return result;
}

BoundedRead ReadFileHead(const std::string& path, std::size_t count)
{
    return ReadUpTo(path, count);
}

}  // namespace corvane
