#include "formats/read_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/faults.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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
    constexpr std::size_t kChunk = 64 * 1024;
    // The size is a hint for the first allocation only (one byte more, so that
    // the end shows without growing); the file may change while it is read, so
    // the loop stops at the limit whatever the hint said. A read of a file's
    // head (a header) needs no hint, and takes it straight into its buffer.
    std::size_t capacity = limit;
    if (limit > kChunk) {
        const auto hint = std::filesystem::file_size(path, ec);
        capacity = ec ? 0 : static_cast<std::size_t>(std::min<std::uintmax_t>(hint + 1, limit));
    } else {
        std::setvbuf(file.get(), nullptr, _IONBF, 0);
    }
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
#if defined(_WIN32)
    return ReadUpTo(path, count);
#else
    // A head is read in three calls: a plan reads the header of every texture
    // of a level, thousands of them. Opened without blocking, a pipe or device
    // in a file's place gives what it has at once (nothing, mostly), and only
    // `count` bytes are ever read; after the read, anything but a regular file
    // is refused as ReadUpTo refuses it.
    BoundedRead result;
    if (const int fault = InjectedFault(FileOp::Read, path)) {
        result.error = std::strerror(fault);
        return result;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        result.error = std::strerror(errno);
        return result;
    }
    result.data.resize(count);
    std::size_t used = 0;
    while (used < count) {
        const ssize_t got = ::read(fd, result.data.data() + used, count - used);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno != EAGAIN && errno != EISDIR) {
            result.error = std::strerror(errno);
            break;
        }
        if (got <= 0)
            break;
        used += static_cast<std::size_t>(got);
    }
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    if (result.error.empty() && !regular)
        result.error = "not a regular file";
    result.data.resize(result.error.empty() ? used : 0);
    return result;
#endif
}

}  // namespace corvane
