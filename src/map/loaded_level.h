#pragma once
// The level the user is working on, and what the main window shows of it.

#include <string>
#include <vector>

#include "map/level_lines.h"
#include "map/resource_list.h"

namespace corvane {

// The main window's mode.
enum MainMode : int {
    ModeIdle = 0,
    ModeMapLoaded = 1,
    ModeTransferred = 2,
    ModePreview = 4,
    ModeChoosePellark = 8,
};

struct LoadedLevel {
    LevelLines MapLines;        // the level file's lines, in file order, as read
    ResourceList TextureList;   // custom textures as named in the level, + ".wal"
    ResourceList SoundList;     // custom sounds exactly as quoted in the level
    std::string CurrentMapPath; // the level file loaded in ModeMapLoaded

    // What the main window shows: the two list boxes with their counts, and
    // the sky label. The scans only ever append to the list boxes.
    std::vector<std::string> listWals;
    std::vector<std::string> listWavs;
    std::string lblWalCount;
    std::string lblWavCount;
    std::string lblSky;
};

// Empties the level's lines, both resource lists and both list boxes, as every
// command that begins a new level does first.
void EmptyLoadedLevel(LoadedLevel& level);

}  // namespace corvane
