#include <gtest/gtest.h>

#include "map/load.h"
#include "platform/error.h"
#include "platform/faults.h"
#include "pool/pooling.h"
#include "ui/level_model.h"
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
    ui::WindowLevel level;
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
    EXPECT_EQ(ui::PoolIntoWindow(target, level, host, options), PoolResult::Pooled);
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
    EXPECT_EQ(ui::PoolIntoWindow(target, level, host), PoolResult::Pooled);
    EXPECT_EQ(level.listWals, textures) << "pooling again gives the same lists";
}

TEST_F(PoolTest, fewerThanTwoLevelsOrANoChangeNothing)
{
    level.listWals = {"kept"};
    host.answer(MessageButton::Ok);
    host.answer(MessageButton::Ok);
    EXPECT_EQ(ui::PoolIntoWindow(target, level, host), PoolResult::NoLevels);
    tree.file("game/maps/only.map", Level({"x/a"}, {}));
    tree.file("game/maps/other.bsp", "");
    EXPECT_EQ(ui::PoolIntoWindow(target, level, host), PoolResult::OneLevel);
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].text, "No .map files found!");
    EXPECT_EQ(host.boxes[1].text, "Only one .map file found!");
    for (const MessageRequest& box : host.boxes) {
        EXPECT_EQ(box.caption, "Can't group!");
        EXPECT_EQ(box.icon, MessageIcon::Information);
    }
    tree.file("game/maps/second.map", Level({"x/b"}, {}));
    host.answer(MessageButton::No);
    EXPECT_EQ(ui::PoolIntoWindow(target, level, host), PoolResult::Declined);
    EXPECT_EQ(level.listWals, (Names{"kept"}));
    EXPECT_TRUE(level.TextureList.empty());
}

TEST_F(PoolTest, levelsWithoutSoundsLeaveAnEmptySoundList)
{
    tree.file("game/maps/a.map", Level({"x/a"}, {}));
    tree.file("game/maps/b.map", Level({"x/b"}, {}));
    PoolOptions options;
    options.confirm = false;
    EXPECT_EQ(ui::PoolIntoWindow(target, level, host, options), PoolResult::Pooled);
    EXPECT_TRUE(level.listWavs.empty());
    EXPECT_EQ(level.lblWavCount, "0");
    EXPECT_TRUE(host.boxes.empty());
}

// Pooling sorts and shows the lists once at the end instead of after every
// level. What it leaves must be what loading level after level, each scan
// sorting its lists, leaves: also when broken levels are skipped.
class PoolAsLoadsTest : public PoolTest {
protected:
    void SetUp() override
    {
        tree.file("game/maps/a.map", Level({"m/z", "m/b", "e1u1/x", "m/a"}, {"s/2", "s/1"}));
        tree.file("game/maps/b.map", Level({"m/b", "n/c", "M/d"}, {}));
        tree.file("game/maps/c.map", Level({"e2u1/y"}, {"world/w", "s/0", "s/2"}));
        tree.file("game/maps/d.map", Level({"m/y", "n/c", "a/a"}, {"s/3"}));
    }

    // What the loads leave when each sorts and shows its own lists, a level
    // whose load fails left out.
    ui::WindowLevel levelByLoads(const ui::WindowLevel& start)
    {
        ui::WindowLevel byLoads = start;
        test::ScriptedHost quiet;
        for (const std::string& name : PoolLevelFiles(target)) {
            try {
                ui::LoadLevelIntoWindow(tree.path("game/maps/" + name), ui::LoadNaming::Quiet, byLoads, quiet);
            } catch (const std::exception&) {
                continue;
            }
        }
        return byLoads;
    }

    static ui::WindowLevel startingLevel()
    {
        ui::WindowLevel start;
        start.TextureList.add("m/q.wal");
        start.TextureList.add("k/q.wal");
        start.SoundList.add("s/9");
        start.listWals = {"k/q.wal", "m/q.wal"};
        start.listWavs = {"No custom wavs"};
        return start;
    }

    static void expectSame(const ui::WindowLevel& got, const ui::WindowLevel& want)
    {
        EXPECT_EQ(got.TextureList.entries(), want.TextureList.entries());
        EXPECT_EQ(got.SoundList.entries(), want.SoundList.entries());
        EXPECT_EQ(got.listWals, want.listWals);
        EXPECT_EQ(got.listWavs, want.listWavs);
        EXPECT_EQ(got.lblWalCount, want.lblWalCount);
        EXPECT_EQ(got.lblWavCount, want.lblWavCount);
        EXPECT_EQ(got.MapLines.text(), want.MapLines.text());
    }

