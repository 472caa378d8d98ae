#include "formats/wal.h"

#include "formats/bytes.h"
#include "formats/read_file.h"

namespace corvane {

using bytes::U32At;

WalHeaderRead ParseWalHeader(std::string_view data)
{
    WalHeaderRead result;
    if (data.size() < kWalHeaderSize) {
        result.error = "truncated header";
        return result;
    }
    WalHeader& header = result.header;
    header.name = bytes::NameAt(data, 0, kWalNameSize);
    header.width = U32At(data, 32);
    header.height = U32At(data, 36);
    for (std::size_t level = 0; level < header.mipOffsets.size(); ++level)
        header.mipOffsets[level] = U32At(data, 40 + 4 * level);
    header.animName = bytes::NameAt(data, 56, kWalNameSize);
    header.flags = U32At(data, 88);
    header.contents = U32At(data, 92);
    header.value = U32At(data, 96);
    return result;
}

WalHeaderRead ReadWalHeaderFile(const std::string& path)
{
    return ParseRead<WalHeaderRead>(ReadFileHead(path, kWalHeaderSize), ParseWalHeader);
}

Picture DecodeWalPicture(std::string_view data, const Palette* palette)
{
    Picture picture;
    const WalHeaderRead read = ParseWalHeader(data);
    if (!read.error.empty()) {
        picture.error = read.error;
        return picture;
    }
    const WalHeader& header = read.header;
    const std::string size = std::to_string(header.width) + "x" + std::to_string(header.height);
    if (header.width == 0 || header.height == 0) {
        picture.error = "empty picture (" + size + ")";
        return picture;
    }
    if (header.width > kMaxWalSide || header.height > kMaxWalSide) {
        picture.error = "picture of " + size + " pixels is larger than " + std::to_string(kMaxWalSide) + "x" +
                        std::to_string(kMaxWalSide);
        return picture;
    }
    // Both sides are at most 8192, so the count fits in 26 bits.
    const std::size_t pixels = std::size_t{header.width} * header.height;
    const std::uint32_t start = header.mipOffsets[0];
    if (start < kWalHeaderSize) {
        picture.error = "pixels begin inside the header";
        return picture;
    }
    if (!bytes::Fits(start, pixels, data.size())) {
        picture.error = "pixels of " + size + " lie beyond the end of the file";
        return picture;
    }
    picture.width = header.width;
    picture.height = header.height;
    picture.rgba.resize(pixels * 4);
    std::uint8_t* out = picture.rgba.data();
    for (std::size_t i = 0; i < pixels; ++i, out += 4) {
        const auto index = static_cast<std::uint8_t>(data[start + i]);
        if (palette) {
            out[0] = palette->rgb[3 * index];
            out[1] = palette->rgb[3 * index + 1];
            out[2] = palette->rgb[3 * index + 2];
        } else {
            out[0] = out[1] = out[2] = index;
        }
        out[3] = 255;
    }
    return picture;
}

Picture DecodeWalFile(const std::string& path, const Palette* palette)
{
    return ParseRead<Picture>(ReadFileCapped(path, kMaxWalFileBytes),
                              [palette](std::string_view data) { return DecodeWalPicture(data, palette); });
}

}  // namespace corvane
