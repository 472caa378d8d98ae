#pragma once
// Texture files (.wal): a 100-byte little-endian header, then the picture at
// four sizes, one byte a pixel, each byte an index into the game's palette.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "formats/picture.h"

namespace corvane {

inline constexpr std::size_t kWalHeaderSize = 100;
inline constexpr std::size_t kWalNameSize = 32;

// The largest width or height decoded. The game's own textures are at most a
// few hundred pixels a side; 8192 leaves room for any port's high-resolution
// replacements while bounding a decoded picture at 256 MiB.
inline constexpr std::uint32_t kMaxWalSide = 8192;

// The largest .wal read from disk: the largest picture with its three smaller
// levels (85 MiB) fits with room to spare.
inline constexpr std::size_t kMaxWalFileBytes = std::size_t{128} << 20;

struct WalHeader {
    std::string name;  // name[32] at 0, up to its first NUL
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::array<std::uint32_t, 4> mipOffsets{};  // where each level's pixels start, from the file's start
    // The next frame of the texture's animation: a name below textures/ without
    // extension (animname[32] at 56), up to its first NUL; all 32 bytes when
    // the field has no NUL; empty when the texture is not animated.
    std::string animName;
    std::uint32_t flags = 0;
    std::uint32_t contents = 0;
    std::uint32_t value = 0;
};

struct WalHeaderRead {
    WalHeader header;
    std::string error;  // empty when read; otherwise the reason ("truncated header")
};

// The header of a .wal file. The names are the file's bytes: whoever turns
// one into a path applies the same safety rules as to every other name.
WalHeaderRead ParseWalHeader(std::string_view data);

// The header of the .wal file at `path`, reading its first 100 bytes only.
WalHeaderRead ReadWalHeaderFile(const std::string& path);

// The first (largest) level of a .wal picture in RGBA: each index becomes its
// palette colour, or a grey of that level (index 0 black, 255 white) when no
// palette is given. Every pixel is opaque. Errors: a damaged header, a width
// or height of 0 or above kMaxWalSide, pixels that begin inside the header
// or end beyond the file. The smaller levels are not looked at.
Picture DecodeWalPicture(std::string_view data, const Palette* palette = nullptr);

// DecodeWalPicture over the file at `path` (at most kMaxWalFileBytes).
Picture DecodeWalFile(const std::string& path, const Palette* palette = nullptr);

}  // namespace corvane
