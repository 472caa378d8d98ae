#include "map/level_lines.h"

#include <algorithm>
#include <cstring>

namespace corvane {

namespace {

// The index of the next `byte` at or after `from`, or `size` when there is none.
std::size_t NextByte(const std::string& text, std::size_t from, char byte)
{
    const void* found = std::memchr(text.data() + from, byte, text.size() - from);
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data())
                 : text.size();
}

}  // namespace

LevelLines LevelLines::FromText(std::string text)
{
    LevelLines result;
    if (const void* nul = std::memchr(text.data(), '\0', text.size()))
        text.resize(static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));

    const std::size_t size = text.size();
    // Room for every line there can be; pages never touched cost nothing.
    std::size_t breaks = 1;
    for (const char byte : {'\n', '\r'}) {
        for (std::size_t at = NextByte(text, 0, byte); at < size; at = NextByte(text, at + 1, byte))
            ++breaks;
    }
    result.starts_.reserve(breaks);

    // The next CR and the next LF are each searched for only when the scan has
    // passed the last one found, so the text is read about once for each.
    std::size_t nextCr = NextByte(text, 0, '\r');
    std::size_t nextLf = NextByte(text, 0, '\n');
    std::size_t pos = 0;
    while (pos < size) {
        if (nextCr < pos)
            nextCr = NextByte(text, pos, '\r');
        if (nextLf < pos)
            nextLf = NextByte(text, pos, '\n');
        const std::size_t end = std::min(nextCr, nextLf);
        result.starts_.push_back(pos);
        if (end == size)
            break;
        pos = end + 1;
        if (text[end] == '\r' && pos < size && text[pos] == '\n')
            ++pos;
    }
    result.text_ = std::move(text);
    return result;
}

void LevelLines::clear()
{
    text_.clear();
    text_.shrink_to_fit();
    starts_.clear();
    starts_.shrink_to_fit();
}

}  // namespace corvane
