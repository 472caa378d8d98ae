#pragma once
// Builds the game's binary files for tests: textures (.wal), models (.md2),
// compiled levels (.bsp) and 256-colour pictures (.pcx). Each is small and
// well formed, so that a test can damage one field at a time with PutU32.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::test {

// Writes a little-endian 32-bit value at `offset` of a built file.
void PutU32(std::string& file, std::size_t offset, std::uint32_t value);

// One way to damage a built file, and the error a reader gives for it.
struct Damage {
    std::function<void(std::string& file)> apply;
    std::string error;
};

// A copy of `file` with the damage done to it.
std::string Damaged(std::string file, const Damage& damage);

// A .wal: the header, the picture, then its three smaller levels. Names of
// 32 bytes or more fill their field without a NUL; `pixels` holds width *
// height palette indices, row by row, and "" stands for index = position % 256.
std::string MakeWal(std::string_view name, std::string_view animName = {}, std::uint32_t width = 4,
                    std::uint32_t height = 4, std::string_view pixels = {});

// An .md2 of the given skins (64 bytes each, right after the header) and
// nothing else.
std::string MakeMd2(const std::vector<std::string>& skins);

// A .bsp whose entity lump holds `entities` and a closing NUL, whose texture
// info lump holds one entry per name, and whose other lumps are empty.
std::string MakeBsp(std::string_view entities, const std::vector<std::string>& textures);

// A 256-colour PCX of one pixel with the given 768-byte palette.
std::string MakePcx(std::string_view palette);

}  // namespace corvane::test
