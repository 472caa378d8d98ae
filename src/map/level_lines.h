#pragma once
// The lines of a level file, kept as one buffer with the place of each line,
// so that a level of millions of lines costs little more than its own size.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class LevelLines {
public:
    LevelLines() = default;

    // Splits a level file's text into lines: a line ends at CR LF, at a lone CR
    // or at a lone LF; a last line without a line break is a line too; a NUL
    // byte ends the text; an empty text has no lines. Lines keep every other
    // byte as it is.
    static LevelLines FromText(std::string text);

    std::size_t size() const { return starts_.size(); }
    bool empty() const { return starts_.empty(); }
    std::string_view operator[](std::size_t index) const
    {
        const std::size_t start = starts_[index];
        return std::string_view(text_).substr(start, EndOf(index) - start);
    }
    void clear();

private:
    // Only where each line starts is kept; a line ends before the break that
    // precedes the next line's start (or the text's end).
    std::size_t EndOf(std::size_t index) const
    {
        std::size_t end = index + 1 < starts_.size() ? starts_[index + 1] : text_.size();
        if (end > starts_[index] && (text_[end - 1] == '\n' || text_[end - 1] == '\r')) {
            --end;
            if (text_[end] == '\n' && end > starts_[index] && text_[end - 1] == '\r')
                --end;
        }
        return end;
    }

    std::string text_;
    std::vector<std::size_t> starts_;
};

}  // namespace corvane
