#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/pcx.h"
#include "formats/wal.h"
#include "support/game_files.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

using test::MakePcx;
using test::MakeWal;
using test::PutU32;

// A palette whose every colour differs in each channel from its neighbours'.
std::string TestPalette()
{
    std::string rgb;
    for (int i = 0; i < 256; ++i) {
        rgb += static_cast<char>(i);
        rgb += static_cast<char>(255 - i);
        rgb += static_cast<char>(i ^ 0x55);
    }
    return rgb;
}

TEST(WalHeader, readsEveryFieldAtItsPlace)
{
    std::string wal = MakeWal("harbor/water1", "harbor/water2", 8, 4);
    PutU32(wal, 88, 0x11);
    PutU32(wal, 92, 0x2233);
    PutU32(wal, 96, 0x44556677);
    const WalHeaderRead read = ParseWalHeader(wal);
    ASSERT_EQ(read.error, "");
    const WalHeader& header = read.header;
    EXPECT_EQ(header.name, "harbor/water1");
    EXPECT_EQ(header.animName, "harbor/water2");
    EXPECT_EQ(header.width, 8u);
    EXPECT_EQ(header.height, 4u);
    EXPECT_EQ(header.mipOffsets, (std::array<std::uint32_t, 4>{100, 132, 140, 142}));
    EXPECT_EQ(header.flags, 0x11u);
    EXPECT_EQ(header.contents, 0x2233u);
    EXPECT_EQ(header.value, 0x44556677u);
}

TEST(WalHeader, namesEndAtTheirFirstNulOrFillTheField)
{
    const std::string full(32, 'a');
    const WalHeaderRead whole = ParseWalHeader(MakeWal(full, std::string(40, 'b')));
    EXPECT_EQ(whole.header.name, full);
    EXPECT_EQ(whole.header.animName, std::string(32, 'b'));  // the next field is not taken in

    const WalHeaderRead cut = ParseWalHeader(MakeWal(std::string("a\0/etc/passwd", 13)));
    EXPECT_EQ(cut.header.name, "a");
    EXPECT_EQ(cut.header.animName, "");
}

TEST(WalHeader, needsAllHundredBytesAndReadsNoMoreFromDisk)
{
    const std::string wal = MakeWal("a/b", "a/c");
    EXPECT_EQ(ParseWalHeader(wal.substr(0, 99)).error, "truncated header");
    EXPECT_EQ(ParseWalHeader(wal.substr(0, 100)).error, "");

    test::TempTree tree;
    EXPECT_EQ(ReadWalHeaderFile(tree.file("a/c.wal", wal)).header.animName, "a/c");
    EXPECT_EQ(ReadWalHeaderFile(tree.file("short.wal", wal.substr(0, 50))).error, "truncated header");
    EXPECT_EQ(ReadWalHeaderFile(tree.path("missing.wal")).error, "No such file or directory");
}

TEST(WalPicture, decodesTheFirstLevelThroughThePaletteOrAsGreys)
{
    const std::string wal = MakeWal("a/b", "", 2, 2, std::string("\0\x01\xFE\xFF", 4));
    const PaletteRead palette = ReadPcxPalette(MakePcx(TestPalette()));
    ASSERT_EQ(palette.error, "");

    const Picture coloured = DecodeWalPicture(wal, &palette.palette);
    ASSERT_EQ(coloured.error, "");
    EXPECT_EQ(coloured.width, 2u);
    EXPECT_EQ(coloured.height, 2u);
    EXPECT_EQ(coloured.rgba, (std::vector<std::uint8_t>{0, 255, 0x55, 255, 1, 254, 0x54, 255,  //
                                                        254, 1, 0xAB, 255, 255, 0, 0xAA, 255}));

    const Picture greys = DecodeWalPicture(wal);
    EXPECT_EQ(greys.rgba, (std::vector<std::uint8_t>{0, 0, 0, 255, 1, 1, 1, 255, 254, 254, 254, 255, 255, 255, 255, 255}));

    // The same from disk; a file with the first level only is enough.
    test::TempTree tree;
    const std::string path = tree.file("textures/a/b.wal", wal.substr(0, 104));
    const PaletteRead fromDisk = ReadPcxPaletteFile(tree.file("pics/colormap.pcx", MakePcx(TestPalette())));
    EXPECT_EQ(DecodeWalFile(path, &fromDisk.palette).rgba, coloured.rgba);
}

TEST(WalPicture, refusesSizesAndPlacesTheFileCannotHold)
{
    const std::vector<test::Damage> cases = {
        {[](std::string& f) { f.resize(99); }, "truncated header"},
        {[](std::string& f) { PutU32(f, 32, 0); }, "empty picture (0x4)"},
        {[](std::string& f) { PutU32(f, 36, 0); }, "empty picture (4x0)"},
        {[](std::string& f) { PutU32(f, 32, 8193); }, "picture of 8193x4 pixels is larger than 8192x8192"},
        {[](std::string& f) { PutU32(f, 32, 0xFFFFFFFF), PutU32(f, 36, 0xFFFFFFFF); },
         "picture of 4294967295x4294967295 pixels is larger than 8192x8192"},
        {[](std::string& f) { PutU32(f, 32, 8192), PutU32(f, 36, 8192); },
         "pixels of 8192x8192 lie beyond the end of the file"},
        {[](std::string& f) { PutU32(f, 40, 99); }, "pixels begin inside the header"},
        {[](std::string& f) { PutU32(f, 40, 0xFFFFFFFF); }, "pixels of 4x4 lie beyond the end of the file"},
        {[](std::string& f) { f.resize(115); }, "pixels of 4x4 lie beyond the end of the file"},
    };
    const std::string wal = MakeWal("a/b");
    for (const test::Damage& damage : cases) {
        const Picture picture = DecodeWalPicture(test::Damaged(wal, damage));
        EXPECT_EQ(picture.error, damage.error);
        EXPECT_TRUE(picture.rgba.empty());
        EXPECT_EQ(picture.width, 0u);
    }
    // The largest size decodes when the file holds it.
    const Picture largest = DecodeWalPicture(MakeWal("a/b", "", 8192, 1));
    EXPECT_EQ(largest.error, "");
    EXPECT_EQ(largest.rgba.size(), 8192u * 4);
}

TEST(PcxPalette, isTheLast768BytesBehindTheirMarker)
{
    const std::string pcx = MakePcx(TestPalette());
    const PaletteRead read = ReadPcxPalette(pcx);
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(std::string(read.palette.rgb.begin(), read.palette.rgb.end()), TestPalette());

    const std::vector<test::Damage> cases = {
        {[](std::string& f) { f.resize(127); }, "truncated header"},
        {[](std::string& f) { f[0] = 'P'; }, "bad magic"},
        {[](std::string& f) { f[3] = 4; }, "not a 256-colour picture (4 bits, 1 planes)"},
        {[](std::string& f) { f[65] = 3; }, "not a 256-colour picture (8 bits, 3 planes)"},
        {[](std::string& f) { f[f.size() - 769] = 0; }, "no palette marker before the last 768 bytes"},
        {[](std::string& f) { f.erase(128, 3); }, "too short to hold a palette"},
        {[](std::string& f) { f.pop_back(); }, "no palette marker before the last 768 bytes"},
    };
    for (const test::Damage& damage : cases)
        EXPECT_EQ(ReadPcxPalette(test::Damaged(pcx, damage)).error, damage.error);
}

}  // namespace
}  // namespace corvane
