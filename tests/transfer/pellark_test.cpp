#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "platform/faults.h"
#include "transfer/pellark.h"
#include "support/scripted_host.h"
#include "support/temp_tree.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

class CopyPellarkTreeTest : public ::testing::Test {
protected:
    test::TempTree tree;
    test::ScriptedHost host;
    TransferLog log;
    TransferContext context{host, log, TransferMode::Copy};
    OverwritePolicy policy;
    std::string pellark = tree.dir("base/pellark");
    std::string target = tree.dir("game");

    void copy() { CopyPellarkTree(context, pellark, target, policy); }
    std::string game(const std::string& relative) const { return target + "/" + relative; }

    static Lines Banner(const std::string& relative)
    {
        return {"  ", "=========================", "Pellark   " + relative, "========================="};
    }
};

TEST_F(CopyPellarkTreeTest, leavesOutThePrivatePartsAndWalksDepthFirst)
{
    for (const char* file : {"autoexec.cfg", "config.cfg", "readme.txt", "Config.cfg", ".profile",
                             "helpdesk.pcx", "models/a.md2", "models/help/h.txt", "models/z/deep.md2",
                             "help/x.txt", "save/s.sav", "savegames/g.sav", "entitysets/e.ent",
                             "demomaps/d.bsp", ".git/HEAD", "models/config.cfg"})
        tree.file("base/pellark/" + std::string(file), file);
    copy();
    Lines expected{"Copied: " + game(".profile"), "Copied: " + game("Config.cfg"),
                   "Copied: " + game("autoexec.cfg")};
    for (const std::string& line : Banner("models"))
        expected.push_back(line);
    expected.push_back("Created: " + game("models"));
    expected.push_back("Copied: " + game("models/a.md2"));
    for (const std::string& line : Banner("models/z"))
        expected.push_back(line);
    expected.push_back("Created: " + game("models/z"));
    expected.push_back("Copied: " + game("models/z/deep.md2"));
    expected.push_back("Copied: " + game("readme.txt"));
    for (const std::string& line : Banner("savegames"))
        expected.push_back(line);
    expected.push_back("Created: " + game("savegames"));
    EXPECT_EQ(log.lines(), expected);
    EXPECT_EQ(tree.entries("game"), (Lines{".profile", "Config.cfg", "autoexec.cfg", "models/", "models/a.md2",
                                           "models/z/", "models/z/deep.md2", "readme.txt", "savegames/"}));
    EXPECT_TRUE(host.prompts.empty());
}

TEST_F(CopyPellarkTreeTest, skipWordsAreLookedForBelowTheRootOnly)
{
    pellark = tree.dir("save/pellark");
    tree.file("save/pellark/pak0.pak", "pak");
    copy();
    EXPECT_EQ(log.lines(), (Lines{"Copied: " + game("pak0.pak")}));
}

TEST_F(CopyPellarkTreeTest, neverEntersTheTargetOrALinkedFolder)
{
    target = pellark + "/out";
    tree.file("base/pellark/out/old.txt", "old");
    tree.file("base/pellark/a.txt", "a");
    tree.file("elsewhere/e.txt", "e");
    fs::create_directory_symlink(tree.path("elsewhere"), pellark + "/linked");
    fs::create_directory_symlink(pellark, pellark + "/loop");
    copy();
    EXPECT_EQ(log.lines(), (Lines{"Copied: " + game("a.txt")}));
}

TEST_F(CopyPellarkTreeTest, aToAllAnswerHoldsForTheRestOfItsScope)
{
    tree.file("base/pellark/a.txt", "new a");
    tree.file("base/pellark/b.txt", "new b");
    tree.file("base/pellark/c.txt", "new c");
    tree.file("game/a.txt", "old a");
    tree.file("game/b.txt", "old b");
    host.answerPrompt(OverwriteAnswer::NoToAll);
    copy();
    EXPECT_EQ(log.lines(), (Lines{"Already Exists: " + game("a.txt"), "Already Exists: " + game("b.txt"),
                                  "Copied: " + game("c.txt")}));
    ASSERT_EQ(host.prompts.size(), 1u);
    EXPECT_EQ(host.prompts[0].caption, "Pellark file exists! ");
    EXPECT_TRUE(host.prompts[0].showYesToAll && host.prompts[0].showNoToAll);

    // A new scope (each transfer begins one) asks again.
    policy.reset();
    host.answerPrompt(OverwriteAnswer::YesToAll);
    log.clear();
    copy();
    EXPECT_EQ(log.lines(), (Lines{"Copied: " + game("a.txt") + "\tOverwritten",
                                  "Copied: " + game("b.txt") + "\tOverwritten",
                                  "Copied: " + game("c.txt") + "\tOverwritten"}));
    EXPECT_EQ(host.prompts.size(), 2u);
    EXPECT_EQ(tree.read("game/b.txt"), "new b");
}

TEST_F(CopyPellarkTreeTest, failuresAreReportedAndTheWalkGoesOn)
{
    tree.file("base/pellark/a.txt", "a");
    tree.file("base/pellark/b.txt", "b");
    tree.file("base/pellark/sub/c.txt", "c");
    host.answer(MessageButton::Ok);
    host.answer(MessageButton::Ok);
    ScopedFaultInjector faults([&](FileOp op, std::string_view path) {
        if (op == FileOp::Write && path == game("a.txt"))
            return ENOSPC;
        return op == FileOp::List && path == pellark + "/sub" ? EACCES : 0;
    });
    copy();
    Lines expected{"   ", "Failed copy:  ", "   " + pellark + "/a.txt", "   ", "Copied: " + game("b.txt")};
    for (const std::string& line : Banner("sub"))
        expected.push_back(line);
    expected.push_back("Created: " + game("sub"));
    EXPECT_EQ(log.lines(), expected);
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].text, "Failed copy:  \n      " + pellark + "/a.txt");
    EXPECT_EQ(host.boxes[0].caption, "Error");
    EXPECT_EQ(host.boxes[0].icon, MessageIcon::Warning);
    EXPECT_EQ(host.boxes[1].text, "Failed to open Pellark directory\nsub");
    EXPECT_EQ(host.boxes[1].icon, MessageIcon::Error);
    EXPECT_EQ(host.alerts, (std::vector<AlertSound>{AlertSound::Stop, AlertSound::Stop}));
    EXPECT_FALSE(fs::exists(game("a.txt")));
}

TEST_F(CopyPellarkTreeTest, anEmptyOrMissingRootCopiesNothing)
{
    pellark = "";
    copy();
    EXPECT_TRUE(log.lines().empty());
    pellark = tree.path("none");
    host.answer(MessageButton::Ok);
    copy();
    EXPECT_EQ(host.boxes[0].text, "Failed to open Pellark directory\n" + pellark);
    EXPECT_TRUE(tree.entries("game").empty());
}

}  // namespace
}  // namespace corvane
