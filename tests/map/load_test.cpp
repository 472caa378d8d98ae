#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "map/load.h"
#include "ui/level_model.h"
#include "platform/error.h"
#include "support/scripted_host.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

using Names = std::vector<std::string>;
using test::ScriptedHost;
using test::TempTree;
using ui::LoadNaming;
using ui::WindowLevel;

// Loads as the window does, naming the level when it is the one the user opens.
LevelLoad Load(const std::string& path, bool named, WindowLevel& level, Host& host)
{
    return ui::LoadLevelIntoWindow(path, named ? LoadNaming::NameLevel : LoadNaming::Quiet, level, host);
}

const char* const kLevel = "// Game: Quake 2\n{\n\"classname\" \"worldspawn\"\n"
                           "\"sky\" \"harborsky\"\n{\n"
                           "( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) harbor/wall 0 0 0 1 1\n}\n}\n"
                           "{\n\"noise\" \"harbor/bell\"\n}\n";

class LoadMapFileTest : public ::testing::Test {
protected:
    TempTree tree;
    ScriptedHost host;
    WindowLevel level;
};

TEST_F(LoadMapFileTest, loadsAndScansAndNamesTheLevelWhenOneIsBeingLoaded)
{
    const std::string path = tree.file("maps/harbor.map", kLevel);
    ASSERT_TRUE(Load(path, true, level, host).scanned);
    EXPECT_EQ(level.MapLines.size(), 11u);
    EXPECT_EQ(level.TextureList.entries(), (Names{"harbor/wall.wal"}));
    EXPECT_EQ(level.SoundList.entries(), (Names{"harbor/bell"}));
    EXPECT_EQ(level.listWals, (Names{"harbor/wall.wal"}));
    EXPECT_EQ(level.listWavs, (Names{"harbor/bell"}));
    EXPECT_EQ(host.captions, (Names{"Pellark's Corvane - " + path}));
    EXPECT_EQ(level.CurrentMapPath, path);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_TRUE(host.alerts.empty());
}

TEST_F(LoadMapFileTest, otherModesLeaveCaptionAndPathAloneAndListsAccumulate)
{
    const std::string first = tree.file("maps/a.map", kLevel);
    const std::string second =
        tree.file("maps/b.map", "\n{\n( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) beach/sand 0 0 0 1 1\n}\n");
    level.CurrentMapPath = "/kept.map";
    ASSERT_TRUE(Load(first, false, level, host).scanned);
    ASSERT_TRUE(Load(second, false, level, host).scanned);
    EXPECT_TRUE(host.captions.empty());
    EXPECT_EQ(level.CurrentMapPath, "/kept.map");
    EXPECT_EQ(level.MapLines.size(), 4u) << "the lines are those of the last level";
    EXPECT_EQ(level.TextureList.entries(), (Names{"beach/sand.wal", "harbor/wall.wal"}));
    EXPECT_EQ(level.SoundList.entries(), (Names{"harbor/bell"}));
    EXPECT_EQ(level.listWavs, (Names{"harbor/bell", "harbor/bell"}));

    ui::EmptyWindowLevel(level);
    EXPECT_TRUE(level.MapLines.empty());
    EXPECT_TRUE(level.TextureList.empty());
    EXPECT_TRUE(level.SoundList.empty());
    EXPECT_TRUE(level.listWals.empty());
    EXPECT_TRUE(level.listWavs.empty());
}

TEST_F(LoadMapFileTest, aFailedReadAsksAbortRetryIgnoreAndAbortGivesUp)
{
    const std::string path = tree.path("maps/missing.map");
    level.TextureList.add("kept/one.wal");
    host.answer(MessageButton::Abort);
    const LevelLoad load = Load(path, true, level, host);
    EXPECT_FALSE(load.scanned);

    ASSERT_EQ(host.boxes.size(), 1u);
    const MessageRequest& box = host.boxes[0];
    EXPECT_EQ(box.text, "Can't open file!");
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.icon, MessageIcon::None);
    EXPECT_EQ(box.buttons, (std::vector<MessageButton>{MessageButton::Abort, MessageButton::Retry,
                                                        MessageButton::Ignore}));
    EXPECT_EQ(host.alerts, (std::vector<AlertSound>{AlertSound::Error}));
    EXPECT_EQ(load.readError, "No such file or directory");
    // The caption and the path were set before the read and stay.
    EXPECT_EQ(host.captions, (Names{"Pellark's Corvane - " + path}));
    EXPECT_EQ(level.CurrentMapPath, path);
    EXPECT_EQ(level.TextureList.entries(), (Names{"kept/one.wal"}));
    EXPECT_TRUE(level.listWals.empty()) << "nothing was scanned";
}

// A host that runs something when a box is shown, before it answers.
class HookedHost : public ScriptedHost {
public:
    std::function<void()> onBox;
    MessageResult messageBox(const MessageRequest& request) override
    {
        if (onBox)
            onBox();
        return ScriptedHost::messageBox(request);
    }
};

TEST_F(LoadMapFileTest, retryReadsAgainUntilTheFileCanBeRead)
{
    HookedHost hooked;
    const std::string path = tree.path("maps/late.map");
    int shown = 0;
    hooked.onBox = [&] {
        if (++shown == 2)
            tree.file("maps/late.map", kLevel);
    };
    hooked.answer(MessageButton::Retry);
    hooked.answer(MessageButton::Retry);
    ASSERT_TRUE(Load(path, true, level, hooked).scanned);
    EXPECT_EQ(hooked.boxes.size(), 2u);
    EXPECT_EQ(hooked.alerts.size(), 2u);
    EXPECT_EQ(level.TextureList.entries(), (Names{"harbor/wall.wal"}));
}

TEST_F(LoadMapFileTest, ignoreScansTheLinesHeldBefore)
{
    // With no lines (as after File > Open), the texture scan fails.
    host.answer(MessageButton::Ignore);
    try {
        Load(tree.path("nothing.map"), true, level, host);
        ADD_FAILURE() << "expected the scan to fail";
    } catch (const Error& error) {
        EXPECT_EQ(ErrorBoxText(error), "List index out of bounds.");
    }
    EXPECT_TRUE(level.listWals.empty());
    EXPECT_TRUE(level.listWavs.empty()) << "the sound scan does not run after the failure";

    // With the lines of an earlier level, those are scanned again.
    ASSERT_TRUE(Load(tree.file("maps/a.map", kLevel), true, level, host).scanned);
    host.answer(MessageButton::Ignore);
    EXPECT_TRUE(Load(tree.path("gone.map"), true, level, host).scanned);
    EXPECT_EQ(level.listWals, (Names{"harbor/wall.wal", "harbor/wall.wal"}));
}

TEST_F(LoadMapFileTest, aFolderCannotBeReadAsALevel)
{
    host.answer(MessageButton::Abort);
    EXPECT_FALSE(Load(tree.dir("maps/folder.map"), true, level, host).scanned);
    EXPECT_EQ(host.boxes.size(), 1u);
}

}  // namespace
}  // namespace corvane
