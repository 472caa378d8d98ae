#include <gtest/gtest.h>

#include "pool/pooling.h"
#include "support/scripted_host.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

using Names = std::vector<std::string>;

std::string Level(const std::vector<std::string>& textures, const std::vector<std::string>& sounds)
{
    std::string text = "{\n\"classname\" \"worldspawn\"\n{\n";
    for (const std::string& texture : textures)
        text += "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) " + texture + " 0 0 0 1 1\n";
    text += "}\n}\n";
    for (const std::string& sound : sounds)
        text += "{\n\"noise\" \"" + sound + "\"\n}\n";
    return text;
}

class PoolTest : public ::testing::Test {
protected:
    test::TempTree tree;
    test::ScriptedHost host;
    LoadedLevel level;
    std::string target = tree.dir("game");
};

TEST_F(PoolTest, gathersEveryLevelsResourcesOnceInOrder)
{
    tree.file("game/maps/b.map", Level({"x/shared", "x/b"}, {"s/b.wav"}));
    tree.file("game/maps/a.MAP", Level({"x/shared", "x/a"}, {}));
    tree.file("game/maps/notes.txt", "x/other");
    tree.dir("game/maps/dir.map");
    level.TextureList.add("x/loaded.wal");
    host.answer(MessageButton::Yes);
    bool confirmed = false;
    PoolOptions options;
    options.onConfirmed = [&] { confirmed = host.statuses.empty(); };
    int loaded = 0;
    options.onLevelLoaded = [&] { ++loaded; };
    EXPECT_EQ(PoolTargetResources(target, level, host, options), PoolResult::Pooled);
    EXPECT_TRUE(confirmed) << "runs after the question and before the loads";
    EXPECT_EQ(loaded, 2);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "Group All Resources?");
    EXPECT_EQ(host.boxes[0].caption, "Grouping cannot be undone!");
    EXPECT_EQ(host.boxes[0].icon, MessageIcon::Question);
    EXPECT_EQ(host.boxes[0].buttons, (std::vector<MessageButton>{MessageButton::Yes, MessageButton::No}));
    EXPECT_EQ(host.statuses.front(), (std::pair<int, std::string>{0, "Grouping all maps' resources..."}));
    const Names textures{"x/a.wal", "x/b.wal", "x/loaded.wal", "x/shared.wal"};
    EXPECT_EQ(level.TextureList.entries(), textures);
    EXPECT_EQ(level.listWals, textures);
    EXPECT_EQ(level.listWavs, (Names{"s/b.wav"}));
    EXPECT_EQ(level.lblWalCount, "4");
    EXPECT_EQ(level.lblWavCount, "1");
    EXPECT_TRUE(host.captions.empty()) << "loads after a transfer leave the caption alone";

    host.answer(MessageButton::Yes);
    EXPECT_EQ(PoolTargetResources(target, level, host), PoolResult::Pooled);
    EXPECT_EQ(level.listWals, textures) << "pooling again gives the same lists";
}

TEST_F(PoolTest, fewerThanTwoLevelsOrANoChangeNothing)
{
    level.listWals = {"kept"};
    host.answer(MessageButton::Ok);
    host.answer(MessageButton::Ok);
    EXPECT_EQ(PoolTargetResources(target, level, host), PoolResult::NoLevels);
    tree.file("game/maps/only.map", Level({"x/a"}, {}));
    tree.file("game/maps/other.bsp", "");
    EXPECT_EQ(PoolTargetResources(target, level, host), PoolResult::OneLevel);
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].text, "No .map files found!");
    EXPECT_EQ(host.boxes[1].text, "Only one .map file found!");
    for (const MessageRequest& box : host.boxes) {
        EXPECT_EQ(box.caption, "Can't group!");
        EXPECT_EQ(box.icon, MessageIcon::Information);
    }
    tree.file("game/maps/second.map", Level({"x/b"}, {}));
    host.answer(MessageButton::No);
    EXPECT_EQ(PoolTargetResources(target, level, host), PoolResult::Declined);
    EXPECT_EQ(level.listWals, (Names{"kept"}));
    EXPECT_TRUE(level.TextureList.empty());
}

TEST_F(PoolTest, levelsWithoutSoundsLeaveAnEmptySoundList)
{
    tree.file("game/maps/a.map", Level({"x/a"}, {}));
    tree.file("game/maps/b.map", Level({"x/b"}, {}));
    PoolOptions options;
    options.confirm = false;
    EXPECT_EQ(PoolTargetResources(target, level, host, options), PoolResult::Pooled);
    EXPECT_TRUE(level.listWavs.empty());
    EXPECT_EQ(level.lblWavCount, "0");
    EXPECT_TRUE(host.boxes.empty());
}

}  // namespace
}  // namespace corvane