    PoolOptions noQuestion() const
    {
        PoolOptions options;
        options.confirm = false;
        return options;
    }
};

TEST_F(PoolAsLoadsTest, endsWithTheListsOfTheLastLoad)
{
    level = startingLevel();
    ASSERT_EQ(ui::PoolIntoWindow(target, level, host, noQuestion()), PoolResult::Pooled);
    const ui::WindowLevel byLoads = levelByLoads(startingLevel());
    EXPECT_EQ(level.TextureList.entries(), byLoads.TextureList.entries());
    EXPECT_EQ(level.SoundList.entries(), byLoads.SoundList.entries());
    EXPECT_EQ(level.TextureList.entries(),
              (Names{"M/d.wal", "a/a.wal", "k/q.wal", "m/a.wal", "m/b.wal", "m/q.wal", "m/y.wal", "m/z.wal",
                     "n/c.wal"}));
    // The list boxes hold the pooled lists once, not each load's in turn.
    EXPECT_EQ(level.listWals, level.TextureList.entries());
    EXPECT_EQ(level.listWavs, level.SoundList.entries());
}

TEST_F(PoolAsLoadsTest, brokenLevelsAreSkippedAndNamedAndTheOthersPooled)
{
    // c.map has no "{" after its first line, and a.map is empty: neither has
    // a brush. The others are pooled as their loads would leave the lists.
    tree.file("game/maps/c.map", "{ \"noise\" \"s/never\"\n( 0 0 0 ) x/never 0\n");
    tree.file("game/maps/a.map", "");
    level = startingLevel();
    PoolOptions options = noQuestion();
    int loaded = 0;
    options.onLevelLoaded = [&] { ++loaded; };
    host.answer(MessageButton::Ok);
    ASSERT_EQ(ui::PoolIntoWindow(target, level, host, options), PoolResult::Pooled);
    EXPECT_EQ(loaded, 2);
    const ui::WindowLevel byLoads = levelByLoads(startingLevel());
    EXPECT_EQ(level.TextureList.entries(), byLoads.TextureList.entries());
    EXPECT_EQ(level.SoundList.entries(), byLoads.SoundList.entries());
    EXPECT_EQ(level.SoundList.entries(), (Names{"s/3", "s/9"})) << "nothing of a skipped level";
    EXPECT_EQ(level.listWals, level.TextureList.entries());
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "Skipped " + tree.path("game/maps/a.map") + ": no brush\nSkipped " +
                                      tree.path("game/maps/c.map") + ": no brush");
    EXPECT_EQ(host.boxes[0].caption, "Corvane");

    // Every level broken: the lists stay as they were, in their order.
    tree.file("game/maps/b.map", "");
    tree.file("game/maps/d.map", "// d\n");
    level = startingLevel();
    const PoolReport report = PoolTargetResources(target, level, host, noQuestion());
    EXPECT_EQ(report.result, PoolResult::Pooled);
    EXPECT_EQ(report.skipped.size(), 4u);
    EXPECT_EQ(level.TextureList.entries(), (Names{"m/q.wal", "k/q.wal"}));
}

TEST_F(PoolAsLoadsTest, levelsThatCannotBeReadScanNothing)
{
    // Every level given up after a failed read: no scan sorts the lists,
    // which pooling then shows as they are.
    level = startingLevel();
    for (int i = 0; i < 4; ++i)
        host.answer(MessageButton::Abort);
    host.answer(MessageButton::Ok);
    const ScopedFaultInjector unreadable([](FileOp op, std::string_view) { return op == FileOp::Read ? EIO : 0; });
    ASSERT_EQ(ui::PoolIntoWindow(target, level, host, noQuestion()), PoolResult::Pooled);
    ASSERT_EQ(host.boxes.size(), 5u) << "four questions, then the skipped levels";
    EXPECT_EQ(host.boxes[4].text.substr(0, host.boxes[4].text.find('\n')),
              "Skipped " + tree.path("game/maps/a.map") + ": Input/output error");
    EXPECT_EQ(level.TextureList.entries(), (Names{"m/q.wal", "k/q.wal"}));
    EXPECT_EQ(level.listWals, level.TextureList.entries());
}

}  // namespace
}  // namespace corvane
