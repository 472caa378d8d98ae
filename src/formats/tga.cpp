#include "formats/tga.h"

#include <array>
#include <vector>

#include "formats/bytes.h"
#include "formats/read_file.h"

namespace corvane {

namespace {

enum TgaType : int { kColourMapped = 1, kTrueColour = 2, kGrey = 3, kRle = 8 };

unsigned U8(std::string_view data, std::size_t offset)
{
    return static_cast<unsigned char>(data[offset]);
}

unsigned U16(std::string_view data, std::size_t offset)
{
    return U8(data, offset) | U8(data, offset + 1) << 8;
}

using Rgba = std::array<std::uint8_t, 4>;

// One stored colour of `bytes` bytes (2, 3 or 4) as RGBA. Two bytes hold
// five bits of each channel, blue lowest; their top bit is not alpha in the
// files the game's tools write, so the colour is opaque.
Rgba ColourOf(const unsigned char* p, unsigned bytes)
{
    if (bytes == 2) {
        const unsigned v = p[0] | p[1] << 8;
        const auto five = [](unsigned c) { return static_cast<std::uint8_t>((c << 3) | (c >> 2)); };
        return {five((v >> 10) & 31), five((v >> 5) & 31), five(v & 31), 255};
    }
    return {p[2], p[1], p[0], bytes == 4 ? p[3] : std::uint8_t{255}};
}

// Reads the stored pixels one after another, plain or run-length encoded.
class PixelReader {
public:
    PixelReader(std::string_view data, std::size_t at, unsigned bytes, bool rle)
        : data_(data), at_(at), bytes_(bytes), rle_(rle)
    {
    }
    // The next stored pixel's bytes; null when the file ends first.
    const unsigned char* next()
    {
        if (rle_ && left_ == 0) {
            if (at_ >= data_.size())
                return nullptr;
            const unsigned packet = U8(data_, at_++);
            left_ = (packet & 0x7f) + 1;
            repeat_ = (packet & 0x80) != 0;
            fresh_ = true;
        }
        if (rle_)
            --left_;
        if (!rle_ || !repeat_ || fresh_) {
            if (!bytes::Fits(at_, bytes_, data_.size()))
                return nullptr;
            current_ = reinterpret_cast<const unsigned char*>(data_.data() + at_);
            at_ += bytes_;
            fresh_ = false;
        }
        return current_;
    }

private:
    std::string_view data_;
    std::size_t at_;
    unsigned bytes_;
    bool rle_;
    unsigned left_ = 0;
    bool repeat_ = false;
    bool fresh_ = false;
    const unsigned char* current_ = nullptr;
};

Picture Failed(std::string error)
{
    Picture picture;
    picture.error = std::move(error);
    return picture;
}

}  // namespace

Picture DecodeTgaPicture(std::string_view data)
{
    if (data.size() < kTgaHeaderSize)
        return Failed("truncated header");
    const unsigned idLength = U8(data, 0);
    const unsigned mapType = U8(data, 1);
    const unsigned type = U8(data, 2);
    const unsigned mapFirst = U16(data, 3);
    const unsigned mapLength = U16(data, 5);
    const unsigned mapDepth = U8(data, 7);
    const unsigned width = U16(data, 12);
    const unsigned height = U16(data, 14);
    const unsigned depth = U8(data, 16);
    const unsigned descriptor = U8(data, 17);

    const unsigned kind = type & ~unsigned{kRle};
    const bool rle = (type & kRle) != 0;
    const bool supported = (kind == kColourMapped && depth == 8 && mapType == 1) ||
                           (kind == kTrueColour && (depth == 16 || depth == 24 || depth == 32)) ||
                           (kind == kGrey && (depth == 8 || depth == 16));
    if (type > 11 || !supported)
        return Failed("unsupported picture (type " + std::to_string(type) + ", " + std::to_string(depth) + " bits)");
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    if (width == 0 || height == 0)
        return Failed("empty picture (" + size + ")");
    if (width > kMaxTgaSide || height > kMaxTgaSide)
        return Failed("picture of " + size + " pixels is larger than " + std::to_string(kMaxTgaSide) + "x" +
                      std::to_string(kMaxTgaSide));

    // The colour map, which a picture of another kind may carry and not use.
    std::size_t at = kTgaHeaderSize + idLength;
    std::vector<Rgba> map;
    if (mapType == 1) {
        if (mapDepth != 15 && mapDepth != 16 && mapDepth != 24 && mapDepth != 32)
            return Failed("unsupported colour map of " + std::to_string(mapDepth) + " bits");
        const unsigned entry = (mapDepth + 7) / 8;
        if (!bytes::Fits(at, std::uint64_t{mapLength} * entry, data.size()))
            return Failed("colour map beyond the end of the file");
        if (kind == kColourMapped) {
            map.resize(mapLength);
            for (unsigned i = 0; i < mapLength; ++i)
                map[i] = ColourOf(reinterpret_cast<const unsigned char*>(data.data() + at + i * entry), entry);
        }
        at += std::size_t{mapLength} * entry;
    }

    // Before anything is allocated: the file must hold the pixels, or at
    // least the run-length packets (128 pixels at most each) that could.
    const std::uint64_t pixelCount = std::uint64_t{width} * height;
    const unsigned pixelBytes = depth / 8;
    const std::uint64_t least = rle ? (pixelCount + 127) / 128 * (1 + pixelBytes) : pixelCount * pixelBytes;
    if (!bytes::Fits(at, least, data.size()))
        return Failed("pixels of " + size + " lie beyond the end of the file");

    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.rgba.resize(std::size_t{width} * height * 4);
    const bool fromTop = (descriptor & 0x20) != 0;
    const bool fromRight = (descriptor & 0x10) != 0;
    PixelReader pixels(data, at, pixelBytes, rle);
    for (unsigned row = 0; row < height; ++row) {
        const unsigned y = fromTop ? row : height - 1 - row;
        for (unsigned column = 0; column < width; ++column) {
            const unsigned char* p = pixels.next();
            if (!p)
                return Failed("pixels of " + size + " lie beyond the end of the file");
            Rgba colour;
            if (kind == kColourMapped) {
                if (p[0] < mapFirst || p[0] - mapFirst >= map.size())
                    return Failed("colour index " + std::to_string(p[0]) + " lies outside the colour map");
                colour = map[p[0] - mapFirst];
            } else if (kind == kGrey) {
                colour = {p[0], p[0], p[0], depth == 16 ? p[1] : std::uint8_t{255}};
            } else {
                colour = ColourOf(p, pixelBytes);
            }
            const unsigned x = fromRight ? width - 1 - column : column;
            std::copy(colour.begin(), colour.end(), picture.rgba.begin() + (std::size_t{y} * width + x) * 4);
        }
    }
    return picture;
}

Picture DecodeTgaFile(const std::string& path)
{
    return ParseRead<Picture>(ReadFileCapped(path, kMaxTgaFileBytes), DecodeTgaPicture);
}

}  // namespace corvane
