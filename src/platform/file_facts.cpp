#include "platform/file_facts.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#ifdef _WIN32
#include <filesystem>
#include <system_error>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace corvane {

namespace {

#ifndef _WIN32
FileFacts FactsOf(const struct stat& st)
{
    if (!S_ISREG(st.st_mode))
        return {};
    return {true, static_cast<std::uint64_t>(st.st_size),
            std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec};
}
#endif

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

FileFacts ReadFileFacts(const std::string& path)
{
    FileFacts facts;
#ifdef _WIN32
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path native = fs::u8path(path);
    if (!fs::is_regular_file(native, ec))
        return facts;
    const auto size = fs::file_size(native, ec);
    const auto written = fs::last_write_time(native, ec);
    if (ec)
        return facts;
    const auto since = std::chrono::clock_cast<std::chrono::system_clock>(written).time_since_epoch();
    facts = {true, static_cast<std::uint64_t>(size),
             std::chrono::duration_cast<std::chrono::nanoseconds>(since).count()};
#else
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        facts = FactsOf(st);
#endif
    return facts;
}

FileFactsReader::~FileFactsReader()
{
#ifndef _WIN32
    if (fd_ >= 0)
        ::close(fd_);
#endif
}

FileFacts FileFactsReader::read(const std::string& path)
{
#ifdef _WIN32
    return ReadFileFacts(path);
#else
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return ReadFileFacts(path);
    const std::string_view folder(path.data(), slash);
    if (!open_ || folder != folder_) {
        if (fd_ >= 0)
            ::close(fd_);
        folder_.assign(folder);
        fd_ = ::open(folder_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        open_ = true;
        if (fd_ < 0 && errno != ENOENT && errno != ENOTDIR)
            open_ = false;  // not for want of the folder: ask for each file on its own
    }
    if (fd_ < 0)
        return open_ ? FileFacts{} : ReadFileFacts(path);
    struct stat st {};
    if (::fstatat(fd_, path.c_str() + slash + 1, &st, 0) != 0)
        return {};
    return FactsOf(st);
#endif
}

bool SameContent(const std::string& a, const std::string& b)
{
    const FileFacts first = ReadFileFacts(a);
    const FileFacts second = ReadFileFacts(b);
    if (!first.file || !second.file || first.size != second.size)
        return false;
    const File one(std::fopen(a.c_str(), "rb"));
    const File two(std::fopen(b.c_str(), "rb"));
    if (!one || !two)
        return false;
    constexpr std::size_t kChunk = 256 * 1024;
    std::vector<char> left(kChunk), right(kChunk);
    for (;;) {
        const std::size_t got = std::fread(left.data(), 1, kChunk, one.get());
        if (std::fread(right.data(), 1, got, two.get()) != got || std::memcmp(left.data(), right.data(), got) != 0)
            return false;
        if (got < kChunk)
            return !std::ferror(one.get()) && std::fgetc(two.get()) == EOF && !std::ferror(two.get());
    }
}

}  // namespace corvane
