#include <gtest/gtest.h>

#include <cerrno>

#include "platform/faults.h"
#include "transfer/layout.h"
#include "transfer/resource_names.h"
#include "transfer_fixture.h"

namespace corvane {
namespace {

using test::Lines;

class LayoutTest : public test::TransferFixture {};

TEST_F(LayoutTest, prepareCreatesANewTargetOrAsksBeforeUsingAnExistingOne)
{
    ASSERT_TRUE(PrepareTargetDirectory(context, target));
    EXPECT_EQ(log.lines(), (Lines{"Created: " + target}));
    EXPECT_TRUE(host.prompts.empty());

    log.clear();
    host.answerPrompt(OverwriteAnswer::Yes);
    EXPECT_TRUE(PrepareTargetDirectory(context, target));
    EXPECT_EQ(log.lines(), (Lines{"Already exists: " + target}));
    EXPECT_EQ(host.alerts, (std::vector<AlertSound>{AlertSound::Exclamation}));
    ASSERT_EQ(host.prompts.size(), 1u);
    const PromptRequest& question = host.prompts[0];
    EXPECT_EQ(question.kind, PromptKind::Continue);
    EXPECT_EQ(question.caption, "File Exists!");
    EXPECT_EQ(question.lines, (Lines{"Directory exists: ", target, "  ", "Continue?"}));
    EXPECT_TRUE(question.showYes && question.showNoToAll);
    EXPECT_FALSE(question.showNo || question.showYesToAll);
    EXPECT_EQ(question.yesCaption, "Ok");
    EXPECT_EQ(question.noToAllCaption, "Cancel");
    OverwriteAnswer escape{};
    ASSERT_TRUE(question.escapeAnswer(escape));
    EXPECT_EQ(escape, OverwriteAnswer::NoToAll) << "Escape presses Cancel";

    host.answerPrompt(OverwriteAnswer::NoToAll);
    EXPECT_FALSE(PrepareTargetDirectory(context, target));
}

TEST_F(LayoutTest, prepareRefusesRootsAndTargetsThatCannotBeMade)
{
    EXPECT_FALSE(PrepareTargetDirectory(context, "/"));
    EXPECT_FALSE(PrepareTargetDirectory(context, ""));
    EXPECT_FALSE(PrepareTargetDirectory(context, tree.path("no/parent")));
    EXPECT_TRUE(log.lines().empty());
    EXPECT_TRUE(host.prompts.empty());
    EXPECT_TRUE(host.alerts.empty());
}

TEST_F(LayoutTest, subdirectoriesAreCreatedOnceAndFailuresSayWhere)
{
    tree.dir("game");
    EXPECT_TRUE(CreateTargetSubdirectory(context, target, "maps"));
    EXPECT_TRUE(CreateTargetSubdirectory(context, target, "maps"));
    EXPECT_EQ(log.lines(), (Lines{"Created: " + game("maps"), "Already Exists: " + game("maps")}));

    host.answer(MessageButton::Ok);
    EXPECT_FALSE(CreateTargetSubdirectory(context, target, "no/env"));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "Could not create: " + game("no/env") + ". \nAborting!");
    EXPECT_EQ(host.boxes[0].caption, "Error!");
    EXPECT_EQ(host.boxes[0].icon, MessageIcon::Error);
    EXPECT_TRUE(host.alerts.empty());
}

TEST_F(LayoutTest, oneFolderPerResourceFolderAndRootsWithoutCreatedLines)
{
    tree.dir("game");
    ASSERT_TRUE(CreateResourceLayout(context, target, srcPath, List({"a/w.wal", "a/x.wal", "b/z.wal"}),
                                     List({"b/drip.wav", "/top.wav"})));
    EXPECT_EQ(log.lines(), (Lines{"Created: " + game("textures/a"), "Created: " + game("textures/b"),
                                  "Created: " + game("sound/b")}));
    EXPECT_EQ(tree.entries("game"),
              (Lines{"sound/", "sound/b/", "textures/", "textures/a/", "textures/b/"}));

    log.clear();
    ASSERT_TRUE(CreateResourceLayout(context, target, srcPath, List({"a/w.wal", "b/z.wal"}), List({"b/drip"})));
    EXPECT_EQ(log.lines(),
              (Lines{"Already exists: " + game("textures"), "Already exists: " + game("textures/a"),
                     "Already exists: " + game("textures/b"), "Already exists: " + game("sound"),
                     "Already exists: " + game("sound/b")}));
}

TEST_F(LayoutTest, nestedNamesGetTheirFoldersAndRefusedNamesNone)
{
    tree.dir("game");
    // A name with a component no file system takes, or with a control
    // character, is refused as a whole: not even its first folder is made.
    ASSERT_TRUE(CreateResourceLayout(
        context, target, srcPath,
        List({"a/b/c/deep.wal", "a/b/other.wal", "../../evil.wal", "x/../../evil.wal",
              "l/" + std::string(300, 'l') + "/x.wal", "m/\x1b[2J/x.wal"}),
        List({"/abs/../../etc/passwd", "s/t/u"})));
    EXPECT_EQ(log.lines(),
              (Lines{"Created: " + game("textures/a"), "Created: " + game("textures/a/b"),
                     "Created: " + game("textures/a/b/c"), "Created: " + game("sound/s"),
                     "Created: " + game("sound/s/t")}));
    EXPECT_EQ(tree.entries(), (Lines{"game/", "game/sound/", "game/sound/s/", "game/sound/s/t/",
                                     "game/textures/", "game/textures/a/", "game/textures/a/b/",
                                     "game/textures/a/b/c/", "work/", "work/maps/"}));
}

TEST_F(LayoutTest, eachFailureHasItsOwnText)
{
    tree.dir("game");
    struct Case {
        std::string failing;
        std::string text;
    };
    const Case cases[] = {
        {game("textures"), "Could not create: " + game("textures") + ". \n Aborting"},
        {game("textures/a"), "Could not create: " + game("textures/a") + ". \nAborting"},
        {game("sound"), "Could not create: " + game("sound") + ". \n Aborting"},
        {game("sound/s"), "Could not create: " + game("sound/s") + ". Aborting"},
    };
    for (const Case& c : cases) {
        test::ScriptedHost failingHost;
        TransferLog failingLog;
        TransferContext failing{failingHost, failingLog, TransferMode::Copy};
        failingHost.answer(MessageButton::Ok);
        ScopedFaultInjector faults([&](FileOp op, std::string_view path) {
            return op == FileOp::CreateDirectory && path == c.failing ? EROFS : 0;
        });
        EXPECT_FALSE(CreateResourceLayout(failing, target, srcPath, List({"a/w.wal"}), List({"s/x.wav"})));
        ASSERT_EQ(failingHost.boxes.size(), 1u);
        EXPECT_EQ(failingHost.boxes[0].text, c.text);
        EXPECT_EQ(failingHost.boxes[0].caption, "Error!");
    }
}

TEST(ResourceNameRefusal, givesTheReasonForEachUnsafeName)
{
    const std::pair<std::string, std::string> refused[] = {
        {"../x.wal", "a '..' component"},
        {"a/../../x.wal", "a '..' component"},
        {"a\\..\\x.wal", "a '..' component"},
        {"..", "a '..' component"},
        {"a/..", "a '..' component"},
        {"C:/x.wal", "a drive letter"},
        {"c:x.wal", "a drive letter"},
        {"//server/x.wal", "a network path"},
        {"\\\\server\\x.wal", "a network path"},
        {"a/\tOverwritten.wal", "a control character"},
        {"a/\x1b[2Jx.wal", "a control character"},
        {"a/x\x7f.wal", "a control character"},
        {"a/" + std::string(256, 'n') + ".wal", "a name longer than the file system allows"},
        {std::string(256, 'f') + "/x.wal", "a name longer than the file system allows"},
    };
    for (const auto& [name, reason] : refused)
        EXPECT_EQ(ResourceNameRefusal(name), reason) << name;
    for (const std::string& name : std::vector<std::string>{"a/x.wal", "/drip.wav", "a/b/c.wal", "a/..x.wal", "a/x..wal", "...", ".a/b",
                                   "a/\xe9t\xe9 \xff.wal", "a/" + std::string(251, 'n') + ".wal"})
        EXPECT_EQ(ResourceNameRefusal(name), "") << name;
    EXPECT_EQ(ResourceFolder("mymap/wall1.wal"), "mymap");
    EXPECT_EQ(ResourceFolder("/drip.wav"), "");
    EXPECT_EQ(ResourceFolder("plain"), "");

    // A name that fits on its own can still make a path no file system takes.
    std::string deep = "/t/";
    for (int i = 0; i < 20; ++i)
        deep += std::string(250, 't') + "/";
    const ResourcePlaces places{"/w/textures/", deep};
    EXPECT_EQ(ResolveEntry(ResourceKind::Textures, "a/x.wal", places).refusal,
              "a path longer than the file system allows");
}

}  // namespace
}  // namespace corvane
