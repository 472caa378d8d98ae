#include "map/level_lines.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/faults.h"

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace corvane {

namespace {

// Finds the next occurrence of one byte, remembering how far it has looked,
// so that a byte that is rare (CR in a file with LF breaks) is searched for
// about once over the whole text rather than once per line.
class ByteFinder {
public:
    explicit ByteFinder(char byte) : byte_(byte) {}

    // The first `byte_` at or after `from` and before `to`, or `to`.
    std::size_t next(const char* text, std::size_t from, std::size_t to)
    {
        if (found_ < searchedTo_ && found_ >= from)
            return found_;
        const std::size_t start = std::max(from, searchedTo_);
        const void* hit = start < to ? std::memchr(text + start, byte_, to - start) : nullptr;
        if (hit) {
            found_ = static_cast<std::size_t>(static_cast<const char*>(hit) - text);
            searchedTo_ = found_ + 1;
            return found_;
        }
        found_ = searchedTo_ = to;
        return to;
    }

private:
    char byte_;
    std::size_t found_ = 0;       // a hit when below searchedTo_
    std::size_t searchedTo_ = 0;  // [.., searchedTo_) has been looked at
};

}  // namespace

// Splits a text that arrives in pieces: each call to feed() hands over the
// bytes that have arrived, and the lines found in them are recorded at once.
class LineSplitter {
public:
    explicit LineSplitter(LevelLines& lines) : lines_(lines) {}

    // The text now holds `available` bytes; `final` when no more will come.
    // Returns false once a NUL has ended the text.
    bool feed(std::size_t available, bool final)
    {
        const char* text = lines_.text_.get();
        if (!ended_) {
            if (const void* nul = std::memchr(text + checked_, '\0', available - checked_)) {
                available = static_cast<std::size_t>(static_cast<const char*>(nul) - text);
                ended_ = true;
                final = true;
            }
            checked_ = available;
        } else {
            return false;
        }
        if (final)
            lines_.size_ = available;
        std::vector<std::size_t>& starts = lines_.starts_;
        while (pos_ < available) {
            if (!recorded_) {
                starts.push_back(pos_);
                recorded_ = true;
            }
            const std::size_t lf = lf_.next(text, pos_, available);
            const std::size_t cr = cr_.next(text, pos_, lf);
            const std::size_t end = std::min(cr, lf);
            if (end == available)
                break;  // the line goes on in the next piece, or is the last
            if (text[end] == '\r' && end + 1 == available && !final)
                break;  // an LF may follow in the next piece
            pos_ = end + 1;
            if (text[end] == '\r' && pos_ < available && text[pos_] == '\n')
                ++pos_;
            recorded_ = false;
        }
        return !ended_;
    }

private:
    LevelLines& lines_;
    std::size_t pos_ = 0;        // where the current line starts
    bool recorded_ = false;      // its start is in the list
    std::size_t checked_ = 0;    // [0, checked_) holds no NUL
    bool ended_ = false;         // a NUL ended the text
    ByteFinder lf_{'\n'};
    ByteFinder cr_{'\r'};
};

LevelLines LevelLines::FromText(std::string_view text)
{
    LevelLines result;
    result.text_ = std::make_unique_for_overwrite<char[]>(std::max<std::size_t>(text.size(), 1));
    if (!text.empty())
        std::memcpy(result.text_.get(), text.data(), text.size());
    LineSplitter(result).feed(text.size(), true);
    return result;
}

LevelLines::LevelLines(const LevelLines& other) : size_(other.size_), starts_(other.starts_)
{
    if (other.text_) {
        text_ = std::make_unique_for_overwrite<char[]>(std::max<std::size_t>(size_, 1));
        std::memcpy(text_.get(), other.text_.get(), size_);
    }
}

LevelLines& LevelLines::operator=(const LevelLines& other)
{
    if (this != &other)
        *this = LevelLines(other);
    return *this;
}

void LevelLines::clear()
{
    text_.reset();
    size_ = 0;
    starts_.clear();
    starts_.shrink_to_fit();
}

namespace {

// Asks for the buffer of a big level to be backed by large pages where the
// system offers them: filling it then costs far fewer page faults.
void PreferLargePages([[maybe_unused]] char* buffer, [[maybe_unused]] std::size_t size)
{
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t kLargePage = 2 * 1024 * 1024;
    if (size < 4 * kLargePage)
        return;
    const auto begin = (reinterpret_cast<std::uintptr_t>(buffer) + kLargePage - 1) & ~(kLargePage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(buffer) + size) & ~(kLargePage - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

LevelRead ReadLevelLines(const std::string& path)
{
    LevelRead result;
    if (const int fault = InjectedFault(FileOp::Read, path)) {
        result.error = std::strerror(fault);
        return result;
    }
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        result.error = std::strerror(errno ? errno : ENOENT);
        return result;
    }
    // Large reads go straight into the buffer, past the stream's own.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);

    // The size is a hint only: files that grow, shrink or report no size
    // (pipes, special files) are read until their end all the same.
    std::error_code ec;
    const auto hint = std::filesystem::file_size(path, ec);
    // One byte more than expected, so that the end of the file shows without
    // growing the buffer when the hint was exact.
    std::size_t capacity = (ec ? 0 : static_cast<std::size_t>(hint)) + 1;

    LevelLines& lines = result.lines;
    lines.text_ = std::make_unique_for_overwrite<char[]>(capacity);
    PreferLargePages(lines.text_.get(), capacity);
    LineSplitter splitter(lines);
    // A piece small enough to stay in the processor's cache until it is split.
    constexpr std::size_t kPiece = 256 * 1024;
    std::size_t used = 0;
    bool splitting = true;
    bool estimated = false;
    for (;;) {
        if (used == capacity) {
            const std::size_t grown = capacity + std::max(capacity / 2, kPiece);
            auto bigger = std::make_unique_for_overwrite<char[]>(grown);
            std::memcpy(bigger.get(), lines.text_.get(), used);
            lines.text_ = std::move(bigger);
            capacity = grown;
        }
        const std::size_t want = std::min(kPiece, capacity - used);
        errno = 0;
        const std::size_t got = std::fread(lines.text_.get() + used, 1, want, file.get());
        used += got;
        if (splitting)
            splitting = splitter.feed(used, false);
        if (!splitting)
            break;  // a NUL ended the text: what follows is never looked at (and may never end)
        if (!estimated && lines.starts_.size() > 16) {
            // Room for as many lines as the first piece suggests, with some to
            // spare, so that the list of starts is rarely moved.
            estimated = true;
            const double perByte = static_cast<double>(lines.starts_.size()) / static_cast<double>(used);
            lines.starts_.reserve(static_cast<std::size_t>(perByte * 1.125 * static_cast<double>(capacity)) + 16);
        }
        if (got < want) {
            if (std::ferror(file.get())) {
                result.error = std::strerror(errno ? errno : EIO);
                result.lines.clear();
                return result;
            }
            break;  // end of file
        }
    }
    if (splitting)
        splitter.feed(used, true);
    result.ok = true;
    return result;
}

}  // namespace corvane
