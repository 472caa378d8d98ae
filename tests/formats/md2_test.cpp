#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/md2.h"
#include "support/game_files.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

using test::MakeMd2;
using test::PutU32;

TEST(Md2Skins, namesEachSkinOnceInFileOrder)
{
    const std::string longest(64, 's');
    const Md2Skins read = ReadMd2Skins(
        MakeMd2({"models/boat/skin.pcx", "", longest, "models/boat/skin.pcx", std::string("models/b.pcx\0junk", 17)}));
    ASSERT_EQ(read.error, "");
    EXPECT_EQ(read.skins, (std::vector<std::string>{"models/boat/skin.pcx", longest, "models/b.pcx"}));

    EXPECT_EQ(ReadMd2Skins(MakeMd2({})).skins.size(), 0u);

    test::TempTree tree;
    EXPECT_EQ(ReadMd2SkinsFile(tree.file("models/boat/tris.md2", MakeMd2({"a.pcx"}))).skins,
              std::vector<std::string>{"a.pcx"});
}

TEST(Md2Skins, refusesHeadersThatPointOutsideTheFile)
{
    const std::vector<test::Damage> cases = {
        {[](std::string& f) { f.resize(3); }, "truncated header"},
        {[](std::string& f) { f[3] = '3'; }, "bad magic"},
        {[](std::string& f) { f.resize(67); }, "truncated header"},
        {[](std::string& f) { PutU32(f, 4, 7); }, "unsupported version 7"},
        {[](std::string& f) { PutU32(f, 20, 0xFFFFFFFF); }, "negative skin count"},
        {[](std::string& f) { PutU32(f, 20, 0x80000000); }, "negative skin count"},
        {[](std::string& f) { PutU32(f, 20, 257); }, "257 skins (at most 256 are read)"},
        {[](std::string& f) { PutU32(f, 44, 0xFFFFFFFF); }, "negative skin offset"},
        {[](std::string& f) { PutU32(f, 44, 4); }, "skins overlap the header"},
        {[](std::string& f) { PutU32(f, 44, 69); }, "skins lie beyond the end of the file"},
        {[](std::string& f) { PutU32(f, 44, 0x7FFFFFFF); }, "skins lie beyond the end of the file"},
        {[](std::string& f) { PutU32(f, 20, 3); }, "skins lie beyond the end of the file"},
        {[](std::string& f) { PutU32(f, 20, 256); }, "skins lie beyond the end of the file"},
        {[](std::string& f) { f.pop_back(); }, "skins lie beyond the end of the file"},
    };
    const std::string md2 = MakeMd2({"a.pcx", "b.pcx"});
    for (const test::Damage& damage : cases) {
        const Md2Skins read = ReadMd2Skins(test::Damaged(md2, damage));
        EXPECT_EQ(read.error, damage.error);
        EXPECT_TRUE(read.skins.empty());
    }
}

}  // namespace
}  // namespace corvane
