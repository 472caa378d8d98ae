#pragma once
// Pooling: the resources of every level in a target's "maps" folder as one set.

#include <functional>
#include <string>

#include "map/loaded_level.h"
#include "platform/host.h"

namespace corvane {

enum class PoolResult { NoLevels, OneLevel, Declined, Pooled };

struct PoolOptions {
    bool confirm = true;                 // ask "Group All Resources?" first
    std::function<void()> onConfirmed;   // runs once the user has agreed, before any load
    std::function<void()> onLevelLoaded; // runs after each level that loaded (the view switch)
};

// The level files that pooling reads: the regular files matching "*.map" in
// `targPath`/maps, in ascending byte order.
std::vector<std::string> PoolLevelFiles(const std::string& targPath);

// Loads every level of `targPath`/maps into `level`, whose lists gather the
// union of their textures and sounds, then refills the list boxes and counts
// from the pooled lists. Fewer than two levels, or a No to the confirmation,
// change nothing.
PoolResult PoolTargetResources(const std::string& targPath, LoadedLevel& level, Host& host,
                               const PoolOptions& options = {});

}  // namespace corvane
