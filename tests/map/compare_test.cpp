#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "map/compare.h"

namespace corvane {
namespace {

using Names = std::vector<std::string>;

ResourceList List(std::initializer_list<const char*> names)
{
    ResourceList list;
    for (const char* name : names)
        list.add(name);
    return list;
}

class CompareFolderTest : public ::testing::Test {
protected:
    ResourceList textures = List({"harbor/planks.wal", "harbor_trim/rail.wal", "town/wall.wal"});
    ResourceList sounds = List({"harbor/bell", "town/gulls.wav"});
};

TEST_F(CompareFolderTest, aTextureFolderListsTheEntriesThatNameIt)
{
    const FolderComparison c = CompareFolder("/games/mod/textures/harbor", textures, sounds);
    EXPECT_TRUE(c.textures);
    EXPECT_FALSE(c.sounds);
    EXPECT_TRUE(c.available);
    // The folder's name is looked for anywhere in the entry, so a longer
    // folder that begins with it comes along.
    EXPECT_EQ(c.textureEntries, (Names{"harbor/planks.wal", "harbor_trim/rail.wal"}));
    EXPECT_FALSE(c.soundEntries.has_value()) << "the sound list is left as it was";

    const FolderComparison none = CompareFolder("/games/mod/textures/castle", textures, sounds);
    EXPECT_TRUE(none.available) << "an empty comparison is still one";
    EXPECT_EQ(none.textureEntries, Names{});
}

TEST_F(CompareFolderTest, aSoundFolderListsItsSoundsAndTheRootsOfferNothing)
{
    const FolderComparison c = CompareFolder("/games/mod/sound/town", textures, sounds);
    EXPECT_FALSE(c.textures);
    EXPECT_TRUE(c.sounds);
    EXPECT_TRUE(c.available);
    EXPECT_EQ(c.soundEntries, Names{"town/gulls.wav"});
    EXPECT_FALSE(c.textureEntries.has_value());

    for (const char* root : {"/games/mod/textures", "/games/mod/sound"}) {
        const FolderComparison atRoot = CompareFolder(root, textures, sounds);
        EXPECT_FALSE(atRoot.available) << root;
        EXPECT_FALSE(atRoot.textureEntries.has_value() || atRoot.soundEntries.has_value()) << root;
    }
    const FolderComparison elsewhere = CompareFolder("/games/mod/maps", textures, sounds);
    EXPECT_FALSE(elsewhere.textures || elsewhere.sounds || elsewhere.available);
}

TEST_F(CompareFolderTest, aPathThatMentionsBothKindsIsDecidedByItsSoundSide)
{
    // Below a texture folder named "sound": the textures are filtered first,
    // then the sound root says there is nothing to compare.
    const FolderComparison c = CompareFolder("/games/mod/textures/sound", textures, sounds);
    EXPECT_TRUE(c.textures && c.sounds);
    EXPECT_FALSE(c.available);
    EXPECT_EQ(c.textureEntries, Names{}) << "filtered before the sound side decided";
    EXPECT_FALSE(c.soundEntries.has_value());

    const FolderComparison town = CompareFolder("/games/soundmod/textures/town", textures, sounds);
    EXPECT_TRUE(town.available);
    EXPECT_EQ(town.textureEntries, Names{"town/wall.wal"});
    EXPECT_EQ(town.soundEntries, Names{"town/gulls.wav"});
}

}  // namespace
}  // namespace corvane
