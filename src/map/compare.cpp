#include "map/compare.h"

#include "platform/paths.h"

namespace corvane {

namespace {

std::vector<std::string> EntriesNaming(const ResourceList& list, std::string_view folder)
{
    std::vector<std::string> entries;
    for (const std::string& entry : list) {
        if (entry.find(folder) != std::string::npos)
            entries.push_back(entry);
    }
    return entries;
}

}  // namespace

FolderComparison CompareFolder(std::string_view dir, const ResourceList& textures, const ResourceList& sounds)
{
    FolderComparison comparison;
    comparison.textures = dir.find("texture") != std::string_view::npos;
    comparison.sounds = dir.find("sound") != std::string_view::npos;
    const std::string_view folder = FileName(dir);
    if (comparison.textures) {
        comparison.available = folder != "textures";
        if (comparison.available)
            comparison.textureEntries = EntriesNaming(textures, folder);
    }
    if (comparison.sounds) {
        comparison.available = folder != "sound";
        if (comparison.available)
            comparison.soundEntries = EntriesNaming(sounds, folder);
    }
    return comparison;
}

}  // namespace corvane
