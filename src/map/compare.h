#pragma once
// The comparison view: which of the level's resources belong to the folder
// being browsed, so that they can be set beside what has arrived there.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "map/resource_list.h"

namespace corvane {

struct FolderComparison {
    bool textures = false;   // the folder's path mentions "texture"
    bool sounds = false;     // the folder's path mentions "sound"
    bool available = false;  // there is something to compare: the Compare tab is offered
    // The level's entries whose text holds the folder's name: given for a
    // texture (sound) folder other than the "textures" ("sound") root itself,
    // absent where the list is left as it was.
    std::optional<std::vector<std::string>> textureEntries;
    std::optional<std::vector<std::string>> soundEntries;
};

// Compares the browsed folder `dir` with the level's lists. A path that
// mentions both kinds is taken as both; the sound side then decides whether
// there is anything to compare.
FolderComparison CompareFolder(std::string_view dir, const ResourceList& textures, const ResourceList& sounds);

}  // namespace corvane
