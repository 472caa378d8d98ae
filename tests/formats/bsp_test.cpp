#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/bsp.h"
#include "support/game_files.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

using test::MakeBsp;
using test::PutU32;

// Where lump N's offset and length stand in the header.
constexpr std::size_t OffsetOf(int lump) { return 8 + 8 * static_cast<std::size_t>(lump); }
constexpr std::size_t LengthOf(int lump) { return OffsetOf(lump) + 4; }

TEST(Bsp, givesBackTheEntityTextAndEachTextureOnce)
{
    const std::string entities = "{\n\"classname\" \"worldspawn\"\n\"sky\" \"harborsky\"\n}\n";
    const std::string full(32, 'x');
    const BspContents read = ReadBsp(
        MakeBsp(entities, {"harbor/water1", "e1u1/floor1_1", "harbor/water1", "", full, "Harbor/Water1"}));
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(read.entities, entities);
    EXPECT_EQ(read.textures, (std::vector<std::string>{"harbor/water1", "e1u1/floor1_1", full, "Harbor/Water1"}));
    EXPECT_EQ(SortedNames(read.textures),
              (std::vector<std::string>{"Harbor/Water1", "e1u1/floor1_1", "harbor/water1", full}));

    // The entity text ends at its first NUL; a level without texture infos has
    // no names; an empty lump may stand anywhere, the header included.
    std::string bareFile = MakeBsp(std::string("{\n}\n\0{", 6), {});
    PutU32(bareFile, OffsetOf(7), 0);
    const BspContents bare = ReadBsp(bareFile);
    EXPECT_EQ(bare.error, "");
    EXPECT_EQ(bare.entities, "{\n}\n");
    EXPECT_TRUE(bare.textures.empty());

    test::TempTree tree;
    EXPECT_EQ(ReadBspFile(tree.file("maps/harbor.bsp", MakeBsp("{}", {"a/b"}))).textures,
              std::vector<std::string>{"a/b"});
    EXPECT_EQ(ReadBspFile(tree.dir("maps/folder.bsp")).error, "not a regular file");
}

TEST(Bsp, reportsDamageInsteadOfReadingPastIt)
{
    const std::vector<test::Damage> cases = {
        {[](std::string& f) { f.resize(3); }, "truncated header"},
        {[](std::string& f) { f[0] = 'V'; }, "bad magic"},
        {[](std::string& f) { f.resize(7); }, "truncated header"},
        {[](std::string& f) { PutU32(f, 4, 46); }, "unsupported version 46"},
        {[](std::string& f) { f.resize(159); }, "truncated header"},
        {[](std::string& f) { PutU32(f, OffsetOf(5), 0xFFFFFFFF); }, "lump 5 has a negative offset or length"},
        {[](std::string& f) { PutU32(f, LengthOf(5), 0x80000000); }, "lump 5 has a negative offset or length"},
        {[](std::string& f) { PutU32(f, LengthOf(3), 1); }, "lump 3 lies beyond the end of the file"},
        {[](std::string& f) { PutU32(f, OffsetOf(3), 0), PutU32(f, LengthOf(3), 1); }, "lump 3 overlaps the header"},
        {[](std::string& f) { PutU32(f, OffsetOf(0), 159); }, "lump 0 overlaps the header"},
        {[](std::string& f) { PutU32(f, OffsetOf(18), static_cast<std::uint32_t>(f.size() + 1)); },
         "lump 18 lies beyond the end of the file"},
        // The empty lumps stand at the very end, so the first of them tells.
        {[](std::string& f) { f.pop_back(); }, "lump 1 lies beyond the end of the file"},
        {[](std::string& f) { PutU32(f, OffsetOf(5), 0x7FFFFFFF), PutU32(f, LengthOf(5), 0x7FFFFFFF); },
         "lump 5 lies beyond the end of the file"},
        {[](std::string& f) { PutU32(f, LengthOf(5), 75); }, "lump 5 does not hold whole texture infos of 76 bytes"},
    };
    const std::string bsp = MakeBsp("{\n}\n", {"a/b", "a/c"});
    for (const test::Damage& damage : cases) {
        const BspContents read = ReadBsp(test::Damaged(bsp, damage));
        EXPECT_EQ(read.error, damage.error);
        EXPECT_TRUE(read.entities.empty() && read.textures.empty());
    }
}

}  // namespace
}  // namespace corvane
