#pragma once
// The lines of a level file, kept as the file's own bytes with the place of
// each line, so that a level of millions of lines costs little more memory
// than four bytes a line: a big file is mapped rather than copied, and the
// lines are views into it.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct LevelRead;

// Where each line of a text starts, in ascending order, four bytes a line:
// each start is kept as its low 32 bits, and for a text beyond 4 GiB the
// first line past each multiple of 4 GiB is noted beside them.
class LineStarts {
public:
    std::size_t size() const { return low_.size(); }
    bool empty() const { return low_.empty(); }
    std::size_t operator[](std::size_t index) const
    {
        if (wraps_.empty())
            return low_[index];
        return static_cast<std::size_t>(Wraps(index) << 32 | low_[index]);
    }
    // Starts must come in ascending order.
    void push_back(std::size_t start)
    {
        while ((static_cast<std::uint64_t>(start) >> 32) > wraps_.size())
            wraps_.push_back(low_.size());
        low_.push_back(static_cast<std::uint32_t>(start));
    }
    void reserve(std::size_t count) { low_.reserve(count); }
    // Adds the starts of a later part of the same text.
    void append(const LineStarts& later);
    void clear();

private:
    std::uint64_t Wraps(std::size_t index) const;

    std::vector<std::uint32_t> low_;
    std::vector<std::size_t> wraps_;  // wraps_[k]: the first line at or past (k + 1) × 4 GiB
};

class LevelLines {
public:
    LevelLines() = default;
    LevelLines(const LevelLines& other) = default;
    LevelLines& operator=(const LevelLines& other) = default;
    LevelLines(LevelLines&& other) noexcept;
    LevelLines& operator=(LevelLines&& other) noexcept;

    // Splits a level file's text into lines: a line ends at CR LF, at a lone CR
    // or at a lone LF; a last line without a line break is a line too; a NUL
    // byte ends the text; an empty text has no lines. Lines keep every other
    // byte as it is.
    static LevelLines FromText(std::string_view text);

    std::size_t size() const { return starts_.size(); }
    bool empty() const { return starts_.empty(); }
    std::string_view operator[](std::size_t index) const
    {
        const std::size_t start = starts_[index];
        return std::string_view(text_ + start, EndOf(index) - start);
    }
    // The whole text, up to its first NUL, and where line `index` starts in it.
    std::string_view text() const { return std::string_view(text_, size_); }
    std::size_t startOf(std::size_t index) const { return starts_[index]; }
    void clear();

private:
    friend LevelRead ReadLevelLines(const std::string& path);

    // Only where each line starts is kept; a line ends before the break that
    // precedes the next line's start (or the text's end).
    std::size_t EndOf(std::size_t index) const
    {
        const std::size_t start = starts_[index];
        std::size_t end = index + 1 < starts_.size() ? starts_[index + 1] : size_;
        if (end > start && (text_[end - 1] == '\n' || text_[end - 1] == '\r')) {
            --end;
            if (text_[end] == '\n' && end > start && text_[end - 1] == '\r')
                --end;
        }
        return end;
    }

    // What holds the text: a buffer of its own or the mapped file. The text
    // never changes through a LevelLines, so copies share it.
    std::shared_ptr<const void> holder_;
    const char* text_ = nullptr;
    std::size_t size_ = 0;
    LineStarts starts_;
};

struct LevelRead {
    bool ok = false;
    std::string error;  // the reason when not ok, such as "No such file or directory"
    LevelLines lines;
};

// The reason given when a level file was cut short while it was being read.
inline constexpr const char* kLevelChangedWhileRead = "The file changed while it was read";

// Reads a level file and splits it into lines as FromText does. The level
// must be a regular file (anything else is refused at once, with the reason),
// and it is read up to the size it has when opened. A big file is mapped and
// the lines are views into the mapping; should the file be cut short while
// the level is held, the bytes that have gone read as NUL bytes.
LevelRead ReadLevelLines(const std::string& path);

}  // namespace corvane
