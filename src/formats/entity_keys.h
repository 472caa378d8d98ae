#pragma once
// Entity keys that name files the game loads with a level: models, the
// sounds of moving brushes, pictures. They stand in a level's source and in
// a compiled level's entity text alike, one pair a line: "key" "value".

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct KeyValue {
    std::string_view key;
    std::string_view value;
};

// The pair of a line of the form "key" "value": blanks (spaces and tabs) may
// stand before the key and between key and value; what follows the value's
// closing quote is not looked at. No pair when the line has another form.
std::optional<KeyValue> ParseKeyValueLine(std::string_view line);

struct EntityFileKey {
    std::string key;    // one of the keys below, in lower case
    std::string value;  // as the level writes it
    std::size_t line = 0;
};

// True when `key` (ASCII case ignored) with `value` names a file: "model" with
// a value that does not begin with "*" (which names one of the level's own
// brush models), "noise_start", "noise_middle", "noise_end" and "image", each
// with a value that is not empty.
bool NamesFile(std::string_view key, std::string_view value);

// The file a pair names, as a path below the game folder: a model's value as
// it stands ("models/x/tris.md2"); a sound below "sound/" as it stands (no
// extension added); a picture below "pics/", with ".pcx" added when its last
// part has no extension; "" for any other key. The value is the level's bytes: whoever turns this
// into a path on disk applies the same safety rules as to every other name.
std::string GameFilePath(const EntityFileKey& found);

// Adds the pair of `line` to `found` when it names a file.
void AddEntityFileKey(std::vector<EntityFileKey>& found, std::string_view line, std::size_t index);

// Every pair of `lines` that names a file, in line order. `lines` is any list
// with size() and operator[] giving a line's text (the loaded level's lines,
// or SplitLines of a compiled level's entity text).
template <typename Lines>
std::vector<EntityFileKey> FindEntityFileKeys(const Lines& lines)
{
    std::vector<EntityFileKey> found;
    for (std::size_t i = 0; i < lines.size(); ++i)
        AddEntityFileKey(found, std::string_view(lines[i]), i);
    return found;
}

// The lines of a text: a line ends at LF, CR LF or a lone CR; a last line
// without a break counts too.
std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace corvane
