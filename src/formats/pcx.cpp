#include "formats/pcx.h"

#include <algorithm>

#include "formats/read_file.h"

namespace corvane {

namespace {

constexpr unsigned char kPcxMagic = 0x0A;
constexpr unsigned char kPaletteMarker = 0x0C;
constexpr std::size_t kPaletteBytes = sizeof(Palette::rgb);

}  // namespace

PaletteRead ReadPcxPalette(std::string_view data)
{
    PaletteRead result;
    if (data.size() < kPcxHeaderSize) {
        result.error = "truncated header";
        return result;
    }
    if (static_cast<unsigned char>(data[0]) != kPcxMagic) {
        result.error = "bad magic";
        return result;
    }
    const int bitsPerPixel = static_cast<unsigned char>(data[3]);
    const int planes = static_cast<unsigned char>(data[65]);
    if (bitsPerPixel != 8 || planes != 1) {
        result.error = "not a 256-colour picture (" + std::to_string(bitsPerPixel) + " bits, " +
                       std::to_string(planes) + " planes)";
        return result;
    }
    if (data.size() < kPcxHeaderSize + 1 + kPaletteBytes) {
        result.error = "too short to hold a palette";
        return result;
    }
    const std::string_view tail = data.substr(data.size() - kPaletteBytes - 1);
    if (static_cast<unsigned char>(tail[0]) != kPaletteMarker) {
        result.error = "no palette marker before the last 768 bytes";
        return result;
    }
    std::transform(tail.begin() + 1, tail.end(), result.palette.rgb.begin(),
                   [](char c) { return static_cast<std::uint8_t>(c); });
    return result;
}

PaletteRead ReadPcxPaletteFile(const std::string& path)
{
    return ParseRead<PaletteRead>(ReadFileCapped(path, kMaxPcxFileBytes), ReadPcxPalette);
}

}  // namespace corvane
