#include "platform/files.h"

#include "platform/faults.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

namespace corvane {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string ErrnoText(int code)
{
    return std::strerror(code);
}

}  // namespace

ReadResult ReadWholeFile(const std::string& path)
{
    ReadResult result;
    if (const int fault = InjectedFault(FileOp::Read, path)) {
        result.error = ErrnoText(fault);
        return result;
    }
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        result.error = ErrnoText(errno ? errno : ENOENT);
        return result;
    }

    // The size is a hint only: files that grow, shrink or report no size
    // (pipes, special files) are read until their end all the same.
    std::error_code ec;
    const auto hint = fs::file_size(path, ec);
    std::size_t capacity = ec ? 0 : static_cast<std::size_t>(hint);

    std::string& data = result.data;
    std::size_t used = 0;
    constexpr std::size_t kMinChunk = 64 * 1024;
    for (;;) {
        if (capacity < used + kMinChunk / 4)
            capacity = std::max(used + kMinChunk, capacity + capacity / 2);
        // One byte more than expected, so that the end of the file shows without
        // another pass through the loop when the size hint was exact.
        data.resize(capacity + 1);
        const std::size_t want = data.size() - used;
        errno = 0;
        const std::size_t got = std::fread(data.data() + used, 1, want, file.get());
        used += got;
        if (got < want) {
            if (std::ferror(file.get())) {
                result.error = ErrnoText(errno ? errno : EIO);
                result.data.clear();
                return result;
            }
            break;  // end of file
        }
    }
    data.resize(used);
    result.ok = true;
    return result;
}

bool PathExists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(path, ec);
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool DirectoryExists(const std::string& path)
{
    std::error_code ec;
    return fs::is_directory(path, ec);
}

}  // namespace corvane
