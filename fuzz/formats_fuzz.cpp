// Fuzz target: the same bytes as a texture (its header and its picture, in
// greys and through a palette), as a model's skins, as a palette picture and
// as a Targa picture.
// Such files come from other people, so any bytes must give a result or an
// error, never a read outside the input or a picture of another size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "formats/bytes.h"
#include "formats/md2.h"
#include "formats/pcx.h"
#include "formats/tga.h"
#include "formats/wal.h"

namespace {

using namespace corvane;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// A name of a fixed field: no NUL, no longer than the field, the field's own bytes.
void CheckName(const std::string& name, std::string_view input, std::size_t offset, std::size_t width)
{
    Check(name.size() <= width && name.find('\0') == std::string::npos);
    Check(input.substr(offset, name.size()) == name);
}

void CheckPicture(const Picture& picture, std::string_view input, const Palette* palette)
{
    if (!picture.error.empty()) {
        Check(picture.rgba.empty() && picture.width == 0 && picture.height == 0);
        return;
    }
    Check(picture.width >= 1 && picture.width <= kMaxWalSide);
    Check(picture.height >= 1 && picture.height <= kMaxWalSide);
    const std::size_t pixels = std::size_t{picture.width} * picture.height;
    Check(picture.rgba.size() == pixels * 4);
    const std::size_t start = bytes::U32At(input, 40);
    Check(start >= kWalHeaderSize && start + pixels <= input.size());
    for (std::size_t i = 0; i < pixels; ++i) {
        const auto index = static_cast<std::uint8_t>(input[start + i]);
        const std::uint8_t* pixel = &picture.rgba[4 * i];
        for (std::size_t channel = 0; channel < 3; ++channel)
            Check(pixel[channel] == (palette ? palette->rgb[3 * index + channel] : index));
        Check(pixel[3] == 255);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const WalHeaderRead wal = ParseWalHeader(input);
    Check(wal.error.empty() == (size >= kWalHeaderSize));
    if (wal.error.empty()) {
        CheckName(wal.header.name, input, 0, kWalNameSize);
        CheckName(wal.header.animName, input, 56, kWalNameSize);
    }
    CheckPicture(DecodeWalPicture(input), input, nullptr);
    Palette palette;
    for (std::size_t i = 0; i < palette.rgb.size() && size > 0; ++i)
        palette.rgb[i] = data[(i * 7) % size];
    CheckPicture(DecodeWalPicture(input, &palette), input, &palette);

    const Md2Skins md2 = ReadMd2Skins(input);
    if (!md2.error.empty()) {
        Check(md2.skins.empty());
    } else {
        Check(md2.skins.size() <= static_cast<std::size_t>(kMaxMd2Skins));
        for (std::size_t i = 0; i < md2.skins.size(); ++i) {
            const std::string& skin = md2.skins[i];
            Check(!skin.empty() && skin.size() <= kMd2SkinNameSize && skin.find('\0') == std::string::npos);
            Check(input.find(skin, kMd2HeaderSize) != std::string_view::npos);
            for (std::size_t j = 0; j < i; ++j)
                Check(md2.skins[j] != skin);
        }
    }

    // A Targa picture has the size its header gives, and every pixel.
    const Picture tga = DecodeTgaPicture(input);
    if (!tga.error.empty()) {
        Check(tga.rgba.empty() && tga.width == 0 && tga.height == 0);
    } else {
        const auto u16 = [&](std::size_t at) { return std::uint32_t{data[at]} | std::uint32_t{data[at + 1]} << 8; };
        Check(size >= kTgaHeaderSize && tga.width == u16(12) && tga.height == u16(14));
        Check(tga.width >= 1 && tga.width <= kMaxTgaSide && tga.height >= 1 && tga.height <= kMaxTgaSide);
        Check(tga.rgba.size() == std::size_t{tga.width} * tga.height * 4);
    }

    const PaletteRead pcx = ReadPcxPalette(input);
    if (pcx.error.empty()) {
        Check(size >= kPcxHeaderSize + 769 && data[size - 769] == 0x0C);
        Check(std::string_view(reinterpret_cast<const char*>(pcx.palette.rgb.data()), 768) == input.substr(size - 768));
    }
    return 0;
}
