#pragma once
// Loading a level file into the LoadedLevel.

#include <functional>
#include <string>

#include "map/loaded_level.h"

namespace corvane {

// What to do when the level file cannot be read: give up, read again, or go
// on with the lines held before.
enum class ReadFailureAnswer { Abort, Retry, Ignore };
using ReadFailureHandler = std::function<ReadFailureAnswer(const std::string& reason)>;

// Whether the scans sort the lists (as one level's load does) or only add
// the level's names to them (see CollectTextures), for whoever loads many
// levels in a row and sorts once at the end.
enum class LoadLists { Scan, Collect };

struct LevelLoad {
    bool scanned = false;   // the lines were scanned
    std::string readError;  // the reason of the last failed read, if any
};

// Reads the level file into MapLines and scans it for textures and sounds.
// A read that fails asks `onReadFailure` with the reason: Retry reads again,
// Abort gives up (nothing is scanned), Ignore scans the lines held before. A
// scan failure is thrown (see ScanTextures).
LevelLoad LoadMapFile(const std::string& path, LoadedLevel& level, const ReadFailureHandler& onReadFailure,
                      LoadLists lists = LoadLists::Scan);

}  // namespace corvane
