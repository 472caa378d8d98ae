#pragma once
// Targa pictures (.tga), which ports of the game load in place of a .wal and
// which hold the sky's faces: an 18-byte little-endian header, an optional
// identification field and colour map, then the pixels, plain or run-length
// encoded. The footer of the format's second version is not needed (most
// files written for the game have none).

#include <cstdint>
#include <string>
#include <string_view>

#include "formats/picture.h"

namespace corvane {

inline constexpr std::size_t kTgaHeaderSize = 18;
// The largest width or height decoded, as for the .wal textures.
inline constexpr std::uint32_t kMaxTgaSide = 8192;
// The largest .tga read from disk: the largest picture at four bytes a pixel.
inline constexpr std::size_t kMaxTgaFileBytes = std::size_t{256} << 20;

// The picture in RGBA, top row first. Reads colour-mapped (8-bit indices into
// a map of 15-, 16-, 24- or 32-bit colours), true-colour (16, 24 or 32 bits,
// the last with its alpha) and grey pictures (8 bits, or 16 with alpha), each
// plain or run-length encoded, stored from the top or the bottom row and from
// the left or the right. Errors: a truncated header, an image type or depth
// other than these, a width or height of 0 or above kMaxTgaSide, a colour map
// or pixels that end beyond the file, an index outside the colour map.
Picture DecodeTgaPicture(std::string_view data);

// DecodeTgaPicture over the file at `path` (at most kMaxTgaFileBytes).
Picture DecodeTgaFile(const std::string& path);

}  // namespace corvane
