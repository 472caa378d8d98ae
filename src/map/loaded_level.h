#pragma once
// The level the user is working on: its lines and its custom resources.

#include <string>

#include "map/level_lines.h"
#include "map/resource_list.h"

namespace corvane {

struct LoadedLevel {
    LevelLines MapLines;        // the level file's lines, in file order, as read
    ResourceList TextureList;   // custom textures as named in the level, + ".wal"
    ResourceList SoundList;     // custom sounds exactly as quoted in the level
    ResourceList StockTextures; // the textures in the game's own folders, as TextureList names them
    ResourceList StockSounds;   // the game's own sounds, as SoundList names them
    std::string CurrentMapPath; // the level file the user loaded
};

// Empties the level's lines and its resource lists, as every command that
// begins a new level does first.
void EmptyLoadedLevel(LoadedLevel& level);

}  // namespace corvane
