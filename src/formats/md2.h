#pragma once
// The skins an .md2 model names: the pictures the game loads with it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr std::size_t kMd2HeaderSize = 68;  // 17 four-byte fields
inline constexpr std::size_t kMd2SkinNameSize = 64;
// The most skins read. Models carry a handful; every skin is a file to ship,
// so a count in the hundreds says the header is damaged.
inline constexpr int kMaxMd2Skins = 256;
// The largest .md2 read from disk.
inline constexpr std::size_t kMaxMd2FileBytes = std::size_t{64} << 20;

struct Md2Skins {
    // The skin names, each once, in the order of the file: paths below the
    // game folder as the model writes them, up to each field's first NUL (all
    // 64 bytes when it has none). Empty fields are left out.
    std::vector<std::string> skins;
    std::string error;  // empty when read; otherwise the reason, and no skins
};

// The skins of an .md2 (magic "IDP2", version 8; num_skins at 20, ofs_skins at
// 44). The skins must lie in the file after the header, and there may be at
// most kMaxMd2Skins. The names are the file's bytes: whoever turns one into a
// path applies the same safety rules as to every other name.
Md2Skins ReadMd2Skins(std::string_view data);

// ReadMd2Skins over the file at `path` (at most kMaxMd2FileBytes).
Md2Skins ReadMd2SkinsFile(const std::string& path);

}  // namespace corvane
