#include "formats/md2.h"

#include <algorithm>

#include "formats/bytes.h"
#include "formats/read_file.h"

namespace corvane {

Md2Skins ReadMd2Skins(std::string_view data)
{
    Md2Skins result;
    if (data.size() < 4) {
        result.error = "truncated header";
        return result;
    }
    if (data.substr(0, 4) != "IDP2") {
        result.error = "bad magic";
        return result;
    }
    if (data.size() < kMd2HeaderSize) {
        result.error = "truncated header";
        return result;
    }
    if (const std::int32_t version = bytes::I32At(data, 4); version != 8) {
        result.error = "unsupported version " + std::to_string(version);
        return result;
    }
    const std::int32_t count = bytes::I32At(data, 20);
    const std::int32_t offset = bytes::I32At(data, 44);
    if (count < 0) {
        result.error = "negative skin count";
        return result;
    }
    if (count > kMaxMd2Skins) {
        result.error = std::to_string(count) + " skins (at most " + std::to_string(kMaxMd2Skins) + " are read)";
        return result;
    }
    if (count == 0)
        return result;
    if (offset < 0) {
        result.error = "negative skin offset";
        return result;
    }
    if (static_cast<std::size_t>(offset) < kMd2HeaderSize) {
        result.error = "skins overlap the header";
        return result;
    }
    if (!bytes::Fits(static_cast<std::uint64_t>(offset), std::uint64_t{kMd2SkinNameSize} * count, data.size())) {
        result.error = "skins lie beyond the end of the file";
        return result;
    }
    for (std::int32_t i = 0; i < count; ++i) {
        const std::string_view name =
            bytes::NameAt(data, static_cast<std::size_t>(offset) + kMd2SkinNameSize * i, kMd2SkinNameSize);
        // At most 256 names: a linear search is cheaper than a set.
        if (!name.empty() && std::find(result.skins.begin(), result.skins.end(), name) == result.skins.end())
            result.skins.emplace_back(name);
    }
    return result;
}

Md2Skins ReadMd2SkinsFile(const std::string& path)
{
    return ParseRead<Md2Skins>(ReadFileCapped(path, kMaxMd2FileBytes), ReadMd2Skins);
}

}  // namespace corvane
