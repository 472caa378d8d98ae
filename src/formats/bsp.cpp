#include "formats/bsp.h"

#include <algorithm>
#include <unordered_set>

#include "formats/bytes.h"
#include "formats/read_file.h"
#include "platform/file_view.h"
#include "platform/files.h"

namespace corvane {

namespace {

constexpr int kEntityLump = 0;
constexpr int kTexInfoLump = 5;
constexpr std::size_t kTextureNameOffset = 40;

struct Lump {
    std::size_t offset = 0;
    std::size_t length = 0;
};

BspContents Failure(std::string error)
{
    BspContents result;
    result.error = std::move(error);
    return result;
}

}  // namespace

BspContents ReadBsp(std::string_view data)
{
    if (data.size() < 4)
        return Failure("truncated header");
    if (data.substr(0, 4) != "IBSP")
        return Failure("bad magic");
    if (data.size() < 8)
        return Failure("truncated header");
    if (const std::int32_t version = bytes::I32At(data, 4); version != 38)
        return Failure("unsupported version " + std::to_string(version));
    if (data.size() < kBspHeaderSize)
        return Failure("truncated header");

    Lump lumps[kBspLumpCount];
    for (int i = 0; i < kBspLumpCount; ++i) {
        const std::int32_t offset = bytes::I32At(data, 8 + 8 * static_cast<std::size_t>(i));
        const std::int32_t length = bytes::I32At(data, 12 + 8 * static_cast<std::size_t>(i));
        const std::string lump = "lump " + std::to_string(i);
        if (offset < 0 || length < 0)
            return Failure(lump + " has a negative offset or length");
        if (length > 0 && static_cast<std::size_t>(offset) < kBspHeaderSize)
            return Failure(lump + " overlaps the header");
        if (!bytes::Fits(static_cast<std::uint64_t>(offset), static_cast<std::uint64_t>(length), data.size()))
            return Failure(lump + " lies beyond the end of the file");
        lumps[i] = {static_cast<std::size_t>(offset), static_cast<std::size_t>(length)};
    }

    const Lump texInfos = lumps[kTexInfoLump];
    if (texInfos.length % kBspTexInfoSize != 0)
        return Failure("lump 5 does not hold whole texture infos of 76 bytes");

    BspContents result;
    const std::string_view entities = data.substr(lumps[kEntityLump].offset, lumps[kEntityLump].length);
    result.entities = entities.substr(0, entities.find('\0'));

    std::unordered_set<std::string_view> seen;
    for (std::size_t at = texInfos.offset; at < texInfos.offset + texInfos.length; at += kBspTexInfoSize) {
        const std::string_view name = bytes::NameAt(data, at + kTextureNameOffset, kBspTextureNameSize);
        if (!name.empty() && seen.insert(name).second)
            result.textures.emplace_back(name);
    }
    return result;
}

BspContents ReadBspFile(const std::string& path)
{
    // A compiled level is mapped rather than copied where it is big: only its
    // header, entity text and texture infos are looked at, so the rest of a
    // level of many megabytes is never brought in.
    const FileViewResult opened = FileView::Open(path);
    BspContents contents;
    if (!opened.view) {
        // Said as every reader of the game's files says it.
        contents.error = PathExists(path) && !FileExists(path) ? "not a regular file" : opened.error;
        return contents;
    }
    const FileView& view = *opened.view;
    if (view.size() > kMaxBspFileBytes) {
        contents.error = "larger than " + std::to_string(kMaxBspFileBytes) + " bytes";
        return contents;
    }
    contents = ReadBsp(std::string_view(view.data(), view.size()));
    if (contents.error.empty() && view.changed()) {
        contents = BspContents();
        contents.error = "the file changed while it was read";
    }
    return contents;
}

std::vector<std::string> SortedNames(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

}  // namespace corvane
