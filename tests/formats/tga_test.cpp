// Targa pictures of each kind the game's tools write, and damaged ones.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "formats/tga.h"

namespace corvane {
namespace {

struct Header {
    int type = 2;
    int depth = 24;
    int width = 2;
    int height = 2;
    int descriptor = 0;  // bit 5: the top row first; bit 4: right to left
    std::string map;     // the colour map's bytes
    int mapFirst = 0;
    int mapLength = 0;
    int mapDepth = 0;
    std::string id;
};

std::string Le16(int value)
{
    return {static_cast<char>(value & 0xff), static_cast<char>((value >> 8) & 0xff)};
}

std::string Tga(const Header& h, const std::string& pixels)
{
    std::string file;
    file += static_cast<char>(h.id.size());
    file += static_cast<char>(h.map.empty() ? 0 : 1);
    file += static_cast<char>(h.type);
    file += Le16(h.mapFirst) + Le16(h.mapLength) + static_cast<char>(h.mapDepth);
    file += Le16(0) + Le16(0) + Le16(h.width) + Le16(h.height);
    file += static_cast<char>(h.depth);
    file += static_cast<char>(h.descriptor);
    return file + h.id + h.map + pixels;
}

// Pixel bytes of the stored order (blue, green, red, and alpha).
std::string Bgr(int r, int g, int b)
{
    return {static_cast<char>(b), static_cast<char>(g), static_cast<char>(r)};
}

using Rgba = std::array<int, 4>;

Rgba At(const Picture& picture, int x, int y)
{
    const std::size_t i = (std::size_t(y) * picture.width + x) * 4;
    return {picture.rgba[i], picture.rgba[i + 1], picture.rgba[i + 2], picture.rgba[i + 3]};
}

const std::string kRed = Bgr(200, 0, 0), kGreen = Bgr(0, 200, 0), kBlue = Bgr(0, 0, 200), kWhite = Bgr(255, 255, 255);

TEST(Tga, storedRowsComeOutTopRowFirstInEveryOrder)
{
    // Rows stored bottom first (the format's default): red green / blue white on screen.
    const Picture bottomUp = DecodeTgaPicture(Tga({}, kBlue + kWhite + kRed + kGreen));
    ASSERT_EQ(bottomUp.error, "");
    EXPECT_EQ(bottomUp.width, 2u);
    EXPECT_EQ(At(bottomUp, 0, 0), (Rgba{200, 0, 0, 255}));
    EXPECT_EQ(At(bottomUp, 1, 0), (Rgba{0, 200, 0, 255}));
    EXPECT_EQ(At(bottomUp, 0, 1), (Rgba{0, 0, 200, 255}));

    Header topDown;
    topDown.descriptor = 0x20;
    EXPECT_EQ(DecodeTgaPicture(Tga(topDown, kRed + kGreen + kBlue + kWhite)).rgba, bottomUp.rgba);
    Header mirrored;
    mirrored.descriptor = 0x30;
    EXPECT_EQ(DecodeTgaPicture(Tga(mirrored, kGreen + kRed + kWhite + kBlue)).rgba, bottomUp.rgba);
}

TEST(Tga, readsTrueColourGreyAndColourMappedPicturesPlainAndEncoded)
{
    Header rgba;
    rgba.depth = 32;
    rgba.width = 1;
    rgba.height = 1;
    EXPECT_EQ(At(DecodeTgaPicture(Tga(rgba, Bgr(1, 2, 3) + '\x80')), 0, 0), (Rgba{1, 2, 3, 128}));

    Header fiveBits = rgba;
    fiveBits.depth = 16;
    // 0 11111 00000 10000: red full, green none, blue half.
    EXPECT_EQ(At(DecodeTgaPicture(Tga(fiveBits, Le16(0x7c10))), 0, 0), (Rgba{255, 0, 132, 255}));

    Header grey;
    grey.type = 3;
    grey.depth = 8;
    grey.descriptor = 0x20;
    EXPECT_EQ(At(DecodeTgaPicture(Tga(grey, "\x10\x20\x30\x40")), 1, 1), (Rgba{0x40, 0x40, 0x40, 255}));

    // A run of three reds over the end of the first row, then one raw white.
    Header encoded;
    encoded.type = 10;
    encoded.descriptor = 0x20;
    const Picture runs = DecodeTgaPicture(Tga(encoded, '\x82' + kRed + '\x00' + kWhite));
    ASSERT_EQ(runs.error, "");
    EXPECT_EQ(At(runs, 1, 0), (Rgba{200, 0, 0, 255}));
    EXPECT_EQ(At(runs, 0, 1), (Rgba{200, 0, 0, 255}));
    EXPECT_EQ(At(runs, 1, 1), (Rgba{255, 255, 255, 255}));

    // Indices from 5 on into a map of 24-bit colours, encoded: two raw, then a run of two.
    Header mapped;
    mapped.type = 9;
    mapped.depth = 8;
    mapped.descriptor = 0x20;
    mapped.id = "made by hand";
    mapped.map = kRed + kGreen;
    mapped.mapFirst = 5;
    mapped.mapLength = 2;
    mapped.mapDepth = 24;
    const Picture indexed = DecodeTgaPicture(Tga(mapped, std::string("\x01\x05\x06\x81\x05", 5)));
    ASSERT_EQ(indexed.error, "");
    EXPECT_EQ(At(indexed, 1, 0), (Rgba{0, 200, 0, 255}));
    EXPECT_EQ(At(indexed, 1, 1), (Rgba{200, 0, 0, 255}));
    EXPECT_EQ(DecodeTgaPicture(Tga(mapped, std::string("\x03\x05\x06\x07\x05", 5))).error,
              "colour index 7 lies outside the colour map");
}

TEST(Tga, damagedFilesGiveAnErrorAndNoPicture)
{
    Header h;
    const std::string pixels = kRed + kGreen + kBlue + kWhite;
    const auto error = [](const std::string& file) {
        const Picture picture = DecodeTgaPicture(file);
        EXPECT_TRUE(picture.rgba.empty() && picture.width == 0);
        return picture.error;
    };
    EXPECT_EQ(error(Tga(h, pixels).substr(0, 17)), "truncated header");
    EXPECT_EQ(error(Tga(h, pixels).substr(0, 25)), "pixels of 2x2 lie beyond the end of the file");
    const auto with = [&](auto change) {
        Header changed = h;
        change(changed);
        return changed;
    };
    const struct {
        Header header;
        std::string pixels;
        const char* error;
    } damaged[] = {
        {with([](Header& d) { d.type = 0; }), "", "unsupported picture (type 0, 24 bits)"},
        {with([](Header& d) { d.depth = 48; }), pixels, "unsupported picture (type 2, 48 bits)"},
        {with([](Header& d) { d.width = 0; }), "", "empty picture (0x2)"},
        {with([](Header& d) { d.width = 8193; }), pixels, "picture of 8193x2 pixels is larger than 8192x8192"},
        {with([](Header& d) { d.type = 10; }), '\x81' + kRed, "pixels of 2x2 lie beyond the end of the file"},
        // Refused before the picture is allocated: one packet cannot fill it.
        {with([](Header& d) { d.type = 10, d.width = d.height = 8192; }), '\xff' + kRed,
         "pixels of 8192x8192 lie beyond the end of the file"},
    };
    for (const auto& file : damaged)
        EXPECT_EQ(error(Tga(file.header, file.pixels)), file.error);
    EXPECT_EQ(DecodeTgaPicture(Tga(with([](Header& d) { d.type = 10; }), '\xff' + kRed)).error, "")
        << "one run may fill the picture";
    Header mapped = h;
    mapped.type = 1;
    mapped.depth = 8;
    mapped.map = kRed;
    mapped.mapLength = 2;
    mapped.mapDepth = 24;
    EXPECT_EQ(error(Tga(mapped, "")), "colour map beyond the end of the file");
}

}  // namespace
}  // namespace corvane
