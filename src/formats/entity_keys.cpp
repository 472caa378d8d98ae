#include "formats/entity_keys.h"

#include <array>

#include "platform/paths.h"

namespace corvane {

namespace {

constexpr std::array<std::string_view, 5> kFileKeys = {"model", "noise_start", "noise_middle", "noise_end",
                                                       "image"};

std::size_t SkipBlanks(std::string_view line, std::size_t at)
{
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
        ++at;
    return at;
}

// The quoted text that starts at `at`, and the position after its closing quote.
std::optional<std::string_view> QuotedAt(std::string_view line, std::size_t& at)
{
    if (at >= line.size() || line[at] != '"')
        return std::nullopt;
    const std::size_t close = line.find('"', at + 1);
    if (close == std::string_view::npos)
        return std::nullopt;
    const std::string_view text = line.substr(at + 1, close - at - 1);
    at = close + 1;
    return text;
}

// The key as listed in kFileKeys, or "" for any other key.
std::string_view FileKey(std::string_view key)
{
    const std::string lower = AsciiLower(std::string(key));
    for (const std::string_view known : kFileKeys) {
        if (lower == known)
            return known;
    }
    return {};
}

}  // namespace

std::optional<KeyValue> ParseKeyValueLine(std::string_view line)
{
    std::size_t at = SkipBlanks(line, 0);
    const std::optional<std::string_view> key = QuotedAt(line, at);
    if (!key)
        return std::nullopt;
    at = SkipBlanks(line, at);
    const std::optional<std::string_view> value = QuotedAt(line, at);
    if (!value)
        return std::nullopt;
    return KeyValue{*key, *value};
}

bool NamesFile(std::string_view key, std::string_view value)
{
    const std::string_view known = FileKey(key);
    if (known.empty() || value.empty())
        return false;
    return known != "model" || value.front() != '*';
}

std::string GameFilePath(const EntityFileKey& found)
{
    const std::string_view key = FileKey(found.key);
    if (key == "model")
        return found.value;
    if (key == "image") {
        const std::size_t lastPart = found.value.find_last_of("/\\");
        const bool hasExtension =
            found.value.find('.', lastPart == std::string::npos ? 0 : lastPart + 1) != std::string::npos;
        return "pics/" + found.value + (hasExtension ? "" : ".pcx");
    }
    if (key.starts_with("noise_"))
        return "sound/" + found.value;
    return {};
}

void AddEntityFileKey(std::vector<EntityFileKey>& found, std::string_view line, std::size_t index)
{
    const std::optional<KeyValue> pair = ParseKeyValueLine(line);
    if (!pair || !NamesFile(pair->key, pair->value))
        return;
    found.push_back({std::string(FileKey(pair->key)), std::string(pair->value), index});
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

}  // namespace corvane
