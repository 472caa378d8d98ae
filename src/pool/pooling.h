#pragma once
// Pooling: the resources of every level in a target's "maps" folder as one set.

#include <functional>
#include <string>
#include <vector>

#include "map/loaded_level.h"
#include "transfer/host.h"

namespace corvane {

enum class PoolResult { NoLevels, OneLevel, Declined, Pooled };

struct PoolOptions {
    bool confirm = true;                 // ask "Group All Resources?" first
    std::function<void()> onConfirmed;   // runs once the user has agreed, before any load
    std::function<void()> onLevelLoaded; // runs after each level that loaded (the view switch)
};

// A level that pooling left out, and why: "no brush" for a level without
// one (an empty file, say), or the reason its file could not be read.
struct SkippedLevel {
    std::string path;
    std::string reason;

    bool operator==(const SkippedLevel&) const = default;
};

// "Skipped PATH: REASON".
std::string SkippedLevelText(const SkippedLevel& skipped);

struct PoolReport {
    PoolResult result = PoolResult::Pooled;
    std::vector<SkippedLevel> skipped;  // in the order of the levels
};

// The level files that pooling reads: the regular files matching "*.map" in
// `targPath`/maps, in ascending byte order.
std::vector<std::string> PoolLevelFiles(const std::string& targPath);

// Loads every level of `targPath`/maps into `level`, whose lists gather the
// union of their textures and sounds, sorted and each name once. A level that
// cannot be read asks "Can't open file!". A level without a brush, and one
// given up after a failed read, add nothing and are skipped: the others are
// pooled all the same, and the report names the skipped ones. Fewer than two
// levels, or a No to the confirmation, change nothing.
PoolReport PoolTargetResources(const std::string& targPath, LoadedLevel& level, Host& host,
                               const PoolOptions& options = {});

}  // namespace corvane
