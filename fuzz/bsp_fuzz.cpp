// Fuzz target: a compiled level through its reader, its entity text through
// the keys that name files, and the input itself as a level's lines through
// those keys too. A compiled level comes from other people, so any bytes must
// give its contents or an error, and the contents must lie inside the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/bsp.h"
#include "formats/bytes.h"
#include "formats/entity_keys.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// Every pair names a file with a value from its line, and its path keeps the value whole.
void CheckFileKeys(const std::vector<std::string_view>& lines)
{
    for (const corvane::EntityFileKey& found : corvane::FindEntityFileKeys(lines)) {
        Check(found.line < lines.size());
        Check(!found.value.empty() && found.value.find('"') == std::string::npos);
        Check(lines[found.line].find(found.value) != std::string_view::npos);
        Check(corvane::NamesFile(found.key, found.value));
        const std::string path = corvane::GameFilePath(found);
        Check(path.find(found.value) != std::string::npos);
        Check(path.size() <= found.value.size() + 10);  // "sound/" or "pics/" and ".pcx" at most
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace corvane;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    CheckFileKeys(SplitLines(input));

    const BspContents bsp = ReadBsp(input);
    if (!bsp.error.empty()) {
        Check(bsp.entities.empty() && bsp.textures.empty());
        return 0;
    }
    Check(size >= kBspHeaderSize && input.starts_with("IBSP"));

    // The entity text is lump 0 up to its first NUL.
    const auto entityOffset = static_cast<std::size_t>(bytes::I32At(input, 8));
    const auto entityLength = static_cast<std::size_t>(bytes::I32At(input, 12));
    Check(bsp.entities.size() <= entityLength);
    Check(input.substr(entityOffset, bsp.entities.size()) == bsp.entities);
    Check(bsp.entities.find('\0') == std::string::npos);

    // The names come from the texture infos of lump 5: at most one each, each once.
    const auto texInfoLength = static_cast<std::size_t>(bytes::I32At(input, 8 + 8 * 5 + 4));
    Check(bsp.textures.size() <= texInfoLength / kBspTexInfoSize);
    for (const std::string& name : bsp.textures) {
        Check(!name.empty() && name.size() <= kBspTextureNameSize);
        Check(name.find('\0') == std::string::npos);
        Check(input.find(name) != std::string_view::npos);
    }
    const std::vector<std::string> sorted = SortedNames(bsp.textures);
    Check(sorted.size() == bsp.textures.size());
    Check(std::adjacent_find(sorted.begin(), sorted.end(), std::greater_equal<>()) == sorted.end());

    CheckFileKeys(SplitLines(bsp.entities));
    return 0;
}
