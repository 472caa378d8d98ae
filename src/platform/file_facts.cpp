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
#include <sys/stat.h>
#endif

namespace corvane {

namespace {

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
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return facts;
    facts = {true, static_cast<std::uint64_t>(st.st_size),
             std::int64_t{st.st_mtim.tv_sec} * 1'000'000'000 + st.st_mtim.tv_nsec};
#endif
    return facts;
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
