#pragma once
// Pooling: the resources of every level in a target's "maps" folder as one set.

#include <functional>
#include <string>
#include <vector>

#include "map/loaded_level.h"
#include "transfer/host.h"

namespace corvane {

enum class PoolResult { NoLevels, OneLevel, Declined, Pooled };

// How far the lists had grown when a level had been loaded.
struct PooledLoad {
    std::size_t textures = 0;
    std::size_t sounds = 0;
};

struct PoolOptions {
    bool confirm = true;                 // ask "Group All Resources?" first
    std::function<void()> onConfirmed;   // runs once the user has agreed, before any load
    std::function<void()> onLevelLoaded; // runs after each level that loaded (the view switch)
    // Runs when an error ends the pooling, before it goes on: the lists still
    // hold the names in the order the loads added them, and `loads` tells
    // where each loaded level's names end.
    std::function<void(const std::vector<PooledLoad>& loads)> onStopped;
};

// The level files that pooling reads: the regular files matching "*.map" in
// `targPath`/maps, in ascending byte order.
std::vector<std::string> PoolLevelFiles(const std::string& targPath);

// Loads every level of `targPath`/maps into `level`, whose lists gather the
// union of their textures and sounds, sorted and each name once. A level that
// cannot be read asks "Can't open file!". Fewer than two levels, or a No to
// the confirmation, change nothing. An error that ends the pooling leaves the
// lists sorted as the last load's scan would have.
PoolResult PoolTargetResources(const std::string& targPath, LoadedLevel& level, Host& host,
                               const PoolOptions& options = {});

}  // namespace corvane
