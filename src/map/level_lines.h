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

    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    std::string_view operator[](std::size_t index) const
    {
        const Span& span = lines_[index];
        return std::string_view(text_).substr(span.start, span.length);
    }
    void clear();

private:
    struct Span {
        std::size_t start;
        std::size_t length;
    };
    std::string text_;
    std::vector<Span> lines_;
};

}  // namespace corvane
