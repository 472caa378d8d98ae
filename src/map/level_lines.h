#pragma once
// The lines of a level file, kept as one buffer with the place of each line,
// so that a level of millions of lines costs little more than its own size.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct LevelRead;

class LevelLines {
public:
    LevelLines() = default;
    LevelLines(const LevelLines& other);
    LevelLines& operator=(const LevelLines& other);
    LevelLines(LevelLines&&) noexcept = default;
    LevelLines& operator=(LevelLines&&) noexcept = default;

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
        return std::string_view(text_.get() + start, EndOf(index) - start);
    }
    // The whole text, up to its first NUL, and where line `index` starts in it.
    std::string_view text() const { return std::string_view(text_.get(), size_); }
    std::size_t startOf(std::size_t index) const { return starts_[index]; }
    void clear();

private:
    friend class LineSplitter;
    friend LevelRead ReadLevelLines(const std::string& path);

    // Only where each line starts is kept; a line ends before the break that
    // precedes the next line's start (or the text's end).
    std::size_t EndOf(std::size_t index) const
    {
        const char* text = text_.get();
        const std::size_t start = starts_[index];
        std::size_t end = index + 1 < starts_.size() ? starts_[index + 1] : size_;
        if (end > start && (text[end - 1] == '\n' || text[end - 1] == '\r')) {
            --end;
            if (text[end] == '\n' && end > start && text[end - 1] == '\r')
                --end;
        }
        return end;
    }

    // The text up to its first NUL; the buffer is not filled beforehand, so
    // reading a big level writes each byte once.
    std::unique_ptr<char[]> text_;
    std::size_t size_ = 0;
    std::vector<std::size_t> starts_;
};

struct LevelRead {
    bool ok = false;
    std::string error;  // the reason when not ok, such as "No such file or directory"
    LevelLines lines;
};

// Reads a level file whole and splits it into lines as FromText does. The
// file is read in pieces, and each piece is split while it is fresh in the
// processor's cache.
LevelRead ReadLevelLines(const std::string& path);

}  // namespace corvane
