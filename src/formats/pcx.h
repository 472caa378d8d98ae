#pragma once
// The palette of a 256-colour PCX picture, such as the base game's
// pics/colormap.pcx, which colours the .wal textures.

#include <cstddef>
#include <string>
#include <string_view>

#include "formats/picture.h"

namespace corvane {

inline constexpr std::size_t kPcxHeaderSize = 128;
// The largest PCX read from disk for its palette.
inline constexpr std::size_t kMaxPcxFileBytes = std::size_t{64} << 20;

struct PaletteRead {
    Palette palette;
    std::string error;  // empty when read; otherwise the reason
};

// The palette of a 256-colour PCX: its last 768 bytes, which follow the
// marker byte 0x0C. The header must say so too (first byte 0x0A, 8 bits a
// pixel, one plane). A file without the marker is an error rather than a
// guess: its last bytes would be picture data, and every texture would show
// in wrong colours without a word.
PaletteRead ReadPcxPalette(std::string_view data);

// ReadPcxPalette over the file at `path` (at most kMaxPcxFileBytes).
PaletteRead ReadPcxPaletteFile(const std::string& path);

}  // namespace corvane
