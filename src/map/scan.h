#pragma once
// The texture and sound scans: what custom resources a level's lines name.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "map/loaded_level.h"

namespace corvane {

inline constexpr std::size_t kNoPosition = std::string_view::npos;

// Positions are 0-based indices into the line.
// The first character of the token that holds `pos`: the walk starts at the
// character before `pos` and goes towards the start of the line until it meets
// the delimiter; the result is the position just after it. kNoPosition when no
// delimiter stands before `pos`.
std::size_t FindTokenStart(std::string_view line, std::size_t pos, char delimiter);

// The end of the token that begins at `pos`: the walk starts at the character
// after `pos` and goes towards the end of the line; the result is the position
// of the delimiter it meets. kNoPosition when none follows.
std::size_t FindTokenEnd(std::string_view line, std::size_t pos, char delimiter);

// True for a texture name in one of the game's own texture folders: its first
// four characters are e1u1..e1u4, e2u1..e2u3 or e3u1..e3u3 (case-sensitive).
bool IsStockTexture(std::string_view name);

// True for a sound name in the game's own folder: its first five characters
// are "world" (case-sensitive).
bool IsStockSound(std::string_view name);

inline constexpr const char* kListIndexOutOfBounds = "List index out of bounds";

// Adds every custom texture of the level's lines to TextureList and sorts it;
// the names in the game's own folders go to StockTextures, sorted likewise.
// Face lines are looked for from the first line after line 0 that holds a
// "{". Throws Error ("List index out of bounds") when there is no such line;
// nothing changes then.
void ScanTextures(LoadedLevel& level);

// Adds every custom sound named on a line that holds "noise" to SoundList and
// sorts it; the game's own go to StockSounds, sorted likewise.
void ScanSounds(LoadedLevel& level);

// The first half of each scan: the names are added to the list, which is
// left unsorted. Whoever loads many levels in a row sorts once at the end;
// the result is the same.
void CollectTextures(LoadedLevel& level);
void CollectSounds(LoadedLevel& level);

// ScanTextures and then ScanSounds (and their first halves), in one pass over
// the lines: a level far bigger than the processor's caches is then brought
// in from memory once instead of twice. When the texture scan throws, no
// sound has been added.
void ScanTexturesAndSounds(LoadedLevel& level);
void CollectTexturesAndSounds(LoadedLevel& level);

}  // namespace corvane
