#include "map/scan.h"

#include <algorithm>
#include <cstring>

#include "platform/error.h"

namespace corvane {

namespace {

bool IsControlOrBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view TrimControlsAndBlanks(std::string_view text)
{
    while (!text.empty() && IsControlOrBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsControlOrBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The first place at or after `from` where `needle` (not empty) stands in
// `text`, or text.size().
std::size_t FindFrom(std::string_view text, std::size_t from, std::string_view needle)
{
    const char* const begin = text.data();
    const char* const last = begin + text.size() - std::min(text.size(), needle.size() - 1);
    for (const char* at = begin + std::min(from, text.size()); at < last;) {
        const void* hit = std::memchr(at, needle.front(), static_cast<std::size_t>(last - at));
        if (!hit)
            break;
        at = static_cast<const char*>(hit);
        if (std::memcmp(at + 1, needle.data() + 1, needle.size() - 1) == 0)
            return static_cast<std::size_t>(at - begin);
        ++at;
    }
    return text.size();
}

// Tells, line after line in ascending order, whether a line holds `needle`.
// The text is searched ahead to the next occurrence once, rather than every
// line on its own, so lines far from any occurrence cost nothing.
class LineContains {
public:
    LineContains(const LevelLines& lines, std::string_view needle)
        : lines_(lines), text_(lines.text()), needle_(needle)
    {
    }

    bool operator()(std::size_t index)
    {
        const std::size_t start = lines_.startOf(index);
        if (!searched_ || next_ < start) {
            next_ = FindFrom(text_, start, needle_);
            searched_ = true;
        }
        // A line holds no line break, nor does the needle, so an occurrence
        // that starts within the line lies wholly within it.
        return next_ < start + lines_[index].size();
    }

private:
    const LevelLines& lines_;
    std::string_view text_;
    std::string_view needle_;
    std::size_t next_ = 0;
    bool searched_ = false;
};

// Puts the texture name a face line gives into `name`, custom or stock; false
// when the line gives none. `name` is a buffer the caller reuses from line to
// line. Lines with a double quote (entity key lines) are left to the caller.
bool TextureNameOf(std::string_view line, std::string& name)
{
    if (line.size() < 2)
        return false;
    const std::size_t slash = line.find('/');
    if (slash == std::string_view::npos)
        return false;
    const std::size_t start = FindTokenStart(line, slash, ' ');
    if (start == kNoPosition)
        return false;
    const std::size_t end = FindTokenEnd(line, start, ' ');
    if (end == kNoPosition)
        return false;
    const std::string_view token = TrimControlsAndBlanks(line.substr(start, end - start));
    if (token.starts_with("//"))
        return false;  // a comment after a brush's "{", not a texture
    name.assign(token).append(".wal");
    return true;
}

// The sound name a line holding "noise" gives, custom or stock, or "" when it
// gives none.
std::string_view SoundNameOf(std::string_view line)
{
    const std::size_t slash = line.find('/');
    if (slash == std::string_view::npos)
        return {};
    const std::size_t start = FindTokenStart(line, slash, '"');
    if (start == kNoPosition)
        return {};
    const std::size_t end = FindTokenEnd(line, start, '"');
    if (end == kNoPosition)
        return {};
    return line.substr(start, end - start);
}

}  // namespace

std::size_t FindTokenStart(std::string_view line, std::size_t pos, char delimiter)
{
    if (pos == 0 || pos > line.size())
        return kNoPosition;
    const std::size_t found = line.substr(0, pos).rfind(delimiter);
    return found == std::string_view::npos ? kNoPosition : found + 1;
}

std::size_t FindTokenEnd(std::string_view line, std::size_t pos, char delimiter)
{
    if (pos >= line.size())
        return kNoPosition;
    const std::size_t found = line.find(delimiter, pos + 1);
    return found == std::string_view::npos ? kNoPosition : found;
}

bool IsStockTexture(std::string_view name)
{
    // The game's folders: e1u1..e1u4, e2u1..e2u3, e3u1..e3u3.
    if (name.size() < 4 || name[0] != 'e' || name[2] != 'u')
        return false;
    const char episode = name[1];
    const char unit = name[3];
    const char lastUnit = episode == '1' ? '4' : '3';
    return episode >= '1' && episode <= '3' && unit >= '1' && unit <= lastUnit;
}

bool IsStockSound(std::string_view name)
{
    return name.substr(0, 5) == "world";
}

void CollectTextures(LoadedLevel& level)
{
    const LevelLines& lines = level.MapLines;
    const std::size_t count = lines.size();
    std::size_t startLine = 1;
    while (startLine < count && lines[startLine].find('{') == std::string_view::npos)
        ++startLine;
    if (startLine >= count)
        throw Error(kListIndexOutOfBounds);

    // Neighbouring faces mostly share a texture: a name equal to the one
    // before is known to be in its list already.
    LineContains hasQuote(lines, "\"");
    std::string name;
    std::string previous;
    for (std::size_t i = startLine; i < count; ++i) {
        if (hasQuote(i) || !TextureNameOf(lines[i], name) || name == previous)
            continue;
        ResourceList& list = IsStockTexture(name) ? level.StockTextures : level.TextureList;
        if (!list.contains(name))
            list.add(name);
        previous.swap(name);
    }
}

void CollectSounds(LoadedLevel& level)
{
    const LevelLines& lines = level.MapLines;
    const std::size_t count = lines.size();
    LineContains hasNoise(lines, "noise");
    for (std::size_t i = 0; i < count; ++i) {
        if (!hasNoise(i))
            continue;
        const std::string_view name = SoundNameOf(lines[i]);
        if (name.empty())
            continue;
        ResourceList& list = IsStockSound(name) ? level.StockSounds : level.SoundList;
        if (!list.contains(name))
            list.add(std::string(name));
    }
}

void ScanTextures(LoadedLevel& level)
{
    CollectTextures(level);
    level.TextureList.sort();
    level.StockTextures.sort();
}

void ScanSounds(LoadedLevel& level)
{
    CollectSounds(level);
    level.SoundList.sort();
    level.StockSounds.sort();
}

}  // namespace corvane
