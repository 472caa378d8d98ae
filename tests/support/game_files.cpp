#include "support/game_files.h"

#include <algorithm>

namespace corvane::test {

namespace {

// Appends a fixed-size field: the text, cut or padded with NULs to `width`.
void AppendField(std::string& file, std::string_view text, std::size_t width)
{
    file.append(text.substr(0, width));
    file.append(width - std::min(width, text.size()), '\0');
}

void AppendU32(std::string& file, std::uint32_t value)
{
    file.append(4, '\0');
    PutU32(file, file.size() - 4, value);
}

}  // namespace

void PutU32(std::string& file, std::size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        file[offset + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

std::string Damaged(std::string file, const Damage& damage)
{
    damage.apply(file);
    return file;
}

std::string MakeWal(std::string_view name, std::string_view animName, std::uint32_t width, std::uint32_t height,
                    std::string_view pixels)
{
    std::string levels[4];
    std::uint32_t w = width;
    std::uint32_t h = height;
    for (std::size_t i = 0; i < std::size_t{w} * h; ++i)
        levels[0] += pixels.empty() ? static_cast<char>(i % 256) : pixels[i];
    // Each smaller level keeps every second pixel of every second row.
    for (int level = 1; level < 4; ++level) {
        const std::uint32_t smallW = std::max(1u, w / 2);
        const std::uint32_t smallH = std::max(1u, h / 2);
        for (std::uint32_t y = 0; y < smallH; ++y) {
            for (std::uint32_t x = 0; x < smallW; ++x)
                levels[level] += levels[level - 1][std::min(2 * y, h - 1) * w + std::min(2 * x, w - 1)];
        }
        w = smallW;
        h = smallH;
    }
    std::string file;
    AppendField(file, name, 32);
    AppendU32(file, width);
    AppendU32(file, height);
    std::uint32_t offset = 100;
    for (const std::string& level : levels) {
        AppendU32(file, offset);
        offset += static_cast<std::uint32_t>(level.size());
    }
    AppendField(file, animName, 32);
    for (int field = 0; field < 3; ++field)
        AppendU32(file, 0);  // flags, contents, value
    for (const std::string& level : levels)
        file += level;
    return file;
}

std::string MakeMd2(const std::vector<std::string>& skins)
{
    constexpr std::uint32_t kHeader = 68;
    const auto end = static_cast<std::uint32_t>(kHeader + 64 * skins.size());
    std::string file = "IDP2";
    // version, skin width and height, frame size, then the counts of skins, vertices,
    // texture coordinates, triangles, GL commands and frames.
    for (const std::uint32_t field : {8u, 64u, 64u, 0u, static_cast<std::uint32_t>(skins.size()), 0u, 0u, 0u, 0u, 0u})
        AppendU32(file, field);
    // The offsets of the skins, then of the empty parts, and the end.
    AppendU32(file, kHeader);
    for (int part = 0; part < 5; ++part)
        AppendU32(file, end);
    for (const std::string& skin : skins)
        AppendField(file, skin, 64);
    return file;
}

std::string MakeBsp(std::string_view entities, const std::vector<std::string>& textures)
{
    constexpr std::uint32_t kHeader = 8 + 19 * 8;
    const auto entityLength = static_cast<std::uint32_t>(entities.size() + 1);
    const auto texInfoLength = static_cast<std::uint32_t>(76 * textures.size());
    const std::uint32_t end = kHeader + entityLength + texInfoLength;
    std::string file = "IBSP";
    AppendU32(file, 38);
    for (int lump = 0; lump < 19; ++lump) {
        AppendU32(file, lump == 0 ? kHeader : lump == 5 ? kHeader + entityLength : end);
        AppendU32(file, lump == 0 ? entityLength : lump == 5 ? texInfoLength : 0);
    }
    file.append(entities);
    file += '\0';
    for (const std::string& texture : textures) {
        file.append(40, '\0');  // the texture axes, flags and value
        AppendField(file, texture, 32);
        AppendU32(file, 0xFFFFFFFF);  // no next frame
    }
    return file;
}

std::string MakePcx(std::string_view palette)
{
    std::string file(128, '\0');
    file[0] = 0x0A;  // magic
    file[1] = 5;     // version
    file[2] = 1;     // run-length encoded
    file[3] = 8;     // bits a pixel
    file[65] = 1;    // planes
    file[66] = 2;    // bytes a line (even)
    file[68] = 1;    // a colour palette
    file.append(2, '\0');  // the one pixel and its padding, each a literal byte
    file += '\x0C';
    AppendField(file, palette, 768);
    return file;
}

}  // namespace corvane::test
