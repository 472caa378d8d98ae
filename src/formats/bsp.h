#pragma once
// What a compiled level (.bsp, idTech2: "IBSP" version 38) holds that the
// transfer compares with its source: the entity text and the texture names.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr int kBspLumpCount = 19;
inline constexpr std::size_t kBspHeaderSize = 8 + 8 * kBspLumpCount;
inline constexpr std::size_t kBspTexInfoSize = 76;
inline constexpr std::size_t kBspTextureNameSize = 32;
// The largest .bsp read from disk.
inline constexpr std::size_t kMaxBspFileBytes = std::size_t{256} << 20;

struct BspContents {
    // The entity text (lump 0) up to its first NUL.
    std::string entities;
    // The texture names of the texture infos (lump 5), each once (compared
    // byte for byte), in the order they first appear; up to each field's first
    // NUL (all 32 bytes when it has none). Empty names are left out.
    std::vector<std::string> textures;
    std::string error;  // empty when read; otherwise the reason, and nothing else
};

// Reads a compiled level. Every one of the 19 lumps must have a non-negative
// offset and length and lie in the file, and none may overlap the header, so
// that a truncated or damaged file is reported as such ("lump 5 lies beyond
// the end of the file") even where the lump is not one that is read. The
// texture info lump must hold whole entries of 76 bytes.
BspContents ReadBsp(std::string_view data);

// ReadBsp over the file at `path` (at most kMaxBspFileBytes).
BspContents ReadBspFile(const std::string& path);

// The names sorted by byte value, each once.
std::vector<std::string> SortedNames(std::vector<std::string> names);

}  // namespace corvane
